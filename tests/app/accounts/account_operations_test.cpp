// Names and servers an account may be saved with, the name of a new account,
// and appending an account to the table and the store, with a store that
// refuses the write. Removing and exchanging are tested through the window.
#include "app/accounts/account_operations.h"

#include <gtest/gtest.h>

#include "app/accounts/account_table.h"
#include "app/common/app_settings.h"
#include "platform/store/atomic_file.h"

using namespace modAccounts;

namespace {

const QString kSettings = QStringLiteral("Settings");

QString Stored(const char* key, int i) {
    return GetSetting(kAppKey, kSettings, QString::fromLatin1(key) + QString::number(i),
                      QStringLiteral("<missing>"));
}

void RefuseWrites() {
    platform::store::SetWriteFaultHook(
        [](platform::store::WriteStep) { return std::make_error_code(std::errc::no_space_on_device); });
}

class AccountOperations : public testing::Test {
protected:
    void SetUp() override {
        gAccountCount = 0;
        ResizeAccountArrays(0);
    }
    void TearDown() override { platform::store::SetWriteFaultHook(nullptr); }

    // Stored accounts named names.
    static void MakeAccounts(std::initializer_list<const char*> names) {
        for (const char* name : names) ASSERT_TRUE(AppendAccount(QString::fromUtf8(name)));
    }
};

TEST_F(AccountOperations, NamesThatCannotBeSaved) {
    MakeAccounts({"Home", "ärger"});
    struct Row {
        const char* name;
        int16_t current;
        const char* title;  // nullptr: the name is saved
    };
    const Row rows[] = {
        {"", 1, "Blank Account Name"},
        {"   ", 1, "Blank Account Name"},
        {" Work", 1, "Account Name Not Allowed"},
        {"Work ", 1, "Account Name Not Allowed"},
        {"\"Work\"", 1, "Account Name Not Allowed"},
        {"home", 2, "Duplicate Account Name"},
        {"ÄRGER", 1, "Duplicate Account Name"},
        {"Home", 1, nullptr},  // its own name
        {"a/b", 1, nullptr},
        {"a\\b", 1, nullptr},
        {"x=y", 1, nullptr},
        {"[x]", 1, nullptr},
        {"Ärger2", 1, nullptr},
        {"\"Work", 1, nullptr},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const auto problem = AccountNameProblem(QString::fromUtf8(row.name), row.current);
        ASSERT_EQ(problem.has_value(), row.title != nullptr);
        if (problem) {
            EXPECT_EQ(problem->title, QString::fromUtf8(row.title));
        }
    }
    const auto duplicate = AccountNameProblem(QStringLiteral("HOME"), 2);
    ASSERT_TRUE(duplicate);
    EXPECT_EQ(
        duplicate->text,
        QStringLiteral("The following Account Name is already used.          \r\nAccount Name: 'HOME'\r\n\r\n"
                       "Duplicate Account Names are not allowed.\r\nPlease re-enter a name for this Account."
                       "\r\n\r\n"));
    // A name kept from before, blanks and all, stays the account's own.
    gAccounts[1].Name = QStringLiteral(" Home ");
    EXPECT_FALSE(AccountNameProblem(QStringLiteral(" Home "), 1)) << "saved again unchanged";
    EXPECT_TRUE(AccountNameProblem(QStringLiteral(" Home  "), 1)) << "changed: the rule applies";
}

TEST_F(AccountOperations, ServersAndPortsOutOfRange) {
    const QString longLabel(64, QLatin1Char('a'));
    const QString longName = QString(QStringLiteral("a.")).repeated(127);  // 254 characters
    struct Row {
        QString server, port;
        const char* title;
    };
    const Row rows[] = {
        {"pop.example", "110", nullptr},
        {"", "995", nullptr},
        {"192.0.2.1", " 995", nullptr},
        {"pop.example", "0", "Invalid Port Number"},
        {"pop.example", "65536", "Invalid Port Number"},
        {"pop.example", "-1", "Invalid Port Number"},
        {"pop.example", "", "Invalid Port Number"},
        {"pop.example", "11O", "Invalid Port Number"},
        {"pop example", "110", "Invalid Server Name"},
        {"pop..example", "110", "Invalid Server Name"},
        {longLabel + ".example", "110", "Invalid Server Name"},
        {longName, "110", "Invalid Server Name"},
        {"pop\texample", "110", "Invalid Server Name"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE((row.server + "|" + row.port).toStdString());
        const auto problem = ServerProblem(row.server, row.port);
        ASSERT_EQ(problem.has_value(), row.title != nullptr);
        if (problem) {
            EXPECT_EQ(problem->title, QString::fromLatin1(row.title));
        }
    }
}

TEST_F(AccountOperations, NewAccountTakesTheSmallestFreeNumber) {
    EXPECT_EQ(NewAccountName(), "New Account1");
    MakeAccounts({"New Account1", "NEW ACCOUNT3"});
    EXPECT_EQ(NewAccountName(), "New Account2");
}

TEST_F(AccountOperations, RenamingKeepsWhatFollowsTheName) {
    struct Row {
        const char *text, *oldName, *newName, *renamed;
    };
    for (const Row& row :
         {Row{"Home  (3)", "Home", "Work", "Work  (3)"}, Row{"3  (3)", "3", "Work", "Work  (3)"},
          Row{"Home", "Home", "Work", "Work"}, Row{"New Account1", "", "Work", "Work"},
          Row{"Other  (2)", "Home", "Work", "Work"}}) {
        SCOPED_TRACE(row.text);
        EXPECT_EQ(RenamedAccountText(row.text, row.oldName, row.newName), row.renamed);
    }
}

TEST_F(AccountOperations, AppendStoresTheAccountWithTheCountOrNothing) {
    ASSERT_TRUE(AppendAccount(QStringLiteral("Home")));
    EXPECT_EQ(gAccountCount, 1);
    EXPECT_EQ(GetSetting(kAppKey, kSettings, "AcntNum"), "1");
    EXPECT_EQ(Stored("AcntPort", 1), "110");
    EXPECT_EQ(Stored("AcntSoundOn", 1), "1");
    EXPECT_EQ(Stored("AcntEnabled", 1), "1");

    RefuseWrites();
    EXPECT_FALSE(AppendAccount(QStringLiteral("Work")));
    EXPECT_EQ(gAccountCount, 1);
    EXPECT_EQ(gAccounts.UBound(), 1);
    EXPECT_EQ(GetSetting(kAppKey, kSettings, "AcntNum"), "1");
    EXPECT_EQ(Stored("AcntName", 2), "<missing>");
}

}  // namespace
