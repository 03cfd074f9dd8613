#pragma once
// The far end of a test connection on 127.0.0.1: a listener on an ephemeral
// port and the accepted peer, driven with plain blocking-free system calls.
#include <cstdint>
#include <string>

namespace nettest {

class Peer {
public:
    explicit Peer(int fd) : fd_(fd) {}
    ~Peer();
    Peer(Peer&& other) noexcept;
    Peer& operator=(Peer&&) = delete;
    Peer(const Peer&) = delete;
    Peer& operator=(const Peer&) = delete;

    void Write(const std::string& data) const;
    // Whatever has arrived, without waiting.
    std::string Drain() const;
    // A FIN: the socket under test sees the end of the stream.
    void ShutdownWrite() const;
    // An RST: the socket under test sees a reset.
    void Reset();
    void Close();

private:
    int fd_;
};

class Listener {
public:
    Listener();
    ~Listener();
    Listener(const Listener&) = delete;
    Listener& operator=(const Listener&) = delete;

    std::uint16_t Port() const { return port_; }
    // Waits up to five seconds for the next connection.
    Peer Accept() const;

private:
    int fd_ = -1;
    std::uint16_t port_ = 0;
};

// A port on 127.0.0.1 that nothing listens on.
std::uint16_t UnusedPort();

}  // namespace nettest
