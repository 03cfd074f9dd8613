// The Email page's wiring, and its message menu with the tbrEmail buttons:
// preview, reply and open act on the message the current row of the list
// shows, found by its account and UID.
#include "app/forms/email/email_page.h"

#include "app/forms/main_window/command_keys.h"
#include "app/forms/main_window/frm_main_design.h"
#include "app/forms/preview/frm_preview.h"
#include "app/forms/preview/message_commands.h"
#include "app/general/check_status.h"
#include "app/general/message_ref.h"
#include "platform/ui/forms.h"

EmailPage::EmailPage(vb::Form& window, forms::OperationWindow& operations, forms::ServerSession& session,
                     forms::MainWindowLink& children, frmMainDesign& design, forms::CommandKeys& commands,
                     Host& host, CheckRuns& checks)
    : window_(window),
      operations_(operations),
      session_(session),
      children_(children),
      c_(design),
      commands_(commands),
      host_(host),
      checks_(checks) {
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

const modGeneral::MessageRef* EmailPage::CurrentMessage() { return ListedMessage(modGeneral::gCurrentMsg); }

void EmailPage::mnuEmailPreview_Click() {
    const modGeneral::MessageRef* current = CurrentMessage();
    if (!current) return;
    const modGeneral::MessageRef message = *current;
    // A preview already open turns to the message chosen now, as does a new
    // one whose load took another.
    frmPreview& preview = vb::Forms::Get<frmPreview>(&children_);
    if (preview.Shown().account != message.account || preview.Shown().slot != message.slot)
        preview.ShowMessage(message.account, message.slot);
    preview.Show();
    preview.SetForeground();
}

void EmailPage::mnuEmailReply_Click() {
    if (const modGeneral::MessageRef* message = CurrentMessage())
        forms::ReplyToMessage(message->account, message->slot);
}

void EmailPage::mnuEmailOpen_Click() {
    if (const modGeneral::MessageRef* message = CurrentMessage())
        forms::OpenInMailClient(message->account, message->slot);
}
