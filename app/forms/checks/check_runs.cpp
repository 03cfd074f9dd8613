// Check runs: every enabled account in tab order through the account check,
// then what the run found: the summary, the pop-up and the sounds. The
// component's progress reaches the status bar here, and the user's stop
// inside a download replaces the component object.
#include "app/forms/checks/check_runs.h"
#include "app/forms/checks/server_session.h"

#include <algorithm>
#include <utility>

#include "app/accounts/account_table.h"
#include "app/check/check_report.h"
#include "app/check/schedule.h"
#include "app/forms/checks/component_calls.h"
#include "app/forms/checks/component_object.h"
#include "app/forms/checks/operation_scope.h"
#include "app/forms/common/account_tabs.h"
#include "app/forms/common/wave_sound.h"
#include "app/forms/email/message_list_refresh.h"
#include "app/forms/main_window/command_keys.h"
#include "app/forms/main_window/window_slots.h"
#include "app/forms/new_mail/frm_message.h"
#include "app/forms/rules/rules_follow_accounts.h"
#include "app/general/check_status.h"
#include "app/general/server_operation.h"
#include "app/options/option_values.h"
#include "platform/loop/message_loop.h"
#include "platform/ui/msg_box.h"

CheckRuns::CheckRuns(vb::Form& window, forms::OperationWindow& operations, forms::ServerSession& session,
                     forms::MainWindowLink& children, forms::TrayStatus& tray,
                     forms::MessageListRefresh& list, forms::RulesFollowAccounts& rules,
                     frmMainDesign& design, forms::CommandKeys& commands, Host& host)
    : window_(window),
      operations_(operations),
      session_(session),
      tray_(tray),
      list_(list),
      rules_(rules),
      children_(children),
      c_(design),
      commands_(commands),
      host_(host) {
    WireCheckRuns();
}

void CheckRuns::WireCheckRuns() {
    commands_.Add(u"tbrButtons", u"CheckAll", [this](int16_t) { CheckAll(); });
    c_.mnuTrayCheckAll.Click = [this] { CheckAll(); };
    commands_.Add(u"tbrButtons", u"StopRetrieval", [this](int16_t) {
        if (modGeneral::ServerOperation::Running()) run_.UserStop = true;
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
    run_.NoCheckDeferred = false;
    run_.UserStop = false;
    operation.EnterRetrieval(true);
    for (int a = 1; a <= gAccountCount; ++a) {
        if (run_.UserStop) {
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
    const bool noneChecked = checked.empty() && !run_.UserStop;
    forms::ChooseAccountTab(c_.TabStripEmail, current);
    operation.LeaveRetrieval();
    NotifyNewMail(0);
    operation.ResumeChecks();
    if (noneChecked)
        vb::MsgBox(modCheck::NoAccountsCheckedText(), vb::vbInformation,
                   gAppName + QStringLiteral(" - No Accounts Checked"));
    run_.UserStop = false;
    window_.SetMousePointer(0);
    ShowDownloadErrors();
    rules_.CheckRuleReport(checked);
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
    run_.SummaryLines = 0;
    run_.TotalMsgCount = 0;
    run_.TotalNewCount = 0;
    const int16_t current = gCurrentAccount;
    bool anyMail = false;
    bool anyNew = false;
    std::vector<int16_t> checked;
    operation.EnterRetrieval(true);
    for (int a = 1; a <= gAccountCount; ++a) {
        if (gAccounts[a].Enabled != 1) continue;
        if (run_.UserStop) {
            c_.ProgressBar.SetVisible(false);
            break;
        }
        // The list follows the account being checked while the window shows.
        if (window_.WindowState() != vb::vbMinimized) c_.TabStripEmail.Select(a);
        CheckAccount(a);
        checked.push_back(a);
        summary += QString(6, QChar(' ')) + gAccounts[a].Result + QStringLiteral("\r\n");
        ++run_.SummaryLines;
        // Only the accounts this run checked: a disabled or skipped account's
        // flags are from an older check.
        anyMail = anyMail || gAccounts[a].HasMail;
        anyNew = anyNew || gAccounts[a].HasNewMail;
    }
    run_.CheckSummary = QStringLiteral("Account Information:\r\n") + summary;
    if (startUp && modOptions::gOpt.UseInterval == 1) {
        modCheck::SetNextAutoCheckTime(run_, 1);
        c_.StatusBar.SetPanelText(forms::panel::kAutoCheck, run_.AutoCheckText);
    }
    if (current >= 1) {
        forms::ChooseAccountTab(c_.TabStripEmail, current);
        gPrevAccount = 0;
        host_.TabStripEmail_Click();
    }
    operation.LeaveRetrieval();
    operation.ResumeChecks();
    ShowDownloadErrors();
    ReportCheckResult(anyNew, anyMail);
    rules_.CheckRuleReport(checked);
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
    run_.NoCheckDeferred = false;
    run_.UserStop = false;
    operation.EnterRetrieval(true);
    CheckAccount(account);
    operation.LeaveRetrieval();
    NotifyNewMail(account);
    operation.ResumeChecks();
    run_.UserStop = false;
    window_.SetMousePointer(0);
    ShowDownloadErrors();
    rules_.CheckRuleReport({account});
}

void CheckRuns::ShowDownloadErrors() {
    const QString warning = modCheck::TakeDownloadWarning(run_.IncompleteList);
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
    const auto headline = modCheck::PopUpHeadline(run_, anyNew, anyMail, modCheck::gClock());
    if (!headline) return;
    frmMessage::ShowReport(*headline, run_, &children_);
    NotifyNewMail(0);
}

void CheckRuns::NotifyNewMail(int16_t account) {
    for (const QString& sound : modCheck::NewMailSounds(account, forms::ErrorSoundPath()))
        forms::PlayWaveNow(sound);
}
