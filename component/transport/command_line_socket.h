#pragma once
// The component's line socket: queues outgoing commands and sends them as
// the socket allows, splits incoming bytes into lines and hands each line to
// its owner, the component object. The owner may delete the socket inside
// any of its handlers; the socket then touches nothing of itself again.
#include <cstdint>
#include <string>
#include <string_view>

#include "component/transport/buffer.h"
#include "platform/net/async_socket.h"

namespace component::transport {

// The socket base of the component: notifications from the message loop as
// virtual calls, timers, Winsock error numbers.
using CqelWinSocket = platform::net::AsyncSocket;

// What the line socket calls on its owner.
class CommandLineSocketOwner {
public:
    virtual void OnConnected(std::int32_t error) = 0;
    // One line without its line end; false stops the hand-over of further
    // lines of this read.
    virtual bool OnReplyLine(std::string_view line) = 0;
    virtual void OnClosed(std::int32_t error) = 0;
    virtual void OnTimerTick(int timerId) = 0;
    virtual void OnSendReady() = 0;
    // A line grew past what the line buffer may hold (10 MiB).
    virtual void OnLineTooLong() = 0;
    // The trace file's 8-bit name; empty for none.
    virtual const std::string& TraceFile() const = 0;

protected:
    ~CommandLineSocketOwner() = default;
};

// Plain connections only: the TLS layer (its states, SendRaw and Receive
// through the TLS connection) comes on top of this class.
class CCommandLineSocket : public CqelWinSocket {
public:
    static constexpr int kReceiveArea = 16384;
    static constexpr std::uint32_t kSendBlock = 32768;

    explicit CCommandLineSocket(CommandLineSocketOwner& owner);
    ~CCommandLineSocket() override;

    void QueueData(const void* bytes, std::uint32_t n);
    void QueueString(std::string_view text) { QueueData(text.data(), static_cast<std::uint32_t>(text.size())); }
    void ResetSendQueue() { sendQueue.Reset(); }
    void Flush();
    void SendString(std::string_view text);
    // The last command of a session (QUIT): sent at once, waiting briefly
    // while the socket is full, then the sending side is shut and the reply
    // read (or the close awaited), so that the server sees the command and
    // the connection ends with a clean close rather than a reset.
    void SendFinal(std::string_view text);
    std::uint32_t BytesSent() const { return bytesSent; }

protected:
    int SendRaw(const void* bytes, int n);
    void OnReceive(int error) override;
    void OnSend(int error) override;
    void OnConnect(int error) override;
    void OnClose(int error) override;
    void OnTimer(int id) override;
    int Receive(void* buffer, int size) override;

private:
    char receiveArea[kReceiveArea];
    Buffer sendQueue;
    bool canSend = false;
    Buffer lineBuffer;
    CommandLineSocketOwner& owner;
    std::uint32_t bytesSent = 0;
};

}  // namespace component::transport
