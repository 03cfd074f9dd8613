// The page switch of the main window, the Email tab strip, and what the
// tool bars ask of the window: its size at load, an Options panel, the home
// page, the mail client.
#include "app/accounts/account_table.h"
#include "app/forms/common/account_tabs.h"
#include "app/forms/main_window/frm_main.h"
#include "app/forms/main_window/window_slots.h"
#include "app/general/check_status.h"
#include "app/options/option_values.h"

void frmMain::RestoreStartSize() {
    SetWindowState(vb::vbNormal);
    layout_.RestoreStartSize();
    Form_Resize();
}

void frmMain::ShowOptionsPanel(int node) {
    TreeView.Select(node);
    options_.TreeView_Click();
}

void frmMain::ShowPage(int16_t pane) {
    // The page comes back with the current account's tab, or the saved rules.
    const bool haveAccounts = modAccounts::gAccountCount > 0;
    if (pane == forms::page::kEmail && haveAccounts) TabStripEmail.Select(modAccounts::gCurrentAccount);
    if (pane == forms::page::kAccounts && haveAccounts) TabStripAcnts.Select(modAccounts::gCurrentAccount);
    if (pane == forms::page::kRules) rules_.ShowSavedRules();
    // One page is visible at a time, whichever was shown for an operation.
    for (int i = forms::page::kEmail; i <= forms::page::kOptions; ++i)
        if (i != pane) fraMain(i).SetVisible(false);
    fraMain(pane).SetVisible(true);
    fraMain(pane).ZOrder(0);
    lblBanner.SetCaption(modGeneral::gPaneName[pane]);
}

void frmMain::SwitchPane(int16_t pane) {
    using namespace modGeneral;
    gCurrentPane = pane;
    ShowPage(pane);
    const bool banner = gCurrentPane != forms::page::kOptions && modAccounts::gAccountCount == 0;
    fraNoAcntsBanner.SetVisible(banner);
    if (banner) fraNoAcntsBanner.ZOrder(0);
}

void frmMain::TabStripEmail_Click() {
    using namespace modAccounts;
    forms::MakeAccountCurrent(static_cast<int16_t>(TabStripEmail.SelectedItem()));
    if (gCurrentAccount == modGeneral::gPrevAccount) return;
    if (!modOptions::gDefaultClientValid)
        SetMailClientButton(gAccounts[gCurrentAccount].ClientValid ? gCurrentAccount : -1);
    email_.FillMessageList(gCurrentAccount);
    modGeneral::gPrevAccount = gCurrentAccount;
}
