// Choosing an account's tab: the account becomes current whether its tab was
// chosen already or not, and only a tab chosen anew runs the strip's click.
#include <gtest/gtest.h>

#include <QWidget>

#include "app/accounts/account_table.h"
#include "app/forms/common/account_tabs.h"

TEST(ChooseAccountTab, MakesTheAccountCurrentAndClicksOnlyANewTab) {
    struct Row {
        const char* what;
        int16_t account;
        int selected;  // the tab chosen afterwards
        int clicks;
    };
    const Row rows[] = {
        {"the tab chosen already", 2, 2, 0},
        {"another tab", 3, 3, 1},
        {"no account", 0, 2, 0},
        {"an account past the tabs", 4, 2, 0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        QWidget window;
        vb::TabStrip tabs(&window);
        for (const char* name : {"One", "Two", "Three"}) tabs.AddTab(QString::fromLatin1(name));
        tabs.Select(2);
        int clicks = 0;
        int16_t currentAtClick = -1;
        tabs.Click = [&] {
            ++clicks;
            currentAtClick = modAccounts::gCurrentAccount;
        };
        modAccounts::gCurrentAccount = 1;
        forms::ChooseAccountTab(tabs, r.account);
        EXPECT_EQ(modAccounts::gCurrentAccount, r.account);
        EXPECT_EQ(tabs.SelectedItem(), r.selected);
        EXPECT_EQ(clicks, r.clicks);
        if (clicks > 0) {
            EXPECT_EQ(currentAtClick, r.account) << "the click sees the account current";
        }
    }
}
