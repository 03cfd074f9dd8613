// The Email page's wiring, and its message menu with the tbrEmail buttons:
// preview, reply and open act on the current message of the list.
#include "app/forms/main_email_page.h"

#include "app/accounts/account_table.h"
#include "app/forms/command_keys.h"
#include "app/forms/frm_main_design.h"
#include "app/forms/frm_preview.h"
#include "app/forms/message_commands.h"
#include "app/general/check_status.h"
#include "app/general/message_ref.h"
#include "platform/ui/forms.h"

namespace {

bool HaveCurrentMessage() {
    return modGeneral::IsStoredMessage(modAccounts::gCurrentAccount, modGeneral::gCurrentMsg);
}

}  // namespace

EmailPage::EmailPage(vb::Form& window, frmMainDesign& design, forms::CommandKeys& commands, Host& host)
    : window_(window),
      c_{.TabStripEmail = design.TabStripEmail,
         .lvwEmail = design.lvwEmail,
         .imlListViewIcons = design.imlListViewIcons,
         .tbrEmail = design.tbrEmail,
         .mnuEmailPopMenu = design.mnuEmailPopMenu,
         .mnuEmailPreview = design.mnuEmailPreview,
         .mnuEmailDelete = design.mnuEmailDelete,
         .mnuEmailReply = design.mnuEmailReply,
         .mnuEmailOpen = design.mnuEmailOpen,
         .StatusBar = design.StatusBar,
         .TabStripAcnts = design.TabStripAcnts,
         .cmdTakeFocus = design.cmdTakeFocus},
      commands_(commands),
      host_(host) {
    WireMessageList();
    WireDeletion();
    WireMessageMenu();
    WirePointerEvents();
}

void EmailPage::WireMessageMenu() {
    c_.mnuEmailPreview.Click = [this] { mnuEmailPreview_Click(); };
    c_.mnuEmailReply.Click = [this] { mnuEmailReply_Click(); };
    c_.mnuEmailOpen.Click = [this] { mnuEmailOpen_Click(); };
    commands_.Add(u"tbrEmail", u"EmailPreview", [this](int16_t) { mnuEmailPreview_Click(); });
    commands_.Add(u"tbrEmail", u"EmailReply", [this](int16_t) { mnuEmailReply_Click(); });
    commands_.Add(u"tbrEmail", u"EmailOpen", [this](int16_t) { mnuEmailOpen_Click(); });
}

void EmailPage::mnuEmailPreview_Click() {
    if (!HaveCurrentMessage()) return;
    // A preview already open shows the message chosen now; a new one takes
    // it in its load.
    const bool wasOpen = vb::Forms::IsLoaded<frmPreview>();
    frmPreview& preview = vb::Forms::Get<frmPreview>();
    if (wasOpen) preview.ShowMessage(modAccounts::gCurrentAccount, modGeneral::gCurrentMsg);
    preview.Show();
    preview.SetForeground();
}

void EmailPage::mnuEmailReply_Click() {
    if (HaveCurrentMessage()) forms::ReplyToMessage(modAccounts::gCurrentAccount, modGeneral::gCurrentMsg);
}

void EmailPage::mnuEmailOpen_Click() {
    if (HaveCurrentMessage()) forms::OpenInMailClient(modAccounts::gCurrentAccount, modGeneral::gCurrentMsg);
}
