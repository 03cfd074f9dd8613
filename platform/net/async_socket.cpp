#include "platform/net/async_socket.h"

#include <arpa/inet.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <map>
#include <utility>

#include "platform/loop/fd_watch.h"
#include "platform/loop/message_loop.h"
#include "platform/net/resolver.h"
#include "platform/net/sigpipe.h"
#include "platform/net/socket_error.h"

namespace platform::net {
namespace {

enum class Phase {
    Idle,        // no descriptor, or opened and not connecting
    Resolving,   // the host name is being looked up; FD_CONNECT follows
    Connecting,  // waiting for the outcome that FD_CONNECT reports
    Connected,
    Failed,  // the connect failed; nothing more is reported
    Closed,  // FD_CLOSE was delivered; nothing more is reported
};

int Fail(int error) {
    SetLastSocketError(error);
    return -1;
}

// Results of a non-blocking connect that Windows reports through FD_CONNECT
// rather than from the call itself.
bool ReportedAsynchronously(int e) {
    switch (e) {
        case 0:
        case EINPROGRESS:
        case EINTR:
        case ECONNREFUSED:
        case ECONNRESET:
        case ENETDOWN:
        case ENETUNREACH:
        case EHOSTUNREACH:
        case ETIMEDOUT:
            return true;
        default:
            return false;
    }
}

int PendingSocketError(int fd) {
    int error = 0;
    socklen_t length = sizeof error;
    if (getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &length) != 0) error = errno;
    return error;
}

}  // namespace

// The state the loop's callbacks reach. Callbacks hold it only weakly and lock
// it for the length of a dispatch, so the object may be deleted inside any of
// its handlers; `owner` is cleared then, `generation` moves on every close.
struct AsyncSocket::Core {
    AsyncSocket* owner = nullptr;
    int fd = -1;
    unsigned generation = 0;
    unsigned mask = 0;
    Phase phase = Phase::Idle;
    bool connectResultPending = false;  // the result came from connect() itself
    int connectResult = 0;
    bool writeWanted = false;    // FD_WRITE owed once the descriptor is writable
    bool readRequested = false;  // FD_READ asked for by the layer above
    bool closePending = false;   // a send or receive hit a hard error
    int closeError = 0;
    loop::FdWatch watch;
    std::map<int, loop::SourceHandle> timers;
    std::unique_ptr<NameLookup> lookup;  // while Resolving
};

AsyncSocket::AsyncSocket() : core_(std::make_shared<Core>()) { core_->owner = this; }

AsyncSocket::~AsyncSocket() {
    core_->owner = nullptr;
    Close();
    core_->timers.clear();
}

bool AsyncSocket::Create() {
    Close();
    IgnoreSigpipe();
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        SetLastSocketError(SocketErrorFromErrno(errno));
        return false;
    }
    Core& c = *core_;
    c.fd = fd;
    const std::weak_ptr<Core> weak = core_;
    c.watch = loop::FdWatch(fd, 0, [weak](unsigned events) {
        if (const std::shared_ptr<Core> core = weak.lock(); core && core->owner) Dispatch(core, events);
    });
    return true;
}

void AsyncSocket::Close() {
    Core& c = *core_;
    // The watch goes first: the descriptor leaves the poll set before its
    // number can be handed out again.
    c.watch.Reset();
    c.lookup.reset();
    if (c.fd >= 0) ::close(c.fd);
    c.fd = -1;
    ++c.generation;
    c.mask = 0;
    c.phase = Phase::Idle;
    c.connectResultPending = false;
    c.writeWanted = false;
    c.readRequested = false;
    c.closePending = false;
}

int AsyncSocket::Handle() const noexcept { return core_->fd; }

void AsyncSocket::AsyncSelect(unsigned mask) {
    Core& c = *core_;
    c.mask = mask;
    if (c.phase == Phase::Connected && (mask & FD_WRITE)) c.writeWanted = true;
    UpdateInterest(c);
}

int AsyncSocket::Connect(std::string_view host, std::uint16_t port) {
    in_addr address{};
    if (ReadAddressText(host, address)) return ConnectTo(address, port);
    if (!IsNameText(host)) {
        keptError_ = kErrHostNotFound;
        return Fail(kErrHostNotFound);
    }
    Core& c = *core_;
    if (c.fd < 0) return Fail(kErrNotSocket);
    c.phase = Phase::Resolving;
    UpdateInterest(c);
    // The answer comes from the loop; a close or a new connect drops the lookup.
    const std::weak_ptr<Core> weak = core_;
    c.lookup = std::make_unique<NameLookup>(std::string(host), [weak, port](int error, in_addr found) {
        const std::shared_ptr<Core> core = weak.lock();
        if (!core || !core->owner || core->phase != Phase::Resolving) return;
        if (error == kSocketOk) {
            core->owner->ConnectTo(found, port);
            error = LastSocketError();
            if (error == kErrWouldBlock) return;
        }
        ReportConnectResult(*core, error);
    });
    return Fail(kErrWouldBlock);
}

// FD_CONNECT with `result` at the next dispatch.
void AsyncSocket::ReportConnectResult(Core& c, int result) {
    c.phase = Phase::Connecting;
    c.connectResultPending = true;
    c.connectResult = result;
    c.watch.Wake();
    UpdateInterest(c);
}

int AsyncSocket::ConnectTo(in_addr address, std::uint16_t port) {
    Core& c = *core_;
    if (c.fd < 0) return Fail(kErrNotSocket);
    sockaddr_in peer{};
    peer.sin_family = AF_INET;
    peer.sin_port = htons(port);
    peer.sin_addr = address;
    const int e = ::connect(c.fd, reinterpret_cast<const sockaddr*>(&peer), sizeof peer) == 0 ? 0 : errno;
    if (!ReportedAsynchronously(e)) return Fail(SocketErrorFromErrno(e));
    if (e != EINPROGRESS && e != EINTR) {
        ReportConnectResult(c, SocketErrorFromErrno(e));
    } else {
        c.phase = Phase::Connecting;
        UpdateInterest(c);
    }
    return Fail(kErrWouldBlock);
}

int AsyncSocket::Send(const void* data, int size) { return Transfer(true, nullptr, data, size); }

int AsyncSocket::Receive(void* buffer, int size) { return Transfer(false, buffer, nullptr, size); }

int AsyncSocket::Transfer(bool sending, void* in, const void* out, int size) {
    Core& c = *core_;
    if (c.fd < 0) return Fail(kErrNotSocket);
    if (c.phase == Phase::Idle || c.phase == Phase::Resolving || c.phase == Phase::Connecting)
        return Fail(kErrNotConnected);
    if (size < 0) return Fail(kErrInvalid);
    const auto length = static_cast<size_t>(size);
    ssize_t n;
    do {
        n = sending ? ::send(c.fd, out, length, MSG_NOSIGNAL) : ::recv(c.fd, in, length, 0);
    } while (n < 0 && errno == EINTR);
    if (n >= 0) return static_cast<int>(n);
    const int e = errno;
    if (e == EAGAIN || e == EWOULDBLOCK) {
        if (sending) {
            c.writeWanted = true;
            UpdateInterest(c);
        }
        return Fail(kErrWouldBlock);
    }
    const int error = SocketErrorFromErrno(e);
    ReportConnectionError(error);
    return Fail(error);
}

void AsyncSocket::RequestReadNotification() {
    Core& c = *core_;
    if (c.phase != Phase::Connected) return;
    c.readRequested = true;
    c.watch.Wake();
}

void AsyncSocket::RequestWriteNotification() {
    Core& c = *core_;
    if (c.phase != Phase::Connected) return;
    c.writeWanted = true;
    UpdateInterest(c);
}

void AsyncSocket::SetTimer(int seconds, int id) { SetTimer(std::chrono::seconds(seconds), id); }

void AsyncSocket::SetTimer(std::chrono::milliseconds period, int id) {
    const std::weak_ptr<Core> weak = core_;
    core_->timers[id] = loop::StartTimer(period, [weak, id] {
        if (const std::shared_ptr<Core> core = weak.lock()) DeliverTimer(core, id);
    });
}

void AsyncSocket::KillTimer(int id) { core_->timers.erase(id); }

int AsyncSocket::GetLastError() {
    if (keptError_ != 0) return std::exchange(keptError_, 0);
    return LastSocketError();
}

void AsyncSocket::OnReceive(int) {}
void AsyncSocket::OnSend(int) {}
void AsyncSocket::OnAccept(int) {}
void AsyncSocket::OnConnect(int) {}
void AsyncSocket::OnClose(int) {}
void AsyncSocket::OnTimer(int) {}

// A send or receive that failed for good ends the connection: the peer will
// not make the descriptor writable again, so FD_CLOSE carries the error.
void AsyncSocket::ReportConnectionError(int error) {
    Core& c = *core_;
    if (c.phase != Phase::Connected || c.closePending || error == kSocketOk) return;
    c.closePending = true;
    c.closeError = error;
    c.watch.Wake();
}

void AsyncSocket::UpdateInterest(Core& c) {
    unsigned want = 0;
    switch (c.phase) {
        case Phase::Connecting:
            want = loop::kIoWritable;
            break;
        case Phase::Connected:
            if (c.writeWanted) want |= loop::kIoWritable;
            if (c.mask & FD_READ) want |= loop::kIoReadable;
            if (c.mask & FD_CLOSE) want |= loop::kIoHangup;
            break;
        case Phase::Idle:
        case Phase::Resolving:
        case Phase::Failed:
        case Phase::Closed:
            break;
    }
    c.watch.SetInterest(want);
}

void AsyncSocket::DeliverTimer(const std::shared_ptr<Core>& core, int id) {
    if (core->owner) core->owner->OnTimer(id);
}

// One dispatch delivers at most one notification of each kind, in the order
// connect, write, read or close. Every flag is settled before its handler
// runs, so a nested dispatch from inside a handler never repeats it, and
// after each handler the socket must still be the same connection.
void AsyncSocket::Dispatch(const std::shared_ptr<Core>& core, unsigned events) {
    Core& c = *core;
    const unsigned generation = c.generation;
    const auto same = [&] { return c.owner != nullptr && c.generation == generation; };

    if (c.phase == Phase::Connecting) {
        int result;
        if (c.connectResultPending) {
            c.connectResultPending = false;
            result = c.connectResult;
        } else if (events & (loop::kIoWritable | loop::kIoHangup | loop::kIoError)) {
            const int e = PendingSocketError(c.fd);
            if (e == 0 && !(events & loop::kIoWritable)) return;
            result = SocketErrorFromErrno(e);
        } else {
            return;
        }
        c.phase = result == kSocketOk ? Phase::Connected : Phase::Failed;
        c.writeWanted = result == kSocketOk;
        UpdateInterest(c);
        if (c.mask & FD_CONNECT) {
            c.owner->OnConnect(result);
            if (!same()) return;
        }
    }
    if (c.phase != Phase::Connected) return;

    if (c.writeWanted && (events & loop::kIoWritable)) {
        c.writeWanted = false;
        UpdateInterest(c);
        if (c.mask & FD_WRITE) {
            c.owner->OnSend(kSocketOk);
            if (!same() || c.phase != Phase::Connected) return;
        }
    }

    const bool polledInput = (events & (loop::kIoReadable | loop::kIoHangup | loop::kIoError)) != 0;
    if (!polledInput && !c.readRequested && !c.closePending) return;
    const bool requested = std::exchange(c.readRequested, false);
    int closeError;
    if (!(c.mask & FD_READ)) {
        // Nobody reads, so unread data cannot hold the close back.
        if (!(events & (loop::kIoHangup | loop::kIoError)) && !c.closePending) return;
        const int e = PendingSocketError(c.fd);
        closeError = e != 0 ? SocketErrorFromErrno(e) : (c.closePending ? c.closeError : kSocketOk);
    } else {
        // Peek instead of trusting the poll result: it may be stale after a
        // nested dispatch, and only the stream itself tells data from its end.
        char probe;
        const ssize_t n = ::recv(c.fd, &probe, 1, MSG_PEEK | MSG_DONTWAIT);
        const int e = n < 0 ? errno : 0;
        const bool wouldBlock = e == EAGAIN || e == EWOULDBLOCK || e == EINTR;
        // The peek has consumed a pending error such as a reset: keep it for
        // the close, which may come after a requested read.
        if (n < 0 && !wouldBlock && !c.closePending) {
            c.closePending = true;
            c.closeError = SocketErrorFromErrno(e);
        }
        if (n > 0 || requested) {
            c.owner->OnReceive(kSocketOk);
            return;
        }
        if (n == 0) {
            closeError = c.closePending ? c.closeError : kSocketOk;
        } else {
            if (!c.closePending) return;
            closeError = c.closeError;
        }
    }
    c.phase = Phase::Closed;
    c.closePending = false;
    UpdateInterest(c);
    if (c.mask & FD_CLOSE) c.owner->OnClose(closeError);
}

}  // namespace platform::net
