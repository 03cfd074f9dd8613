// The session engine of CqelPop3Com: connecting, the login steps, the
// listing, the DELE chain, QUIT, time-out and the blocking waits.
//
// Re-entrancy: every event may run client code that disconnects, connects
// again or releases the object. After each raise the engine compares the
// session generation it started with; when the session ended (or the object
// was finally released, which ends the session) it returns at once.
#include <openssl/crypto.h>

#include <cstdio>

#include "component/protocol/pop3_reply.h"
#include "component/protocol/qel_pop3_com.h"
#include "component/transport/debug_trace.h"
#include "component/transport/error_table.h"
#include "platform/loop/message_loop.h"
#include "platform/net/socket_error.h"
#include "platform/text/code_page.h"

namespace component::protocol {

namespace {

bool IsBetween(StatesEnum s, StatesEnum low, StatesEnum high) { return s >= low && s <= high; }

}  // namespace

// ---- Connect ---------------------------------------------------------------

HRESULT CqelPop3Com::Connect() {
    CallGuard guard(*this);
    if (state != Disconnected) return ReportError(errCannotConnectNow);
    if (socket) EndSession();
    if (hostname.empty()) return ReportError(errNoHostname);
    if (login.empty() || password.empty()) return ReportError(errNoLoginOrPassword);
    const std::string login8 = text::ToAnsi(login);
    const std::string password8 = text::ToAnsi(password);
    // A CR or LF would let the login inject commands of its own.
    if (HasCommandBreak(login8) || HasCommandBreak(password8)) return ReportError(errInvalidPropertyValue);

    ReplaceMessages();
    socket = std::make_unique<CCommandLineSocket>(static_cast<CommandLineSocketOwner&>(*this));
    if (!socket->Create()) {
        const std::int32_t code = socket->GetLastError();
        EndSession();
        return ReportError(code != 0 ? code : errOutOfMemory);
    }
    sessionLogin = login8;
    sessionPassword = password8;
    lastError = 0;
    loginStep = 0;
    idleSeconds = 0;
    if (timeout > 0) socket->SetTimer(1, kIdleTimerId);
    sessionFlags = 0;
    apopAllowed = true;
    userPassAllowed = true;
    const std::uint32_t gen = generation;
    if (!SetState(Connecting) || gen != generation) return E_FAIL;
    socket->AsyncSelect(platform::net::FD_READ | platform::net::FD_WRITE | platform::net::FD_CONNECT |
                        platform::net::FD_CLOSE);
    const std::string host8 = text::ToAnsi(hostname);
    if (!debugFile8.empty()) LogFormat(debugFile8, "Connecting to %s on port %d\r\n", host8.c_str(), port);
    if (socket->Connect(host8, static_cast<std::uint16_t>(port)) != 0) {
        const std::int32_t code = socket->GetLastError();
        if (code != platform::net::kErrWouldBlock) {
            // Fails at once (an unknown host): the session ends like any
            // other failed one, with its Disconnected event.
            lastError = code;
            lastErrorText = text::FromAnsi(LookupErrorText(code));
            EndSession();
            const HRESULT hr = ReportError(code);
            const std::u16string text = lastErrorText;
            const std::uint32_t ended = generation;
            if (SetState(Disconnected) && ended == generation) RaiseDisconnected(code, text);
            return hr;
        }
    }
    if (!blocking) return S_OK;

    for (;;) {
        sessionFlags = 0;
        while (socket && sessionFlags == 0 && !IsBetween(state, Connected, DeletingMessage) && lastError == 0) {
            WaitForEvents();
            if (IsZombie()) return E_FAIL;
        }
        if (IsZombie()) return E_FAIL;
        if ((sessionFlags & FlagLoggedIn) != 0 || (socket && IsBetween(state, Connected, DeletingMessage))) {
            return S_OK;
        }
        if (lastError != 0) return FailBlockingCall(true);
        if (!socket) return E_FAIL;
    }
}

HRESULT CqelPop3Com::FailBlockingCall(bool toDisconnected) {
    const std::int32_t code = lastError;
    const std::u16string text = lastErrorText;
    HRESULT hr;
    if ((code == errInvalidLogin || code == errCommandFailed) && !text.empty()) {
        hr = SetErrorInfoText(code, text);
    } else {
        hr = ReportError(code);
        lastErrorText = text;
    }
    if (toDisconnected) SetState(Disconnected);
    return hr;
}

// ---- Socket handlers -------------------------------------------------------

void CqelPop3Com::OnConnected(std::int32_t code) {
    CallGuard guard(*this);
    if (code != 0) {
        FailSession(code);
        return;
    }
    if (security == SecurityImplicit) {
        if (socket->GetTlsState() == CCommandLineSocket::TlsPlain) {
            BeginTls(true);
            return;
        }
        // The handshake is done and the certificate accepted: the greeting
        // comes next, through TLS.
        const std::uint32_t gen = generation;
        if (!SetState(EstablishedSSL) || gen != generation) return;
        SetState(Connecting);
        return;
    }
    SetState(LogonInProgress);
}

void CqelPop3Com::FailSession(std::int32_t code) {
    sessionFlags |= FlagConnectFailed;
    lastError = code;
    if ((code != errInvalidLogin && code != errCommandFailed) || lastErrorText.empty()) {
        lastErrorText = text::FromAnsi(LookupErrorText(code));
    }
    const std::u16string text = lastErrorText;
    EndSession();
    const std::uint32_t gen = generation;
    if (!SetState(Disconnected) || gen != generation) return;
    RaiseDisconnected(code, text);
}

bool CqelPop3Com::OnReplyLine(std::string_view line) {
    CallGuard guard(*this);
    idleSeconds = 0;
    const std::uint32_t gen = generation;
    switch (state) {
        case ReceivingMessage:
            return OnMessageData(line);
        case Connecting:
        case LogonInProgress:
        case ReadingMessageList:
        case NegotiatingSSL:
        case EstablishedSSL:
            RunLoginStep(line);
            break;
        case DeletingMessage:
            OnDeleReply(line);
            break;
        case Disconnected:
        case Connected:
            break;
    }
    return gen == generation && !IsZombie();
}

void CqelPop3Com::OnClosed(std::int32_t code) {
    CallGuard guard(*this);
    // A close without an error code while logging in, reading a message or
    // deleting is still a failure: the server hung up on us.
    if (code == 0 && state != Connected && state != Disconnected) code = 10054;
    lastError = code;
    lastErrorText = text::FromAnsi(LookupErrorText(code));
    const std::u16string text = lastErrorText;
    EndSession();
    const std::uint32_t gen = generation;
    if (!SetState(Disconnected) || gen != generation) return;
    if (RaiseDisconnected(code, text)) sessionFlags |= FlagClosed;
}

void CqelPop3Com::OnLineTooLong() {
    CallGuard guard(*this);
    lastErrorText = text::FromAnsi(LookupErrorText(errCommandFailed));
    FailSession(errCommandFailed);
}

void CqelPop3Com::OnTimerTick(int /*timerId*/) {
    CallGuard guard(*this);
    if (timeout <= 0) return;
    if (idleSeconds < INT16_MAX) ++idleSeconds;
    if (idleSeconds < timeout || state == Disconnected) return;
    lastError = errTimeout;
    lastErrorText = text::FromAnsi(LookupErrorText(errTimeout));
    const std::u16string text = lastErrorText;
    EndSession();
    const std::uint32_t gen = generation;
    if (!SetState(Disconnected) || gen != generation) return;
    RaiseDisconnected(errTimeout, text);
}

void CqelPop3Com::OnSendReady() {}

const std::string& CqelPop3Com::TraceFile() const { return debugFile8; }

// ---- Login -----------------------------------------------------------------

void CqelPop3Com::SendLine(std::string_view command) {
    if (!socket) return;
    std::string line(command);
    line += "\r\n";
    socket->SendString(line);
}

void CqelPop3Com::RunLoginStep(std::string_view line) {
    const std::uint32_t gen = generation;
    switch (loginStep) {
        case 0:
            if (!IsPositiveReply(line)) return FailSession(errInvalidGreeting);
            if (authentication == AuthAny || authentication == AuthAPOP) {
                apopTimestamp = FindApopTimestamp(line);
                if (apopTimestamp.empty()) {
                    if (authentication == AuthAPOP) return FailSession(errNoApop);
                    apopAllowed = false;
                }
            }
            loginStep = 1;
            [[fallthrough]];
        case 1:
            if (security == SecurityAllowed || security == SecurityRequired) {
                if (state != NegotiatingSSL) {
                    if (!SetState(NegotiatingSSL) || gen != generation) return;
                    SendLine("STLS");
                    return;
                }
                if (IsPositiveReply(line)) {
                    loginStep = 2;
                    BeginTls(false);
                    return;
                }
                if (security == SecurityRequired) return FailSession(errNoSsl);
                if (!SetState(LogonInProgress) || gen != generation) return;
            }
            loginStep = 2;
            return SendLogin();
        case 2:
            return SendLogin();
        case 3:
            if (!IsPositiveReply(line)) {
                lastErrorText = u"Invalid login or password.";
                return FailSession(errInvalidLogin);
            }
            SendLine("PASS " + sessionPassword);
            loginStep = 4;
            return;
        case 4:
            if (IsPositiveReply(line)) {
                SendLine("LIST");
                listIndex = 0;
                loginStep = 5;
                return;
            }
            if (apopAllowed || userPassAllowed) {
                loginStep = 2;
                return SendLogin();
            }
            lastErrorText = IsNegativeReply(line) ? u"Login ERROR: " + text::FromAnsi(ReplyText(line))
                                                  : u"Invalid login or password.";
            return FailSession(errInvalidLogin);
        case 5:
            return OnListLine(line);
        case 6:
            return OnUidlLine(line);
        default:
            if (loginStep < INT16_MAX) ++loginStep;
            return;
    }
}

void CqelPop3Com::SendLogin() {
    if ((authentication == AuthAny || authentication == AuthAPOP) && !apopTimestamp.empty() && apopAllowed) {
        SendLine("APOP " + sessionLogin + " " + ApopDigest(apopTimestamp, sessionPassword));
        if (authentication == AuthAPOP) userPassAllowed = false;
        apopAllowed = false;
        apopTimestamp.clear();
        loginStep = 4;
        return;
    }
    apopAllowed = false;
    userPassAllowed = false;
    SendLine("USER " + sessionLogin);
    loginStep = 3;
}

void CqelPop3Com::OnListLine(std::string_view line) {
    if (IsEndOfData(line)) {
        SendLine("UIDL");
        listIndex = 0;
        loginStep = 6;
        return;
    }
    if (IsNegativeReply(line)) {
        lastErrorText = u"Failed: " + text::FromAnsi(ReplyText(line));
        return FailSession(errCommandFailed);
    }
    if (IsPositiveReply(line)) return;
    messages->AppendListed(this, ParseListSize(line));
}

void CqelPop3Com::OnUidlLine(std::string_view line) {
    if (IsNegativeReply(line)) {
        lastErrorText = u"Invalid reply: " + text::FromAnsi(ReplyText(line));
        return FailSession(errCommandFailed);
    }
    if (IsPositiveReply(line)) return;
    if (IsEndOfData(line)) {
        const std::uint32_t gen = generation;
        if (!SetState(Connected) || gen != generation) return;
        if (!RaiseConnected() || gen != generation) return;
        sessionFlags |= FlagLoggedIn;
        loginStep = 7;
        return;
    }
    std::uint64_t number = 0;
    std::string uid;
    if (listIndex >= messages->Count() || !ParseUidlLine(line, number, uid)) return;
    if (number != listIndex + 1) return;
    messages->At(listIndex)->SetUid(uid);
    ++listIndex;
}

// ---- DELE chain and QUIT ---------------------------------------------------

void CqelPop3Com::OnDeleReply(std::string_view line) {
    const std::uint32_t gen = generation;
    if (!SetState(Connected) || gen != generation) return;
    if (IsNegativeReply(line)) {
        lastError = errDeleteFailed;
        lastErrorText = u"Failed: " + text::FromAnsi(ReplyText(line));
        const std::u16string text = lastErrorText;
        QuitAndClose();
        const std::uint32_t closed = generation;
        if (!SetState(Disconnected) || closed != generation) return;
        RaiseDisconnected(errDeleteFailed, text);
        return;
    }
    DeleteMarkedAndQuit(true);
}

HRESULT CqelPop3Com::DeleteMarkedAndQuit(bool fromReply) {
    CallGuard guard(*this);
    bool sent = false;
    if (socket && (state == Connected || state == DeletingMessage)) {
        for (std::uint32_t i = 0; i < messages->Count(); ++i) {
            CPop3Msg* msg = messages->At(i);
            if (!msg->MarkDeleteFlag()) continue;
            msg->SetMarkDeleteFlag(false);
            const std::uint32_t gen = generation;
            if (!SetState(DeletingMessage) || gen != generation) return E_FAIL;
            char command[32];
            std::snprintf(command, sizeof command, "DELE %u", i + 1);
            SendLine(command);
            sent = true;
            break;
        }
    }
    if (sent && fromReply) return S_OK;
    if (!fromReply) lastError = 0;
    sessionFlags = 0;
    if (sent && !blocking) return S_OK;
    if (sent) {
        for (;;) {
            while (socket && sessionFlags == 0 && state != Connected && state != Disconnected && lastError == 0) {
                WaitForEvents();
                if (IsZombie()) return E_FAIL;
            }
            if (IsZombie()) return E_FAIL;
            if ((sessionFlags & FlagClosed) != 0) return S_OK;
            if (lastError != 0) return FailBlockingCall(false);
            // Nothing more can happen when the session is gone or idle.
            if (!socket || state == Disconnected || state == Connected) return S_OK;
            sessionFlags = 0;
        }
    }
    QuitAndClose();
    if (state != Disconnected) {
        if (!SetState(Disconnected) || IsZombie()) return E_FAIL;
        RaiseDisconnected(0, u"");
    }
    return S_OK;
}

void CqelPop3Com::QuitAndClose() {
    if (!socket) return;
    // QUIT must reach the server, or it never commits the deletions. The
    // wait for its reply runs the loop: the socket leaves the session first,
    // so client code that runs meanwhile finds no session to send on.
    if (state == Connected) {
        const std::unique_ptr<CCommandLineSocket> closing = std::move(socket);
        closing->SendFinal("QUIT\r\n");
    }
    EndSession();
    sessionFlags |= FlagClosed;
}

void CqelPop3Com::EndSession() {
    socket.reset();
    AbortMessage();
    currentMessage = nullptr;
    getAllCursor = 0;
    if (!sessionPassword.empty()) OPENSSL_cleanse(sessionPassword.data(), sessionPassword.size());
    sessionPassword.clear();
    ++generation;
}

// ---- Blocking wait, SendCommand, Reset -------------------------------------

void CqelPop3Com::WaitForEvents() {
    if (sessionFlags != 0) return;
    platform::loop::Pump();
}

HRESULT CqelPop3Com::SendCommand(BSTR Command) {
    CallGuard guard(*this);
    if (state == Disconnected) return ReportError(errNotConnected);
    if (state != Connected) return ReportError(errBusy);
    const std::u16string command = std::u16string(com::BstrView(Command));
    if (!command.empty() && socket) SendLine(text::ToAnsi(command));
    return S_OK;
}

HRESULT CqelPop3Com::Reset() {
    CallGuard guard(*this);
    for (std::uint32_t i = 0; i < messages->Count(); ++i) messages->At(i)->SetMarkDeleteFlag(false);
    return S_OK;
}

HRESULT CqelPop3Com::Disconnect() { return DeleteMarkedAndQuit(false); }

}  // namespace component::protocol
