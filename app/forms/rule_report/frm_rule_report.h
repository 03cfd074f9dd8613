#pragma once
// The rule report: opened after a check when the rules marked messages, it
// lists the accounts with messages marked for deletion and those marked as
// spam on two tabs, stays above other windows, counts down the rules'
// "Time" seconds and closes itself. Delete Now deletes the listed messages
// of the shown tab on the server. While it is loaded it is registered
// (forms::RuleReportShown) and the automatic check is paused.
#include <QPointer>
#include <optional>

#include "app/common/view_slot.h"
#include "app/forms/checks/checks_paused.h"
#include "app/forms/main_window/main_window_link.h"
#include "app/forms/rule_report/frm_rule_report_design.h"
#include "app/rules/rule_report.h"
#include "platform/ui/form.h"

namespace forms {
class OperationScope;
}  // namespace forms

class frmRuleReport : public vb::Form, public frmRuleReportDesign {
public:
    // main: the main window this one works for; none for a window shown alone.
    explicit frmRuleReport(forms::MainWindowLink* main = nullptr);

    // One tick of the countdown (the timer's handler).
    void tmrRuleReport_Timer();

protected:
    void Form_Load() override;
    void Form_Activate() override;
    void Form_QueryUnload(int& Cancel, int UnloadMode) override;
    void Form_Unload(int& Cancel) override;

private:
    void TabStripRuleReport_Click();
    void tbrRuleReport_ButtonClick(vb::ToolButton& button);
    void ToggleTimer();
    // Deletes on the server exactly the messages the rules marked for the
    // shown tab, account by account, in retrieval mode.
    void DeleteNow();
    // The report's accounts' marked messages, as one server operation of the
    // main window; false when a failure ended it. left gets a line for each
    // account whose marked messages stay on its server.
    bool DeleteMarked(forms::MainWindowLink& main, modRules::RuleMark mark, QStringList& left);
    // The same inside the operation; the failure is caught there, since it
    // is this window's to tell once the operation has given the main window
    // back.
    bool DeleteMarkedIn(forms::OperationScope& operation, forms::MainWindowLink& main,
                        modRules::RuleMark mark, QStringList& left);
    void ShowDeletionFailure();
    // The list labels as high as `lines` text lines; the frames and the
    // window follow.
    void FitLists(int lines);

    modRules::ReportedAccounts accounts_;  // modRules::gRuleReportAccounts at load
    modRules::RuleReportList deletions_;
    modRules::RuleReportList spam_;
    modRules::RuleReportCountdown countdown_{0};
    QString selectedTab_;
    bool deleting_ = false;
    // The main window's checks, paused from the load to the unload (or until
    // a load that failed lets the window go).
    QPointer<forms::MainWindowLink> main_;
    std::optional<forms::ChecksPaused> checksPaused_;
    ViewSlot<vb::Form>::Registration shownWindow_;
};
