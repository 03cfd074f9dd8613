#pragma once
// The main window's checks: one account checked against its mail server
// through the component (and the Accounts page's connection test), the check
// runs over every enabled account with what they found (the summary, the
// pop-up and the sounds), and the schedule with its timers and nested
// pauses, whose clock refreshes the tray icon's counts. Its sessions with
// the servers go through the window's forms::ServerSession.
#include <QDateTime>
#include <QElapsedTimer>
#include <QString>
#include <cstdint>
#include <functional>
#include <vector>

#include "app/common/view_slot.h"
#include "app/forms/checks/checks_paused.h"
#include "app/forms/checks/connection_test.h"
#include "app/forms/email/email_tab_click.h"
#include "app/forms/main_window/frm_main_design.h"
#include "app/general/check_status.h"
#include "app/options/options_view.h"
#include "platform/com/com_ptr.h"

namespace forms {
class CommandKeys;
class MainWindowLink;
class MessageListRefresh;
class RulesFollowAccounts;
class OperationWindow;
class ServerSession;
class TrayStatus;
}  // namespace forms

class CheckRuns final : public forms::CheckPauses,
                        public forms::ConnectionTest,
                        private modOptions::AutoCheckView {
public:
    // What the checks ask of the main window.
    using Host = forms::EmailTabClick;

    // The controls the window's description marks "for CheckRuns".
    using Controls = frmMainDesign::CheckRunsControls;

    // Binds the checks' controls of design; window is the one the design
    // sits in, operations what each server operation (forms::OperationScope)
    // holds, session the window's sessions with the servers, children what
    // the pop-up is given, tray the tray icon whose counts the timers
    // refresh, list the Email page's list the checks refill, and rules the
    // Rules page, which may report on a run. Registers the run commands, the
    // tray's Check All and wires the check timers.
    CheckRuns(vb::Form& window, forms::OperationWindow& operations, forms::ServerSession& session,
              forms::MainWindowLink& children, forms::TrayStatus& tray, forms::MessageListRefresh& list,
              forms::RulesFollowAccounts& rules, frmMainDesign& design, forms::CommandKeys& commands,
              Host& host);
    CheckRuns(const CheckRuns&) = delete;
    CheckRuns& operator=(const CheckRuns&) = delete;

    // What the check runs keep between one run and the next; whoever shows
    // or changes part of it is handed it here.
    modGeneral::CheckRunState& Record() override { return run_; }

    // The options drive the automatic check while the window is loaded.
    void RegisterViews() { autoCheck_ = modOptions::gAutoCheckView.Register(*this); }
    void ReleaseViews() { autoCheck_.Reset(); }

    // ---- account check ----
    // The whole check of one account, its result and status texts and the
    // list refilled. Runs inside the server operation its caller holds (the
    // check runs and the check command).
    void CheckAccount(int16_t account);
    // The Accounts page's connection test with its box; claims the busy
    // guard itself (does nothing while another server operation runs).
    void TestAccountConnection(int16_t account);
    // The connection test of account as a server operation of its own, in
    // retrieval mode with the check timers held; then, still in retrieval
    // mode, afterTest. False, with nothing done, while another server
    // operation runs.
    bool RunConnectionTest(int16_t account, const std::function<void()>& afterTest) override;
    // The same test inside the server operation the caller holds.
    void TestConnection(int16_t account);

    // ---- check runs ----
    // The user's check of every enabled account in tab order; a box when
    // none was checked. Nothing while another server operation runs.
    void CheckAll();
    // The timed check and the one start-up check: every enabled account,
    // then the summary, the pop-up and the sounds.
    void RunAutoCheck();
    void RunStartUpCheck();
    // The message tool bar's check of the current account alone.
    void CheckCurrentAccount();
    // The warning about accounts whose download may be incomplete, if any.
    void ShowDownloadErrors();
    // The pop-up with the run's headline and summary, and the sounds.
    void ReportCheckResult(bool anyNew, bool anyMail);
    // The new-mail sounds of one account, or of a whole run for 0.
    void NotifyNewMail(int16_t account);

    // ---- schedule ----
    // Nested: Suspend stops the automatic check (the clock timer runs
    // instead) until as many Restore calls have come; acts on the timers
    // only while automatic checking is on. Held through forms::ChecksPaused
    // and forms::OperationScope.
    void SuspendAutoCheck(forms::PauseAction action) override;
    // Nested the same way: pauses the start-up countdown and its button, and
    // gives back the state the user had chosen. Only while a start-up check
    // is pending.
    void SuspendStartUpCheck(forms::PauseAction action) override;
    // How many Suspend calls of each pause wait for their Restore.
    int AutoCheckPauses() const { return autoCheckSuspended_; }
    int StartUpCheckPauses() const { return startUpSuspended_; }
    // Pauses or continues the start-up countdown, with its button's texts.
    void ToggleStartUpTimer();
    // A check started first ends a pending start-up check.
    void ShowAutoCheckStatus();
    // The timers swapped as automatic checking and the suspensions ask.
    void ApplyCheckTimers() override;
    // At start: the next automatic check falls due from now; the timers,
    // the status text and the tray entry follow the interval option.
    void StartAutoCheckClock(const QDateTime& now);
    // At start: the start-up check counts down, with its pause button, when
    // it is asked for and an account exists.
    void ArmStartUpCheck();

private:
    void WireCheckRuns();
    // Connects and downloads one account into the message store; a failure
    // shows its box (unless the options hide its code) and zeroes the
    // account's counts.
    void RetrieveAccountMessages(int16_t account);
    // Reads the downloaded messages into the store: new flags by UID, rules,
    // totals, the sort.
    void LoadAccountMessages(int16_t account);
    // The server's serverCount messages replace the stored ones; false when
    // the user's stop discarded the account.
    bool DownloadAccountMessages(int16_t account, int16_t serverCount);
    // The stored messages counted: new flags, rules, totals, the sort.
    void CountAccountMessages(int16_t account);
    void RunTimedCheck(bool startUp);

    // modOptions::AutoCheckView: the next check from now, and the status text.
    void SetNextAutoCheckTime() override;
    void ShowAutoCheckText(const QString& text) override;

    void tmrStatusBar_Timer();
    void tmrMailTime_Timer();
    void tmrMailStartUp_Timer();
    void tmrRetrieveMessage_Timer();

    vb::Form& window_;
    forms::OperationWindow& operations_;
    forms::ServerSession& session_;
    forms::TrayStatus& tray_;
    forms::MessageListRefresh& list_;
    forms::RulesFollowAccounts& rules_;
    forms::MainWindowLink& children_;
    Controls c_;
    forms::CommandKeys& commands_;
    Host& host_;
    modGeneral::CheckRunState run_;
    int autoCheckSuspended_ = 0;
    int startUpSuspended_ = 0;
    bool startUpWasRunning_ = false;
    int16_t startUpCounter_ = 0;
    int16_t retrievalFrame_ = 0;
    ViewSlot<modOptions::AutoCheckView>::Registration autoCheck_;
};
