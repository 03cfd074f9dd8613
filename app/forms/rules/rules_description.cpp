// The Rules page's description editor: one rule shown in every control, and
// the lines built from the Where, Condition, NOT and Boolean choices with
// Update, Clear, Undo and Redo.
#include <QScopedValueRollback>

#include "app/accounts/account_table.h"
#include "app/forms/rules/rules_page.h"
#include "app/general/check_status.h"
#include "app/rules/description_editor.h"
#include "app/rules/rule_description.h"
#include "app/rules/rule_set.h"
#include "app/rules/rules_editor.h"
#include "platform/ui/msg_box.h"

using namespace frmMainElements;  // tbrClient(tbrClient::kAccount)

using namespace modRules;

void RulesPage::FillWhereList() {
    cboWhere.Clear();
    for (const QStringView where : kWhereWords) cboWhere.AddItem(where.toString());
}

void RulesPage::FillBooleanList() {
    cboBoolean.Clear();
    cboBoolean.AddItem(QStringLiteral("AND"));
    cboBoolean.AddItem(QStringLiteral("OR"));
}

void RulesPage::SetConditionList(const QString& where) {
    const QString kept = cboCondition.Text();
    cboCondition.Clear();
    const bool rules = gEditRules.Count >= 1;
    const auto offer = [&](std::initializer_list<const char*> conditions, const char* fallback,
                           const char* hint) {
        QStringList names;
        for (const char* c : conditions) names << QString::fromLatin1(c);
        for (const QString& c : names) cboCondition.AddItem(c);
        lblCriteria.SetCaption(QString::fromLatin1(hint));
        cboCondition.SetText(names.contains(kept) ? kept : QString::fromLatin1(fallback));
    };
    if (IsWhereWord(where, /*textOnly=*/true)) {
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
    if (rule < 1 || rule > gEditRules.Count) return ClearRuleEditor();
    QScopedValueRollback<bool> showing(gRuleShowing, true);
    ShowRuleEnabledStatus(gEditRules[rule].Enabled);
    txtRuleName.SetText(gEditRules[rule].Name);
    ShowRuleAccount(gEditRules[rule].Account);
    // An action other than the three is kept and shows no choice.
    for (int i = 1; i <= 3; ++i)
        if (i != gEditRules[rule].Action) optRuleAction(i).SetValue(false);
    if (gEditRules[rule].Action >= 1 && gEditRules[rule].Action <= 3)
        optRuleAction(gEditRules[rule].Action).SetValue(true);
    chkRuleNotify.SetValue(gEditRules.Show == 1 ? vb::vbChecked : vb::vbUnchecked);
    chkRuleNotifyNew.SetValue(gEditRules.ShowNew == 1 ? vb::vbChecked : vb::vbUnchecked);
    txtRuleNotifyTime.SetText(QString::number(gEditRules.Time));

    gCurrentLine = gEditRules[rule].DescCount;
    gEditRules[rule].DescHigh = gCurrentLine;  // the redo history belongs to one showing
    ShowRuleLines();
    ShowRuleLine(gCurrentLine);
    EnableRuleUpdate();
    tbrRuleUpdate(tbrRuleUpdate::kDescription)
        .Buttons(QStringLiteral("Clear"))
        .SetEnabled(!txtRuleDescription.Text().isEmpty());
    tbrRuleUpdate(tbrRuleUpdate::kUndoRedo).Buttons(QStringLiteral("Undo")).SetEnabled(gCurrentLine >= 1);
    cboBoolean.SetEnabled(gCurrentLine >= 1);
    tbrRuleUpdate(tbrRuleUpdate::kUndoRedo).Buttons(QStringLiteral("Redo")).SetEnabled(false);
    fraRules.SetEnabled(modAccounts::gAccountCount >= 1);

    for (int i = 1; i <= gEditRules.Count && i <= lstRules.ListCount(); ++i)
        lstRules.SetSelected(i - 1, gEditRules[i].Enabled == 1);
    const bool several = gEditRules.Count >= 2;
    tbrMoveButtons(tbrMoveButtons::kRules).Buttons(QStringLiteral("Up")).SetEnabled(several && rule > 1);
    tbrMoveButtons(tbrMoveButtons::kRules)
        .Buttons(QStringLiteral("Down"))
        .SetEnabled(several && rule < gEditRules.Count);
    if (rule <= lstRules.ListCount()) lstRules.SetListIndex(rule - 1);
}

void RulesPage::ShowRuleLines() {
    const bool rule = gCurrentRule >= 1 && gCurrentRule <= gEditRules.Count;
    txtRuleDescription.SetText(rule ? gEditRules[gCurrentRule].Desc[0] : QString());
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
    tbrRuleUpdate(tbrRuleUpdate::kDescription)
        .Buttons(QStringLiteral("Update"))
        .SetEnabled(gEditRules.Count >= 1 && !cboCondition.Text().isEmpty() &&
                    CriteriaComplete(cboWhere.Text(), txtCriteria.Text()));
}

void RulesPage::UpdateRuleDescription() {
    if (gCurrentRule < 1 || gCurrentRule > gEditRules.Count) return;
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
    tbrRuleUpdate(tbrRuleUpdate::kDescription).Buttons(QStringLiteral("Clear")).SetEnabled(true);
    tbrRuleUpdate(tbrRuleUpdate::kUndoRedo).Buttons(QStringLiteral("Undo")).SetEnabled(true);
    tbrRuleUpdate(tbrRuleUpdate::kUndoRedo).Buttons(QStringLiteral("Redo")).SetEnabled(CanRedoRuleLine());
    cboBoolean.SetEnabled(true);
    CheckRulesChanged();
}

void RulesPage::ClearRuleDescription() {
    if (gCurrentRule < 1 || gCurrentRule > gEditRules.Count) return;
    ClearRuleLines();
    ShowRuleLines();
    ShowRuleLine(0);
    EnableRuleUpdate();
    tbrRuleUpdate(tbrRuleUpdate::kDescription).Buttons(QStringLiteral("Clear")).SetEnabled(false);
    for (int b = 1; b <= 2; ++b) tbrRuleUpdate(tbrRuleUpdate::kUndoRedo).Buttons(b).SetEnabled(false);
    cboBoolean.SetEnabled(false);
    CheckRulesChanged();
}

void RulesPage::UndoRuleUpdate() {
    if (!UndoRuleLine()) return;
    ShowRuleLines();
    const bool lines = gCurrentLine >= 1;
    tbrRuleUpdate(tbrRuleUpdate::kUndoRedo).Buttons(QStringLiteral("Undo")).SetEnabled(lines);
    tbrRuleUpdate(tbrRuleUpdate::kDescription).Buttons(QStringLiteral("Clear")).SetEnabled(lines);
    cboBoolean.SetEnabled(lines);
    ShowRuleLine(gCurrentLine);
    tbrRuleUpdate(tbrRuleUpdate::kUndoRedo).Buttons(QStringLiteral("Redo")).SetEnabled(true);
    CheckRulesChanged();
}

void RulesPage::RedoRuleUpdate() {
    if (!RedoRuleLine()) return;
    ShowRuleLines();
    tbrRuleUpdate(tbrRuleUpdate::kUndoRedo).Buttons(QStringLiteral("Undo")).SetEnabled(true);
    tbrRuleUpdate(tbrRuleUpdate::kDescription).Buttons(QStringLiteral("Clear")).SetEnabled(true);
    cboBoolean.SetEnabled(true);
    tbrRuleUpdate(tbrRuleUpdate::kUndoRedo).Buttons(QStringLiteral("Redo")).SetEnabled(CanRedoRuleLine());
    ShowRuleLine(gCurrentLine);
    CheckRulesChanged();
}
