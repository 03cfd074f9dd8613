// The check timers: the clock, the automatic check when it falls due, the
// start-up countdown and the retrieval animation; their nested pauses while
// dialogs are open.
#include "app/accounts/account_table.h"
#include "app/check/schedule.h"
#include "app/forms/frm_main.h"
#include "app/forms/main_window_slots.h"
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

void frmMain::ApplyCheckTimers() {
    const bool checking = modOptions::gOptUseInterval == 1 && autoCheckSuspended_ == 0;
    tmrMailTime.SetEnabled(checking);
    tmrStatusBar.SetEnabled(!checking);
}

void frmMain::SuspendAutoCheck(forms::PauseAction action) {
    if (Nest(autoCheckSuspended_, action) && modOptions::gOptUseInterval == 1) ApplyCheckTimers();
}

void frmMain::SuspendStartUpCheck(forms::PauseAction action) {
    using namespace modGeneral;
    const bool pending = modOptions::gOptEmailCheckStartUp != 0 && !gStartUpDone;
    if (action == forms::PauseAction::Suspend && !pending) return;
    if (!Nest(startUpSuspended_, action) || !pending) return;
    vb::ToolButton& pause = tbrButtons(forms::bar::kPauseStartUp).Buttons(1);
    if (startUpSuspended_ == 1) {
        startUpWasRunning_ = tmrMailStartUp.Enabled();
        gStartUpPaused = false;
        pause.SetEnabled(false);
    } else {
        // Toggled once more below: running again only when it ran before.
        gStartUpPaused = startUpWasRunning_;
        pause.SetEnabled(true);
    }
    ToggleStartUpTimer();
}

void frmMain::ToggleStartUpTimer() {
    using modGeneral::gStartUpPaused;
    gStartUpPaused = !gStartUpPaused;
    vb::ToolButton& pause = tbrButtons(forms::bar::kPauseStartUp).Buttons(1);
    if (gStartUpPaused) {
        pause.SetCaption(QStringLiteral("StartUp: Continue   "));
        pause.SetToolTipText(QStringLiteral("Continue the StartUp Check Timer"));
    } else {
        pause.SetCaption(QStringLiteral("StartUp: Pause       "));
        pause.SetToolTipText(QStringLiteral("Pause the StartUp Check Timer"));
    }
    tmrMailStartUp.SetEnabled(!gStartUpPaused);
}

void frmMain::ShowAutoCheckStatus() {
    using namespace modGeneral;
    if (gStartUpDone) return;
    tmrMailStartUp.SetEnabled(false);
    tbrButtons(forms::bar::kPauseStartUp).SetVisible(false);
    StatusBar.SetPanelText(forms::panel::kStatus, modAccounts::gAccounts[modAccounts::gAccountCount].Status);
    StatusBar.SetPanelText(forms::panel::kAutoCheck, gAutoCheckText);
    gStartUpDone = true;
}

void frmMain::tmrStatusBar_Timer() {
    StatusBar.SetPanelText(forms::panel::kClock, modCheck::ClockPanelText(modCheck::gClock()));
    UpdateTrayIcon();
}

void frmMain::tmrMailTime_Timer() {
    using namespace modGeneral;
    const QDateTime now = modCheck::gClock();
    StatusBar.SetPanelText(forms::panel::kClock, modCheck::ClockPanelText(now));
    // A check that falls due while another server operation runs starts on
    // the first tick after it.
    if (modAccounts::gAccountCount < 1 || ServerOperation::Running()) return;
    if (modCheck::CheckDue(now)) {
        gUserStop = false;
        RunAutoCheck();
        SetMousePointer(0);
        // A run that checked no account leaves the check due: the next one
        // is one interval away all the same, not on the next tick.
        if (modOptions::gOptUseInterval == 1 && modCheck::CheckDue(modCheck::gClock())) {
            modCheck::SetNextAutoCheckTime(0);
            StatusBar.SetPanelText(forms::panel::kAutoCheck, gAutoCheckText);
        }
    }
    UpdateTrayIcon();
}

void frmMain::tmrMailStartUp_Timer() {
    using namespace modGeneral;
    if (ServerOperation::Running()) return;
    StatusBar.SetPanelText(forms::panel::kStatus,
                           QStringLiteral("StartUp Check: ") +
                               QString::number(modOptions::gOptStartUpDelay - startUpCounter_) +
                               QStringLiteral(" sec"));
    ++startUpCounter_;
    if (startUpCounter_ <= modOptions::gOptStartUpDelay) return;
    gStartUpDone = true;
    tbrButtons(forms::bar::kPauseStartUp).SetVisible(false);
    tmrMailStartUp.SetEnabled(false);
    gUserStop = false;
    RunStartUpCheck();
    SetMousePointer(0);
}

void frmMain::tmrRetrieveMessage_Timer() {
    using namespace modGeneral;
    retrievalFrame_ = static_cast<int16_t>(retrievalFrame_ % 8 + 1);
    vb::TabStrip& strip = gTestingAccount ? TabStripAcnts : TabStripEmail;
    const int16_t account = modAccounts::gCurrentAccount;
    if (account >= 1 && account <= strip.TabCount()) strip.SetTabImage(account, imlTabIcons.Key(15 - retrievalFrame_));
    if (!gUserStop) return;
    tbrButtons(forms::bar::kStopRetrieval).Buttons(1).SetCaption(QStringLiteral("Terminating...      "));
    ProgressBar.SetVisible(false);
    StatusBar.SetPanelText(forms::panel::kResult, QStringLiteral("Terminating Connection...Please Wait"));
    StatusBar.SetPanelText(forms::panel::kAutoCheck,
                           QStringLiteral("Stopping Retrieve... ") + QString::number(gReceivedCount));
    tmrRetrieveMessage.SetEnabled(false);
    // The session ends now, whatever it waits for; the call waiting in it
    // returns and the check goes on to its end.
    StopSession();
}
