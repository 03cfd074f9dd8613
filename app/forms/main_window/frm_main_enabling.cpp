// The working state and the "no account" state of the main window.
#include "app/accounts/account_table.h"
#include "app/forms/main_window/frm_main.h"
#include "app/forms/main_window/window_slots.h"

namespace {

const char16_t* const kMessageButtons[] = {u"EmailPreview", u"EmailDelete", u"EmailReply",
                                           u"EmailOpen",    u"EmailNew",    u"EmailCheck"};
const char16_t* const kAccountMessageButtons[] = {u"EmailNew", u"EmailCheck"};
const char16_t* const kAccountButtons[] = {u"AcntDelete", u"AcntTest"};

}  // namespace

void frmMain::EnableMainControls() {
    if (modAccounts::gAccountCount == 0) {
        DisableEmailControls();
        return;
    }
    fraNoAcntsBanner.SetVisible(false);
    fraRulesToolbar.SetVisible(true);
    for (int i = forms::page::kEmail; i <= forms::page::kRules; ++i) fraMain(i).SetEnabled(true);
    fraAcnt.SetEnabled(true);
    fraRules.SetEnabled(true);
    for (int i = 1; i <= 5; ++i) fraOptions(i).SetEnabled(true);
    tbrEmail.SetEnabled(true);
    tbrAcnts.SetEnabled(true);
    tbrRules.SetEnabled(true);
    // The commands on one message, and "EmailSpam", follow the message list:
    // usable once the user chose a row.
    for (const char16_t* key : kAccountMessageButtons)
        tbrEmail.Buttons(QString::fromUtf16(key)).SetEnabled(true);
    email_.EnableMessageCommands(lvwEmail.SelectedItem() >= 1);
    for (const char16_t* key : kAccountButtons) tbrAcnts.Buttons(QString::fromUtf16(key)).SetEnabled(true);
    using namespace forms::bar;
    for (int16_t i : {kEmailHelp, kStartEmailClient, kCheckAll, kClose, kAccountsHelp, kRulesHelp})
        tbrButtons(i).Buttons(1).SetEnabled(true);
    lvwEmail.SetEnabled(true);
    tray_.SetTrayEntriesEnabled(true);
}

void frmMain::DisableEmailControls() {
    fraNoAcntsBanner.SetVisible(true);
    fraNoAcntsBanner.ZOrder(0);
    fraRulesToolbar.SetVisible(false);
    fraAcnt.SetEnabled(false);
    fraRules.SetEnabled(false);
    // The account tool bar stays usable: "AcntAdd" is the way out.
    tbrEmail.SetEnabled(false);
    tbrRules.SetEnabled(false);
    for (const char16_t* key : kMessageButtons) tbrEmail.Buttons(QString::fromUtf16(key)).SetEnabled(false);
    tbrEmail.Buttons(QStringLiteral("EmailSpam")).SetEnabled(false);
    for (const char16_t* key : kAccountButtons) tbrAcnts.Buttons(QString::fromUtf16(key)).SetEnabled(false);
    tbrButtons(forms::bar::kStartEmailClient).Buttons(1).SetEnabled(false);
    tbrButtons(forms::bar::kCheckAll).Buttons(1).SetEnabled(false);
    lvwEmail.SetEnabled(false);
    tray_.SetTrayEntriesEnabled(false);
}
