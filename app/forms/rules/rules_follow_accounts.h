#pragma once
// What the Rules page does for the Accounts page and the checks: its account
// list follows the accounts, and a check run may open the rule report.
#include <cstdint>
#include <vector>

namespace forms {

class RulesFollowAccounts {
public:
    // "All Accounts" and accounts 1 to accountCount; the shown rule keeps its account.
    virtual void FillRuleAccountList(int16_t accountCount) = 0;
    // After every check run, with the accounts it checked: the rule report
    // when the rules marked messages.
    virtual void CheckRuleReport(const std::vector<int16_t>& checked) = 0;

protected:
    ~RulesFollowAccounts() = default;
};

}  // namespace forms
