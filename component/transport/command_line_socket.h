#pragma once
// The component's line socket: queues outgoing commands and sends them as
// the socket allows, splits incoming bytes into lines and hands each line to
// its owner, the component object. The owner may delete the socket inside
// any of its handlers; the socket then touches nothing of itself again.
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "component/transport/buffer.h"
#include "component/transport/tls_connection.h"
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
    // The server's certificate of a finished handshake (DER) and the first
    // failure of its check (0 or 50000 + the verification error): true
    // accepts it. The owner may delete the socket inside.
    virtual bool OnHostCertificate(const std::vector<unsigned char>& der, std::int32_t verifyCode) = 0;
    // The trace file's 8-bit name; empty for none.
    virtual const std::string& TraceFile() const = 0;

protected:
    ~CommandLineSocketOwner() = default;
};

// Plain, or TLS once StartTls is called: the handshake then runs from the
// socket's notifications, SendRaw and Receive go through the TLS
// connection, and the trace still sees the plain bytes.
class CCommandLineSocket : public CqelWinSocket {
public:
    static constexpr int kReceiveArea = 16384;
    static constexpr std::uint32_t kSendBlock = 32768;

    explicit CCommandLineSocket(CommandLineSocketOwner& owner);
    ~CCommandLineSocket() override;

    // False when the queue cannot grow.
    bool QueueData(const void* bytes, std::uint32_t n);
    bool QueueString(std::string_view text) {
        return QueueData(text.data(), static_cast<std::uint32_t>(text.size()));
    }
    void ResetSendQueue() { sendQueue.Reset(); }
    void Flush();
    // Queues `text` and sends what the socket takes; false when it could
    // not be queued.
    bool SendString(std::string_view text);
    // What came of the last command of a session.
    struct FinalReply {
        enum class Outcome {
            Answered,   // `line` is the first line of its reply, without CR LF
            Closed,     // the connection ended before a whole line came
            Silent,     // no whole line within the wait
            NotSent,    // the command could not go out
            Abandoned,  // `abandoned` answered true during the wait
        };
        Outcome outcome;
        std::string line;
    };
    static constexpr std::chrono::milliseconds kNoDeadline = std::chrono::milliseconds::max();
    // The last command of a session (QUIT): sent, the sending side shut and
    // the first line of its reply read (or the close awaited), so that the
    // server sees the command and the connection ends with a clean close
    // rather than a reset. Lines (and the rest of a line) that came before
    // the command belong to earlier replies and are skipped. The wait, at
    // most `wait` and ended early once `abandoned` answers true, pumps the
    // loop; the owner receives no notification from the socket after this
    // call.
    FinalReply SendFinal(std::string_view text, std::chrono::milliseconds wait,
                         const std::function<bool()>& abandoned);
    std::uint32_t BytesSent() const { return bytesSent; }

    enum TlsState { TlsPlain = 0, TlsHandshaking = 1, TlsChecking = 2, TlsEstablished = 3 };
    // Starts the TLS handshake on the connected socket; its first step runs
    // at the next notification. `implicit`: the finished handshake reaches
    // the owner as OnConnected(0); otherwise (STLS) as the line "+OK SSL
    // Completed". False when TLS cannot start: OpenSSL failed, or bytes
    // came after the reply that agreed to TLS (a man in the middle could
    // have put them there).
    bool StartTls(std::string_view host, X509* clientCert, EVP_PKEY* clientKey, bool implicit);
    TlsState GetTlsState() const { return tlsState; }

protected:
    int SendRaw(const void* bytes, int n);
    void OnReceive(int error) override;
    void OnSend(int error) override;
    void OnConnect(int error) override;
    void OnClose(int error) override;
    void OnTimer(int id) override;
    int Receive(void* buffer, int size) override;

private:
    void NegotiateSsl();
    void FlushFinal();
    void ReadFinalReply();
    void FailTls(std::int32_t code);
    void DeliverLines();

    char receiveArea[kReceiveArea];
    Buffer sendQueue;
    bool canSend = false;
    Buffer lineBuffer;
    // The storage of the line being handed over, reused from line to line;
    // a nested delivery finds it taken and uses its own.
    std::string spareLine;
    CommandLineSocketOwner& owner;
    std::uint32_t bytesSent = 0;
    std::unique_ptr<TlsConnection> tls;
    TlsState tlsState = TlsPlain;
    bool implicitTls = false;
    // While the owner decides about the server's certificate: a modal
    // dialog there must not step the handshake again.
    bool checkingCertificate = false;
    // SendFinal's wait: its reply (or close) came; the sending side is shut;
    // the line being completed belongs to an earlier reply; the reply's
    // first line.
    bool finalWait = false;
    bool finalDone = false;
    bool finalShut = false;
    bool finalSkipLine = false;
    std::optional<std::string> finalLine;
};

}  // namespace component::transport
