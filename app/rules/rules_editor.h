#pragma once
// The Rules page's working state over the edit set: the rule it shows, how
// many of that rule's description lines count, whether the edit set differs
// from the live set, and the edits themselves. Only the edit set changes here;
// the live set changes when the rules file is written.

#include <QString>
#include <cstdint>

namespace modRules {

inline constexpr char16_t kAllAccounts[] = u"All Accounts";

// The rule the page shows, 1 to gEditRules.Count; 0 for none.
extern int16_t gCurrentRule;
// The shown rule's number of description lines, 0 to 10.
extern int16_t gCurrentLine;
// The edit set differs from the live set in a value the page edits.
extern bool gRulesChanged;
// Set while the page is filled from the edit set: the page's change handlers
// then leave the edit set alone.
extern bool gRuleShowing;

// Every rule, its lines and the notification values from the live set into
// the edit set; each rule's redo bound is its line count. gCurrentRule is kept
// within the count.
void CopyRulesToEdit();
// Whether the edit set differs from the live set: the count; per rule the
// enabled value, name, account, line count, lines and action (texts exactly);
// the notification values.
bool EditSetDiffers();

// Appends a rule to the edit set and returns its number: named "Rule" and its
// number, enabled, for all accounts, no lines, marking spam. The notification
// values go back to the live ones.
int16_t AddEditRule();
// Removes rule from the edit set; the later rules move up one place.
void RemoveEditRule(int16_t rule);
// Exchanges two rules of the edit set, lines and redo bounds included.
void SwapEditRules(int16_t a, int16_t b);

}  // namespace modRules
