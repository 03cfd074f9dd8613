// The rule report: when a check opens it, its lists and tabs, its countdown
// and timer button, and what its load and unload pause and restore.
#include <gtest/gtest.h>

#include <QStringList>

#include "app/accounts/account_table.h"
#include "app/common/app_settings.h"
#include "app/forms/common/child_windows.h"
#include "app/forms/rule_file/frm_rule_file.h"
#include "app/forms/rule_report/frm_rule_report.h"
#include "app/general/check_status.h"
#include "app/general/message_store.h"
#include "app/options/option_values.h"
#include "app/rules/rule_set.h"
#include "platform/ui/forms.h"
#include "platform/ui/msg_box.h"
#include "tests/app/forms/laid_out_main_window.h"

using namespace modGeneral;

namespace {

// The report's one-button bars, by the names its description gives them.
namespace bar = frmRuleReportElements::tbrRuleReport;

class FrmRuleReportTest : public testing::Test {
protected:
    void SetUp() override {
        gAppName = QStringLiteral("Veltrane");
        SaveSettings(kAppKey, QStringLiteral("Settings"),
                     {{QStringLiteral("AcntNum"), QStringLiteral("3")},
                      {QStringLiteral("AcntName1"), QStringLiteral("New Account")},
                      {QStringLiteral("AcntName2"), QStringLiteral("New Account")},
                      {QStringLiteral("AcntName3"), QStringLiteral("New Account")}});
        main_ = &LaidOutMainWindow();
        modRules::gRules.Show = 1;
        modRules::gRules.ShowNew = 0;
        modRules::gRules.Time = 30;
        Mark({0, 0, 0}, {0, 0, 0});
    }
    void TearDown() override {
        vb::Forms::Unload<frmRuleReport>();
        main_->mQuitting = true;
        vb::Forms::Unload<frmMain>();
    }
    // Rule marks per enabled account, all checked by the last run: messages
    // marked for deletion and as spam.
    static void Mark(const std::vector<int16_t>& deletions, const std::vector<int16_t>& spam) {
        using namespace modAccounts;
        gAccountCount = static_cast<int16_t>(deletions.size());
        ResizeAccountArrays(gAccountCount);
        for (int16_t i = 1; i <= gAccountCount; ++i) {
            gAccounts[i].Name = QStringLiteral("Acnt%1").arg(i);
            gAccounts[i].Enabled = 1;
            gAccounts[i].DeleteCount = deletions[static_cast<size_t>(i - 1)];
            gAccounts[i].SpamCount = spam[static_cast<size_t>(i - 1)];
            gAccounts[i].HasNewMail = false;
        }
        modRules::gRuleReportAccounts = modRules::RuleReportAccounts(All());
    }
    static std::vector<int16_t> All() {
        std::vector<int16_t> all;
        for (int16_t i = 1; i <= modAccounts::gAccountCount; ++i) all.push_back(i);
        return all;
    }
    // The report, opened with the main window's link as the Rules page opens it.
    frmRuleReport& Report() { return vb::Forms::Get<frmRuleReport>(&main_->childWindows()); }
    vb::ToolButton& Button(int16_t bar) { return Report().tbrRuleReport(bar).Buttons(1); }
    void SelectTab(int tab) { Report().TabStripRuleReport.Select(tab); }

    // The main window's automatic-check pauses waiting for their Restore,
    // and whether the report says it is showing.
    QString Paused() const {
        return QString::number(main_->checks().AutoCheckPauses()) +
               (forms::RuleReportShown() ? "/open" : "/closed");
    }

    frmMain* main_ = nullptr;
};

TEST_F(FrmRuleReportTest, ACheckOpensOneReportOnlyWhenTheRulesMarkedMessages) {
    main_->rules().CheckRuleReport(All());
    EXPECT_FALSE(vb::Forms::IsLoaded<frmRuleReport>()) << "no marks";

    Mark({0, 2, 0}, {0, 0, 0});
    modRules::gRules.Show = 0;
    main_->rules().CheckRuleReport(All());
    EXPECT_FALSE(vb::Forms::IsLoaded<frmRuleReport>()) << "Show 0";

    modRules::gRules.Show = 1;
    main_->rules().CheckRuleReport(All());
    ASSERT_TRUE(vb::Forms::IsLoaded<frmRuleReport>());
    EXPECT_TRUE(Report().isVisible());
    EXPECT_TRUE(forms::RuleReportShown());
    EXPECT_EQ(Paused(), "1/open");

    Mark({0, 5, 0}, {1, 0, 0});
    main_->rules().CheckRuleReport(All());  // a later check while it is open
    EXPECT_EQ(Paused(), "1/open") << "no second report loads";
    EXPECT_EQ(Report().lblRuleDelete.Caption(), "Acnt2 has 2 messages\r\n")
        << "it keeps the opening check's counts";

    Button(bar::kExit).QtButton().click();
    EXPECT_FALSE(vb::Forms::IsLoaded<frmRuleReport>());
    EXPECT_FALSE(forms::RuleReportShown());
    EXPECT_EQ(Paused(), "0/closed");
}

TEST_F(FrmRuleReportTest, ItOpensOnATabThatListsMessages) {
    struct Case {
        std::vector<int16_t> deletions, spam;
        int tab;
    };
    for (const Case& c :
         {Case{{0, 1, 0}, {0, 0, 0}, 1}, Case{{0, 0, 0}, {0, 3, 0}, 2}, Case{{1, 0, 0}, {0, 3, 0}, 1}}) {
        SCOPED_TRACE(c.tab);
        Mark(c.deletions, c.spam);
        main_->rules().CheckRuleReport(All());
        ASSERT_TRUE(vb::Forms::IsLoaded<frmRuleReport>());
        EXPECT_EQ(Report().TabStripRuleReport.SelectedItem(), c.tab);
        EXPECT_EQ(Report().lblRuleSpam.isVisible(), c.tab == 2);
        EXPECT_TRUE(Button(bar::kDeleteNow).Enabled()) << "Delete Now has messages to delete";
        ASSERT_TRUE(vb::Forms::Unload<frmRuleReport>());
    }
}

TEST_F(FrmRuleReportTest, TabsShowTheirListAndOfferDeleteNowOnlyWithAccounts) {
    struct Case {
        std::vector<int16_t> deletions, spam;
        const char* deleteText;
        const char* spamText;
        int lines;
    };
    const Case cases[] = {
        {{2, 0, 1},
         {0, 0, 0},
         "Acnt1 has 2 messages\r\nAcnt3 has 1 message\r\n",
         "No Spam Messages to Delete",
         2},
        {{0, 0, 0}, {0, 1, 0}, "No Messages to Delete", "Acnt2 has 1 message\r\n", 1},
        {std::vector<int16_t>(20, 1), std::vector<int16_t>(20, 0), nullptr, "No Spam Messages to Delete", 17},
    };
    for (const Case& c : cases) {
        Mark(c.deletions, c.spam);
        frmRuleReport& report = Report();
        SCOPED_TRACE(c.spamText);
        EXPECT_EQ(report.Caption(), "Veltrane - Rule Report Notification");
        EXPECT_EQ(report.lblRuleReport.Caption(),
                  "Your Rules indicate the following Account(s) have messages that match your criteria.");
        ASSERT_EQ(report.TabStripRuleReport.TabCount(), 2);
        EXPECT_EQ(report.TabStripRuleReport.TabCaption(1), "Delete from Server");
        EXPECT_EQ(report.TabStripRuleReport.TabCaption(2), "Mark as Spam");
        if (c.deleteText) {
            EXPECT_EQ(report.lblRuleDelete.Caption(), c.deleteText);
        }
        EXPECT_EQ(report.lblRuleSpam.Caption(), c.spamText);
        const int lineHeight = report.TextHeight("A");
        EXPECT_NEAR(report.lblRuleDelete.Height(), c.lines * lineHeight, 15);
        EXPECT_GE(report.TabStripRuleReport.Height(),
                  report.lblRuleDelete.Top() + report.lblRuleDelete.Height())
            << "the list fits on its tab";

        report.Show();
        for (const int tab : {1, 2, 1}) {
            SelectTab(tab);
            const bool deletions = tab == 1;
            EXPECT_EQ(report.lblRuleDelete.isVisible(), deletions);
            EXPECT_EQ(report.imgRuleDelete.isVisible(), deletions);
            EXPECT_EQ(report.lblRuleSpam.isVisible(), !deletions);
            EXPECT_EQ(report.imgRuleSpam.isVisible(), !deletions);
            const QString& shown = deletions ? report.lblRuleDelete.Caption() : report.lblRuleSpam.Caption();
            EXPECT_EQ(Button(bar::kDeleteNow).Enabled(), !shown.startsWith("No ")) << "tab " << tab;
        }
        ASSERT_TRUE(vb::Forms::Unload<frmRuleReport>());
    }
}

TEST_F(FrmRuleReportTest, TheCountdownClosesTheReportAndTheTimerButtonHoldsIt) {
    Mark({1, 0, 0}, {0, 0, 0});
    modRules::gRules.Time = 2;
    frmRuleReport& report = Report();
    EXPECT_EQ(report.lblRuleReportCountDown.Caption(), "2");
    EXPECT_TRUE(report.tmrRuleReport.Enabled());
    EXPECT_EQ(report.tmrRuleReport.Interval(), 1000);
    EXPECT_EQ(Button(bar::kTimer).Caption(), "Stop Timer   ");

    report.tmrRuleReport_Timer();
    EXPECT_EQ(report.lblRuleReportCountDown.Caption(), "1");
    Button(bar::kTimer).QtButton().click();
    EXPECT_FALSE(report.tmrRuleReport.Enabled());
    EXPECT_EQ(Button(bar::kTimer).Caption(), "Start Timer  ");
    EXPECT_EQ(Button(bar::kTimer).Tag(), "Off");
    Button(bar::kTimer).QtButton().click();
    EXPECT_TRUE(report.tmrRuleReport.Enabled());
    EXPECT_EQ(Button(bar::kTimer).Caption(), "Stop Timer   ");
    EXPECT_EQ(report.lblRuleReportCountDown.Caption(), "1") << "it goes on where it stopped";

    report.tmrRuleReport_Timer();
    EXPECT_EQ(report.lblRuleReportCountDown.Caption(), "0");
    ASSERT_TRUE(vb::Forms::IsLoaded<frmRuleReport>()) << "0 is shown for a second";
    report.tmrRuleReport_Timer();
    EXPECT_FALSE(vb::Forms::IsLoaded<frmRuleReport>());
    EXPECT_FALSE(forms::RuleReportShown());

    modRules::gRules.Time = -4;  // a hand-edited file
    Report().tmrRuleReport_Timer();
    EXPECT_FALSE(vb::Forms::IsLoaded<frmRuleReport>()) << "a negative Time closes at the first tick";
}

TEST_F(FrmRuleReportTest, TheNewMailPopUpLeavesTheTopBandWhileTheReportIsOpen) {
    vb::Form popUp;
    popUp.SetTopmost(true);
    const auto registration = forms::gMessageWindow.Register(popUp);
    Mark({1, 0, 0}, {0, 0, 0});
    Report().Show();
    EXPECT_FALSE(popUp.Topmost());
    ASSERT_TRUE(vb::Forms::Unload<frmRuleReport>());
    EXPECT_TRUE(popUp.Topmost());
}

TEST_F(FrmRuleReportTest, AFailureDuringDeletionIsReportedAndPutsEverythingBack) {
    vb::Form popUp;
    popUp.RunLoad();
    popUp.Show();
    const auto registration = forms::gMessageWindow.Register(popUp);
    Mark({0, 2, 0}, {0, 0, 0});
    modAccounts::gCurrentAccount = 3;
    modAccounts::gAccounts[2].MsgCount =
        static_cast<int16_t>(modGeneral::AccountRow(2).Messages.size() + 5);  // a broken store
    modOptions::gOpt.DeleteConfirmation = 1;
    Report().Show();
    vb::ScriptedMsgBoxes boxes;
    Button(bar::kDeleteNow).QtButton().click();
    ASSERT_EQ(boxes.Calls().size(), 1u);
    EXPECT_EQ(boxes.Calls()[0].title, "Veltrane - Unknown Error");
    EXPECT_EQ(boxes.Calls()[0].buttons, vb::vbOKOnly + vb::vbCritical);
    EXPECT_EQ(
        boxes.Calls()[0].prompt,
        "There was an unknown error during Deletion.          \r\n\r\nPerhaps the connection was disabled."
        "\r\n\r\nYou should check your messages carefully\r\nsince some messages may have been deleted\r\n"
        "and some may not have been deleted.\r\n");
    EXPECT_FALSE(popUp.isVisible()) << "the pop-up closes";
    EXPECT_TRUE(Report().Topmost());
    EXPECT_EQ(modOptions::gOpt.DeleteConfirmation, 1);
    EXPECT_EQ(modAccounts::gCurrentAccount, 3);
    EXPECT_TRUE(main_->controls().TabStripEmail.Enabled()) << "retrieval mode left";
    EXPECT_EQ(Report().lblRuleDelete.Caption(), "Acnt2 has 2 messages\r\n") << "nothing was deleted";
    EXPECT_TRUE(Button(bar::kDeleteNow).Enabled());
    EXPECT_TRUE(Report().tmrRuleReport.Enabled()) << "the countdown goes on";
}

TEST_F(FrmRuleReportTest, TheMainWindowsShutdownClosesTheRuleWindows) {
    Mark({1, 0, 0}, {0, 0, 0});
    Report().Show();
    main_->controls().tbrRules.Buttons("RulesRename").QtButton().click();
    ASSERT_TRUE(vb::Forms::IsLoaded<frmRuleFile>());
    main_->mQuitting = true;
    ASSERT_TRUE(vb::Forms::Unload<frmMain>());
    EXPECT_FALSE(vb::Forms::IsLoaded<frmRuleReport>());
    EXPECT_FALSE(vb::Forms::IsLoaded<frmRuleFile>());
    EXPECT_FALSE(forms::RuleReportShown());
    main_ = &LaidOutMainWindow();  // for the tear-down
}

}  // namespace
