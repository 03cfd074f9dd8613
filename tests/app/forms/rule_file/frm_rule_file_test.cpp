// The Rules page's Import and Rename commands as a user meets them: the
// dialog and boxes, the rules file name window, and the file name label.
#include <gtest/gtest.h>

#include <QDir>
#include <QStringList>
#include <utility>

#include "app/common/app_settings.h"
#include "app/forms/rule_file/frm_rule_file.h"
#include "app/general/check_status.h"
#include "app/options/option_values.h"
#include "app/rules/rule_set.h"
#include "platform/store/program_folder.h"
#include "platform/ui/common_dialog.h"
#include "platform/ui/forms.h"
#include "platform/ui/msg_box.h"
#include "tests/app/forms/laid_out_main_window.h"
#include "tests/platform/store/raw_file.h"

using namespace frmMainElements;  // tbrClient(tbrClient::kAccount)

namespace {

QString DataFile(const QString& name) {
    return QString::fromStdString((platform::store::UserDataFolder() / name.toStdString()).string());
}

class FrmRuleFileTest : public testing::Test {
protected:
    void SetUp() override {
        modGeneral::gAppName = QStringLiteral("Veltrane");
        modRules::gRulesFileName = QStringLiteral("Rules.ini");
        SaveSetting(kAppKey, QStringLiteral("Settings"), QStringLiteral("AcntNum"), QStringLiteral("1"));
        SaveSetting(kAppKey, QStringLiteral("Settings"), QStringLiteral("AcntName1"), QStringLiteral("Home"));
        WriteRaw(DataFile("Rules.ini").toStdString(),
                 "[Rules]\nRuleCount=1\n[Rule1]\nName=Saved\nAccount=Home\n");
        oldFile_ = Slurp(DataFile("Rules.ini").toStdString());
        main_ = &LaidOutMainWindow();
        main_->Show();
        // A start-up check pending, so its countdown pauses too.
        main_->checks().Record().StartUpDone = false;
        modOptions::gOpt.EmailCheckStartUp = 1;
    }
    void TearDown() override {
        vb::Forms::Unload<frmRuleFile>();
        main_->checks().Record().StartUpDone = true;
        modOptions::gOpt.EmailCheckStartUp = 0;
        main_->mQuitting = true;
        vb::Forms::Unload<frmMain>();
    }
    frmRuleFile& OpenRename() {
        main_->controls().tbrRules.Buttons("RulesRename").QtButton().click();
        return vb::Forms::Get<frmRuleFile>();
    }
    void Save(const QString& name) {
        frmRuleFile& window = vb::Forms::Get<frmRuleFile>();
        window.txtRuleFileName.SetText(name);
        window.tbrButtons.Buttons("Save").QtButton().click();
    }

    // The main window's pauses waiting for their Restore: start-up and automatic.
    std::pair<int, int> Pauses() const {
        return {main_->checks().StartUpCheckPauses(), main_->checks().AutoCheckPauses()};
    }

    frmMain* main_ = nullptr;
    std::string oldFile_;
};

TEST_F(FrmRuleFileTest, TheWindowShowsTheFileAndPausesTheChecksWhileOpen) {
    frmRuleFile& window = OpenRename();
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(window.Caption(), "RuleFile");
    EXPECT_EQ(window.fraRuleFileIntro.Caption(), "Please Note");
    EXPECT_TRUE(window.lblRuleFileIntro.Caption().startsWith(
        "Changing the Rules FileName will allow multiple users"));
    EXPECT_TRUE(
        window.lblRuleFileIntro.Caption().endsWith("keep each user's file separate and therefore unique."));
    EXPECT_EQ(window.lblRuleFileNameCurrent.Caption(), "Rules.ini");
    EXPECT_EQ(window.lblRuleFilePathCurrent.Caption(), DataFile("").chopped(1));
    EXPECT_EQ(window.txtRuleFileName.Text(), "Rules");
    EXPECT_GE(window.lblRuleFileIntro.height(),
              window.lblRuleFileIntro.heightForWidth(window.lblRuleFileIntro.width()))
        << "the explanation is not cut";
    EXPECT_EQ(Pauses(), std::pair(1, 1));

    window.tbrButtons.Buttons("Cancel").QtButton().click();
    EXPECT_FALSE(vb::Forms::IsLoaded<frmRuleFile>());
    EXPECT_EQ(Pauses(), std::pair(0, 0));
    EXPECT_EQ(main_->controls().lblRulesFileName.Caption(), "FileName: Rules.ini");
    EXPECT_FALSE(QFile::exists(DataFile("RulesRules.ini")));
}

TEST_F(FrmRuleFileTest, RefusedNamesKeepTheWindowOpenAndTheFileAsItWas) {
    WriteRaw(DataFile("RulesJohn.ini").toStdString(), "[Rules]\nRuleCount=1\n[Rule1]\nName=John's\n");
    const std::string johns = Slurp(DataFile("RulesJohn.ini").toStdString());
    OpenRename();
    struct Case {
        const char* name;
        int icon;
        const char* says;
    };
    const Case cases[] = {
        {"a/b", vb::vbExclamation, "cannot contain \"/\""},
        {"John", vb::vbYesNo + vb::vbQuestion + vb::vbDefaultButton2, "'RulesJohn.ini' exists already"},
    };
    for (const Case& c : cases) {
        vb::ScriptedMsgBoxes boxes;
        Save(QString::fromLatin1(c.name));
        ASSERT_EQ(boxes.Calls().size(), 1u) << c.name;
        EXPECT_EQ(boxes.Calls()[0].title, "Veltrane - Rename Rules File");
        EXPECT_EQ(boxes.Calls()[0].buttons, c.icon) << "a question's default answer keeps the file";
        EXPECT_TRUE(boxes.Calls()[0].prompt.contains(QString::fromLatin1(c.says)))
            << boxes.Calls()[0].prompt.toStdString();
        EXPECT_TRUE(vb::Forms::IsLoaded<frmRuleFile>()) << "the user may try another name";
    }
    EXPECT_EQ(Slurp(DataFile("RulesJohn.ini").toStdString()), johns);
    EXPECT_EQ(modRules::gRulesFileName, "Rules.ini");
    EXPECT_EQ(main_->controls().lblRulesFileName.Caption(), "FileName: Rules.ini");

    // An unsaved edit on the Rules page goes into the new file.
    modRules::gEditRules.Count = 1;
    modRules::ResizeRuleArrays(1);
    modRules::gEditRules[1].Name = "Edited";
    main_->rules().CheckRulesChanged();
    ASSERT_TRUE(main_->controls().tbrButtons(tbrButtons::kSaveRules).Buttons(1).Enabled())
        << "Save offered for the edit";
    vb::ScriptedMsgBoxes none;
    Save("Jane");
    EXPECT_TRUE(none.Calls().empty());
    EXPECT_FALSE(vb::Forms::IsLoaded<frmRuleFile>());
    EXPECT_EQ(main_->controls().lblRulesFileName.Caption(), "FileName: RulesJane.ini")
        << "the main window's label follows";
    EXPECT_EQ(GetSetting(kAppKey, "Settings\\Options", "RulesIniFileName"), "RulesJane.ini");
    EXPECT_NE(Slurp(DataFile("RulesJane.ini").toStdString()).find("Name=Edited"), std::string::npos);
    EXPECT_FALSE(main_->controls().tbrButtons(tbrButtons::kSaveRules).Buttons(1).Enabled())
        << "the written edit is saved: nothing left to save";
    EXPECT_EQ(Slurp(DataFile("Rules.ini").toStdString()), oldFile_);
}

// Every rename keeps the old file: going back to an earlier name asks to
// replace that file with the current rules, and No keeps it.
TEST_F(FrmRuleFileTest, AnEarlierNameCanBeTakenAgainWhenTheUserAgrees) {
    OpenRename();
    Save("John");
    ASSERT_EQ(modRules::gRulesFileName, "RulesJohn.ini");
    modRules::gEditRules[1].Name = "Edited after";
    const struct Row {
        int answer;
        bool replaced;
    } rows[] = {{vb::vbNo, false}, {vb::vbYes, true}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.answer);
        vb::ScriptedMsgBoxes boxes;
        boxes.Answer(row.answer);
        OpenRename();
        Save("Rules");
        ASSERT_EQ(boxes.Calls().size(), 1u);
        EXPECT_EQ(boxes.Calls()[0].title, "Veltrane - Rename Rules File");
        EXPECT_EQ(boxes.Calls()[0].prompt,
                  "A file named 'Rules.ini' exists already.\r\n\r\nReplace it with the current Rules?\r\n");
        EXPECT_EQ(boxes.Calls()[0].buttons, vb::vbYesNo + vb::vbQuestion + vb::vbDefaultButton2);
        EXPECT_FALSE(boxes.Calls()[0].prompt.contains("another user")) << "the folder is the user's own";
        EXPECT_EQ(vb::Forms::IsLoaded<frmRuleFile>(), !row.replaced)
            << "No leaves the window for another name";
        EXPECT_EQ(modRules::gRulesFileName, row.replaced ? "Rules.ini" : "RulesJohn.ini");
        EXPECT_EQ(GetSetting(kAppKey, "Settings\\Options", "RulesIniFileName"), modRules::gRulesFileName);
        EXPECT_EQ(main_->controls().lblRulesFileName.Caption(), "FileName: " + modRules::gRulesFileName);
        const std::string rules = Slurp(DataFile("Rules.ini").toStdString());
        EXPECT_EQ(rules == oldFile_, !row.replaced);
        EXPECT_EQ(rules.find("Name=Edited after") != std::string::npos, row.replaced);
    }
    EXPECT_TRUE(QFile::exists(DataFile("RulesJohn.ini"))) << "the file left behind stays";
}

TEST_F(FrmRuleFileTest, ImportAsksForAFileAndSaysWhatHappened) {
    const QString chosen = QDir::temp().filePath("TheirRules.ini");
    WriteRaw(
        chosen.toStdString(),
        "[Rules]\nRuleCount=2\n[Rule1]\nName=Mine\nAccount=Home\n[Rule2]\nName=Theirs\nAccount=Office\n");
    const QString empty = QDir::temp().filePath("Empty.ini");
    WriteRaw(empty.toStdString(), "[Rules]\nRuleCount=0\n");
    struct Case {
        const char* what;
        QString path;  // empty: the dialog is cancelled
        const char* title;
        int buttons;
    };
    const Case cases[] = {
        {"cancelled", QString(), nullptr, 0},
        {"no rules", empty, "Veltrane - Rule Import Failed", vb::vbInformation},
        {"imported", chosen, "Veltrane - Rule Import Successful", vb::vbInformation},
        // Asked, and left at the default answer: the file of that name stays.
        {"its name is taken now", chosen, "Veltrane - Rule Import",
         vb::vbYesNo + vb::vbQuestion + vb::vbDefaultButton2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        vb::ScriptedDialogs dialogs;
        vb::ScriptedMsgBoxes boxes;
        if (c.path.isEmpty())
            dialogs.Cancel();
        else
            dialogs.ChooseFile(c.path);
        if (QString(c.what) == "its name is taken now") modRules::gRulesFileName = "Rules.ini";
        main_->controls().tbrRules.Buttons("RulesImport").QtButton().click();
        ASSERT_EQ(dialogs.Calls().size(), 1u);
        EXPECT_EQ(dialogs.Calls()[0].kind, vb::DialogCall::Open);
        EXPECT_EQ(dialogs.Calls()[0].filter, "(*.ini)|*.ini|");
        EXPECT_EQ(QDir(dialogs.Calls()[0].initDir), QDir(DataFile("")));
        if (c.title) {
            ASSERT_EQ(boxes.Calls().size(), 1u);
            EXPECT_EQ(boxes.Calls()[0].title, c.title);
            EXPECT_EQ(boxes.Calls()[0].buttons, c.buttons);
        } else {
            EXPECT_TRUE(boxes.Calls().empty()) << "a cancel says nothing";
        }
    }
    EXPECT_EQ(modRules::gRulesFileName, "Rules.ini")
        << "the import not allowed to replace a file changed nothing";
    EXPECT_EQ(modRules::gRules.Count, 2) << "the rules of the successful import stay";
    EXPECT_EQ(modRules::gRules[1].Account, "Home") << "a rule of the user's own account keeps it";
    EXPECT_EQ(modRules::gRules[2].Account, "All Accounts");
    ASSERT_EQ(main_->controls().lstRules.ListCount(), 2) << "the Rules page shows the imported rules";
    EXPECT_EQ(main_->controls().lstRules.List(1), "Theirs");
    EXPECT_EQ(modRules::gEditRules[2].Account, "All Accounts");
    EXPECT_NE(Slurp(DataFile("RulesTheir.ini").toStdString()).find("Account=All Accounts"),
              std::string::npos);
}

}  // namespace
