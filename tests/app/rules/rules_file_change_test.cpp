// Importing a rules file and giving the rules file a new name: the name
// rule, which rules are re-bound, and that no other file, no rule and no
// stored name is ever lost when a change is refused or fails.
#include "app/rules/rules_file_change.h"

#include <QDir>
#include <filesystem>

#include "app/common/app_settings.h"
#include "app/general/check_status.h"
#include "platform/store/program_folder.h"
#include "tests/app/rules/rules_fixture.h"
#include "tests/platform/store/raw_file.h"
#include "tests/platform/store/read_only_folder.h"

using namespace modRules;

namespace {

QString DataFile(const QString& name) {
    return QString::fromStdString((platform::store::UserDataFolder() / name.toStdString()).string());
}

RulesFileOutcome Outcome(RulesFileStatus status) {
    RulesFileOutcome outcome;
    outcome.status = status;
    return outcome;
}

QString StoredName() {
    return GetSetting(kAppKey, QStringLiteral("Settings\\Options"), QStringLiteral("RulesIniFileName"),
                      "(none)");
}

// Every field of both sets, to compare before and after.
QStringList BothSets() {
    QStringList all{QString::number(gRules.Count), QString::number(gEditRules.Count),
                    QString::number(gRules.Time), QString::number(gEditRules.Time)};
    for (int i = 1; i <= gRules.Count; ++i)
        all << gRules[i].Name << gRules[i].Account << QString::number(gRules[i].Action) << gRules[i].Desc[0];
    for (int i = 1; i <= gEditRules.Count; ++i)
        all << gEditRules[i].Name << gEditRules[i].Account << QString::number(gEditRules[i].Action)
            << gEditRules[i].Desc[0];
    return all;
}

const std::string kImported =
    "[Rules]\nRuleCount=3\nShow=1\nShowNew=0\nTime=20\n"
    "[Rule1]\nName=Mine\nAccount=Home\nAction=1\nDescCount=1\nDescription1=From Contains boss\n"
    "[Rule2]\nName=Theirs\nAccount=Old Account\nAction=1\nDescCount=1\nDescription1=Subject Contains offer\n"
    "[Rule3]\nName=Everyone\nAccount=All Accounts\nAction=2\nDescCount=0\n";

class RulesFileChangeTest : public RulesTest, public RulesView {
protected:
    void SetUp() override {
        RulesTest::SetUp();
        modGeneral::gAppName = "Veltrane";
        gRulesFileName = "Rules.ini";
        shown_ = gRulesView.Register(*this);
        // The current rules: one saved rule, and an unsaved edit of it.
        SetLiveRules({{"Home", 1, 1, {"From Contains saved "}}});
        gEditRules.Count = 1;
        gEditRules[1].Name = "Rule 1";
        gEditRules[1].Account = "Home";
        gEditRules[1].Action = 1;
        gEditRules[1].DescCount = 1;
        gEditRules[1].Desc[1] = gEditRules[1].Desc[0] = "From Contains edited ";
        WriteRaw(RulesFilePath().toStdString(),
                 "[Rules]\nRuleCount=1\n[Rule1]\nName=Rule 1\nAccount=Home\nAction=1\n"
                 "DescCount=1\nDescription1=From Contains saved\n");
        oldFile_ = Slurp(RulesFilePath().toStdString());
    }
    void ShowRulesFileName(const QString& caption) override { label_ = caption; }

    // Nothing changed: both sets, the name, the stored name, the old file,
    // and no file but the ones named is in the data folder.
    void ExpectUnchanged(const QStringList& before, const QStringList& files) {
        EXPECT_EQ(BothSets(), before);
        EXPECT_EQ(gRulesFileName, "Rules.ini");
        EXPECT_EQ(StoredName(), "(none)");
        EXPECT_EQ(Slurp(RulesFilePath().toStdString()), oldFile_);
        EXPECT_NE(label_, "FileName: RulesJohn.ini");
        QStringList present = QDir(DataFile("")).entryList({"Rules*"}, QDir::Files);
        present.sort();
        EXPECT_EQ(present, files);
    }

    ViewSlot<RulesView>::Registration shown_;
    QString label_;
    std::string oldFile_;
};

TEST(RulesFileName, EveryNameBeginsWithRulesOnce) {
    struct Case {
        const char* given;
        bool rename;
        const char* name;
    };
    const Case cases[] = {
        {"MyRules.ini", false, "RulesMy.ini"},
        {"John", true, "RulesJohn.ini"},
        {"RulesJohn.ini", true, "RulesJohn.ini"},
        {"Rules", true, "Rules.ini"},
        {"John.INI", true, "RulesJohn.INI.ini"},
        {"", true, "Rules.ini"},
        {"Shared.rules", false, "RulesShared.rules"},
        {"RuleBook", true, "RulesBook.ini"},
        // One pass each: what a removal joins is not searched again.
        {"RRulesules", true, "Ruless.ini"},
        // At most five "Rules" and four "Rule".
        {"RulesRulesRulesRulesRulesRulesA", true, "RulessA.ini"},
        {"RuleRuleRuleRuleRuleB", true, "RulesRuleB.ini"},
    };
    for (const Case& c : cases) EXPECT_EQ(RulesFileNameFrom(c.given, c.rename), c.name) << c.given;
}

TEST_F(RulesFileChangeTest, ImportKeepsRulesOfKnownAccountsAndBindsTheOthersToAll) {
    const QString chosen = QDir::temp().filePath("MyRules.ini");
    WriteRaw(chosen.toStdString(), kImported);
    const std::string chosenBefore = Slurp(chosen.toStdString());

    const RulesFileOutcome outcome = ImportRulesFile(chosen, {"Home", "Work"}, {});
    ASSERT_EQ(outcome.status, RulesFileStatus::Done);
    EXPECT_EQ(outcome.name, "RulesMy.ini");
    EXPECT_EQ(outcome.rebound, 1);
    ASSERT_EQ(gRules.Count, 3);
    EXPECT_EQ(gRules[1].Account, "Home") << "a rule of an existing account is not widened";
    EXPECT_EQ(gRules[2].Account, "All Accounts");
    EXPECT_EQ(gRules[3].Account, "All Accounts");
    EXPECT_EQ(gRules.Time, 20);
    EXPECT_EQ(gRulesFileName, "RulesMy.ini");
    EXPECT_EQ(StoredName(), "RulesMy.ini");
    EXPECT_EQ(label_, "FileName: RulesMy.ini");
    EXPECT_EQ(Slurp(chosen.toStdString()), chosenBefore) << "the chosen file is not changed";
    EXPECT_EQ(Slurp(RulesFilePath().toStdString()).find("Account=Old Account"), std::string::npos);
    EXPECT_NE(Slurp(RulesFilePath().toStdString()).find("Account=Home"), std::string::npos);
    EXPECT_EQ(Slurp(DataFile("Rules.ini").toStdString()), oldFile_) << "the old rules file stays";

    const RulesFileMessage message = ImportMessage(outcome);
    EXPECT_EQ(message.title, "Veltrane - Rule Import Successful");
    EXPECT_EQ(
        message.text,
        "The Rule File has been successfully imported.          \r\n\r\n"
        "Some Account modifications were made to\r\nensure compatibility with your current Accounts.\r\n"
        "You may need to adjust these.\r\n\r\n");
    RulesFileOutcome allBound = outcome;
    allBound.rebound = 0;
    EXPECT_EQ(ImportMessage(allBound).text,
              "The Rule File has been successfully imported.          \r\n\r\n");
}

TEST_F(RulesFileChangeTest, AFileWithoutRulesOrACancelChangesNothing) {
    const QStringList before = BothSets();
    struct Case {
        const char* what;
        const char* content;  // nullptr: the dialog was cancelled
        RulesFileStatus status;
    };
    const Case cases[] = {
        {"RuleCount 0", "[Rules]\nRuleCount=0\n[Rule1]\nName=x\n", RulesFileStatus::NotRules},
        {"no Rules section", "[Other]\nRuleCount=3\n", RulesFileStatus::NotRules},
        {"a count that is no number", "[Rules]\nRuleCount=many\n", RulesFileStatus::NotRules},
        {"a negative count", "[Rules]\nRuleCount=-2\n", RulesFileStatus::NotRules},
        // Files edited by hand are refused whole, never imported in part.
        {"fewer rules than counted", "[Rules]\nRuleCount=2\n[Rule1]\nName=one\n", RulesFileStatus::NotRules},
        {"an unknown Where", "[Rules]\nRuleCount=1\n[Rule1]\nDescCount=1\nDescription1=Sender Contains x\n",
         RulesFileStatus::NotRules},
        {"a missing line", "[Rules]\nRuleCount=1\n[Rule1]\nDescCount=2\nDescription1=From Contains x\n",
         RulesFileStatus::NotRules},
        {"more than ten lines", "[Rules]\nRuleCount=1\n[Rule1]\nDescCount=11\n", RulesFileStatus::NotRules},
        {"an unknown action", "[Rules]\nRuleCount=1\n[Rule1]\nAction=7\n", RulesFileStatus::NotRules},
        {"cancelled", nullptr, RulesFileStatus::Cancelled},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        QString chosen;
        if (c.content) {
            chosen = QDir::temp().filePath("ImportRules.ini");
            WriteRaw(chosen.toStdString(), c.content);
        }
        const RulesFileOutcome outcome = ImportRulesFile(chosen, {"Home"}, {});
        EXPECT_EQ(outcome.status, c.status);
        ExpectUnchanged(before, {"Rules.ini"});
    }
    EXPECT_EQ(ImportMessage(Outcome(RulesFileStatus::NotRules)).text,
              "Rule Import Failed.\r\n\r\nThe Imported Rule File does not appear          \r\n"
              "to be the correct format or it does not\r\ncontain any Rules.\r\n\r\n"
              "Try Help for further information.\r\n");
    EXPECT_TRUE(ImportMessage(Outcome(RulesFileStatus::Cancelled)).text.isEmpty()) << "a cancel says nothing";
}

// The folder is the user's own: a file that has the new name is replaced
// when the user agrees (the window tests answer No as well), never when it
// cannot be read.
TEST_F(RulesFileChangeTest, AFileOfTheNewNameIsReplacedWhenTheUserAgreesUnlessItCannotBeRead) {
    const QString chosen = QDir::temp().filePath("John.ini");
    WriteRaw(chosen.toStdString(), kImported);
    const std::string binary("[Rules]\nRuleCount=1\0", 20);
    const std::tuple<bool, std::string, RulesFileStatus> rows[] = {
        {true, "[Rules]\nRuleCount=0\n", RulesFileStatus::Done},
        {true, binary, RulesFileStatus::WriteFailed},
        {false, binary, RulesFileStatus::WriteFailed},
    };
    for (const auto& [import, existing, status] : rows) {
        SCOPED_TRACE(import ? "import" : "rename");
        SetUp();
        DeleteSetting(kAppKey, QStringLiteral("Settings\\Options"), QStringLiteral("RulesIniFileName"));
        WriteRaw(DataFile("RulesJohn.ini").toStdString(), existing);
        const QStringList before = BothSets();
        QStringList asked;
        const ReplaceQuestion yes = [&](const QString& name) { return asked << name, true; };
        const RulesFileOutcome outcome =
            import ? ImportRulesFile(chosen, {"Home"}, yes) : SaveRulesFileAs("John", yes);
        EXPECT_EQ(asked, QStringList{"RulesJohn.ini"});
        ASSERT_EQ(outcome.status, status);
        const std::string now = Slurp(DataFile("RulesJohn.ini").toStdString());
        if (status == RulesFileStatus::Done) {
            EXPECT_NE(now.find("Name=Theirs"), std::string::npos) << now;
            continue;
        }
        EXPECT_EQ(now, existing);
        ExpectUnchanged(before, {"Rules.ini", "RulesJohn.ini"});
        const QString told = (import ? ImportMessage(outcome) : RenameMessage(outcome)).text;
        EXPECT_TRUE(told.contains("RulesJohn.ini\r\ncould not be read: binary data")) << told.toStdString();
    }
}

TEST_F(RulesFileChangeTest, RenameWritesThePendingEditsUnderTheNewNameAndKeepsTheOldFile) {
    const RulesFileOutcome outcome = SaveRulesFileAs("John", {});
    ASSERT_EQ(outcome.status, RulesFileStatus::Done);
    EXPECT_EQ(gRulesFileName, "RulesJohn.ini");
    EXPECT_EQ(StoredName(), "RulesJohn.ini");
    EXPECT_EQ(label_, "FileName: RulesJohn.ini");
    EXPECT_EQ(gRules[1].Desc[1], "From Contains edited ") << "the pending edit is now the live rule";
    EXPECT_NE(Slurp(DataFile("RulesJohn.ini").toStdString()).find("Description1=From Contains edited"),
              std::string::npos);
    EXPECT_EQ(Slurp(DataFile("Rules.ini").toStdString()), oldFile_);

    // The current file's own name is a save: nothing to ask.
    gEditRules[1].Name = "Renamed again";
    EXPECT_EQ(SaveRulesFileAs("RulesJohn.ini", {}).status, RulesFileStatus::Done);
    EXPECT_NE(Slurp(DataFile("RulesJohn.ini").toStdString()).find("Name=Renamed again"), std::string::npos);
}

TEST_F(RulesFileChangeTest, ANameWithAFolderIsRefused) {
    const QStringList before = BothSets();
    for (const char* given : {"../John", "a/b", "/etc/passwd", "C:\\Rules", "tab\there", "line\nbreak"}) {
        const RulesFileOutcome outcome = SaveRulesFileAs(QString::fromLatin1(given), {});
        EXPECT_EQ(outcome.status, RulesFileStatus::NotAName) << given;
        ExpectUnchanged(before, {"Rules.ini"});
    }
    EXPECT_TRUE(RenameMessage(Outcome(RulesFileStatus::NotAName))
                    .text.startsWith("The FileName cannot contain \"/\""));
}

TEST_F(RulesFileChangeTest, AnUnwritableFolderKeepsTheRulesTheNameAndTheOldFile) {
    const QStringList before = BothSets();
    const QString chosen = QDir::temp().filePath("MyRules.ini");
    WriteRaw(chosen.toStdString(), kImported);
    RulesFileOutcome renamed, imported;
    {
        const ReadOnlyFolder readOnly(platform::store::UserDataFolder());
        if (!readOnly.Effective()) GTEST_SKIP() << "this file system cannot make a folder read-only for root";
        renamed = SaveRulesFileAs("John", {});
        imported = ImportRulesFile(chosen, {"Home"}, {});
    }
    EXPECT_EQ(renamed.status, RulesFileStatus::WriteFailed);
    EXPECT_EQ(imported.status, RulesFileStatus::WriteFailed);
    EXPECT_FALSE(renamed.detail.isEmpty()) << "the system's reason is shown";
    EXPECT_TRUE(RenameMessage(renamed).text.contains("Your Rules and the Rules FileName are unchanged."));
    EXPECT_EQ(ImportMessage(imported).title, "Veltrane - Rule Import Failed");
    ExpectUnchanged(before, {"Rules.ini"});
}

}  // namespace
