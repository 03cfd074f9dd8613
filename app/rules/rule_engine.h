#pragma once
// The rule engine: every downloaded message passes the enabled rules of its
// account (and those for "All Accounts") in list order. The first matching
// rule whose action is 1 marks the message for deletion, 2 marks it as spam;
// a matching rule with action 3 lets the later rules decide.

#include <cstdint>

namespace modRules {

// Clears the message's delete and spam marks, then applies the live rules;
// adds 1 to the account's delete or spam count for a mark it sets.
void ApplyRulesToMessage(int16_t account, int16_t message);

// Whether the description of the live rule matches the stored message.
bool RuleMatchesMessage(int16_t rule, int16_t account, int16_t message);

}  // namespace modRules
