// Downloads of CqelPop3Com: RETR and TOP of one message or of a chain over
// the messages marked for getting, streamed line by line into the message's
// file (whole messages) or its memory data (headers).
#include <cstdio>

#include "component/protocol/pop3_reply.h"
#include "component/protocol/qel_pop3_com.h"
#include "component/transport/error_table.h"
#include "platform/text/code_page.h"

namespace component::protocol {

using transport::LookupErrorText;

bool CqelPop3Com::SendFetch(std::uint32_t index, std::int16_t lines) {
    char command[48];
    if (headersOnly) {
        // The count is widened with its sign and written unsigned.
        std::snprintf(command, sizeof command, "TOP %u %u", index + 1,
                      static_cast<std::uint32_t>(static_cast<std::int32_t>(lines)));
    } else {
        std::snprintf(command, sizeof command, "RETR %u", index + 1);
    }
    return SendLine(command);
}

HRESULT CqelPop3Com::FetchMessage(std::int16_t index, bool headersOnlyRequest, std::int16_t lines) {
    CallGuard guard(*this);
    if (state == Disconnected) return ReportError(errNotConnected);
    if (state != Connected) return ReportError(errBusy);
    if (index < 0 || static_cast<std::uint32_t>(index) >= messages->Count())
        return ReportError(errInvalidMessage);
    lastError = 0;
    fetchIndex = static_cast<std::uint32_t>(index);
    headersOnly = headersOnlyRequest;
    chainLines = lines;
    if (!SendFetch(fetchIndex, lines)) return ReportError(errOutOfMemory);
    if (!EnterState(ReceivingMessage)) return E_FAIL;
    if (!blocking) return S_OK;
    sessionFlags.Clear();
    if (!WaitWhile([&] { return socket && state != Connected; })) return E_FAIL;
    // Only a download that reached its end is a success: a session that
    // ended in the middle leaves an incomplete message.
    if (sessionFlags.Has(SessionFlag::RequestDone)) return S_OK;
    if (lastError != 0) return FailBlockingCall(false);
    return E_FAIL;
}

HRESULT CqelPop3Com::StartChain(bool headersOnlyRequest, std::int16_t lines) {
    CallGuard guard(*this);
    // Checked before the cursor and mode change, so that a refused call
    // leaves a running download alone.
    if (state == Disconnected) return ReportError(errNotConnected);
    if (state != Connected) return ReportError(errBusy);
    getAllCursor = 0;
    headersOnly = headersOnlyRequest;
    return FetchNext(lines, false);
}

HRESULT CqelPop3Com::FetchNext(std::int16_t lines, bool fromReply) {
    CallGuard guard(*this);
    if (getAllCursor == 0) {
        if (state == Disconnected) return ReportError(errNotConnected);
        if (state != Connected) return ReportError(errBusy);
        lastError = 0;
    }
    const std::uint32_t count = messages->Count();
    if (count == 0) return S_OK;
    do {
        fetchIndex = getAllCursor;
        ++getAllCursor;
        if (fetchIndex == count) {
            getAllCursor = 0;
            break;
        }
    } while (!messages->At(fetchIndex)->MarkGetFlag());

    const std::uint32_t gen = generation;
    if (getAllCursor != 0) {
        chainLines = lines;
        if (!SendFetch(fetchIndex, lines)) {
            getAllCursor = 0;
            return ReportError(errOutOfMemory);
        }
        if (!EnterState(ReceivingMessage)) return E_FAIL;
        if (fromReply || !blocking) return S_OK;
        sessionFlags.Clear();
        if (!WaitWhile([&] { return gen == generation && state != Connected; })) return E_FAIL;
        // The session ended in the middle: a dropped connection reports its
        // error; a Disconnect of the client's own has none to report.
        if (gen != generation) return lastError != 0 ? FailBlockingCall(false) : E_FAIL;
        const bool done = sessionFlags.Has(SessionFlag::RequestDone);
        if (!done && lastError != 0) return FailBlockingCall(false);
        if (!done) sessionFlags.Clear();
        return S_OK;
    }
    if (!EnterState(Connected)) return fromReply ? S_OK : E_FAIL;
    if (RaiseDone(0, u"", headersOnly) && gen == generation) sessionFlags.Set(SessionFlag::RequestDone);
    return S_OK;
}

bool CqelPop3Com::OpenMessage() {
    currentMessage = messages->Ref(fetchIndex);
    currentMessage->PrepareDownload(headersOnly);
    bytesReceived = 0;
    expectedSize = currentMessage->SizeValue();
    if (headersOnly) {
        messageFile = MessageFile::Memory;
        return true;
    }
    if (!currentMessage->BeginDownload(expectedSize)) return false;
    messageFile = MessageFile::Whole;
    return true;
}

void CqelPop3Com::AbortMessage() {
    if ((messageFile == MessageFile::Whole || messageFile == MessageFile::Memory) && currentMessage) {
        currentMessage->DropDownload();
    }
    messageFile = MessageFile::None;
}

bool CqelPop3Com::FailMessageFile(std::uint32_t gen) {
    messageFile = MessageFile::None;
    getAllCursor = 0;
    lastError = errCannotCreateFile;
    lastErrorText = text::FromAnsi(LookupErrorText(errCannotCreateFile));
    if (!EnterState(Connected)) return false;
    RaiseDone(errCannotCreateFile, lastErrorText, headersOnly);
    return gen == generation && !IsZombie();
}

bool CqelPop3Com::OnMessageData(std::string_view line) {
    const std::uint32_t gen = generation;
    auto stillHere = [&](bool referenced) { return referenced && gen == generation && !IsZombie(); };

    if (messageFile == MessageFile::None) {
        if (IsPositiveReply(line)) {
            if (OpenMessage()) return stillHere(RaiseProgress(0, expectedSize));
            // The file cannot be written: the reply's lines are read and
            // dropped up to its end, then the request fails with 30007.
            currentMessage = nullptr;
            messageFile = MessageFile::Discard;
            return true;
        }
        getAllCursor = 0;
        lastError = errCommandFailed;
        lastErrorText = text::FromAnsi(LookupErrorText(errCommandFailed));
        if (!EnterState(Connected)) return false;
        RaiseDone(errCommandFailed, lastErrorText, headersOnly);
        return stillHere(true);
    }

    if (!IsEndOfData(line)) {
        const std::string_view data = UnstuffDataLine(line);
        switch (messageFile) {
            case MessageFile::Whole:
                if (!currentMessage->AppendDownload(data)) {
                    // The rest of the reply is read and dropped; its end
                    // fails the request with 30007.
                    currentMessage->DropDownload();
                    currentMessage = nullptr;
                    messageFile = MessageFile::Discard;
                    return true;
                }
                break;
            case MessageFile::Memory:
                currentMessage->AppendMemoryLine(data);
                break;
            case MessageFile::Discard:
                return true;
            case MessageFile::None:
                break;
        }
        bytesReceived += static_cast<std::int32_t>(data.size() + 2);
        return stillHere(RaiseProgress(bytesReceived, expectedSize));
    }

    if (messageFile == MessageFile::Discard) return FailMessageFile(gen);

    const bool headers = messageFile == MessageFile::Memory;
    const std::int64_t length = headers ? 0 : currentMessage->FinishDownload();
    messageFile = MessageFile::None;
    if (length < 0) {
        // The file lost data: the message was not received.
        currentMessage->DropDownload();
        currentMessage = nullptr;
        return FailMessageFile(gen);
    }
    MsgRef held = currentMessage;
    if (bytesReceived != expectedSize && !stillHere(RaiseProgress(expectedSize, expectedSize))) return false;
    if (headers) {
        held->SetEndOffset(0);
        held->AppendMemoryLine("");
    } else {
        held->SetEndOffset(length);
    }
    if (!stillHere(RaiseReceived(held.Get(), headers))) return false;
    held = nullptr;
    currentMessage = nullptr;
    if (getAllCursor != 0) {
        FetchNext(chainLines, true);
        return gen == generation && !IsZombie();
    }
    if (!EnterState(Connected)) return false;
    if (RaiseDone(0, u"", headersOnly) && gen == generation) sessionFlags.Set(SessionFlag::RequestDone);
    return stillHere(true);
}

}  // namespace component::protocol
