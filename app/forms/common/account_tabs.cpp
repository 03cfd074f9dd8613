#include "app/forms/common/account_tabs.h"

#include "app/accounts/account_table.h"

namespace forms {

void MakeAccountCurrent(int16_t account) { modAccounts::gCurrentAccount = account; }

void ChooseAccountTab(vb::TabStrip& tabs, int16_t account) {
    MakeAccountCurrent(account);
    if (account >= 1 && account <= tabs.TabCount()) tabs.Select(account);
}

}  // namespace forms
