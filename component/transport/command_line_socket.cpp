#include "component/transport/command_line_socket.h"

#include <poll.h>
#include <sys/socket.h>

#include <algorithm>
#include <chrono>

#include "component/transport/debug_trace.h"
#include "platform/net/socket_error.h"

namespace component::transport {

namespace {

// How long the last command of a session may take to leave and be answered.
constexpr auto kFinalWait = std::chrono::milliseconds(2000);

int RemainingMs(std::chrono::steady_clock::time_point deadline) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    return static_cast<int>(std::max<std::int64_t>(0, left.count()));
}

}  // namespace

CCommandLineSocket::CCommandLineSocket(CommandLineSocketOwner& socketOwner) : owner(socketOwner) {}

CCommandLineSocket::~CCommandLineSocket() { sendQueue.Reset(); }

void CCommandLineSocket::QueueData(const void* bytes, std::uint32_t n) { sendQueue.Append(bytes, n); }

void CCommandLineSocket::SendString(std::string_view text) {
    QueueString(text);
    Flush();
}

int CCommandLineSocket::SendRaw(const void* bytes, int n) { return Send(bytes, n); }

int CCommandLineSocket::Receive(void* buffer, int size) { return CqelWinSocket::Receive(buffer, size); }

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
        if (!owner.TraceFile().empty()) LogRaw(owner.TraceFile(), sendQueue.GetData(), static_cast<std::size_t>(sent));
        bytesSent += static_cast<std::uint32_t>(sent);
        sendQueue.Consume(static_cast<std::uint32_t>(sent));
    }
}

void CCommandLineSocket::SendFinal(std::string_view text) {
    QueueString(text);
    const auto deadline = std::chrono::steady_clock::now() + kFinalWait;
    const int fd = Handle();
    if (fd < 0) return;
    canSend = true;
    for (;;) {
        Flush();
        if (sendQueue.GetLength() == 0) break;
        if (platform::net::LastSocketError() != platform::net::kErrWouldBlock) return;
        pollfd p{fd, POLLOUT, 0};
        if (poll(&p, 1, RemainingMs(deadline)) <= 0) return;
        canSend = true;
    }
    shutdown(fd, SHUT_WR);
    // Reading the answer (or the server's close) leaves nothing unread, so
    // closing sends an orderly end instead of a reset that could make the
    // server drop the command unread.
    for (;;) {
        pollfd p{fd, POLLIN, 0};
        if (poll(&p, 1, RemainingMs(deadline)) <= 0) return;
        char scratch[512];
        const ssize_t n = recv(fd, scratch, sizeof scratch, MSG_DONTWAIT);
        if (n <= 0) return;
        if (!owner.TraceFile().empty()) LogRaw(owner.TraceFile(), scratch, static_cast<std::size_t>(n));
        if (std::find(scratch, scratch + n, '\n') != scratch + n) return;
    }
}

void CCommandLineSocket::OnReceive(int /*error*/) {
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
    const auto alive = Alive();
    for (;;) {
        std::uint32_t length = 0;
        const char* at = lineBuffer.GetLine(&length);
        if (at == nullptr) return;
        // A copy: a handler that pumps the loop may let the next read move
        // the buffer under the line.
        const std::string line(at, length);
        const bool go_on = owner.OnReplyLine(line);
        if (!alive || !go_on) return;
    }
}

void CCommandLineSocket::OnSend(int /*error*/) {
    canSend = true;
    Flush();
    if (!canSend) return;
    owner.OnSendReady();
}

void CCommandLineSocket::OnConnect(int error) { owner.OnConnected(error); }

void CCommandLineSocket::OnClose(int error) { owner.OnClosed(error); }

void CCommandLineSocket::OnTimer(int id) { owner.OnTimerTick(id); }

}  // namespace component::transport
