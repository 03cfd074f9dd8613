// Retrieval mode: while the program talks to a mail server the window shows
// the Email page and refuses page switches and second operations; the Stop
// button appears for checks.
#include "app/accounts/account_operations.h"
#include "app/accounts/account_table.h"
#include "app/forms/main_window/frm_main.h"
#include "app/forms/main_window/window_slots.h"
#include "app/general/check_status.h"
#include "app/options/option_values.h"
#include "app/rules/rules_editor.h"
#include "platform/loop/message_loop.h"

void frmMain::SetRetrievalMode(bool enable, bool showStop) {
    tbrButtons(forms::bar::kPauseStartUp).SetVisible(false);
    if (enable) {
        tmrRetrieveMessage.SetEnabled(false);
        tbrButtons(forms::bar::kStopRetrieval).SetVisible(false);
        ShowCurrentPane(modGeneral::gCurrentPane);
    } else {
        tbrButtons(forms::bar::kStopRetrieval).Buttons(1).SetCaption(QStringLiteral("Stop Retrieval      "));
        tbrButtons(forms::bar::kStopRetrieval).SetVisible(showStop);
        ShowCurrentPane(forms::page::kEmail);
    }
    mInRetrieval = !enable;
    UpdatePageBar();
    for (vb::Frame* frame : {&fraEmailToolBar, &fraAcntToolBar}) frame->SetEnabled(enable);
    // Accounts, rules and options stay as the operation found them: the pages
    // that edit them are locked whole (a connection test keeps the Accounts
    // page in view, greyed).
    for (int page = forms::page::kAccounts; page <= forms::page::kOptions; ++page)
        fraMain(page).SetEnabled(enable);
    TabStripEmail.SetEnabled(enable);
    TabStripAcnts.SetEnabled(enable);
    // The list stays readable, but neither its order nor its selection moves
    // under an operation that acts on the messages it shows.
    lvwEmail.SetSelectionFrozen(!enable);
    tbrButtons(forms::bar::kEmailHelp).Buttons(1).SetEnabled(enable);
    for (int16_t i : {forms::bar::kStartEmailClient, forms::bar::kCheckAll, forms::bar::kClose})
        tbrButtons(i).SetEnabled(enable);
    // Auto Check too: switching it saves the options and reschedules, which
    // must not happen under a running check.
    tray_.SetTrayCommandsEnabled(enable);
    // The window shows the new state before the operation blocks.
    platform::loop::PumpPending();
}

void frmMain::UpdatePageBar() {
    const bool editing =
        modAccounts::gAccountChanged || modRules::gRulesChanged || modOptions::gOptionsChanged;
    fraMainButtons.SetEnabled(!editing && !mInRetrieval);
}

void frmMain::ShowCurrentPane(int16_t pane) {
    using namespace modGeneral;
    // The Email page is already in front; a connection test keeps the
    // Accounts page in front.
    if (gCurrentPane == forms::page::kEmail || checks_.Record().TestingAccount) return;
    ShowPage(pane);
}
