#pragma once
// An asynchronous, non-blocking IPv4 TCP socket that reports its events as
// Windows-style notifications through the thread's message loop:
//   FD_CONNECT  once, with the connect result (refusals also arrive this way);
//   FD_WRITE    once after the connection is up, after AsyncSelect while
//               connected, and when writable again after a send would block;
//   FD_READ     level-like: one per loop dispatch while data remains, and once
//               on RequestReadNotification (bytes buffered above the socket);
//   FD_CLOSE    exactly once, after every byte before it could be read;
//               0 for a graceful close, 10053 or 10054 for an abort.
// Errors are Winsock numbers (socket_error.h). FD_ACCEPT is never delivered:
// there are no listening sockets. Create also makes SIGPIPE harmless for the
// process (sigpipe.h), since a TLS library may write to the descriptor itself.
//
// Handlers may close the socket, reconnect it, pump the loop again or delete
// the object; nothing of a deleted or closed socket is touched afterwards,
// and a notification from an earlier connection never reaches a later one.
#include <netinet/in.h>

#include <chrono>
#include <cstdint>
#include <memory>
#include <string_view>

#include "platform/loop/liveness.h"

namespace platform::net {

inline constexpr unsigned FD_READ = 1;
inline constexpr unsigned FD_WRITE = 2;
inline constexpr unsigned FD_ACCEPT = 8;
inline constexpr unsigned FD_CONNECT = 16;
inline constexpr unsigned FD_CLOSE = 32;

class AsyncSocket {
public:
    AsyncSocket();
    virtual ~AsyncSocket();
    AsyncSocket(const AsyncSocket&) = delete;
    AsyncSocket& operator=(const AsyncSocket&) = delete;

    // Opens a non-blocking IPv4 stream socket (an open one is closed first).
    // False with the thread's socket error set when that fails.
    bool Create();
    // Closes the descriptor at once; no notification of it follows. Timers stay.
    void Close();
    // The descriptor, -1 when none (for a TLS library bound to it).
    int Handle() const noexcept;

    // The notifications wanted (FD_ flags); 0 stops them.
    void AsyncSelect(unsigned mask);
    // Resolves `host` (address text first, then name) and starts connecting.
    // Returns -1: the thread's error is kErrWouldBlock while the outcome is
    // on its way as FD_CONNECT; kErrHostNotFound (also kept for GetLastError)
    // or an argument error means nothing was started. A name is looked up
    // without holding the loop: a name that does not resolve arrives as
    // FD_CONNECT with kErrHostNotFound.
    virtual int Connect(std::string_view host, std::uint16_t port);
    // The same for an address already resolved.
    int ConnectTo(in_addr address, std::uint16_t port);

    // Bytes sent, or -1 with the thread's socket error set (kErrWouldBlock:
    // FD_WRITE follows when there is room; a hard error: FD_CLOSE follows).
    int Send(const void* data, int size);
    // Bytes received, 0 at the end of the stream, or -1 with the error set.
    virtual int Receive(void* buffer, int size);
    // Asks for one FD_READ at the next dispatch, for a layer above that holds
    // received bytes the descriptor no longer shows.
    void RequestReadNotification();
    // For a layer that does its own I/O on Handle() (a TLS library): its
    // write would block, so FD_WRITE follows once there is room...
    void RequestWriteNotification();
    // ...or it met a hard error (Winsock number), which FD_CLOSE then
    // carries after any data still unread.
    void ReportConnectionError(int error);

    // A periodic timer delivered as OnTimer(id); the same id replaces it.
    // Timers live until killed or the object is destroyed.
    void SetTimer(int seconds, int id);
    void SetTimer(std::chrono::milliseconds period, int id);
    void KillTimer(int id);

    // The kept error (cleared on read) when there is one, else the thread's.
    int GetLastError();

    // Observer that turns false once this object is destroyed.
    loop::Liveness::Observer Alive() const { return liveness_.Observe(); }

protected:
    virtual void OnReceive(int error);
    virtual void OnSend(int error);
    virtual void OnAccept(int error);
    virtual void OnConnect(int error);
    virtual void OnClose(int error);
    virtual void OnTimer(int id);

private:
    struct Core;
    static void Dispatch(const std::shared_ptr<Core>& core, unsigned events);
    static void DeliverTimer(const std::shared_ptr<Core>& core, int id);
    static void UpdateInterest(Core& core);
    static void ReportConnectResult(Core& core, int result);
    int Transfer(bool sending, void* in, const void* out, int size);

    std::shared_ptr<Core> core_;
    int keptError_ = 0;
    loop::Liveness liveness_;
};

}  // namespace platform::net
