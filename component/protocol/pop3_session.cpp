// The session engine of CqelPop3Com: connecting, the login steps, the
// listing, the DELE chain, QUIT, time-out and the blocking waits.
//
// Re-entrancy: every event may run client code that disconnects, connects
// again or releases the object. After each raise the engine compares the
// session generation it started with; when the session ended (or the object
// was finally released, which ends the session) it returns at once.
#include <openssl/crypto.h>

#include <algorithm>
#include <chrono>
#include <cstdio>

#include "component/protocol/exception_barrier.h"
#include "component/protocol/pop3_reply.h"
#include "component/protocol/qel_pop3_com.h"
#include "component/transport/debug_trace.h"
#include "component/transport/error_table.h"
#include "platform/loop/message_loop.h"
#include "platform/net/socket_error.h"
#include "platform/text/code_page.h"

namespace component::protocol {

using transport::CCommandLineSocket;
using transport::CommandLineSocketOwner;
using transport::LogFormat;
using transport::LookupErrorText;

namespace {

bool IsBetween(StatesEnum s, StatesEnum low, StatesEnum high) { return s >= low && s <= high; }

// A listing holds one line per message counted before it; a reply that runs
// this far past the count never ends, and the idle time-out (which every line
// restarts) would never end it either. Nor may a count the server made up
// let it run on: no real mailbox comes near a million messages.
constexpr std::uint64_t kListingMargin = 1000;
constexpr std::uint64_t kMaxListingLines = 1000000;

std::uint64_t ListingBound(std::uint64_t count) { return std::min(count + kListingMargin, kMaxListingLines); }

// How long QUIT may take to be answered when no deletion waits on it.
constexpr std::chrono::milliseconds kQuitWait(2000);

}  // namespace

// ---- Connect ---------------------------------------------------------------

HRESULT CqelPop3Com::Connect() try {
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
    SetLoginStep(LoginStep::Greeting);
    idleSeconds = 0;
    if (timeout > 0) socket->SetTimer(1, kIdleTimerId);
    sessionFlags.Clear();
    apopAllowed = true;
    userPassAllowed = true;
    if (!EnterState(Connecting)) return E_FAIL;
    socket->AsyncSelect(platform::net::FD_READ | platform::net::FD_WRITE | platform::net::FD_CONNECT |
                        platform::net::FD_CLOSE);
    const std::string host8 = text::ToAnsi(hostname);
    if (!debugFile8.empty()) LogFormat(debugFile8, "Connecting to %s on port %d\r\n", host8.c_str(), port);
    if (socket->Connect(host8, static_cast<std::uint16_t>(port)) != 0) {
        const std::int32_t code = socket->GetLastError();
        if (code != platform::net::kErrWouldBlock) {
            // Fails at once (an unknown host): the session ends like any
            // other failed one, with its Disconnected event.
            const HRESULT hr = ReportError(code);
            const std::u16string text = lastErrorText;
            EndAndReportDisconnected(code, text);
            return hr;
        }
    }
    if (!blocking) return S_OK;

    for (;;) {
        sessionFlags.Clear();
        if (!WaitWhile([&] { return socket && !IsBetween(state, Connected, DeletingMessage); }))
            return E_FAIL;
        if (sessionFlags.Has(SessionFlag::LoggedIn) ||
            (socket && IsBetween(state, Connected, DeletingMessage))) {
            return S_OK;
        }
        if (lastError != 0) return FailBlockingCall(true);
        if (!socket) return E_FAIL;
    }
} catch (...) {
    return ExceptionResult();
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
        if (!EnterState(EstablishedSSL)) return;
        SetState(Connecting);
        return;
    }
    SetState(LogonInProgress);
}

void CqelPop3Com::FailSession(std::int32_t code) {
    sessionFlags.Set(SessionFlag::ConnectFailed);
    lastError = code;
    if ((code != errInvalidLogin && code != errCommandFailed) || lastErrorText.empty()) {
        lastErrorText = text::FromAnsi(LookupErrorText(code));
    }
    const std::u16string text = lastErrorText;
    EndAndReportDisconnected(code, text);
}

bool CqelPop3Com::EndAndReportDisconnected(std::int32_t code, const std::u16string& text) {
    EndSession();
    if (!EnterState(Disconnected)) return false;
    return RaiseDisconnected(code, text);
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
    if (code == 0 && state != Connected && state != Disconnected) code = platform::net::kErrConnectionReset;
    lastError = code;
    lastErrorText = text::FromAnsi(LookupErrorText(code));
    const std::u16string text = lastErrorText;
    if (EndAndReportDisconnected(code, text)) sessionFlags.Set(SessionFlag::Closed);
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
    EndAndReportDisconnected(errTimeout, text);
}

void CqelPop3Com::OnSendReady() {}

const std::string& CqelPop3Com::TraceFile() const { return debugFile8; }

// ---- Login -----------------------------------------------------------------

bool CqelPop3Com::SendLine(std::string_view command) {
    if (!socket) return false;
    std::string line(command);
    line += "\r\n";
    return socket->SendString(line);
}

// Each step handles the reply it waits for; a step moves on only once the
// command that leads to the next one is queued.
void CqelPop3Com::RunLoginStep(std::string_view line) {
    switch (loginStep) {
        case LoginStep::Greeting:
            if (!IsPositiveReply(line)) return FailSession(errInvalidGreeting);
            if (authentication == AuthAny || authentication == AuthAPOP) {
                apopTimestamp = FindApopTimestamp(line);
                if (apopTimestamp.empty()) {
                    if (authentication == AuthAPOP) return FailSession(errNoApop);
                    apopAllowed = false;
                }
            }
            SetLoginStep(LoginStep::StlsReply);
            [[fallthrough]];
        case LoginStep::StlsReply:
            if (security == SecurityAllowed || security == SecurityRequired) {
                if (state != NegotiatingSSL) {
                    if (!SendLine("STLS")) return;
                    SetState(NegotiatingSSL);
                    return;
                }
                if (IsPositiveReply(line)) {
                    SetLoginStep(LoginStep::Login);
                    BeginTls(false);
                    return;
                }
                if (security == SecurityRequired) return FailSession(errNoSsl);
                if (!EnterState(LogonInProgress)) return;
            }
            SetLoginStep(LoginStep::Login);
            return SendLogin();
        case LoginStep::Login:
            return SendLogin();
        case LoginStep::UserReply:
            if (!IsPositiveReply(line)) {
                lastErrorText = u"Invalid login or password.";
                return FailSession(errInvalidLogin);
            }
            if (SendLine("PASS " + sessionPassword)) SetLoginStep(LoginStep::PassReply);
            return;
        case LoginStep::PassReply:
            if (IsPositiveReply(line)) {
                if (SendLine("STAT")) SetLoginStep(LoginStep::StatReply);
                return;
            }
            if (apopAllowed || userPassAllowed) {
                SetLoginStep(LoginStep::Login);
                return SendLogin();
            }
            lastErrorText = IsNegativeReply(line) ? u"Login ERROR: " + text::FromAnsi(ReplyText(line))
                                                  : u"Invalid login or password.";
            return FailSession(errInvalidLogin);
        case LoginStep::StatReply:
            return OnStatReply(line);
        case LoginStep::ListLines:
            return OnListLine(line);
        case LoginStep::UidlLines:
            return OnUidlLine(line);
        case LoginStep::LoggedIn:
            return;
    }
}

void CqelPop3Com::SendLogin() {
    if ((authentication == AuthAny || authentication == AuthAPOP) && !apopTimestamp.empty() && apopAllowed) {
        if (!SendLine("APOP " + sessionLogin + " " + ApopDigest(apopTimestamp, sessionPassword))) return;
        if (authentication == AuthAPOP) userPassAllowed = false;
        apopAllowed = false;
        apopTimestamp.clear();
        SetLoginStep(LoginStep::PassReply);
        return;
    }
    apopAllowed = false;
    userPassAllowed = false;
    if (SendLine("USER " + sessionLogin)) SetLoginStep(LoginStep::UserReply);
}

void CqelPop3Com::OnStatReply(std::string_view line) {
    std::uint32_t count = 0;
    if (!ParseStatCount(line, count)) {
        const std::string text = IsNegativeReply(line) ? ReplyText(line) : std::string(line);
        lastErrorText = u"Invalid reply: " + text::FromAnsi(text);
        return FailSession(errCommandFailed);
    }
    if (!SendLine("LIST")) return;
    listIndex = 0;
    listingLines = 0;
    listingLimit = ListingBound(count);
    SetLoginStep(LoginStep::ListLines);
}

bool CqelPop3Com::TakeListingLine() {
    if (++listingLines <= listingLimit) return true;
    lastErrorText = u"Invalid reply: the message list is longer than the mailbox.";
    FailSession(errCommandFailed);
    return false;
}

void CqelPop3Com::OnListLine(std::string_view line) {
    if (IsEndOfData(line)) {
        if (!SendLine("UIDL")) return;
        listIndex = 0;
        listingLimit = ListingBound(listingLines);
        listingLines = 0;
        SetLoginStep(LoginStep::UidlLines);
        return;
    }
    if (!TakeListingLine()) return;
    if (IsNegativeReply(line)) {
        lastErrorText = u"Failed: " + text::FromAnsi(ReplyText(line));
        return FailSession(errCommandFailed);
    }
    if (IsPositiveReply(line)) return;
    messages->AppendListed(this, ParseListSize(line));
}

void CqelPop3Com::OnUidlLine(std::string_view line) {
    if (!IsEndOfData(line) && !TakeListingLine()) return;
    if (IsNegativeReply(line)) {
        lastErrorText = u"Invalid reply: " + text::FromAnsi(ReplyText(line));
        return FailSession(errCommandFailed);
    }
    if (IsPositiveReply(line)) return;
    if (IsEndOfData(line)) {
        const std::uint32_t gen = generation;
        if (!EnterState(Connected)) return;
        if (!RaiseConnected() || gen != generation) return;
        sessionFlags.Set(SessionFlag::LoggedIn);
        SetLoginStep(LoginStep::LoggedIn);
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
    if (!EnterState(Connected)) return;
    if (IsNegativeReply(line)) {
        // The refused message keeps its mark, as do the marked ones after it
        // that are never sent; QUIT still commits the ones accepted before.
        lastError = errDeleteFailed;
        lastErrorText = u"Failed: " + text::FromAnsi(ReplyText(line));
        QuitAndClose();
        const std::u16string text = lastErrorText;
        if (EnterState(Disconnected)) RaiseDisconnected(errDeleteFailed, text);
        return;
    }
    // Only a positive reply counts: a message the server may have kept must
    // not be taken for deleted.
    if (IsPositiveReply(line)) acceptedDeletions.push_back(deleteIndex);
    DeleteMarkedAndQuit(true);
}

HRESULT CqelPop3Com::DeleteMarkedAndQuit(bool fromReply) {
    CallGuard guard(*this);
    bool sent = false;
    // Only an idle session deletes and says QUIT; one with a command
    // outstanding (logging in, listing, downloading, deleting) ends at once,
    // so a client can stop it at any stage. Marks stay set until QUIT
    // commits the deletions.
    if (socket && state == Connected) {
        if (!fromReply) acceptedDeletions.clear();
        for (std::uint32_t i = fromReply ? deleteIndex + 1 : 0; i < messages->Count(); ++i) {
            if (!messages->At(i)->MarkDeleteFlag()) continue;
            char command[32];
            std::snprintf(command, sizeof command, "DELE %u", i + 1);
            if (!SendLine(command)) break;
            deleteIndex = i;
            if (!EnterState(DeletingMessage)) return E_FAIL;
            sent = true;
            break;
        }
    }
    if (sent && fromReply) return S_OK;
    if (!fromReply) lastError = 0;
    sessionFlags.Clear();
    if (sent && !blocking) return S_OK;
    if (sent) {
        for (;;) {
            if (!WaitWhile([&] { return socket && state != Connected && state != Disconnected; }))
                return E_FAIL;
            if (sessionFlags.Has(SessionFlag::QuitSent)) return S_OK;
            if (lastError != 0) return FailBlockingCall(false);
            // Ended without QUIT (the client stopped it): nothing was deleted.
            if (!socket || state == Disconnected) return E_FAIL;
            if (state == Connected) return S_OK;
            sessionFlags.Clear();
        }
    }
    const bool committed = QuitAndClose();
    if (state != Disconnected) {
        const std::u16string text = committed ? std::u16string() : lastErrorText;
        if (!SetState(Disconnected) || IsZombie()) return E_FAIL;
        RaiseDisconnected(committed ? 0 : errDeleteFailed, text);
    }
    return S_OK;
}

bool CqelPop3Com::QuitAndClose() {
    if (!socket) return true;
    // QUIT must reach the server, or it never commits the deletions. The
    // wait for its reply runs the loop: the socket leaves the session first,
    // so client code that runs meanwhile finds no session to send on, and a
    // Disconnect or release there ends the wait.
    const bool quit = state == Connected;
    bool committed = true;
    if (quit) {
        const std::unique_ptr<CCommandLineSocket> closing = std::move(socket);
        const bool committing = !acceptedDeletions.empty();
        // A server may take its time over the deletions; without any it is
        // given a short while only.
        const std::chrono::milliseconds wait = !committing   ? kQuitWait
                                               : timeout > 0 ? std::chrono::milliseconds(timeout * 1000)
                                                             : CCommandLineSocket::kNoDeadline;
        const std::uint32_t gen = generation;
        const CCommandLineSocket::FinalReply reply =
            closing->SendFinal("QUIT\r\n", wait, [&] { return gen != generation || state == Disconnected; });
        if (committing && reply.outcome != CCommandLineSocket::FinalReply::Outcome::Abandoned)
            committed = CommitDeletions(reply);
    }
    acceptedDeletions.clear();
    EndSession();
    sessionFlags.Set(SessionFlag::Closed);
    if (quit) sessionFlags.Set(SessionFlag::QuitSent);
    return committed;
}

bool CqelPop3Com::CommitDeletions(const CCommandLineSocket::FinalReply& reply) {
    using Outcome = CCommandLineSocket::FinalReply::Outcome;
    if (reply.outcome == Outcome::Answered && IsPositiveReply(reply.line)) {
        for (const std::uint32_t i : acceptedDeletions)
            if (i < messages->Count()) messages->At(i)->SetMarkDeleteFlag(false);
        return true;
    }
    // The server removes nothing unless it answers QUIT with +OK: every
    // message stays marked, and the failure is the deletion's.
    lastError = errDeleteFailed;
    switch (reply.outcome) {
        case Outcome::Answered:
            lastErrorText = IsNegativeReply(reply.line) ? u"Failed: " + text::FromAnsi(ReplyText(reply.line))
                                                        : u"Invalid reply: " + text::FromAnsi(reply.line);
            break;
        case Outcome::Closed:
            lastErrorText = u"Failed: the connection closed before the server answered QUIT.";
            break;
        case Outcome::Silent:
            lastErrorText = u"Failed: the server did not answer QUIT.";
            break;
        case Outcome::NotSent:
        case Outcome::Abandoned:
            lastErrorText = u"Failed: QUIT could not be sent.";
            break;
    }
    return false;
}

void CqelPop3Com::EndSession() {
    socket.reset();
    acceptedDeletions.clear();
    AbortMessage();
    currentMessage = nullptr;
    getAllCursor = 0;
    if (!sessionPassword.empty()) OPENSSL_cleanse(sessionPassword.data(), sessionPassword.size());
    sessionPassword.clear();
    ++generation;
}

// ---- Blocking wait, SendCommand, Reset -------------------------------------

void CqelPop3Com::WaitForEvents() {
    if (sessionFlags.Any()) return;
    platform::loop::Pump();
}

HRESULT CqelPop3Com::SendCommand(BSTR Command) try {
    CallGuard guard(*this);
    if (state == Disconnected) return ReportError(errNotConnected);
    if (state != Connected) return ReportError(errBusy);
    const std::u16string command = std::u16string(com::BstrView(Command));
    if (!command.empty() && socket) SendLine(text::ToAnsi(command));
    return S_OK;
} catch (...) {
    return ExceptionResult();
}

HRESULT CqelPop3Com::Reset() try {
    CallGuard guard(*this);
    for (std::uint32_t i = 0; i < messages->Count(); ++i) messages->At(i)->SetMarkDeleteFlag(false);
    return S_OK;
} catch (...) {
    return ExceptionResult();
}

HRESULT CqelPop3Com::Disconnect() try { return DeleteMarkedAndQuit(false); } catch (...) {
    return ExceptionResult();
}

}  // namespace component::protocol
