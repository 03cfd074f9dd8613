#include "app/rules/rules_editor.h"

#include <algorithm>
#include <utility>

#include "app/rules/rule_set.h"

namespace modRules {

int16_t gCurrentRule = 0;
int16_t gCurrentLine = 0;
bool gRulesChanged = false;
bool gRuleShowing = false;

namespace {

// Both sets hold rules 0 to n at least; arrays never shrink here, so neither
// set loses a rule the other does not have.
void EnsureRuleSlots(int16_t n) {
    if (gEditRules.Rules.UBound() < n || gRules.Rules.UBound() < n) ResizeRuleArrays(n);
}

void CopyNotificationToEdit() {
    gEditRules.Show = gRules.Show;
    gEditRules.ShowNew = gRules.ShowNew;
    gEditRules.Time = gRules.Time;
}

// What the page edits of a rule: its values and its counted lines.
bool SameRule(const Rule& edit, const Rule& live) {
    if (edit.Enabled != live.Enabled || edit.Name != live.Name || edit.Account != live.Account ||
        edit.DescCount != live.DescCount || edit.Action != live.Action)
        return false;
    for (int j = 1; j <= edit.DescCount; ++j)
        if (edit.Desc.at(j) != live.Desc.at(j)) return false;
    return true;
}

}  // namespace

void CopyRulesToEdit() {
    // The notification values are copied even with no rules, so that an
    // empty set shows the saved ones.
    CopyNotificationToEdit();
    EnsureRuleSlots(gRules.Count);
    gEditRules.Count = gRules.Count;
    for (int i = 1; i <= gRules.Count; ++i) gEditRules[i] = CountedLinesOf(gRules[i]);
    gCurrentRule = std::clamp<int16_t>(gCurrentRule, gRules.Count >= 1 ? 1 : 0, gRules.Count);
}

bool EditSetDiffers() {
    if (gEditRules.Count != gRules.Count) return true;
    if (gEditRules.Show != gRules.Show || gEditRules.ShowNew != gRules.ShowNew ||
        gEditRules.Time != gRules.Time)
        return true;
    for (int i = 1; i <= gEditRules.Count; ++i)
        if (!SameRule(gEditRules[i], gRules[i])) return true;
    return false;
}

int16_t AddEditRule() {
    const int16_t n = static_cast<int16_t>(gEditRules.Count + 1);
    EnsureRuleSlots(n);
    gEditRules.Count = n;
    Rule& rule = gEditRules[n];
    // A slot left by a deleted rule may still hold its lines.
    rule = Rule{};
    rule.Enabled = 1;
    rule.Name = QStringLiteral("Rule") + QString::number(n);
    rule.Account = QString::fromUtf16(kAllAccounts);
    rule.Action = 2;
    CopyNotificationToEdit();
    return n;
}

void RemoveEditRule(int16_t rule) {
    if (rule < 1 || rule > gEditRules.Count) return;
    for (int i = rule; i < gEditRules.Count; ++i)
        SwapEditRules(static_cast<int16_t>(i), static_cast<int16_t>(i + 1));
    --gEditRules.Count;
}

void SwapEditRules(int16_t a, int16_t b) { std::swap(gEditRules[a], gEditRules[b]); }

}  // namespace modRules
