// The message menu of the list and its tbrEmail buttons: preview, reply and
// open act on the current message of the list.
#include "app/accounts/account_table.h"
#include "app/forms/frm_main.h"
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

void frmMain::WireMessageMenu() {
    mnuEmailPreview.Click = [this] { mnuEmailPreview_Click(); };
    mnuEmailReply.Click = [this] { mnuEmailReply_Click(); };
    mnuEmailOpen.Click = [this] { mnuEmailOpen_Click(); };
    tray_.Commands().Add(u"tbrEmail", u"EmailPreview", [this](int16_t) { mnuEmailPreview_Click(); });
    tray_.Commands().Add(u"tbrEmail", u"EmailReply", [this](int16_t) { mnuEmailReply_Click(); });
    tray_.Commands().Add(u"tbrEmail", u"EmailOpen", [this](int16_t) { mnuEmailOpen_Click(); });
}

void frmMain::mnuEmailPreview_Click() {
    if (!HaveCurrentMessage()) return;
    // A preview already open shows the message chosen now; a new one takes
    // it in its load.
    const bool wasOpen = vb::Forms::IsLoaded<frmPreview>();
    frmPreview& preview = vb::Forms::Get<frmPreview>();
    if (wasOpen) preview.ShowMessage(modAccounts::gCurrentAccount, modGeneral::gCurrentMsg);
    preview.Show();
    preview.SetForeground();
}

void frmMain::mnuEmailReply_Click() {
    if (HaveCurrentMessage()) forms::ReplyToMessage(modAccounts::gCurrentAccount, modGeneral::gCurrentMsg);
}

void frmMain::mnuEmailOpen_Click() {
    if (HaveCurrentMessage()) forms::OpenInMailClient(modAccounts::gCurrentAccount, modGeneral::gCurrentMsg);
}
