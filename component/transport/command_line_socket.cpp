#include "component/transport/command_line_socket.h"

#include <sys/socket.h>

#include <algorithm>
#include <chrono>
#include <utility>

#include "component/transport/debug_trace.h"
#include "platform/loop/message_loop.h"
#include "platform/net/socket_error.h"
#include "qelpop3/qelpop3.h"

namespace component::transport {

CCommandLineSocket::CCommandLineSocket(CommandLineSocketOwner& socketOwner) : owner(socketOwner) {}

CCommandLineSocket::~CCommandLineSocket() { sendQueue.Reset(); }

bool CCommandLineSocket::QueueData(const void* bytes, std::uint32_t n) { return sendQueue.Append(bytes, n); }

bool CCommandLineSocket::SendString(std::string_view text) {
    if (!QueueString(text)) return false;
    Flush();
    return true;
}

int CCommandLineSocket::SendRaw(const void* bytes, int n) {
    if (tlsState == TlsPlain) return Send(bytes, n);
    platform::net::SetLastSocketError(platform::net::kErrWouldBlock);
    if (tlsState != TlsEstablished) return -1;
    const auto result = tls->Write(static_cast<const char*>(bytes), static_cast<std::size_t>(n));
    switch (result.status) {
        case TlsConnection::Io::Ok:
            return static_cast<int>(result.bytes);
        case TlsConnection::Io::WouldBlock:
            if (tls->WantsWrite()) RequestWriteNotification();
            return -1;
        case TlsConnection::Io::Closed:
        case TlsConnection::Io::Failed:
            break;
    }
    ReportConnectionError(platform::net::kErrConnectionAborted);
    platform::net::SetLastSocketError(platform::net::kErrConnectionAborted);
    return -1;
}

int CCommandLineSocket::Receive(void* buffer, int size) {
    if (tlsState == TlsPlain) return CqelWinSocket::Receive(buffer, size);
    platform::net::SetLastSocketError(platform::net::kErrWouldBlock);
    if (tlsState != TlsEstablished) return -1;
    // As many records as are there, up to `size`: one notification per
    // record would cost a loop pass each.
    auto* const area = static_cast<char*>(buffer);
    std::size_t got = 0;
    TlsConnection::IoResult result{TlsConnection::Io::Ok, 0};
    while (got < static_cast<std::size_t>(size)) {
        result = tls->Read(area + got, static_cast<std::size_t>(size) - got);
        if (result.status != TlsConnection::Io::Ok) break;
        got += result.bytes;
    }
    if (got > 0) {
        // Bytes OpenSSL holds already are not shown by the descriptor, and
        // neither is a failed record behind the data: OpenSSL repeats the
        // failure on the next read, which this notification asks for.
        if (tls->HasBufferedData() || result.status == TlsConnection::Io::Failed) RequestReadNotification();
        return static_cast<int>(got);
    }
    switch (result.status) {
        case TlsConnection::Io::Ok:
            return 0;
        case TlsConnection::Io::WouldBlock:
            if (tls->WantsWrite()) RequestWriteNotification();
            return -1;
        case TlsConnection::Io::Closed:
            return 0;
        case TlsConnection::Io::Failed:
            break;
    }
    ReportConnectionError(platform::net::kErrConnectionAborted);
    platform::net::SetLastSocketError(platform::net::kErrConnectionAborted);
    return -1;
}

bool CCommandLineSocket::StartTls(std::string_view host, X509* clientCert, EVP_PKEY* clientKey,
                                  bool implicit) {
    if (lineBuffer.GetLength() > 0 || Handle() < 0) return false;
    tls = TlsConnection::Create(Handle(), host, clientCert, clientKey);
    if (!tls) return false;
    tlsState = TlsHandshaking;
    implicitTls = implicit;
    canSend = false;
    // The first step (the ClientHello) goes out on the write notification,
    // outside the caller's reply handling.
    RequestWriteNotification();
    return true;
}

void CCommandLineSocket::FailTls(std::int32_t code) {
    // The trace holds the conversation only; the failure reaches the owner
    // as its code.
    tlsState = TlsPlain;
    Close();
    owner.OnConnected(code);
}

void CCommandLineSocket::NegotiateSsl() {
    if (checkingCertificate) return;
    if (tlsState == TlsHandshaking) {
        switch (tls->Handshake()) {
            case TlsConnection::Step::Pending:
                if (tls->WantsWrite()) RequestWriteNotification();
                return;
            case TlsConnection::Step::Failed:
                // Whatever went wrong (a protocol error, the server hanging
                // up, a system error) the session ends the same way.
                return FailTls(errSslHandshake);
            case TlsConnection::Step::Done:
                tlsState = TlsChecking;
                break;
        }
    }
    if (tlsState != TlsChecking) return;
    const std::vector<unsigned char> der = tls->PeerCertificateDer();
    if (der.empty()) return FailTls(platform::net::kErrConnectionAborted);

    // Nothing reaches the socket while the owner decides; what came in the
    // meantime is read once notifications are selected again.
    checkingCertificate = true;
    AsyncSelect(0);
    const auto alive = Alive();
    const bool accept = owner.OnHostCertificate(der, tls->VerifyCode());
    if (!alive) return;
    checkingCertificate = false;
    if (!accept) return FailTls(platform::net::kErrConnectionAborted);
    tlsState = TlsEstablished;
    canSend = true;
    AsyncSelect(platform::net::FD_READ | platform::net::FD_WRITE | platform::net::FD_CLOSE);
    RequestReadNotification();
    if (implicitTls) {
        owner.OnConnected(0);
        return;
    }
    static constexpr std::string_view kCompleted = "+OK SSL Completed\r\n";
    lineBuffer.Append(kCompleted.data(), static_cast<std::uint32_t>(kCompleted.size()));
    DeliverLines();
}

void CCommandLineSocket::Flush() {
    while (canSend && sendQueue.GetLength() > 0) {
        const auto block = static_cast<int>(std::min(sendQueue.GetLength(), kSendBlock));
        const int sent = SendRaw(sendQueue.GetData(), block);
        if (sent < 0) {
            canSend = false;
            break;
        }
        // Only what the socket accepted goes into the trace: a block that
        // would block is tried again later and must not appear twice.
        if (!owner.TraceFile().empty())
            LogRaw(owner.TraceFile(), sendQueue.GetData(), static_cast<std::size_t>(sent));
        bytesSent += static_cast<std::uint32_t>(sent);
        sendQueue.Consume(static_cast<std::uint32_t>(sent));
    }
}

CCommandLineSocket::FinalReply CCommandLineSocket::SendFinal(std::string_view text,
                                                             std::chrono::milliseconds wait,
                                                             const std::function<bool()>& abandoned) {
    using Outcome = FinalReply::Outcome;
    if (Handle() < 0 || !QueueString(text)) return {Outcome::NotSent, {}};
    // What came before the command answers earlier ones: its whole lines,
    // and the line its last bytes begin.
    while (lineBuffer.GetLine(nullptr) != nullptr) {
    }
    finalSkipLine = lineBuffer.GetLength() > 0;
    finalLine.reset();
    // From here on the socket's notifications serve only this wait; the
    // owner hears nothing more from it.
    finalWait = true;
    finalDone = false;
    canSend = true;
    FlushFinal();
    if (sendQueue.GetLength() > 0 && platform::net::LastSocketError() != platform::net::kErrWouldBlock)
        return {Outcome::NotSent, {}};
    // The wait runs the loop, so the program's windows and timers go on
    // while a silent server takes its time.
    const auto alive = Alive();
    bool expired = false;
    platform::loop::SourceHandle deadline;
    if (wait != kNoDeadline) deadline = platform::loop::StartOneShot(wait, [&expired] { expired = true; });
    AsyncSelect(platform::net::FD_READ | platform::net::FD_WRITE | platform::net::FD_CLOSE);
    bool gaveUp = false;
    while (alive && !finalDone && !expired && !(gaveUp = abandoned())) platform::loop::Pump();
    if (!alive || gaveUp) return {Outcome::Abandoned, {}};
    if (finalLine) return {Outcome::Answered, std::move(*finalLine)};
    if (!finalDone) return {Outcome::Silent, {}};
    return {sendQueue.GetLength() > 0 ? Outcome::NotSent : Outcome::Closed, {}};
}

void CCommandLineSocket::FlushFinal() {
    Flush();
    if (sendQueue.GetLength() > 0 || finalShut) return;
    finalShut = true;
    // Under TLS the server's TLS layer may take an early end of the stream
    // for the end of the session and drop the command still in its buffer.
    if (tlsState == TlsPlain) shutdown(Handle(), SHUT_WR);
}

void CCommandLineSocket::ReadFinalReply() {
    // Reading the answer (or the server's close) leaves nothing unread, so
    // closing sends an orderly end instead of a reset that could make the
    // server drop the command unread.
    const int n = Receive(receiveArea, kReceiveArea);
    if (n < 0) {
        finalDone = platform::net::LastSocketError() != platform::net::kErrWouldBlock;
        return;
    }
    if (n == 0) {
        finalDone = true;
        return;
    }
    if (!owner.TraceFile().empty()) LogRaw(owner.TraceFile(), receiveArea, static_cast<std::size_t>(n));
    if (!lineBuffer.Append(receiveArea, static_cast<std::uint32_t>(n))) {
        finalDone = true;
        return;
    }
    std::uint32_t length = 0;
    while (const char* at = lineBuffer.GetLine(&length)) {
        if (std::exchange(finalSkipLine, false)) continue;
        finalLine.emplace(at, length);
        finalDone = true;
        return;
    }
}

void CCommandLineSocket::OnReceive(int /*error*/) {
    if (finalWait) return ReadFinalReply();
    if (tlsState == TlsHandshaking || tlsState == TlsChecking) return NegotiateSsl();
    const int n = Receive(receiveArea, kReceiveArea);
    if (n > 0) {
        if (!owner.TraceFile().empty()) LogRaw(owner.TraceFile(), receiveArea, static_cast<std::size_t>(n));
        if (!lineBuffer.Append(receiveArea, static_cast<std::uint32_t>(n))) {
            // A line longer than the buffer may hold: splicing it would
            // corrupt it silently, so the session fails instead.
            owner.OnLineTooLong();
            return;
        }
    }
    DeliverLines();
}

void CCommandLineSocket::DeliverLines() {
    const auto alive = Alive();
    for (;;) {
        std::uint32_t length = 0;
        const char* at = lineBuffer.GetLine(&length);
        if (at == nullptr) return;
        // A copy: a handler that pumps the loop may let the next read move
        // the buffer under the line.
        std::string line = std::move(spareLine);
        line.assign(at, length);
        const bool go_on = owner.OnReplyLine(line);
        if (!alive) return;
        spareLine = std::move(line);
        if (!go_on) return;
    }
}

void CCommandLineSocket::OnSend(int /*error*/) {
    if (finalWait) {
        canSend = true;
        return FlushFinal();
    }
    if (tlsState == TlsHandshaking || tlsState == TlsChecking) return NegotiateSsl();
    canSend = true;
    Flush();
    if (!canSend) return;
    owner.OnSendReady();
}

void CCommandLineSocket::OnConnect(int error) { owner.OnConnected(error); }

void CCommandLineSocket::OnClose(int error) {
    if (finalWait) {
        finalDone = true;
        return;
    }
    // A hang-up before the handshake finished is a failed handshake like any
    // other, whatever the socket made of it.
    if (tlsState == TlsHandshaking) return FailTls(errSslHandshake);
    owner.OnClosed(error);
}

void CCommandLineSocket::OnTimer(int id) {
    if (!finalWait) owner.OnTimerTick(id);
}

}  // namespace component::transport
