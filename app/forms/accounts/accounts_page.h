#pragma once
// The main window's Accounts page: one account shown at a time, its fields
// writing the account's edit copy, the change check that enables Save and
// Cancel, the account operations (add, save, delete, move), the tab drag
// that reorders accounts, and the connection test. It is the accounts
// module's view of the window.
#include <QString>
#include <cstdint>
#include <functional>

#include "app/accounts/account_operations.h"
#include "app/accounts/account_table.h"
#include "app/common/view_slot.h"
#include "app/forms/main_window/frm_main_design.h"
#include "app/general/check_status.h"

namespace forms {
class CommandKeys;
class TrayStatus;
class MessageListRefresh;
class RulesFollowAccounts;
class ConnectionTest;
}  // namespace forms

class AccountsPage final : private modAccounts::AccountsView {
public:
    // What the page asks of the main window and its other pages.
    class Host {
    public:
        // The page bar follows the page's pending edits.
        virtual void UpdatePageBar() = 0;
        virtual void LoadMailClientIcon(const QString& path, int16_t number) = 0;
        virtual void SetMailClientButton(int16_t number) = 0;
        // The working state with at least one account, else the "no account" state.
        virtual void EnableMainControls() = 0;
        virtual void DisableEmailControls() = 0;
        // The message list shows the account the Email tab strip chose.
        virtual void TabStripEmail_Click() = 0;

    protected:
        ~Host() = default;
    };

    // The controls the window's description marks "for AccountsPage".
    using Controls = frmMainDesign::AccountsPageControls;

    // Binds the page's controls of design; window is the one the design
    // sits in; tray the tray icon, which says automatic checking is off once
    // the last account goes; list the Email page's list, whose tab icons
    // follow the accounts; rules the Rules page, whose account list does; test
    // the checks' connection test and run their record, whose schedule the
    // page shows and resets. Registers the page's commands and the accounts
    // module's view.
    AccountsPage(vb::Form& window, forms::TrayStatus& tray, forms::MessageListRefresh& list,
                 forms::RulesFollowAccounts& rules, forms::ConnectionTest& test,
                 modGeneral::CheckRunState& run, frmMainDesign& design, forms::CommandKeys& commands,
                 Host& host);
    AccountsPage(const AccountsPage&) = delete;
    AccountsPage& operator=(const AccountsPage&) = delete;

    // Shows account index (0: the blank placeholder) on the Accounts page,
    // refreshing its edit copy; the page ends unchanged.
    void DisplayAccount(int16_t index) override;
    // Compares the page with the current account's saved fields: Save and
    // Cancel while they differ, the account tool bar, page switch and move
    // buttons otherwise.
    void CheckAccountChanged();
    void SetMoveButtons(int16_t index);
    // Appends a new account, stores it and shows it.
    void AddAccount();
    // Checks the name and stores the current account's edits; false when the
    // name was refused or the store refused the write (nothing changed).
    bool SaveAccount();
    // After the user confirms, removes the current account everywhere.
    void DeleteAccount();
    // Accounts account and account + offset exchange places everywhere; the
    // moved account stays current.
    void MoveAccount(int16_t account, int16_t offset);
    // A tab of the Accounts strip was chosen: shows its account, asking
    // first when the shown account has unsaved edits.
    void TabStripAcnts_Click();
    // The tab of strip under x (twips): 1 for x at or left of 0, 0 right of
    // the last tab or with no tab.
    static int16_t TabFromX(const vb::TabStrip& strip, int x);

private:
    void WireAccountsPage();
    void WireAccountFields();
    void WireColourBox();
    void WireTabStrips();
    void WireTabDrag(vb::TabStrip& strip, int16_t dragState);
    // The connection test of the current account, in retrieval mode with
    // the check timers held.
    void TestCurrentAccount();
    void AcntClient_Change();
    void AcntSound_Change();
    // The client and sound boxes with a default in force or the account's own.
    void ShowAccountClient(const modAccounts::Account& account, int16_t index);
    void ShowAccountSound(const modAccounts::Account& account);
    // The message list shows the current account again, rows read afresh.
    void RefillCurrentList();
    // The "MailClient" pictures of accounts from..to follow their clients.
    void ReloadClientPictures(int16_t from, int16_t to);
    // The last account is gone: checks switched off and stored, the page blank.
    void ShowNoAccounts();
    // A message box with the message's title and text and a critical icon.
    int ShowAccountMessage(const modAccounts::AccountMessage& message, int buttons = 0);

    vb::Form& window_;
    Controls c_;
    forms::CommandKeys& commands_;
    Host& host_;
    forms::TrayStatus& tray_;
    forms::MessageListRefresh& list_;
    forms::RulesFollowAccounts& rules_;
    forms::ConnectionTest& test_;
    modGeneral::CheckRunState& run_;
    // 1: a press on the Email strip armed a drag; 3: one on the Accounts strip.
    int16_t mTabDragState = 0;
    ViewSlot<modAccounts::AccountsView>::Registration accountsView_;
};
