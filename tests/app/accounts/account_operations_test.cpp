// Names and servers an account may be saved with, the name of a new account,
// and removing and exchanging accounts in the table and the store, with a
// store that refuses the write.
#include "app/accounts/account_operations.h"

#include <gtest/gtest.h>

#include "app/accounts/account_table.h"
#include "app/common/app_settings.h"
#include "platform/store/atomic_file.h"

using namespace modAccounts;

namespace {

const QString kSettings = QStringLiteral("Settings");

QString Stored(const char* key, int i) {
    return GetSetting(kAppKey, kSettings, QString::fromLatin1(key) + QString::number(i), QStringLiteral("<missing>"));
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

    // Accounts named names, stored, with run-time values that tell them apart.
    void MakeAccounts(std::initializer_list<const char*> names) {
        for (const char* name : names) ASSERT_TRUE(AppendAccount(QString::fromUtf8(name)));
        for (int16_t i = 1; i <= gAccountCount; ++i) {
            gAcntServer[i] = QStringLiteral("pop%1.example").arg(i);
            gAcntMsgCount[i] = static_cast<int16_t>(10 * i);
            gAcntResult[i] = gAcntName[i] + QStringLiteral("  (%1)").arg(i);
            gAcntClientValid[i] = i == 3;
            ASSERT_TRUE(WriteAccount(i));
        }
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
    EXPECT_EQ(duplicate->text,
              QStringLiteral("The following Account Name is already used.          \r\nAccount Name: 'HOME'\r\n\r\n"
                             "Duplicate Account Names are not allowed.\r\nPlease re-enter a name for this Account."
                             "\r\n\r\n"));
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
    for (const Row& row : {Row{"Home  (3)", "Home", "Work", "Work  (3)"}, Row{"3  (3)", "3", "Work", "Work  (3)"},
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
    EXPECT_EQ(gAcntName.UBound(), 1);
    EXPECT_EQ(GetSetting(kAppKey, kSettings, "AcntNum"), "1");
    EXPECT_EQ(Stored("AcntName", 2), "<missing>");
}

TEST_F(AccountOperations, RemovingTheMiddleOfThreeShiftsTheLastDown) {
    MakeAccounts({"One", "Two", "Three"});
    ASSERT_TRUE(StoreRemoval(2));
    RemoveAccountSlot(2);
    EXPECT_EQ(gAccountCount, 2);
    EXPECT_EQ(GetSetting(kAppKey, kSettings, "AcntNum"), "2");
    EXPECT_EQ(Stored("AcntName", 1), "One");
    EXPECT_EQ(Stored("AcntName", 2), "Three");
    EXPECT_EQ(Stored("AcntServer", 2), "pop3.example");
    for (const char* key : {"AcntName", "AcntServer", "AcntPort", "AcntSoundOn"})
        EXPECT_EQ(Stored(key, 3), "<missing>") << key;
    EXPECT_EQ(gAcntName[2], "Three");
    EXPECT_EQ(gAcntMsgCount[2], 30);
    EXPECT_EQ(gAcntResult[2], "Three  (3)");
    EXPECT_TRUE(gAcntClientValid[2]) << "the validity moves with its account";
    EXPECT_EQ(gAcntName.UBound(), 2);
}

TEST_F(AccountOperations, ARefusedWriteLosesNothing) {
    MakeAccounts({"One", "Two", "Three"});
    RefuseWrites();
    EXPECT_FALSE(StoreRemoval(2));
    EXPECT_FALSE(StoreExchange(1, 3));
    platform::store::SetWriteFaultHook(nullptr);
    EXPECT_EQ(GetSetting(kAppKey, kSettings, "AcntNum"), "3");
    for (int i = 1; i <= 3; ++i) {
        EXPECT_EQ(Stored("AcntName", i), gAcntName[i]);
        EXPECT_EQ(Stored("AcntServer", i), QStringLiteral("pop%1.example").arg(i));
    }
}

TEST_F(AccountOperations, ExchangingMovesEveryFieldBothWays) {
    MakeAccounts({"One", "Two", "Three"});
    ASSERT_TRUE(StoreExchange(1, 3));
    ExchangeAccountSlots(1, 3);
    const char* const expected[] = {"", "Three", "Two", "One"};
    for (int i = 1; i <= 3; ++i) {
        EXPECT_EQ(gAcntName[i], expected[i]);
        EXPECT_EQ(Stored("AcntName", i), expected[i]);
    }
    EXPECT_EQ(Stored("AcntServer", 1), "pop3.example");
    EXPECT_EQ(gAcntMsgCount[1], 30);
    EXPECT_EQ(gAcntMsgCount[3], 10);
    EXPECT_TRUE(gAcntClientValid[1]);
    EXPECT_FALSE(gAcntClientValid[3]);
}

}  // namespace
