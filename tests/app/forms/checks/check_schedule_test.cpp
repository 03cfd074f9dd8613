// The check timers through the main window: the automatic check when it
// falls due, the start-up countdown and its pause, the nested pauses of
// dialogs, the retrieval animation, and ticks skipped while a server
// operation runs. Every account here is disabled, so a run talks to no server.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <functional>
#include <stdexcept>
#include <utility>
#include <vector>

#include "app/accounts/account_table.h"
#include "app/check/schedule.h"
#include "app/common/app_settings.h"
#include "app/forms/common/child_windows.h"
#include "app/forms/first_use/frm_first_use.h"
#include "app/forms/main_window/window_slots.h"
#include "app/forms/new_mail/frm_message.h"
#include "app/forms/preview/frm_preview.h"
#include "app/forms/rule_file/frm_rule_file.h"
#include "app/forms/rule_report/frm_rule_report.h"
#include "app/general/check_status.h"
#include "app/general/server_operation.h"
#include "app/options/option_values.h"
#include "platform/ui/common_dialog.h"
#include "platform/ui/msg_box.h"
#include "tests/app/forms/laid_out_main_window.h"
#include "tests/support/time_zone.h"

using namespace frmMainElements;  // tbrClient(tbrClient::kAccount)

using namespace modGeneral;

namespace {

const QString kOptions = QStringLiteral("Settings\\Options");

// A moment as UTC text: readable when a comparison fails.
std::string Utc(const QDateTime& t) { return t.toUTC().toString(Qt::ISODate).toStdString(); }

QDateTime At(const char* text) {
    return QDateTime::fromString(QString::fromLatin1(text), "yyyy-MM-dd HH:mm:ss");
}

// A child window of the main window, opened with the main window's link as
// its page opens it.
struct ChildWindow {
    const char* window;
    std::function<void()> open;
    std::function<bool()> loaded;
    std::function<bool()> unload;
    std::function<bool()> showing;  // whether the window says it is shown, where it does
    bool startUp;                   // whether it holds the start-up countdown too
};

template <class W>
ChildWindow Child(
    const char* window, std::function<bool()> showing, bool startUp = false, std::function<void()> open = [] {
        vb::Forms::Get<W>(&vb::Forms::Get<frmMain>().childWindows()).Show();
    }) {
    return {window,
            std::move(open),
            [] { return vb::Forms::IsLoaded<W>(); },
            [] { return vb::Forms::Unload<W>(); },
            std::move(showing),
            startUp};
}

class CheckSchedule : public ::testing::Test {
protected:
    void Load(std::initializer_list<std::pair<const char*, const char*>> options, int accounts = 2) {
        SaveSetting(kAppKey, QStringLiteral("Settings"), QStringLiteral("AcntNum"),
                    QString::number(accounts));
        for (int i = 1; i <= accounts; ++i) {
            SaveSetting(kAppKey, QStringLiteral("Settings"), QStringLiteral("AcntName%1").arg(i),
                        QStringLiteral("Box%1").arg(i));
            SaveSetting(kAppKey, QStringLiteral("Settings"), QStringLiteral("AcntEnabled%1").arg(i),
                        QStringLiteral("0"));
        }
        for (const auto& [key, value] : options)
            SaveSetting(kAppKey, kOptions, QString::fromLatin1(key), QString::fromLatin1(value));
        gAppName = QStringLiteral("Veltrane");
        modCheck::gClock = [this] { return now_; };
        form_ = &LaidOutMainWindow();
        Run().CheckSummary.clear();
        Run().StartUpDone = true;
        Run().StartUpPaused = false;
        Run().NoCheckDeferred = false;
        form_->Show();
    }
    void TearDown() override {
        modCheck::gClock = [] { return QDateTime::currentDateTime(); };
        if (!vb::Forms::IsLoaded<frmMain>()) return;
        form_->mQuitting = true;
        vb::Forms::Unload<frmMain>();
    }
    // Arms the start-up countdown as the start procedure does.
    void ArmStartUp() {
        Run().StartUpDone = false;
        Run().StartUpPaused = true;
        form_->checks().ToggleStartUpTimer();
        form_->controls().tbrButtons(tbrButtons::kPauseStartUp).SetVisible(true);
    }
    QDateTime now_ = At("2026-03-04 10:00:00");
    frmMain* form_ = nullptr;
    // The checks' record of the window under test.
    modGeneral::CheckRunState& Run() { return form_->checks().Record(); }
};

TEST_F(CheckSchedule, TheCheckTimerRunsADueCheckOnceAndSchedulesTheNext) {
    Load({{"UseInterval", "1"}, {"Minutes", "30"}});
    frmMain& form = *form_;
    modCheck::SetNextAutoCheckTime(Run(), 0);
    EXPECT_EQ(Run().NextCheckStamp, At("2026-03-04 10:30:00"));
    struct Row {
        const char* now;
        bool runs;
        const char* next;
    };
    const Row rows[] = {
        {"2026-03-04 10:29:59", false, "2026-03-04 10:30:00"},
        {"2026-03-04 10:30:00", true, "2026-03-04 11:00:00"},  // no account checked: one interval on
        {"2026-03-04 10:30:01", false, "2026-03-04 11:00:00"},
        {"2026-03-04 11:07:00", true, "2026-03-04 11:37:00"},  // a late tick still runs
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.now);
        now_ = At(row.now);
        Run().CheckSummary.clear();
        form.controls().tmrMailTime.Tick();
        EXPECT_EQ(!Run().CheckSummary.isEmpty(), row.runs);
        EXPECT_EQ(Run().NextCheckStamp, At(row.next));
        EXPECT_EQ(form.controls().StatusBar.PanelText(forms::panel::kClock), modCheck::ClockPanelText(now_));
    }
    EXPECT_EQ(form.controls().StatusBar.PanelText(forms::panel::kAutoCheck),
              QStringLiteral("Auto Check at 11:37 AM"));
}

// On 29 March 2026 the clock jumps from 02:00 to 03:00; on 25 October it goes
// back from 03:00 to 02:00. A check falls due once per interval of real time,
// and a no-check window that ends in the skipped hour ends at the jump.
TEST_F(CheckSchedule, ChecksFallDueByRealTimeAcrossTheClockChanges) {
    const TimeZone berlin("Europe/Berlin");
    Load({{"UseInterval", "1"}, {"Minutes", "15"}});
    frmMain& form = *form_;
    struct Row {
        const char* name;
        bool window;  // 01:00 to 02:30
        const char* from;
        const char* until;
        const char* scheduled;
        std::vector<const char*> runs;
    };
    const Row rows[] = {
        {"autumn",
         false,
         "2026-10-25T02:40:00+02:00",
         "2026-10-25T02:30:00+01:00",
         "Auto Check at 2:55 AM",
         {"2026-10-25T02:55:00+02:00", "2026-10-25T02:10:00+01:00", "2026-10-25T02:25:00+01:00"}},
        {"spring",
         true,
         "2026-03-29T01:30:00+01:00",
         "2026-03-29T03:20:00+02:00",
         "Auto Check at 3:00 AM",
         {"2026-03-29T03:00:00+02:00", "2026-03-29T03:15:00+02:00"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        modOptions::gOpt.NoCheck = row.window ? 1 : 0;
        modOptions::gOpt.NoCheckTime = {QStringLiteral("01:00"), QStringLiteral("02:30"), QString()};
        Run().NoCheckDeferred = false;
        now_ = QDateTime::fromString(QString::fromLatin1(row.from), Qt::ISODate);
        modCheck::SetNextAutoCheckTime(Run(), 0);
        EXPECT_EQ(Run().AutoCheckText, QString::fromLatin1(row.scheduled));
        std::vector<std::string> runs;
        const QDateTime until = QDateTime::fromString(QString::fromLatin1(row.until), Qt::ISODate);
        for (; now_ <= until; now_ = now_.addSecs(20)) {
            Run().CheckSummary.clear();
            form.controls().tmrMailTime.Tick();
            if (!Run().CheckSummary.isEmpty()) runs.push_back(Utc(now_));
        }
        std::vector<std::string> expected;
        for (const char* run : row.runs)
            expected.push_back(Utc(QDateTime::fromString(QString::fromLatin1(run), Qt::ISODate)));
        EXPECT_EQ(runs, expected);
    }
}

TEST_F(CheckSchedule, ATickWhileAServerOperationRunsStartsNothing) {
    Load({{"UseInterval", "1"}, {"Minutes", "15"}, {"EmailCheckStartUp", "1"}, {"StartUpDelay", "0"}});
    frmMain& form = *form_;
    ArmStartUp();
    Run().NextCheckStamp = At("2026-03-04 09:00:00");
    const QString panel3 = form.controls().StatusBar.PanelText(forms::panel::kStatus);
    {
        ServerOperation busy;
        ASSERT_TRUE(busy.Started());
        form.controls().tmrMailTime.Tick();
        form.controls().tmrMailStartUp.Tick();
        form.checks().CheckAll();  // a second operation is refused too
        EXPECT_TRUE(Run().CheckSummary.isEmpty());
        EXPECT_EQ(Run().NextCheckStamp, At("2026-03-04 09:00:00"));
        EXPECT_FALSE(Run().StartUpDone);
        EXPECT_EQ(form.controls().StatusBar.PanelText(forms::panel::kStatus), panel3)
            << "the countdown stood still";
    }
    form.controls().tmrMailTime.Tick();
    EXPECT_EQ(Run().CheckSummary, QStringLiteral("Account Information:\r\n"));
    EXPECT_EQ(Run().NextCheckStamp, At("2026-03-04 10:15:00"));
    EXPECT_TRUE(Run().StartUpDone) << "the timed check ended the start-up phase";
    EXPECT_FALSE(form.controls().tbrButtons(tbrButtons::kPauseStartUp).Visible());
    EXPECT_FALSE(form.controls().tmrMailStartUp.Enabled());
}

TEST_F(CheckSchedule, TheStartUpCountdownCountsDownPausesAndThenChecks) {
    Load({{"UseInterval", "1"}, {"Minutes", "10"}, {"EmailCheckStartUp", "1"}, {"StartUpDelay", "3"}});
    frmMain& form = *form_;
    ArmStartUp();
    vb::ToolButton& pause = form.controls().tbrButtons(tbrButtons::kPauseStartUp).Buttons(1);
    EXPECT_EQ(pause.Caption(), QStringLiteral("StartUp: Pause       "));
    struct Step {
        const char* action;  // "tick" or the pause button
        const char* panel3;
        bool timerOn;
        const char* caption;
    };
    const Step steps[] = {
        {"tick", "StartUp Check: 3 sec", true, "StartUp: Pause       "},
        {"pause", "StartUp Check: 3 sec", false, "StartUp: Continue   "},
        {"pause", "StartUp Check: 3 sec", true, "StartUp: Pause       "},
        {"tick", "StartUp Check: 2 sec", true, "StartUp: Pause       "},
        {"tick", "StartUp Check: 1 sec", true, "StartUp: Pause       "},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.panel3);
        if (QLatin1String(step.action) == QLatin1String("tick"))
            form.controls().tmrMailStartUp.Tick();
        else
            pause.QtButton().click();
        EXPECT_EQ(form.controls().StatusBar.PanelText(forms::panel::kStatus),
                  QString::fromLatin1(step.panel3));
        EXPECT_EQ(form.controls().tmrMailStartUp.Enabled(), step.timerOn);
        EXPECT_EQ(pause.Caption(), QString::fromLatin1(step.caption));
        EXPECT_TRUE(Run().CheckSummary.isEmpty());
    }
    form.controls().tmrMailStartUp.Tick();  // the fourth tick of a delay of 3 shows 0 and checks
    EXPECT_EQ(Run().CheckSummary, QStringLiteral("Account Information:\r\n"));
    EXPECT_TRUE(Run().StartUpDone);
    EXPECT_FALSE(form.controls().tmrMailStartUp.Enabled());
    EXPECT_FALSE(form.controls().tbrButtons(tbrButtons::kPauseStartUp).Visible());
    EXPECT_EQ(Run().NextCheckStamp, At("2026-03-04 10:11:00")) << "one extra minute after the start-up check";
    EXPECT_EQ(form.controls().StatusBar.PanelText(forms::panel::kAutoCheck),
              QStringLiteral("Auto Check at 10:11 AM"));
    EXPECT_TRUE(form.controls().tmrMailTime.Enabled()) << "the start-up check's suspension was restored";
}

TEST_F(CheckSchedule, NestedDialogsPauseUntilTheLastOneCloses) {
    Load({{"UseInterval", "1"}, {"EmailCheckStartUp", "1"}, {"StartUpDelay", "30"}});
    frmMain& form = *form_;
    ArmStartUp();
    vb::ToolButton& pause = form.controls().tbrButtons(tbrButtons::kPauseStartUp).Buttons(1);
    constexpr auto kSuspend = forms::PauseAction::Suspend;
    constexpr auto kRestore = forms::PauseAction::Restore;
    struct Step {
        char call;  // A = SuspendAutoCheck, S = SuspendStartUpCheck, P = the pause button
        forms::PauseAction action;
        bool checkTimer;
        bool startUpTimer;
        bool pauseEnabled;
    };
    const Step steps[] = {
        {'A', kSuspend, false, true, true},  {'A', kSuspend, false, true, true},
        {'A', kRestore, false, true, true},  {'A', kRestore, true, true, true},
        {'A', kRestore, true, true, true},  // a Restore without its Suspend changes nothing
        {'S', kSuspend, true, false, false}, {'S', kSuspend, true, false, false},
        {'S', kRestore, true, false, false}, {'S', kRestore, true, true, true},  // running again, as before
        {'S', kRestore, true, true, true},   // a Restore without its Suspend changes nothing
        {'P', kSuspend, true, false, true},  // the user pauses
        {'S', kSuspend, true, false, false}, {'S', kRestore, true, false, true},  // and it stays paused
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(testing::Message()
                     << step.call << " " << (step.action == kSuspend ? "Suspend" : "Restore"));
        if (step.call == 'A') form.checks().SuspendAutoCheck(step.action);
        if (step.call == 'S') form.checks().SuspendStartUpCheck(step.action);
        if (step.call == 'P') pause.QtButton().click();
        EXPECT_EQ(form.controls().tmrMailTime.Enabled(), step.checkTimer);
        EXPECT_NE(form.controls().tmrStatusBar.Enabled(), step.checkTimer) << "exactly one of the two runs";
        EXPECT_EQ(form.controls().tmrMailStartUp.Enabled(), step.startUpTimer);
        EXPECT_EQ(pause.Enabled(), step.pauseEnabled);
    }
}

// Every dialog of the main window holds the start-up countdown and the
// automatic check while it waits for the user, and lets both go when it ends.
TEST_F(CheckSchedule, EveryDialogPausesTheChecksWhileItWaits) {
    Load({{"UseInterval", "1"}, {"EmailCheckStartUp", "1"}, {"StartUpDelay", "30"}});
    frmMain& form = *form_;
    ArmStartUp();
    const auto click = [](vb::ToolBar& bar, const char* key) {
        return [&bar, key] { bar.Buttons(QString::fromLatin1(key)).QtButton().click(); };
    };
    struct Row {
        const char* dialog;
        std::function<void()> open;
    };
    const Row rows[] = {
        {"the default mail client's Browse", click(form.controls().tbrClient(tbrClient::kDefault), "Browse")},
        {"the account's sound Browse", click(form.controls().tbrSound(tbrSound::kAccount), "Browse")},
        {"the top menu colour", [&] { form.controls().lbl3DTopColour.Click(); }},
        {"the middle menu colour", [&] { form.controls().lbl3DMiddleColour.Click(); }},
        {"the bottom menu colour", [&] { form.controls().lbl3DBottomColour.Click(); }},
        {"Import Rules", click(form.controls().tbrRules, "RulesImport")},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.dialog);
        vb::ScriptedDialogs dialogs;  // every dialog is cancelled
        std::vector<std::pair<bool, bool>> whileOpen;
        dialogs.WhileShown = [&](const vb::DialogCall&) {
            whileOpen.emplace_back(form.controls().tmrMailTime.Enabled(),
                                   form.controls().tmrMailStartUp.Enabled());
        };
        row.open();
        EXPECT_EQ(whileOpen, (std::vector<std::pair<bool, bool>>{{false, false}}))
            << "neither check may start under the dialog";
        EXPECT_TRUE(form.controls().tmrMailTime.Enabled());
        EXPECT_TRUE(form.controls().tmrMailStartUp.Enabled());
        EXPECT_TRUE(form.controls().tbrButtons(tbrButtons::kPauseStartUp).Buttons(1).Enabled())
            << "the countdown's pause button is back";
    }
}

// Every child window holds the automatic check (the rules file name window
// the start-up countdown too) from its load to its unload; a second reach of
// a loaded window pauses nothing more.
TEST_F(CheckSchedule, EveryChildWindowPausesTheChecksWhileItIsLoaded) {
    Load({{"UseInterval", "1"}, {"EmailCheckStartUp", "1"}, {"StartUpDelay", "30"}});
    frmMain& form = *form_;
    ArmStartUp();
    const ChildWindow rows[] = {
        Child<frmFirstUse>("the first-use window", forms::FirstUseShown),
        Child<frmMessage>("the pop-up", forms::MessageShown, false,
                          [&form] {
                              frmMessage::ShowReport(QStringLiteral("No Message(s) found at 10:00 AM"),
                                                     form.checks().Record(), &form.childWindows());
                          }),
        Child<frmPreview>("the preview", forms::PreviewShown),
        Child<frmRuleReport>("the rule report", forms::RuleReportShown),
        Child<frmRuleFile>("the rules file name window", nullptr, true),
    };
    for (const ChildWindow& r : rows) {
        SCOPED_TRACE(r.window);
        r.open();
        r.open();
        ASSERT_TRUE(r.loaded());
        if (r.showing) {
            EXPECT_TRUE(r.showing());
        }
        EXPECT_EQ(form.checks().AutoCheckPauses(), 1) << "one pause for one loaded window";
        EXPECT_EQ(form.checks().StartUpCheckPauses(), r.startUp ? 1 : 0);
        EXPECT_FALSE(form.controls().tmrMailTime.Enabled());
        EXPECT_NE(form.controls().tmrMailStartUp.Enabled(), r.startUp);
        ASSERT_TRUE(r.unload());
        if (r.showing) {
            EXPECT_FALSE(r.showing());
        }
        EXPECT_EQ(form.checks().AutoCheckPauses(), 0);
        EXPECT_EQ(form.checks().StartUpCheckPauses(), 0);
        EXPECT_TRUE(form.controls().tmrMailTime.Enabled());
        EXPECT_TRUE(form.controls().tmrMailStartUp.Enabled());
    }
}

TEST_F(CheckSchedule, AChildWindowWhoseLoadFailsGivesItsPauseBack) {
    Load({{"UseInterval", "1"}});
    frmMain& form = *form_;
    // The pop-up's load reads the clock for its caption after its pause.
    modCheck::gClock = []() -> QDateTime { throw std::runtime_error("no clock"); };
    EXPECT_THROW(vb::Forms::Get<frmMessage>(&form.childWindows()), std::runtime_error);
    modCheck::gClock = [this] { return now_; };
    EXPECT_FALSE(vb::Forms::IsLoaded<frmMessage>());
    // The failed window goes when control is back in the event loop.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(form.checks().AutoCheckPauses(), 0);
    EXPECT_TRUE(form.controls().tmrMailTime.Enabled()) << "the automatic check runs again";
}

TEST_F(CheckSchedule, AutoCheckSwitchedOnWhileADialogIsOpenWaitsForItToClose) {
    Load({{"UseInterval", "0"}});
    frmMain& form = *form_;
    form.checks().SuspendAutoCheck(forms::PauseAction::Suspend);
    form.tray().mnuTrayAutoCheck_Click();
    ASSERT_EQ(modOptions::gOpt.UseInterval, 1);
    EXPECT_FALSE(form.controls().tmrMailTime.Enabled());
    EXPECT_TRUE(form.controls().tmrStatusBar.Enabled());
    form.checks().SuspendAutoCheck(forms::PauseAction::Restore);
    EXPECT_TRUE(form.controls().tmrMailTime.Enabled());
    EXPECT_FALSE(form.controls().tmrStatusBar.Enabled());
}

TEST_F(CheckSchedule, ACheckByHandDuringTheCountdownEndsTheStartUpPhase) {
    Load({{"EmailCheckStartUp", "1"}, {"StartUpDelay", "30"}});
    frmMain& form = *form_;
    ArmStartUp();
    vb::ScriptedMsgBoxes boxes;
    form.controls().tbrButtons(tbrButtons::kCheckAll).Buttons(QStringLiteral("CheckAll")).QtButton().click();
    EXPECT_TRUE(Run().StartUpDone);
    EXPECT_FALSE(form.controls().tmrMailStartUp.Enabled());
    EXPECT_FALSE(form.controls().tbrButtons(tbrButtons::kPauseStartUp).Visible());
    ASSERT_EQ(boxes.Calls().size(), 1u) << "both accounts are disabled";
    EXPECT_EQ(boxes.Calls()[0].title, QStringLiteral("Veltrane - No Accounts Checked"));
    EXPECT_EQ(boxes.Calls()[0].buttons, vb::vbInformation);
    EXPECT_TRUE(boxes.Calls()[0].prompt.startsWith(QStringLiteral("No Accounts were checked for messags!")));
    EXPECT_TRUE(boxes.Calls()[0].prompt.contains(QStringLiteral("the Check All button.\r\n")));
    EXPECT_EQ(modAccounts::gCurrentAccount, 1) << "the tab that was current is selected again";
    EXPECT_EQ(form.controls().TabStripEmail.SelectedItem(), 1);
}

TEST_F(CheckSchedule, TheTabSpinsWhileConnectedAndAStopSaysSo) {
    Load({});
    frmMain& form = *form_;
    Run().ReceivedCount = 4;
    Run().UserStop = false;
    form.controls().tmrRetrieveMessage.SetEnabled(true);
    for (const char* image : {"MailSpin8", "MailSpin7", "MailSpin6", "MailSpin5", "MailSpin4", "MailSpin3",
                              "MailSpin2", "MailSpin1", "MailSpin8"}) {
        form.controls().tmrRetrieveMessage.Tick();
        EXPECT_EQ(form.controls().TabStripEmail.TabImage(1), QString::fromLatin1(image));
    }
    EXPECT_TRUE(form.controls().tmrRetrieveMessage.Enabled());
    Run().UserStop = true;
    form.controls().tmrRetrieveMessage.Tick();
    Run().UserStop = false;
    EXPECT_EQ(form.controls().tbrButtons(tbrButtons::kStopRetrieval).Buttons(1).Caption(),
              QStringLiteral("Terminating...      "));
    EXPECT_EQ(form.controls().StatusBar.PanelText(forms::panel::kResult),
              QStringLiteral("Terminating Connection...Please Wait"));
    EXPECT_EQ(form.controls().StatusBar.PanelText(forms::panel::kAutoCheck),
              QStringLiteral("Stopping Retrieve... 4"));
    EXPECT_FALSE(form.controls().ProgressBar.Visible());
    EXPECT_FALSE(form.controls().tmrRetrieveMessage.Enabled());
}

}  // namespace
