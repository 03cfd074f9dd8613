// Deletion on the server: the chosen messages are found on the server by
// their UIDs, marked, and deleted by the QUIT that ends the session; only
// then do they leave the message store and the list.
#include <algorithm>

#include "app/accounts/account_table.h"
#include "app/check/check_texts.h"
#include "app/check/server_deletion.h"
#include "app/forms/checks/check_runs.h"
#include "app/forms/checks/component_calls.h"
#include "app/forms/checks/operation_scope.h"
#include "app/forms/checks/server_session.h"
#include "app/forms/common/account_tabs.h"
#include "app/forms/email/email_page.h"
#include "app/forms/main_window/command_keys.h"
#include "app/forms/main_window/frm_main_design.h"
#include "app/general/check_status.h"
#include "app/general/message_store.h"
#include "app/general/server_operation.h"
#include "app/options/option_values.h"
#include "platform/ui/form.h"
#include "platform/ui/msg_box.h"

namespace {

constexpr const char* kDeleting = "deleting messages on the server";

}  // namespace

void EmailPage::WireDeletion() {
    commands_.Add(u"tbrEmail", u"EmailDelete", [this](int16_t) { mnuEmailDelete_Click(); });
    commands_.Add(u"tbrEmail", u"EmailSpam", [this](int16_t) { DeleteAllSpam(); });
    c_.mnuEmailDelete.Click = [this] { mnuEmailDelete_Click(); };
}

QStringList EmailPage::ChosenUids(int16_t a, bool spamMode) {
    using namespace modGeneral;
    QStringList uids;
    if (a < 1 || a > modAccounts::gAccountCount) return uids;
    const int16_t count = modAccounts::gAccounts[a].MsgCount;
    if (spamMode) {
        for (int m = 1; m <= count; ++m)
            if (Msg(a, m).Spam) uids << Msg(a, m).Uid;
        return uids;
    }
    // Each selected row names the message it shows, and only a message of
    // this account: a selection made in another account's list names none.
    for (int row = 1; row <= c_.lvwEmail.ItemCount(); ++row) {
        if (!c_.lvwEmail.Item(row).Selected()) continue;
        const MessageRef* listed = ListedMessage(row);
        if (listed && listed->account == a) uids << listed->uid;
    }
    return uids;
}

void EmailPage::DeleteMessagesByUid(int16_t a, const QStringList& uids, bool spamMode, bool confirm) {
    forms::RunServerOperation(operations_, kDeleting, [&](forms::OperationScope& operation) {
        DeleteMessagesOnServer(operation, a, uids, spamMode, confirm);
    });
}

void EmailPage::DeleteSelectedMessages(int16_t a, bool spamMode) {
    forms::RunServerOperation(operations_, kDeleting, [&](forms::OperationScope& operation) {
        DeleteMessagesOnServer(operation, a, ChosenUids(a, spamMode), spamMode);
    });
}

void EmailPage::DeleteMessagesOnServer(const forms::OperationScope& operation, int16_t a,
                                       const QStringList& uids, bool spamMode, bool confirm) {
    using namespace modAccounts;
    if (!operation.Started() || a < 1 || a > gAccountCount) return;
    const std::vector<bool> chosen = modCheck::ChosenRows(a, uids);
    if (!ConfirmDeletion(a, chosen, uids.count(QString()), spamMode, confirm)) return;

    QSet<QString> wanted;
    for (int m = 1; m <= gAccounts[a].MsgCount; ++m)
        if (chosen[m]) wanted.insert(modGeneral::Msg(a, m).Uid);
    QSet<QString> kept;
    if (!DeleteInSession(a, wanted, kept)) return;
    ShowDeletionResult(a, wanted, kept);
}

bool EmailPage::ConfirmDeletion(int16_t a, const std::vector<bool>& chosen, qsizetype unnamed, bool spamMode,
                                bool confirm) {
    const auto count = static_cast<int16_t>(std::count(chosen.begin(), chosen.end(), true));
    // The server is told which message to delete by its UID alone.
    if (unnamed > 0)
        vb::MsgBox(modCheck::NoIdentifierPrompt(unnamed, count > 0), vb::vbInformation,
                   modCheck::DeleteQuestionTitle(spamMode));
    if (count == 0) {
        if (unnamed == 0)
            vb::MsgBox(modCheck::NothingToDeletePrompt(spamMode), vb::vbInformation,
                       modCheck::DeleteQuestionTitle(spamMode));
        return false;
    }
    return !confirm || modOptions::gOpt.DeleteConfirmation != 1 ||
           vb::MsgBox(modCheck::DeleteQuestionPrompt(modAccounts::gAccounts[a].Name, count, spamMode),
                      vb::vbCritical + vb::vbYesNo, modCheck::DeleteQuestionTitle(spamMode)) == vb::vbYes;
}

bool EmailPage::DeleteInSession(int16_t a, const QSet<QString>& wanted, QSet<QString>& kept) {
    // A stop left over from an earlier check must not end this session.
    checks_.Record().UserStop = false;
    try {
        session_.PrepareConnection(a);
        forms::Check(forms::Pop3().Connect());
        if (!checks_.Record().Connected) {
            // Nothing was marked, so nothing leaves the store.
            session_.DisconnectAccount();
            return false;
        }
        forms::Check(forms::Messages()->GetAllHeaders());
        const int16_t onServer = forms::MessageCount();
        std::vector<std::pair<com::ComPtr<IPop3Msg>, QString>> marked;
        for (int j = 1; j <= onServer; ++j) {
            com::ComPtr<IPop3Msg> message = forms::Message(j);
            QString uid = forms::ReadText(*message, &IPop3Msg::get_Uid);
            if (!wanted.contains(uid)) continue;
            forms::Check(message->put_MarkDelete(com::VARIANT_TRUE));
            marked.emplace_back(std::move(message), std::move(uid));
        }
        // The deletions count only once QUIT has committed them: what is
        // still marked (a refused DELE, a QUIT not answered +OK) stayed on
        // the server, and stays listed.
        forms::Check(session_.DisconnectAccount());
        for (const auto& [message, uid] : marked)
            if (forms::MarkedForDeletion(*message)) kept.insert(uid);
    } catch (...) {
        const forms::CallFailure failure = forms::CurrentFailure();
        session_.DisconnectAccount();
        session_.ShowCallFailure(a, failure, QString::fromUtf16(modCheck::kDeleteFailureTitle));
        return false;
    }
    return true;
}

void EmailPage::ShowDeletionResult(int16_t a, QSet<QString> deleted, const QSet<QString>& kept) {
    using namespace modAccounts;
    // The deleted messages are found again by their UIDs: rows are no names
    // for messages once the session has let the window run.
    deleted.subtract(kept);
    const int16_t left = modCheck::CompactMessages(a, deleted);
    // The same words as after a check: one text for one count.
    gAccounts[a].Result = modCheck::CheckResultText(gAccounts[a].Name, true, left, false);
    // The account's tabs show its new count; the list shows the account whose
    // tab is selected, which the preview's account need not be.
    FillMessageList(a);
    if (const auto shown = static_cast<int16_t>(c_.TabStripEmail.SelectedItem()); shown != a)
        FillMessageList(shown);
    window_.SetMousePointer(0);
    if (kept.isEmpty()) return;
    const forms::CallFailure refusal = forms::LastError();
    vb::MsgBox(modCheck::DeleteRefusedPrompt(gAccounts[a].Name, static_cast<int16_t>(kept.size()),
                                             refusal.number, refusal.text),
               vb::vbExclamation, modGeneral::gAppName + QString::fromUtf16(modCheck::kDeleteRefusedTitle));
}

bool EmailPage::DeletionRefusedWhileBusy() {
    if (!modGeneral::ServerOperation::Running()) return false;
    vb::MsgBox(modCheck::DeleteWhileBusyPrompt(), vb::vbExclamation,
               modGeneral::gAppName + QString::fromUtf16(modCheck::kServerBusyTitle));
    return true;
}

void EmailPage::mnuEmailDelete_Click() {
    using namespace modAccounts;
    if (DeletionRefusedWhileBusy()) return;
    forms::RunServerOperation(operations_, kDeleting, [this](forms::OperationScope& operation) {
        // Chosen before retrieval mode touches the window.
        const QStringList uids = ChosenUids(gCurrentAccount, false);
        operation.PauseChecks();
        operation.EnterRetrieval(false);
        DeleteMessagesOnServer(operation, gCurrentAccount, uids, false);
        c_.TabStripEmail.Select(gCurrentAccount);
        modGeneral::gPrevAccount = 0;
        host_.TabStripEmail_Click();
        operation.LeaveRetrieval();
        operation.ResumeChecks();
    });
}

void EmailPage::DeleteOneMessage(int16_t a, const QString& uid) {
    forms::RunServerOperation(operations_, kDeleting, [&](forms::OperationScope& operation) {
        operation.PauseChecks();
        operation.EnterRetrieval(false);
        DeleteMessagesOnServer(operation, a, {uid}, false);
    });
}

void EmailPage::DeleteAllSpam() {
    using namespace modAccounts;
    forms::RunServerOperation(operations_, kDeleting, [this](forms::OperationScope& operation) {
        const int16_t current = gCurrentAccount;
        operation.PauseChecks();
        operation.EnterRetrieval(false);
        const int16_t last = gAccountCount;
        for (int i = 1; i <= last; ++i) {
            if (gAccounts[i].SpamCount <= 0) continue;
            c_.TabStripEmail.Select(i);
            modGeneral::gPrevAccount = 0;
            host_.TabStripEmail_Click();
            DeleteMessagesOnServer(operation, i, ChosenUids(i, true), true);
        }
        forms::ChooseAccountTab(c_.TabStripEmail, current);
        operation.LeaveRetrieval();
        operation.ResumeChecks();
    });
}
