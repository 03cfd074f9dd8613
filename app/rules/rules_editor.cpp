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
    if (gEditRuleName.UBound() < n || gRuleName.UBound() < n) ResizeRuleArrays(n);
}

void CopyNotificationToEdit() {
    gEditRuleShow = gRuleShow;
    gEditRuleShowNew = gRuleShowNew;
    gEditRuleTime = gRuleTime;
}

}  // namespace

void CopyRulesToEdit() {
    // The notification values are copied even with no rules, so that an
    // empty set shows the saved ones.
    CopyNotificationToEdit();
    EnsureRuleSlots(gRuleCount);
    gEditRuleCount = gRuleCount;
    for (int i = 1; i <= gRuleCount; ++i) {
        gEditRuleEnabled[i] = gRuleEnabled[i];
        gEditRuleName[i] = gRuleName[i];
        gEditRuleAccount[i] = gRuleAccount[i];
        gEditRuleDescCount[i] = gRuleDescCount[i];
        gEditRuleDescHigh[i] = gRuleDescCount[i];
        gEditRuleAction[i] = gRuleAction[i];
        for (int j = 0; j <= kMaxDescLines; ++j) gEditRuleDesc(i, j).clear();
        for (int j = 1; j <= gRuleDescCount[i]; ++j) {
            gEditRuleDesc(i, j) = gRuleDesc(i, j);
            gEditRuleDesc(i, 0) += gRuleDesc(i, j);
        }
    }
    gCurrentRule = std::clamp<int16_t>(gCurrentRule, gRuleCount >= 1 ? 1 : 0, gRuleCount);
}

bool EditSetDiffers() {
    if (gEditRuleCount != gRuleCount) return true;
    if (gEditRuleShow != gRuleShow || gEditRuleShowNew != gRuleShowNew || gEditRuleTime != gRuleTime)
        return true;
    for (int i = 1; i <= gEditRuleCount; ++i) {
        if (gEditRuleEnabled[i] != gRuleEnabled[i] || gEditRuleName[i] != gRuleName[i] ||
            gEditRuleAccount[i] != gRuleAccount[i] || gEditRuleDescCount[i] != gRuleDescCount[i] ||
            gEditRuleAction[i] != gRuleAction[i])
            return true;
        for (int j = 1; j <= gEditRuleDescCount[i]; ++j)
            if (gEditRuleDesc(i, j) != gRuleDesc(i, j)) return true;
    }
    return false;
}

int16_t AddEditRule() {
    const int16_t n = static_cast<int16_t>(gEditRuleCount + 1);
    EnsureRuleSlots(n);
    gEditRuleCount = n;
    gEditRuleEnabled[n] = 1;
    gEditRuleName[n] = QStringLiteral("Rule") + QString::number(n);
    gEditRuleAccount[n] = QString::fromUtf16(kAllAccounts);
    gEditRuleDescCount[n] = 0;
    gEditRuleDescHigh[n] = 0;
    gEditRuleAction[n] = 2;
    // A slot left by a deleted rule may still hold its lines.
    for (int j = 0; j <= kMaxDescLines; ++j) gEditRuleDesc(n, j).clear();
    CopyNotificationToEdit();
    return n;
}

void RemoveEditRule(int16_t rule) {
    if (rule < 1 || rule > gEditRuleCount) return;
    for (int i = rule; i < gEditRuleCount; ++i)
        SwapEditRules(static_cast<int16_t>(i), static_cast<int16_t>(i + 1));
    --gEditRuleCount;
}

void SwapEditRules(int16_t a, int16_t b) {
    std::swap(gEditRuleEnabled[a], gEditRuleEnabled[b]);
    std::swap(gEditRuleName[a], gEditRuleName[b]);
    std::swap(gEditRuleAccount[a], gEditRuleAccount[b]);
    std::swap(gEditRuleAction[a], gEditRuleAction[b]);
    std::swap(gEditRuleDescCount[a], gEditRuleDescCount[b]);
    std::swap(gEditRuleDescHigh[a], gEditRuleDescHigh[b]);
    for (int j = 0; j <= kMaxDescLines; ++j) std::swap(gEditRuleDesc(a, j), gEditRuleDesc(b, j));
}

}  // namespace modRules
