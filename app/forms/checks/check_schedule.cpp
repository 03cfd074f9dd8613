// The check timers: the clock, the automatic check when it falls due, the
// start-up countdown and the retrieval animation; their nested pauses while
// dialogs are open.
#include "app/forms/checks/check_runs.h"
#include "app/forms/checks/server_session.h"

#include "app/accounts/account_table.h"
#include "app/check/schedule.h"
#include "app/forms/main_window/window_slots.h"
#include "app/forms/tray/tray_status.h"
#include "app/general/check_status.h"
#include "app/general/server_operation.h"
#include "app/options/option_values.h"

namespace {

// Nesting by count: true when the call changes the paused state. A Restore
// without its Suspend changes nothing.
bool Nest(int& count, forms::PauseAction action) {
    if (action == forms::PauseAction::Suspend) return count++ == 0;
    return count > 0 && --count == 0;
}

}  // namespace

void CheckRuns::ApplyCheckTimers() {
    const bool checking = modOptions::gOpt.UseInterval == 1 && autoCheckSuspended_ == 0;
    c_.tmrMailTime.SetEnabled(checking);
    c_.tmrStatusBar.SetEnabled(!checking);
}

void CheckRuns::SetNextAutoCheckTime() { modCheck::SetNextAutoCheckTime(run_, 0); }

void CheckRuns::ShowAutoCheckText(const QString& text) {
    c_.StatusBar.SetPanelText(forms::panel::kAutoCheck, text);
}

void CheckRuns::SuspendAutoCheck(forms::PauseAction action) {
    if (Nest(autoCheckSuspended_, action) && modOptions::gOpt.UseInterval == 1) ApplyCheckTimers();
}

void CheckRuns::SuspendStartUpCheck(forms::PauseAction action) {
    using namespace modGeneral;
    const bool pending = modOptions::gOpt.EmailCheckStartUp != 0 && !run_.StartUpDone;
    if (action == forms::PauseAction::Suspend && !pending) return;
    if (!Nest(startUpSuspended_, action) || !pending) return;
    vb::ToolButton& pause = c_.tbrButtons(forms::bar::kPauseStartUp).Buttons(1);
    if (startUpSuspended_ == 1) {
        startUpWasRunning_ = c_.tmrMailStartUp.Enabled();
        run_.StartUpPaused = false;
        pause.SetEnabled(false);
    } else {
        // Toggled once more below: running again only when it ran before.
        run_.StartUpPaused = startUpWasRunning_;
        pause.SetEnabled(true);
    }
    ToggleStartUpTimer();
}

void CheckRuns::ToggleStartUpTimer() {
    run_.StartUpPaused = !run_.StartUpPaused;
    vb::ToolButton& pause = c_.tbrButtons(forms::bar::kPauseStartUp).Buttons(1);
    if (run_.StartUpPaused) {
        pause.SetCaption(QStringLiteral("StartUp: Continue   "));
        pause.SetToolTipText(QStringLiteral("Continue the StartUp Check Timer"));
    } else {
        pause.SetCaption(QStringLiteral("StartUp: Pause       "));
        pause.SetToolTipText(QStringLiteral("Pause the StartUp Check Timer"));
    }
    c_.tmrMailStartUp.SetEnabled(!run_.StartUpPaused);
}

void CheckRuns::ShowAutoCheckStatus() {
    using namespace modGeneral;
    if (run_.StartUpDone) return;
    c_.tmrMailStartUp.SetEnabled(false);
    c_.tbrButtons(forms::bar::kPauseStartUp).SetVisible(false);
    c_.StatusBar.SetPanelText(forms::panel::kStatus,
                              modAccounts::gAccounts[modAccounts::gAccountCount].Status);
    c_.StatusBar.SetPanelText(forms::panel::kAutoCheck, run_.AutoCheckText);
    run_.StartUpDone = true;
}

void CheckRuns::tmrStatusBar_Timer() {
    c_.StatusBar.SetPanelText(forms::panel::kClock, modCheck::ClockPanelText(modCheck::gClock()));
    tray_.ShowCounts();
}

void CheckRuns::tmrMailTime_Timer() {
    using namespace modGeneral;
    const QDateTime now = modCheck::gClock();
    c_.StatusBar.SetPanelText(forms::panel::kClock, modCheck::ClockPanelText(now));
    // A check that falls due while another server operation runs starts on
    // the first tick after it.
    if (modAccounts::gAccountCount < 1 || ServerOperation::Running()) return;
    if (modCheck::CheckDue(run_, now)) {
        run_.UserStop = false;
        RunAutoCheck();
        window_.SetMousePointer(0);
        // A run that checked no account leaves the check due: the next one
        // is one interval away all the same, not on the next tick.
        if (modOptions::gOpt.UseInterval == 1 && modCheck::CheckDue(run_, modCheck::gClock())) {
            modCheck::SetNextAutoCheckTime(run_, 0);
            c_.StatusBar.SetPanelText(forms::panel::kAutoCheck, run_.AutoCheckText);
        }
    }
    tray_.ShowCounts();
}

void CheckRuns::tmrMailStartUp_Timer() {
    using namespace modGeneral;
    if (ServerOperation::Running()) return;
    c_.StatusBar.SetPanelText(forms::panel::kStatus,
                              QStringLiteral("StartUp Check: ") +
                                  QString::number(modOptions::gOpt.StartUpDelay - startUpCounter_) +
                                  QStringLiteral(" sec"));
    ++startUpCounter_;
    if (startUpCounter_ <= modOptions::gOpt.StartUpDelay) return;
    run_.StartUpDone = true;
    c_.tbrButtons(forms::bar::kPauseStartUp).SetVisible(false);
    c_.tmrMailStartUp.SetEnabled(false);
    run_.UserStop = false;
    RunStartUpCheck();
    window_.SetMousePointer(0);
}

void CheckRuns::tmrRetrieveMessage_Timer() {
    using namespace modGeneral;
    retrievalFrame_ = static_cast<int16_t>(retrievalFrame_ % 8 + 1);
    vb::TabStrip& strip = run_.TestingAccount ? c_.TabStripAcnts : c_.TabStripEmail;
    const int16_t account = modAccounts::gCurrentAccount;
    if (account >= 1 && account <= strip.TabCount())
        strip.SetTabImage(account, c_.imlTabIcons.Key(15 - retrievalFrame_));
    if (!run_.UserStop) return;
    c_.tbrButtons(forms::bar::kStopRetrieval).Buttons(1).SetCaption(QStringLiteral("Terminating...      "));
    c_.ProgressBar.SetVisible(false);
    c_.StatusBar.SetPanelText(forms::panel::kResult, QStringLiteral("Terminating Connection...Please Wait"));
    c_.StatusBar.SetPanelText(forms::panel::kAutoCheck,
                              QStringLiteral("Stopping Retrieve... ") + QString::number(run_.ReceivedCount));
    c_.tmrRetrieveMessage.SetEnabled(false);
    // The session ends now, whatever it waits for; the call waiting in it
    // returns and the check goes on to its end.
    session_.StopSession();
}

void CheckRuns::StartAutoCheckClock(const QDateTime& now) {
    using namespace modGeneral;
    using namespace modOptions;
    // A start late in a minute with a short interval checks one minute later.
    const int16_t extra = now.time().second() > 19 && modOptions::CheckIntervalMinutes() < 16 ? 1 : 0;
    modCheck::SetNextAutoCheckTime(run_, extra, now);

    ApplyCheckTimers();
    if (gOpt.UseInterval == 1) {
        c_.mnuTrayAutoCheck.SetCaption(QStringLiteral("&Auto Check - On|#AutoCheckOn"));
    } else {
        run_.AutoCheckText = QStringLiteral("Auto Check Off");
        c_.mnuTrayAutoCheck.SetCaption(QStringLiteral("&Auto Check - Off|#AutoCheckOff"));
    }
    c_.StatusBar.SetPanelText(forms::panel::kAutoCheck, run_.AutoCheckText);
}

void CheckRuns::ArmStartUpCheck() {
    using namespace modGeneral;
    run_.StartUpPaused = false;
    vb::ToolBar& pause = c_.tbrButtons(forms::bar::kPauseStartUp);
    if (modOptions::gOpt.EmailCheckStartUp == 1 && modAccounts::gAccountCount >= 1) {
        pause.Buttons(1).SetCaption(QStringLiteral("StartUp: Pause       "));
        pause.Buttons(1).SetToolTipText(QStringLiteral("Pause the StartUp Check Timer"));
        pause.SetVisible(true);
        c_.tmrMailStartUp.SetEnabled(true);
        run_.StartUpDone = false;
    } else {
        pause.SetVisible(false);
        c_.tmrMailStartUp.SetEnabled(false);
        run_.StartUpDone = true;
    }
}
