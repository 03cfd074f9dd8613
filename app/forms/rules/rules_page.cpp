// The Rules page: its controls and wiring, the rules list, the current
// rule's name, account and action, the notification values, and the Add,
// Delete, Save, Cancel and move commands. Every edit goes to the edit set;
// the live set follows only when the rules file is written.
#include <QScopedValueRollback>

#include "app/accounts/account_table.h"
#include "app/forms/main_window/window_slots.h"
#include "app/forms/rules/rules_page.h"
#include "app/general/check_status.h"
#include "app/rules/description_editor.h"
#include "app/rules/rule_set.h"
#include "app/rules/rules_editor.h"
#include "platform/ui/msg_box.h"

using namespace modRules;
using namespace frmMainElements;  // tbrClient(tbrClient::kAccount)

namespace {

const QString kCrLf = QStringLiteral("\r\n");

QString Spaces(int n) { return QString(n, u' '); }

}  // namespace

RulesPage::RulesPage(frmMainDesign& design, vb::Form& window, forms::MainWindowLink& children,
                     forms::CommandKeys& commands, Host& host)
    : RulesPageControls(design), window_(window), children_(children), commands_(commands), host_(host) {
    WireRulesPage();
    WireRulesFile();
}

void RulesPage::Load() { rulesView_ = gRulesView.Register(*this); }

void RulesPage::Unload() {
    UnloadRuleWindows();
    rulesView_.Reset();
}

void RulesPage::ShowRulesFileName(const QString& caption) { lblRulesFileName.SetCaption(caption); }

void RulesPage::WireRulesPage() {
    WireRuleCommands();
    WireRuleList();
    WireRuleFields();
    WireRuleNotification();
    WireRuleLineChoices();
}

void RulesPage::WireRuleCommands() {
    commands_.Add(u"tbrRules", u"RulesAdd", [this](int16_t) { AddRule(); });
    commands_.Add(u"tbrRules", u"RulesDelete", [this](int16_t) { DeleteRule(); });
    commands_.Add(u"tbrRuleUpdate", u"Update", [this](int16_t) { UpdateRuleDescription(); });
    commands_.Add(u"tbrRuleUpdate", u"Clear", [this](int16_t) { ClearRuleDescription(); });
    commands_.Add(u"tbrRuleUpdate", u"Undo", [this](int16_t) { UndoRuleUpdate(); });
    commands_.Add(u"tbrRuleUpdate", u"Redo", [this](int16_t) { RedoRuleUpdate(); });
    commands_.Add(u"tbrMoveButtons", tbrMoveButtons::kRules, u"Up", [this](int16_t) { MoveRule(-1); });
    commands_.Add(u"tbrMoveButtons", tbrMoveButtons::kRules, u"Down", [this](int16_t) { MoveRule(1); });
    commands_.Add(u"tbrButtons", forms::bar::kSaveRules, u"SaveRules",
                  [this](int16_t) { SaveRuleChanges(); });
    commands_.Add(u"tbrButtons", forms::bar::kCancelRules, u"Cancel",
                  [this](int16_t) { ResetRulesEditor(); });
}

bool RulesPage::RuleChoosing() const {
    return !modGeneral::gLoading && !gRuleShowing && gEditRules.Count >= 1;
}

void RulesPage::WireRuleList() {
    lstRules.Click = [this] {
        if (!RuleChoosing() || lstRules.ListIndex() < 0) return;
        gCurrentRule = static_cast<int16_t>(lstRules.ListIndex() + 1);
        ShowRule(gCurrentRule);
    };
    lstRules.ItemCheck = [this](int item) {
        if (!RuleChoosing()) return;
        gCurrentRule = static_cast<int16_t>(item + 1);
        gEditRules[gCurrentRule].Enabled = lstRules.Selected(item) ? 1 : 0;
        CheckRulesChanged();
        ShowRule(gCurrentRule);
    };
}

void RulesPage::WireRuleFields() {
    txtRuleName.Change = [this] {
        if (!RuleEditable()) return;
        gEditRules[gCurrentRule].Name = txtRuleName.Text();
        lstRules.SetList(gCurrentRule - 1, txtRuleName.Text());
        CheckRulesChanged();
    };
    cboRuleAccount.Click = [this] {
        if (!RuleEditable()) return;
        gEditRules[gCurrentRule].Account = cboRuleAccount.Text();
        CheckRulesChanged();
    };
    optRuleAction.Wire(&vb::OptionButton::Click, [this](int index) {
        if (!RuleEditable()) return;
        gEditRules[gCurrentRule].Action = static_cast<int16_t>(index);
        CheckRulesChanged();
    });
}

void RulesPage::WireRuleNotification() {
    for (auto [box, value] :
         {std::pair{&chkRuleNotify, &gEditRules.Show}, {&chkRuleNotifyNew, &gEditRules.ShowNew}}) {
        box->Click = [this, box = box, value = value] {
            if (!RuleChoosing()) return;
            *value = box->Value() == vb::vbChecked ? 1 : 0;
            CheckRulesChanged();
        };
    }
    txtRuleNotifyTime.Change = [this] {
        if (!RuleChoosing()) return;
        bool number = false;
        const int seconds = txtRuleNotifyTime.Text().trimmed().toInt(&number);
        // The box is meant for 1 to 59 seconds; what else is typed is put
        // right at once, and setting the text runs this handler again.
        if (!number) return txtRuleNotifyTime.SetText(QStringLiteral("1"));
        if (seconds > 59) return txtRuleNotifyTime.SetText(QStringLiteral("59"));
        if (seconds < 0) return txtRuleNotifyTime.SetText(QStringLiteral("0"));
        gEditRules.Time = static_cast<int16_t>(seconds);
        CheckRulesChanged();
    };
}

void RulesPage::WireRuleLineChoices() {
    cboWhere.Click = [this] {
        if (gRuleShowing) return;
        SetConditionList(cboWhere.Text());
        EnableRuleUpdate();
    };
    cboCondition.Click = [this] { EnableRuleUpdate(); };
    txtCriteria.Change = [this] {
        EnableRuleUpdate();
        CheckRulesChanged();
    };
    cboBoolean.Click = [this] {
        if (!RuleEditable()) return;
        SetRuleConnector(cboBoolean.Text());
        ShowRuleLines();
        CheckRulesChanged();
    };
}

bool RulesPage::RuleEditable() const {
    return !modGeneral::gLoading && !gRuleShowing && gCurrentRule >= 1 && gCurrentRule <= gEditRules.Count;
}

void RulesPage::InitRules() {
    FillRuleAccountList(modAccounts::gAccountCount);
    FillWhereList();
    SetConditionList(QStringLiteral("From"));
    FillBooleanList();
    if (ReadRulesFile(RulesFilePath()))
        vb::MsgBox(QStringLiteral("Your rules could not be read.") + kCrLf + kCrLf +
                       RulesFileReadProblem(RulesFilePath()) + kCrLf + kCrLf +
                       QStringLiteral("No rules are applied, and the file is left as it is:") + kCrLf +
                       QStringLiteral("nothing is saved over it. Make it readable, then start ") +
                       modGeneral::gAppName + kCrLf + QStringLiteral("again to use its rules.") + kCrLf,
                   vb::vbExclamation, modGeneral::gAppName + QStringLiteral(" - Rules File Error"));
    gCurrentRule = gRules.Count >= 1 ? 1 : 0;
    if (gCurrentRule == 0) gCurrentLine = 0;
    ClearRuleEditor();
    ResetRulesEditor();
}

void RulesPage::ResetRulesEditor() {
    CopyRulesToEdit();
    ShowEditRules();
}

void RulesPage::ShowSavedRules() {
    // Pending edits are the user's work: coming back to the page never drops them.
    if (gRules.Count >= 1 && !gRulesChanged) ResetRulesEditor();
}

void RulesPage::ShowEditRules() {
    QScopedValueRollback<bool> showing(gRuleShowing, true);
    EnableRuleControls(gEditRules.Count);
    lstRules.Clear();
    if (gEditRules.Count < 1) {
        gCurrentRule = 0;
        gCurrentLine = 0;
    }
    for (int i = 1; i <= gEditRules.Count; ++i) lstRules.AddItem(gEditRules[i].Name);
    tbrRules.Buttons(QStringLiteral("RulesDelete")).SetEnabled(gEditRules.Count >= 1);
    ShowRule(gCurrentRule);
    gRulesChanged = EditSetDiffers();
    ShowRulesChangedState();
}

void RulesPage::CheckRulesChanged() {
    if (modGeneral::gLoading) return;
    gRulesChanged = EditSetDiffers();
    ShowRulesChangedState();
}

void RulesPage::ShowRulesChangedState() {
    const bool notify = gEditRules.Count >= 1 && gEditRules.Show == 1;
    chkRuleNotifyNew.SetEnabled(notify);
    lblRuleNotifyTime(0).SetEnabled(notify);
    lblRuleNotifyTime(1).SetEnabled(notify);
    txtRuleNotifyTime.SetEnabled(notify);
    updRuleNotifyTime.SetEnabled(notify);
    // Pending edits keep the user on the page until they are saved or cancelled.
    tbrButtons(forms::bar::kSaveRules).Buttons(1).SetEnabled(gRulesChanged);
    tbrButtons(forms::bar::kCancelRules).Buttons(1).SetEnabled(gRulesChanged);
    host_.UpdatePageBar();
}

void RulesPage::AddRule() {
    const int16_t rule = AddEditRule();
    gCurrentRule = rule;
    {
        QScopedValueRollback<bool> showing(gRuleShowing, true);
        lstRules.AddItem(gEditRules[rule].Name);
        lstRules.SetSelected(rule - 1, true);
    }
    EnableRuleControls(gEditRules.Count);
    tbrRules.Buttons(QStringLiteral("RulesDelete")).SetEnabled(true);
    CheckRulesChanged();
    ShowRule(gCurrentRule);
    txtRuleName.SetFocus();
}

void RulesPage::DeleteRule() {
    if (gCurrentRule < 1 || gCurrentRule > gEditRules.Count) return;
    const QString text = QStringLiteral("You are about to delete the following Rule...") + Spaces(10) +
                         kCrLf + QStringLiteral("Rule Name:  '") + gEditRules[gCurrentRule].Name +
                         QStringLiteral("'") + kCrLf + kCrLf +
                         QStringLiteral("Please proceed with caution since this action") + kCrLf +
                         QStringLiteral("is NOT reversible!") + kCrLf + kCrLf +
                         QStringLiteral("Would you like to proceed?") + kCrLf;
    if (vb::MsgBox(text, vb::vbYesNo + vb::vbCritical,
                   QStringLiteral("Delete Rule - Proceed With Caution")) != vb::vbYes)
        return;
    RemoveEditRule(gCurrentRule);
    gCurrentRule = std::min(gCurrentRule, gEditRules.Count);
    if (gCurrentRule == 0 && gEditRules.Count >= 1) gCurrentRule = 1;
    if (!WriteRulesFile(RulesFilePath())) {
        ReportRulesWriteFailure();
        ShowEditRules();
        return;
    }
    ResetRulesEditor();
}

void RulesPage::SaveRuleChanges() {
    const QString title = modGeneral::gAppName;
    if (gCurrentRule >= 1 && gCurrentRule <= gEditRules.Count) {
        // A name of blanks is no name: the rules file keeps no blanks.
        if (gEditRules[gCurrentRule].Name.trimmed().isEmpty()) {
            vb::MsgBox(QStringLiteral("Rule Name Error...") + kCrLf + kCrLf +
                           QStringLiteral("The Rule Name can not be blank.") + Spaces(20) + kCrLf + kCrLf +
                           QStringLiteral("Please re-enter an appropriate Rule Name.") + kCrLf + kCrLf,
                       vb::vbCritical, title + QStringLiteral(" - Rule Name Error"));
            txtRuleName.SetFocus();
            return;
        }
        if (gEditRules[gCurrentRule].DescCount < 1) {
            vb::MsgBox(QStringLiteral("Rule Description Error...") + kCrLf + kCrLf +
                           QStringLiteral("The Rule Description can not be blank.") + Spaces(10) + kCrLf +
                           kCrLf + QStringLiteral("Please enter the appropriate search text") + kCrLf +
                           QStringLiteral("in the Criteria textbox and click 'Update") + kCrLf +
                           QStringLiteral("Description' to finish defining the Rule.") + kCrLf + kCrLf,
                       vb::vbCritical, title + QStringLiteral(" - Rule Description Error"));
            if (txtCriteria.isEnabled()) txtCriteria.SetFocus();
            return;
        }
    }
    if (!WriteRulesFile(RulesFilePath())) {
        ReportRulesWriteFailure();
        return;
    }
    ResetRulesEditor();
    CheckRulesChanged();
}

void RulesPage::ReportRulesWriteFailure() {
    // A file that could not be read is never replaced: it may hold rules.
    const QString unread = RulesFileReadProblem(RulesFilePath());
    const QString why = unread.isEmpty()
                            ? QStringLiteral("This file could not be written:") + kCrLf + RulesFilePath()
                            : unread + kCrLf + QStringLiteral("It is not replaced: it may hold rules.");
    vb::MsgBox(
        QStringLiteral("The rules could not be saved.") + kCrLf + kCrLf + why + kCrLf + kCrLf +
            QStringLiteral("The rules file and the rules in use are unchanged, and your changes") + kCrLf +
            QStringLiteral("are still on the page. Make sure the file can be read and the") + kCrLf +
            QStringLiteral("folder written to, then save again, or click Cancel to drop the changes.") +
            kCrLf,
        vb::vbCritical, modGeneral::gAppName + QStringLiteral(" - Rules File Error"));
}

void RulesPage::MoveRule(int16_t offset) {
    const int16_t other = static_cast<int16_t>(gCurrentRule + offset);
    if (gCurrentRule < 1 || other < 1 || other > gEditRules.Count || gCurrentRule > gEditRules.Count) return;
    SwapEditRules(gCurrentRule, other);
    {
        QScopedValueRollback<bool> showing(gRuleShowing, true);
        lstRules.SetList(gCurrentRule - 1, gEditRules[gCurrentRule].Name);
        lstRules.SetList(other - 1, gEditRules[other].Name);
    }
    CheckRulesChanged();
    gCurrentRule = other;
    ShowRule(gCurrentRule);
}

void RulesPage::EnableRuleControls(int16_t count) {
    const bool on = count >= 1;
    // clang-format off
    vb::ControlBase* const controls[] = {
        &fraRule, &fraAction, &fraNotify, &lstRules, &lblRuleName, &txtRuleName, &lblRuleAccount, &cboRuleAccount,
        &lblWhere, &lblMethod, &cboWhere, &cboCondition, &lblCriteria, &lblCriteria2, &txtCriteria, &lblBoolean,
        &cboBoolean, &chkNot, &lblRuleDescription, &txtRuleDescription, &lblRuleDescEntries, &chkRuleNotify,
        &chkRuleNotifyNew, &lblRuleNotifyTime(0), &lblRuleNotifyTime(1), &txtRuleNotifyTime, &updRuleNotifyTime};
    // clang-format on
    for (vb::ControlBase* control : controls) control->SetEnabled(on);
    for (int i = 1; i <= 3; ++i) optRuleAction(i).SetEnabled(on);
    for (vb::ToolBar* bar :
         {&tbrRuleUpdate(tbrRuleUpdate::kDescription), &tbrRuleUpdate(tbrRuleUpdate::kUndoRedo),
          &tbrMoveButtons(tbrMoveButtons::kRules)})
        for (int b = 1; b <= 2; ++b) bar->Buttons(b).SetEnabled(on);
}

void RulesPage::ShowRuleEnabledStatus(int16_t enabled) {
    const bool on = enabled == 1;
    fraRule.SetCaption(on ? QStringLiteral("Rule: Enabled") : QStringLiteral("Rule: Not Enabled"));
    const vb::OleColor colour = on ? vb::kSysActiveTitleBar : vb::RGB(192, 0, 0);
    fraRule.SetForeColor(colour);
    lblRuleDescription.SetForeColor(colour);
    fraAction.SetForeColor(colour);
}

void RulesPage::ClearRuleEditor() {
    QScopedValueRollback<bool> showing(gRuleShowing, true);
    // No rule: no enabled colour on the frames and the description label either.
    for (vb::ControlBase* control :
         std::initializer_list<vb::ControlBase*>{&fraRule, &lblRuleDescription, &fraAction})
        control->SetForeColor(vb::kSysWindowText);
    fraRule.SetCaption(QStringLiteral("Rule: None"));
    txtRuleName.SetText(QString());
    txtCriteria.SetText(QString());
    txtRuleDescription.SetText(QString());
    ShowRuleAccount(QString::fromUtf16(kAllAccounts));
    ShowRuleLine(0);
    lstRules.Clear();
    lblRuleDescEntries.SetCaption(QStringLiteral("0 of 10 Entries"));
    tbrRuleUpdate(tbrRuleUpdate::kDescription).Buttons(QStringLiteral("Clear")).SetEnabled(false);
    for (int b = 1; b <= 2; ++b) {
        tbrRuleUpdate(tbrRuleUpdate::kUndoRedo).Buttons(b).SetEnabled(false);
        tbrMoveButtons(tbrMoveButtons::kRules).Buttons(b).SetEnabled(false);
    }
    cboBoolean.SetEnabled(false);
    optRuleAction(2).SetValue(true);
    chkRuleNotify.SetValue(vb::vbUnchecked);
    chkRuleNotifyNew.SetValue(vb::vbUnchecked);
    txtRuleNotifyTime.SetText(QStringLiteral("30"));
}

void RulesPage::FillRuleAccountList(int16_t accountCount) {
    QScopedValueRollback<bool> showing(gRuleShowing, true);
    cboRuleAccount.Clear();
    cboRuleAccount.AddItem(QString::fromUtf16(kAllAccounts));
    for (int i = 1; i <= accountCount; ++i) cboRuleAccount.AddItem(modAccounts::gAccounts[i].Name);
    const bool rule = gCurrentRule >= 1 && gCurrentRule <= gEditRules.Count;
    ShowRuleAccount(rule ? gEditRules[gCurrentRule].Account : QString::fromUtf16(kAllAccounts));
}

void RulesPage::ShowRuleAccount(const QString& account) {
    QScopedValueRollback<bool> showing(gRuleShowing, true);
    // An entry added for an account that no longer exists belongs to the
    // rule that was shown before.
    for (int i = cboRuleAccount.ListCount() - 1; i >= 0; --i)
        if (cboRuleAccount.itemData(i).toBool()) cboRuleAccount.RemoveItem(i);
    int index = cboRuleAccount.findText(account, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (index < 0) {
        // The rule keeps the name it was saved with: it is shown as it is,
        // marked, and stays the rule's account until another is chosen.
        cboRuleAccount.AddItem(account);
        index = cboRuleAccount.ListCount() - 1;
        cboRuleAccount.setItemData(index, true);
        cboRuleAccount.setItemData(
            index, QStringLiteral("No account has this name: the rule applies to no account."),
            Qt::ToolTipRole);
    }
    cboRuleAccount.SetListIndex(index);
}
