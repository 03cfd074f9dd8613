// Check runs: every enabled account in tab order through the account check,
// then what the run found: the summary, the pop-up and the sounds. The
// component's progress reaches the status bar here, and the user's stop
// inside a download replaces the component object.
#include "app/forms/checks/check_runs.h"

#include <algorithm>
#include <utility>

#include "app/accounts/account_table.h"
#include "app/check/check_report.h"
#include "app/check/progress_pace.h"
#include "app/check/schedule.h"
#include "app/forms/checks/component_calls.h"
#include "app/forms/checks/component_object.h"
#include "app/forms/checks/operation_scope.h"
#include "app/forms/common/wave_sound.h"
#include "app/forms/main_window/command_keys.h"
#include "app/forms/main_window/window_slots.h"
#include "app/forms/new_mail/frm_message.h"
#include "app/general/check_status.h"
#include "app/general/server_operation.h"
#include "app/options/option_values.h"
#include "platform/loop/message_loop.h"
#include "platform/ui/msg_box.h"

CheckRuns::CheckRuns(vb::Form& window, forms::OperationWindow& operations, forms::MainWindowLink& children,
                     frmMainDesign& design, forms::CommandKeys& commands, Host& host)
    : window_(window),
      operations_(operations),
      children_(children),
      c_{.tmrStatusBar = design.tmrStatusBar,
         .tmrMailTime = design.tmrMailTime,
         .tmrMailStartUp = design.tmrMailStartUp,
         .tmrRetrieveMessage = design.tmrRetrieveMessage,
         .ProgressBar = design.ProgressBar,
         .imlTabIcons = design.imlTabIcons,
         .imlTrayIcons = design.imlTrayIcons,
         .mnuTrayAutoCheck = design.mnuTrayAutoCheck,
         .tbrButtons = design.tbrButtons,
         .TabStripEmail = design.TabStripEmail,
         .lvwEmail = design.lvwEmail,
         .StatusBar = design.StatusBar,
         .TabStripAcnts = design.TabStripAcnts},
      commands_(commands),
      host_(host) {
    WireCheckRuns();
}

void CheckRuns::ListenToComponent() {
    events_ = com::MakeComObject<forms::ComponentEvents>(static_cast<forms::ComponentEventsView&>(*this));
    forms::gPop3->putref_Notification(events_.Get());
}

void CheckRuns::StopListening() {
    if (events_) events_->Detach();
    events_.Reset();
}

void CheckRuns::WireCheckRuns() {
    commands_.Add(u"tbrButtons", u"CheckAll", [this](int16_t) { CheckAll(); });
    commands_.Add(u"tbrButtons", u"StopRetrieval", [](int16_t) {
        if (modGeneral::ServerOperation::Running()) modGeneral::gUserStop = true;
    });
    commands_.Add(u"tbrButtons", u"PauseStartupCheck", [this](int16_t) { ToggleStartUpTimer(); });
    commands_.Add(u"tbrEmail", u"EmailCheck", [this](int16_t) { CheckCurrentAccount(); });
    c_.tmrStatusBar.Tick = [this] { tmrStatusBar_Timer(); };
    c_.tmrMailTime.Tick = [this] { tmrMailTime_Timer(); };
    c_.tmrMailStartUp.Tick = [this] { tmrMailStartUp_Timer(); };
    c_.tmrRetrieveMessage.Tick = [this] { tmrRetrieveMessage_Timer(); };
}

void CheckRuns::CheckAll() {
    using namespace modGeneral;
    using namespace modAccounts;
    forms::OperationScope operation(operations_, "checking all accounts");
    if (!operation.Started()) return;
    const int16_t current = gCurrentAccount;
    ShowAutoCheckStatus();
    operation.PauseChecks();
    std::vector<int16_t> checked;
    gNoCheckDeferred = false;
    gUserStop = false;
    operation.EnterRetrieval(true);
    for (int a = 1; a <= gAccountCount; ++a) {
        if (gUserStop) {
            c_.ProgressBar.SetVisible(false);
            break;
        }
        c_.TabStripEmail.Select(a);
        if (gAccounts[a].Enabled == 1) {
            CheckAccount(a);
            checked.push_back(a);
        }
    }
    // A stopped run checked what the user wanted: no box.
    const bool noneChecked = checked.empty() && !gUserStop;
    gCurrentAccount = current;
    if (current >= 1) c_.TabStripEmail.Select(current);
    operation.LeaveRetrieval();
    NotifyNewMail(0);
    operation.ResumeChecks();
    if (noneChecked)
        vb::MsgBox(modCheck::NoAccountsCheckedText(), vb::vbInformation,
                   gAppName + QStringLiteral(" - No Accounts Checked"));
    gUserStop = false;
    window_.SetMousePointer(0);
    ShowDownloadErrors();
    host_.CheckRuleReport(checked);
}

void CheckRuns::RunAutoCheck() { RunTimedCheck(false); }

void CheckRuns::RunStartUpCheck() { RunTimedCheck(true); }

void CheckRuns::RunTimedCheck(bool startUp) {
    using namespace modGeneral;
    using namespace modAccounts;
    forms::OperationScope operation(operations_,
                                    startUp ? "running the start-up check" : "running the automatic check");
    if (!operation.Started()) return;
    if (startUp)
        operation.PauseChecks();
    else
        ShowAutoCheckStatus();
    QString summary;
    gSummaryLines = 0;
    gTotalMsgCount = 0;
    gTotalNewCount = 0;
    const int16_t current = gCurrentAccount;
    bool anyMail = false;
    bool anyNew = false;
    std::vector<int16_t> checked;
    operation.EnterRetrieval(true);
    for (int a = 1; a <= gAccountCount; ++a) {
        if (gAccounts[a].Enabled != 1) continue;
        if (gUserStop) {
            c_.ProgressBar.SetVisible(false);
            break;
        }
        // The list follows the account being checked while the window shows.
        if (window_.WindowState() != vb::vbMinimized) c_.TabStripEmail.Select(a);
        CheckAccount(a);
        checked.push_back(a);
        summary += QString(6, QChar(' ')) + gAccounts[a].Result + QStringLiteral("\r\n");
        ++gSummaryLines;
        // Only the accounts this run checked: a disabled or skipped account's
        // flags are from an older check.
        anyMail = anyMail || gAccounts[a].HasMail;
        anyNew = anyNew || gAccounts[a].HasNewMail;
    }
    gCheckSummary = QStringLiteral("Account Information:\r\n") + summary;
    if (startUp && modOptions::gOpt.UseInterval == 1) {
        modCheck::SetNextAutoCheckTime(1);
        c_.StatusBar.SetPanelText(forms::panel::kAutoCheck, gAutoCheckText);
    }
    if (current >= 1) {
        gCurrentAccount = current;
        c_.TabStripEmail.Select(current);
        gPrevAccount = 0;
        host_.TabStripEmail_Click();
    }
    operation.LeaveRetrieval();
    operation.ResumeChecks();
    ShowDownloadErrors();
    ReportCheckResult(anyNew, anyMail);
    host_.CheckRuleReport(checked);
}

void CheckRuns::CheckCurrentAccount() {
    using namespace modGeneral;
    const int16_t account = modAccounts::gCurrentAccount;
    if (account < 1 || account > modAccounts::gAccountCount) return;
    forms::OperationScope operation(
        operations_, ("checking the account \"" + modAccounts::gAccounts[account].Name + "\"").toStdString());
    if (!operation.Started()) return;
    ShowAutoCheckStatus();
    operation.PauseChecks();
    // A stop left from an earlier run must not end this check.
    gNoCheckDeferred = false;
    gUserStop = false;
    operation.EnterRetrieval(true);
    CheckAccount(account);
    operation.LeaveRetrieval();
    NotifyNewMail(account);
    operation.ResumeChecks();
    gUserStop = false;
    window_.SetMousePointer(0);
    ShowDownloadErrors();
    host_.CheckRuleReport({account});
}

void CheckRuns::ShowDownloadErrors() {
    const QString warning = modCheck::TakeDownloadWarning();
    if (!warning.isEmpty())
        vb::MsgBox(warning, vb::vbCritical,
                   modGeneral::gAppName + QStringLiteral(" - Message DownLoad Error"));
    const QString notice = modCheck::TakeListCapNotice();
    if (!notice.isEmpty())
        vb::MsgBox(notice, vb::vbInformation, modGeneral::gAppName + QStringLiteral(" - Messages Not Shown"));
}

void CheckRuns::ReportCheckResult(bool anyNew, bool anyMail) {
    using namespace modOptions;
    if (gOpt.PlaySound == 0 && gOpt.ShowEmailMsgBox == 0) return;
    if (gOpt.ShowEmailMsgBox == 0) {
        NotifyNewMail(0);
        return;
    }
    const auto headline = modCheck::PopUpHeadline(anyNew, anyMail, modCheck::gClock());
    if (!headline) return;
    frmMessage::ShowReport(*headline, &children_);
    NotifyNewMail(0);
}

void CheckRuns::NotifyNewMail(int16_t account) {
    for (const QString& sound : modCheck::NewMailSounds(account, forms::ErrorSoundPath()))
        PlaySoundFile(sound);
}

void CheckRuns::PlaySoundFile(const QString& file) {
    platform::loop::PumpPending();
    forms::gPlayWave(file);
}

void CheckRuns::OnConnected() {
    modGeneral::gConnected = true;
    // Every session's progress counts its own messages, from the first: a
    // deletion or a connection test reads them as a check does.
    modGeneral::gReceivedCount = 1;
    mDownloadTotal = forms::MessageCount();
    mProgressPace.Start();
}

void CheckRuns::OnReceived() {
    ++modGeneral::gReceivedCount;
    mDownloadedBytes.push_back(std::exchange(mMessageBytes, 0));
}

void CheckRuns::OnCertificateRefused(int32_t code, const QString& reason) {
    mRefusedCertificate = {code, reason};
}

void CheckRuns::OnProgress(IqelPop3Com* owner, int32_t position, int32_t total) {
    using namespace modGeneral;
    // A replaced object still unwinding its download speaks for nothing.
    if (owner != forms::gPop3.Get()) return;
    mMessageBytes = std::max<int64_t>(mMessageBytes, position);
    if (gUserStop) {
        StopSession();
        return;
    }
    if (!mProgressClock.isValid()) mProgressClock.start();
    if (!mProgressPace.Due(position, total, gReceivedCount >= mDownloadTotal, mProgressClock.elapsed()))
        return;
    const modCheck::DownloadProgress progress = modCheck::ProgressOf(position, total);
    c_.StatusBar.SetPanelText(forms::panel::kStatus, progress.percentText);
    c_.StatusBar.SetPanelText(forms::panel::kAutoCheck,
                              QStringLiteral("Retrieving... (") + QString::number(gReceivedCount) +
                                  QStringLiteral(" of ") + QString::number(mDownloadTotal) +
                                  QStringLiteral(")"));
    c_.ProgressBar.SetWidth(c_.StatusBar.PanelWidth(forms::panel::kResult));
    c_.ProgressBar.SetMin(0);
    c_.ProgressBar.SetMax(progress.maximum);
    c_.ProgressBar.SetValue(progress.value);
}

void CheckRuns::StopSession() {
    // Disconnect ends a session that waits for the server at any stage
    // (connecting, TLS, login, listing, download) without QUIT.
    DisconnectAccount();
    // The stopped object's blocking call is still on the stack: it keeps
    // itself alive until it returns, and tells this window nothing more.
    RenewComponent();
}

void CheckRuns::RenewComponent() {
    // A fresh object serves every later operation; without one the old
    // object does.
    QString error;
    com::ComPtr<IqelPop3Com> fresh = forms::CreateComponent(error);
    if (!fresh) return;
    forms::gPop3->putref_Notification(nullptr);
    fresh->putref_Notification(events_.Get());
    forms::gPop3 = std::move(fresh);
}
