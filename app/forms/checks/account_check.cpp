// One account checked against its mail server through the component, and
// the Accounts page's connection test.
#include "app/forms/checks/check_runs.h"
#include "app/forms/checks/server_session.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <algorithm>
#include <optional>
#include <utility>
#include <vector>

#include "app/accounts/account_table.h"
#include "app/check/check_texts.h"
#include "app/check/schedule.h"
#include "app/check/stored_message.h"
#include "app/common/date_text.h"
#include "app/common/flag_scope.h"
#include "app/forms/checks/component_calls.h"
#include "app/forms/checks/component_object.h"
#include "app/forms/checks/freed_memory.h"
#include "app/forms/checks/operation_scope.h"
#include "app/forms/email/message_list_refresh.h"
#include "app/forms/main_window/window_slots.h"
#include "app/forms/preview/attachment_names.h"
#include "app/general/check_status.h"
#include "app/general/message_store.h"
#include "app/options/option_values.h"
#include "app/rules/rule_engine.h"
#include "platform/loop/message_loop.h"
#include "platform/ui/msg_box.h"

namespace {

// From this size on a message is read from its file.
constexpr int64_t kLargeMessageBytes = 1 << 20;

// A failed or stopped account keeps its old rows but counts none of them.
void ZeroAccount(int16_t a) {
    using namespace modAccounts;
    gAccounts[a].MsgCount = 0;
    gAccounts[a].NewCount = 0;
    gAccounts[a].HasMail = false;
    gAccounts[a].HasNewMail = false;
    gAccounts[a].Connected = false;
    gAccounts[a].DeleteCount = 0;
    gAccounts[a].SpamCount = 0;
    gAccounts[a].Incomplete = false;
}

// A large message's bytes from its own file: the file kept with its header
// block read, else the file read whole; false when neither can be done.
bool ReadFromFile(IPop3Msg& msg, modCheck::DownloadedMessage& m) {
    if (std::shared_ptr<const modGeneral::KeptMessageFile> file = forms::KeepMessageFile(msg)) {
        if (std::optional<QByteArray> head = file->HeaderBlock()) {
            m.body = std::move(*head);
            m.file = std::move(file);
            return true;
        }
    }
    std::optional<QByteArray> bytes = forms::ReadMessageFile(msg);
    if (bytes) m.body = std::move(*bytes);
    return bytes.has_value();
}

modCheck::DownloadedMessage ReadMessage(IPop3Msg& msg, int64_t downloadedBytes) {
    modCheck::DownloadedMessage m;
    forms::Check(msg.get_Size(&m.size));
    m.from = forms::ReadText(msg, &IPop3Msg::get_From);
    m.to = forms::ReadText(msg, &IPop3Msg::get_To);
    m.subject = forms::ReadText(msg, &IPop3Msg::get_Subject);
    // A date the component cannot read leaves the message without one
    // instead of failing the whole account.
    m.date = forms::ReadDate(msg);
    // A large message stays in its own file, which the record keeps, and only
    // its header block is held: its Body text would cost several times its
    // size at once. Large by what arrived, since a server may send far more
    // than it listed. A file that cannot be kept is read whole.
    if (std::max<int64_t>(downloadedBytes, m.size) < kLargeMessageBytes || !ReadFromFile(msg, m))
        m.body = forms::ReadBytes(msg, &IPop3Msg::get_Body);
    m.plainText = forms::ReadUtf8(msg, &IPop3Msg::get_PlainText);
    m.uid = forms::ReadText(msg, &IPop3Msg::get_Uid);
    com::ComPtr<IPop3Attachments> attachments;
    forms::Check(msg.get_Attachments(attachments.ReleaseAndGetAddressOf()));
    int16_t count = 0;
    forms::Check(attachments->get_Count(&count));
    m.attachments = count;
    if (count > 0) m.attachmentNames = forms::AttachmentNames(msg);
    return m;
}

// The window's loop handles what waits for it: a pass over many messages
// gives way in slices this long, so the window never waits long for it.
constexpr qint64 kSliceMs = 4;
void LetLoopRun() {
    for (int i = 0; i < 32 && platform::loop::PumpPending(); ++i) {
    }
}

// Messages 1 to count of the download as records, in the server's order;
// incomplete tells whether one looks cut short by a lost connection. None
// when the user stopped the check (or the session ended) meanwhile: stop
// is the flag their stop raises.
std::optional<std::vector<modGeneral::StoredMessage>> ReadDownloaded(int count,
                                                                     const std::vector<int64_t>& downloaded,
                                                                     bool& incomplete, const bool& stop) {
    std::vector<modGeneral::StoredMessage> messages;
    messages.reserve(static_cast<size_t>(count));
    QElapsedTimer slice;
    slice.start();
    for (int m = 1; m <= count; ++m) {
        const auto index = static_cast<size_t>(m - 1);
        modCheck::DownloadedMessage message = ReadMessage(*forms::Message(static_cast<int16_t>(m)),
                                                          index < downloaded.size() ? downloaded[index] : 0);
        incomplete = incomplete || modCheck::LooksCutShort(message);
        messages.push_back(modCheck::ToStoredMessage(std::move(message)));
        if (slice.elapsed() < kSliceMs) continue;
        LetLoopRun();
        if (stop) return std::nullopt;
        slice.restart();
    }
    return messages;
}

}  // namespace

void CheckRuns::RetrieveAccountMessages(int16_t a) {
    using namespace modAccounts;
    try {
        session_.PrepareConnection(a);
        forms::Check(forms::Pop3().Connect());
        // A session that never greeted us has nothing to count.
        if (!run_.Connected) {
            session_.DisconnectAccount();
            ZeroAccount(a);
            return;
        }
        gAccounts[a].Connected = true;
        if (window_.WindowState() != vb::vbMinimized) c_.ProgressBar.SetVisible(true);
        // The load disconnects on every path, before it reads a message.
        LoadAccountMessages(a);
        if (run_.UserStop) ZeroAccount(a);
    } catch (...) {
        const forms::CallFailure failure = forms::CurrentFailure();
        session_.DisconnectAccount();
        const bool hidden = modOptions::gOpt.SuppressConnectErrors == 1 && failure.component &&
                            modCheck::SuppressedOnConnect(failure.number);
        // A connection the user stopped is no error to report.
        if (!hidden && !run_.UserStop)
            session_.ShowCallFailure(a, failure, QStringLiteral("Error Establishing Connection"));
        ZeroAccount(a);
    }
}

void CheckRuns::LoadAccountMessages(int16_t a) {
    using namespace modAccounts;
    using namespace modGeneral;
    try {
        gAccounts[a].Incomplete = false;
        gAccounts[a].HasNewMail = false;
        gAccounts[a].HasMail = false;
        gAccounts[a].NewCount = 0;
        gAccounts[a].DeleteCount = 0;
        gAccounts[a].SpamCount = 0;

        const int16_t serverCount = forms::MessageCount();
        if (modOptions::gOpt.QuickCheck == 1 && serverCount == gAccounts[a].MsgCount) {
            // The stored rows stand: nothing is downloaded.
            session_.DisconnectAccount();
        } else if (!DownloadAccountMessages(a, serverCount)) {
            return;
        }
        CountAccountMessages(a);
    } catch (...) {
        const forms::CallFailure failure = forms::CurrentFailure();
        session_.DisconnectAccount();
        const bool hidden = modOptions::gOpt.SuppressRetrieveErrors == 1 && failure.component &&
                            modCheck::SuppressedOnLoad(failure.number);
        if (!run_.UserStop && !hidden)
            session_.ShowCallFailure(a, failure, QStringLiteral("Error Processing Messages"));
        ZeroAccount(a);
    }
}

bool CheckRuns::DownloadAccountMessages(int16_t a, int16_t serverCount) {
    using namespace modAccounts;
    using namespace modGeneral;
    // The old messages go before the new ones arrive: whatever happens next,
    // the account counts none of them again. Their records are freed off
    // the window's thread.
    gAccounts[a].MsgCount = 0;
    forms::FreeElsewhere(std::exchange(AccountRow(a).Messages, {}));
    if (serverCount == 0) {
        session_.DisconnectAccount();
        return true;
    }
    session_.StartDownload(serverCount);
    forms::Check(forms::Messages()->GetAll());
    session_.DisconnectAccount();
    // A stop replaced the component: the account is discarded.
    if (run_.UserStop) return false;
    bool incomplete = false;
    std::optional<std::vector<StoredMessage>> read =
        ReadDownloaded(serverCount, session_.TakeDownloadedBytes(), incomplete, run_.UserStop);
    // The component keeps what it downloaded until its next session; the
    // store has it all now, so a fresh object takes the old one's place and
    // the mailbox is held once.
    session_.RenewComponent();
    LetLoopRun();
    if (!read) return false;
    AccountRow(a).Messages = std::move(*read);
    gAccounts[a].MsgCount = serverCount;
    gAccounts[a].Incomplete = incomplete;
    // The component lists no more than a 16-bit count of messages.
    gAccounts[a].MoreThanListed = serverCount == INT16_MAX;
    if (gAccounts[a].Incomplete) run_.IncompleteList += gAccounts[a].Name + QStringLiteral("\r\n");
    return true;
}

void CheckRuns::CountAccountMessages(int16_t a) {
    using namespace modAccounts;
    using namespace modGeneral;
    const int16_t count = gAccounts[a].MsgCount;
    gAccounts[a].HasMail = count > 0;
    const int16_t fresh = modCheck::MarkNewMessages(a);
    for (int m = 1; m <= count; ++m) modRules::ApplyRulesToMessage(a, static_cast<int16_t>(m));
    run_.TotalMsgCount += count;
    gAccounts[a].NewCount = fresh;
    gAccounts[a].HasNewMail = fresh > 0;
    run_.TotalNewCount += fresh;
    gAccounts[a].PrevMsgCount = count;
    if (modOptions::gOpt.MessageSort == 1) list_.SortMessageList(a, gSortKey);
}

void CheckRuns::CheckAccount(int16_t a) {
    using namespace modAccounts;
    using namespace modGeneral;
    if (a < 1 || a > gAccountCount) return;
    gAccounts[a].Checked = true;
    // The old rows are freed off the window's thread.
    forms::FreeElsewhere(c_.lvwEmail.TakeItems());
    RetrieveAccountMessages(a);
    gAccounts[a].Result = modCheck::CheckResultText(gAccounts[a].Name, gAccounts[a].Connected,
                                                    gAccounts[a].MsgCount, run_.UserStop);
    const QDateTime now = modCheck::gClock();
    gAccounts[a].CheckTime = FormatDate(now, "h:mm AM/PM");
    gAccounts[a].Status = QStringLiteral("Checked at: ") + gAccounts[a].CheckTime;
    gAccounts[0].Status = QStringLiteral("Checked: ") + gAccounts[a].CheckTime + QStringLiteral(" on ") +
                          FormatDate(now, "mmm d/yy");
    if (modOptions::gOpt.UseInterval == 1) {
        if (gAccounts[a].Enabled == 1) modCheck::SetNextAutoCheckTime(run_, 0);
    } else {
        run_.AutoCheckText = QStringLiteral("Auto Check Off");
    }
    // The old messages' release and the counting were work enough: the
    // loop runs before the list is filled.
    LetLoopRun();
    list_.FillMessageList(a);
    forms::ReturnFreedMemory();
}

void CheckRuns::TestAccountConnection(int16_t a) {
    if (a < 1 || a > modAccounts::gAccountCount) return;
    const forms::OperationScope operation(operations_, "testing a connection");
    if (operation.Started()) TestConnection(a);
}

bool CheckRuns::RunConnectionTest(int16_t a, const std::function<void()>& afterTest) {
    forms::OperationScope operation(
        operations_, ("testing the connection of \"" + modAccounts::gAccounts[a].Name + "\"").toStdString());
    if (!operation.Started()) return false;
    ShowAutoCheckStatus();
    operation.PauseChecks();
    // For the tab animation and the status texts, until the test ends.
    const FlagScope testing(run_.TestingAccount);
    operation.EnterRetrieval(false);
    TestConnection(a);
    afterTest();
    operation.LeaveRetrieval();
    operation.ResumeChecks();
    return true;
}

void CheckRuns::TestConnection(int16_t a) {
    using namespace modGeneral;
    // A stop left over from an earlier check must not end the test.
    run_.UserStop = false;
    try {
        session_.PrepareConnection(a);
        forms::Check(forms::Pop3().Connect());
        forms::Check(forms::Messages()->GetAllHeaders());
        session_.DisconnectAccount();
        if (run_.Connected)
            vb::MsgBox(modCheck::TestSucceededPrompt(), vb::vbInformation,
                       gAppName + QStringLiteral(" - Test Connection Successfull"));
    } catch (...) {
        const forms::CallFailure failure = forms::CurrentFailure();
        session_.DisconnectAccount();
        session_.ShowCallFailure(a, failure, QStringLiteral("Test Connection Failure"));
    }
}
