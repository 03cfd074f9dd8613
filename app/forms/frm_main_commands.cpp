// Command dispatch: every tool bar of the main window runs the command
// registered for the clicked button's key; the page switch and the Email
// tab strip live here too.
#include "app/accounts/account_table.h"
#include "app/forms/frm_main.h"
#include "app/forms/help_topics.h"
#include "app/general/check_status.h"
#include "app/options/option_values.h"
#include "platform/desktop/help.h"
#include "platform/ui/app_info.h"

void frmMain::WireCommandKeys() {
    const auto route = [this](QStringView bar) {
        return [this, bar](int16_t index, const QString& key) { mCommands.Run(bar, index, key); };
    };
    const auto single = [&](vb::ToolBar& bar, QStringView name) {
        bar.ButtonClick = [run = route(name)](vb::ToolButton& button) { run(0, button.Key()); };
    };
    const auto array = [&](vb::ControlArray<vb::ToolBar>& bars, QStringView name) {
        bars.Wire(&vb::ToolBar::ButtonClick, [run = route(name)](int index, vb::ToolButton& button) {
            run(static_cast<int16_t>(index), button.Key());
        });
    };
    single(tbrMainButtons, u"tbrMainButtons");
    single(tbrEmail, u"tbrEmail");
    single(tbrAcnts, u"tbrAcnts");
    single(tbrRules, u"tbrRules");
    single(tbrColour, u"tbrColour");
    array(tbrButtons, u"tbrButtons");
    array(tbrMoveButtons, u"tbrMoveButtons");
    array(tbrRuleUpdate, u"tbrRuleUpdate");
    array(tbrClient, u"tbrClient");
    array(tbrSound, u"tbrSound");
    array(tbrOptMisc, u"tbrOptMisc");
    array(tbrOptAbout, u"tbrOptAbout");

    for (const auto& [key, pane] : {std::pair{u"Email", 0}, {u"Accounts", 1}, {u"Rules", 2}, {u"Options", 3}})
        mCommands.Add(u"tbrMainButtons", key, [this, pane = int16_t(pane)](int16_t) { SwitchPane(pane); });
    mCommands.Add(u"tbrMainButtons", u"Size", [this](int16_t) {
        // The size and place the load gave the window.
        SetWindowState(vb::vbNormal);
        SetOuterSize(mMinWidth, mStartHeight);
        CentreOnScreen();
        Form_Resize();
    });
    for (const auto& [index, topic] :
         {std::pair{0, forms::kHelpEmail}, {5, forms::kHelpAccounts}, {8, forms::kHelpRules}})
        mCommands.Add(u"tbrButtons", int16_t(index), u"Help",
                      [topic = topic](int16_t) { platform::desktop::ShowHelp(vb::App::DataPath(), topic); });
    mCommands.Add(u"tbrButtons", u"Close", [this](int16_t) { CloseToTray(); });
    TabStripEmail.Click = [this] { TabStripEmail_Click(); };
}

void frmMain::ShowPage(int16_t pane) {
    // The page comes back with the current account's tab, or the saved rules.
    const bool haveAccounts = modAccounts::gAccountCount > 0;
    if (pane == 0 && haveAccounts) TabStripEmail.Select(modAccounts::gCurrentAccount);
    if (pane == 1 && haveAccounts) TabStripAcnts.Select(modAccounts::gCurrentAccount);
    if (pane == 2) rules_.ShowSavedRules();
    // One page is visible at a time, whichever was shown for an operation.
    for (int i = 0; i <= 3; ++i)
        if (i != pane) fraMain(i).SetVisible(false);
    fraMain(pane).SetVisible(true);
    fraMain(pane).ZOrder(0);
    lblBanner.SetCaption(modGeneral::gPaneName[pane]);
}

void frmMain::SwitchPane(int16_t pane) {
    using namespace modGeneral;
    gCurrentPane = pane;
    ShowPage(pane);
    const bool banner = gCurrentPane < 3 && modAccounts::gAccountCount == 0;
    fraNoAcntsBanner.SetVisible(banner);
    if (banner) fraNoAcntsBanner.ZOrder(0);
}

void frmMain::TabStripEmail_Click() {
    using namespace modAccounts;
    gCurrentAccount = static_cast<int16_t>(TabStripEmail.SelectedItem());
    if (gCurrentAccount == modGeneral::gPrevAccount) return;
    if (!modOptions::gDefaultClientValid) SetMailClientButton(gAccounts[gCurrentAccount].ClientValid ? gCurrentAccount : -1);
    FillMessageList(gCurrentAccount);
    modGeneral::gPrevAccount = gCurrentAccount;
}
