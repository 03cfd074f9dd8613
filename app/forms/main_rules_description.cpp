// The Rules page's description editor: one rule shown in every control, and
// the lines built from the Where, Condition, NOT and Boolean choices with
// Update, Clear, Undo and Redo.
#include <QScopedValueRollback>

#include "app/accounts/account_table.h"
#include "app/forms/main_rules_page.h"
#include "app/general/check_status.h"
#include "app/rules/description_editor.h"
#include "app/rules/rule_set.h"
#include "app/rules/rules_editor.h"
#include "platform/ui/msg_box.h"

using namespace modRules;

namespace {

bool IsTextWhere(const QString& where) {
    return where == u"From" || where == u"To" || where == u"Subject" || where == u"Body";
}

}  // namespace

void RulesPage::FillWhereList() {
    cboWhere.Clear();
    for (const char* where : {"From", "To", "Subject", "Body", "Attachment", "Size"})
        cboWhere.AddItem(QString::fromLatin1(where));
}

void RulesPage::FillBooleanList() {
    cboBoolean.Clear();
    cboBoolean.AddItem(QStringLiteral("AND"));
    cboBoolean.AddItem(QStringLiteral("OR"));
}

void RulesPage::SetConditionList(const QString& where) {
    const QString kept = cboCondition.Text();
    cboCondition.Clear();
    const bool rules = gEditRuleCount >= 1;
    const auto offer = [&](std::initializer_list<const char*> conditions, const char* fallback,
                           const char* hint) {
        QStringList names;
        for (const char* c : conditions) names << QString::fromLatin1(c);
        for (const QString& c : names) cboCondition.AddItem(c);
        lblCriteria.SetCaption(QString::fromLatin1(hint));
        cboCondition.SetText(names.contains(kept) ? kept : QString::fromLatin1(fallback));
    };
    if (IsTextWhere(where)) {
        offer({"Contains", "Equals"}, "Contains",
              where == u"From" || where == u"To" ? "Enter Names or Addresses..." : "Enter Text...");
    } else if (where == u"Attachment") {
        offer({"IsPresent"}, "IsPresent", "Attachment Requires No Text...");
        txtCriteria.SetText(QString());
    } else if (where == u"Size") {
        offer({"Equals", "GreaterThan", "LessThan"}, "Equals", "Enter Number in KB...");
    } else {
        return;
    }
    if (rules) {
        const bool criteria = where != u"Attachment";
        for (vb::ControlBase* control :
             std::initializer_list<vb::ControlBase*>{&cboCondition, &lblCriteria, &txtCriteria})
            control->SetEnabled(criteria);
    }
}

void RulesPage::ShowRule(int16_t rule) {
    if (rule < 1 || rule > gEditRuleCount) return ClearRuleEditor();
    QScopedValueRollback<bool> showing(gRuleShowing, true);
    ShowRuleEnabledStatus(gEditRuleEnabled[rule]);
    txtRuleName.SetText(gEditRuleName[rule]);
    ShowRuleAccount(gEditRuleAccount[rule]);
    // An action other than the three is kept and shows no choice.
    for (int i = 1; i <= 3; ++i)
        if (i != gEditRuleAction[rule]) optRuleAction(i).SetValue(false);
    if (gEditRuleAction[rule] >= 1 && gEditRuleAction[rule] <= 3)
        optRuleAction(gEditRuleAction[rule]).SetValue(true);
    chkRuleNotify.SetValue(gEditRuleShow == 1 ? vb::vbChecked : vb::vbUnchecked);
    chkRuleNotifyNew.SetValue(gEditRuleShowNew == 1 ? vb::vbChecked : vb::vbUnchecked);
    txtRuleNotifyTime.SetText(QString::number(gEditRuleTime));

    gCurrentLine = gEditRuleDescCount[rule];
    gEditRuleDescHigh[rule] = gCurrentLine;  // the redo history belongs to one showing
    ShowRuleLines();
    ShowRuleLine(gCurrentLine);
    EnableRuleUpdate();
    tbrRuleUpdate(0).Buttons(QStringLiteral("Clear")).SetEnabled(!txtRuleDescription.Text().isEmpty());
    tbrRuleUpdate(1).Buttons(QStringLiteral("Undo")).SetEnabled(gCurrentLine >= 1);
    cboBoolean.SetEnabled(gCurrentLine >= 1);
    tbrRuleUpdate(1).Buttons(QStringLiteral("Redo")).SetEnabled(false);
    fraRules.SetEnabled(modAccounts::gAccountCount >= 1);

    for (int i = 1; i <= gEditRuleCount && i <= lstRules.ListCount(); ++i)
        lstRules.SetSelected(i - 1, gEditRuleEnabled[i] == 1);
    const bool several = gEditRuleCount >= 2;
    tbrMoveButtons(1).Buttons(QStringLiteral("Up")).SetEnabled(several && rule > 1);
    tbrMoveButtons(1).Buttons(QStringLiteral("Down")).SetEnabled(several && rule < gEditRuleCount);
    if (rule <= lstRules.ListCount()) lstRules.SetListIndex(rule - 1);
}

void RulesPage::ShowRuleLines() {
    const bool rule = gCurrentRule >= 1 && gCurrentRule <= gEditRuleCount;
    txtRuleDescription.SetText(rule ? gEditRuleDesc(gCurrentRule, 0) : QString());
    lblRuleDescEntries.SetCaption(QString::number(gCurrentLine) + QStringLiteral(" of 10 Entries"));
}

void RulesPage::ShowRuleLine(int16_t line) {
    QScopedValueRollback<bool> showing(gRuleShowing, true);
    const LineChoice shown = ShownRuleLine(line);
    cboWhere.SetText(shown.where);
    SetConditionList(shown.where);
    // A condition the Where does not offer (a file written by hand) shows the Where's first one.
    if (!cboCondition.SetText(shown.condition) && cboCondition.ListCount() > 0) cboCondition.SetListIndex(0);
    txtCriteria.SetText(shown.criteria);
    chkNot.SetValue(shown.negated ? vb::vbChecked : vb::vbUnchecked);
    if (!shown.connector.isEmpty()) cboBoolean.SetText(shown.connector);
}

void RulesPage::EnableRuleUpdate() {
    tbrRuleUpdate(0)
        .Buttons(QStringLiteral("Update"))
        .SetEnabled(gEditRuleCount >= 1 && !cboCondition.Text().isEmpty() &&
                    CriteriaComplete(cboWhere.Text(), txtCriteria.Text()));
}

void RulesPage::UpdateRuleDescription() {
    if (gCurrentRule < 1 || gCurrentRule > gEditRuleCount) return;
    if (gCurrentLine >= kMaxDescLines) {
        const QString crLf = QStringLiteral("\r\n");
        vb::MsgBox(QStringLiteral("Maximum Reached!") + crLf + crLf +
                       QStringLiteral("The Maximum number of entries is") + QString(10, u' ') + crLf +
                       QStringLiteral("limited to 10.") + crLf + crLf +
                       QStringLiteral("Please try adding another Rule") + crLf +
                       QStringLiteral("using the same conditions.") + crLf,
                   vb::vbInformation, modGeneral::gAppName + QStringLiteral(" - Maximum Entries"));
        return;
    }
    const LineChoice choice{cboWhere.Text(), cboCondition.Text(), chkNot.Value() == vb::vbChecked,
                            txtCriteria.Text(), cboBoolean.Text()};
    // A blank criteria would match every message; the button is off then.
    if (choice.condition.isEmpty() || !CriteriaComplete(choice.where, choice.criteria)) return;
    if (!ReadsBackAsChosen(choice)) {
        const QString crLf = QStringLiteral("\r\n");
        vb::MsgBox(QStringLiteral("A Criteria that begins with the word NOT cannot be saved") + crLf +
                       QStringLiteral("without the NOT choice: the rule would read it as NOT") + crLf +
                       QStringLiteral("and match the very messages meant to be left alone.") + crLf + crLf +
                       QStringLiteral("Tick NOT for messages without the rest of the text, or") + crLf +
                       QStringLiteral("begin the Criteria another way: Contains ignores letter") + crLf +
                       QStringLiteral("case, so \"not\" in small letters finds the same messages.") + crLf,
                   vb::vbExclamation, modGeneral::gAppName + QStringLiteral(" - Rule Criteria"));
        txtCriteria.SetFocus();
        return;
    }
    if (!AddRuleLine(choice)) return;
    ShowRuleLines();
    tbrRuleUpdate(0).Buttons(QStringLiteral("Clear")).SetEnabled(true);
    tbrRuleUpdate(1).Buttons(QStringLiteral("Undo")).SetEnabled(true);
    tbrRuleUpdate(1).Buttons(QStringLiteral("Redo")).SetEnabled(CanRedoRuleLine());
    cboBoolean.SetEnabled(true);
    CheckRulesChanged();
}

void RulesPage::ClearRuleDescription() {
    if (gCurrentRule < 1 || gCurrentRule > gEditRuleCount) return;
    ClearRuleLines();
    ShowRuleLines();
    ShowRuleLine(0);
    EnableRuleUpdate();
    tbrRuleUpdate(0).Buttons(QStringLiteral("Clear")).SetEnabled(false);
    for (int b = 1; b <= 2; ++b) tbrRuleUpdate(1).Buttons(b).SetEnabled(false);
    cboBoolean.SetEnabled(false);
    CheckRulesChanged();
}

void RulesPage::UndoRuleUpdate() {
    if (!UndoRuleLine()) return;
    ShowRuleLines();
    const bool lines = gCurrentLine >= 1;
    tbrRuleUpdate(1).Buttons(QStringLiteral("Undo")).SetEnabled(lines);
    tbrRuleUpdate(0).Buttons(QStringLiteral("Clear")).SetEnabled(lines);
    cboBoolean.SetEnabled(lines);
    ShowRuleLine(gCurrentLine);
    tbrRuleUpdate(1).Buttons(QStringLiteral("Redo")).SetEnabled(true);
    CheckRulesChanged();
}

void RulesPage::RedoRuleUpdate() {
    if (!RedoRuleLine()) return;
    ShowRuleLines();
    tbrRuleUpdate(1).Buttons(QStringLiteral("Undo")).SetEnabled(true);
    tbrRuleUpdate(0).Buttons(QStringLiteral("Clear")).SetEnabled(true);
    cboBoolean.SetEnabled(true);
    tbrRuleUpdate(1).Buttons(QStringLiteral("Redo")).SetEnabled(CanRedoRuleLine());
    ShowRuleLine(gCurrentLine);
    CheckRulesChanged();
}
