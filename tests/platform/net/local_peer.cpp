#include "tests/platform/net/local_peer.h"

#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <utility>

namespace nettest {
namespace {

sockaddr_in Loopback(std::uint16_t port) {
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(port);
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    return a;
}

// Binds to an ephemeral loopback port; returns the descriptor and its port.
std::pair<int, std::uint16_t> BindLoopback() {
    const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    EXPECT_GE(fd, 0);
    sockaddr_in a = Loopback(0);
    EXPECT_EQ(bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a), 0);
    socklen_t len = sizeof a;
    EXPECT_EQ(getsockname(fd, reinterpret_cast<sockaddr*>(&a), &len), 0);
    return {fd, ntohs(a.sin_port)};
}

}  // namespace

Peer::~Peer() { Close(); }

Peer::Peer(Peer&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}

void Peer::Write(const std::string& data) const {
    size_t done = 0;
    while (done < data.size()) {
        const ssize_t n = send(fd_, data.data() + done, data.size() - done, MSG_NOSIGNAL);
        ASSERT_GT(n, 0);
        done += size_t(n);
    }
}

std::string Peer::Drain() const {
    std::string out;
    char buf[65536];
    ssize_t n;
    while ((n = recv(fd_, buf, sizeof buf, MSG_DONTWAIT)) > 0) out.append(buf, size_t(n));
    return out;
}

void Peer::ShutdownWrite() const { ASSERT_EQ(shutdown(fd_, SHUT_WR), 0); }

void Peer::Reset() {
    const linger abort{1, 0};
    ASSERT_EQ(setsockopt(fd_, SOL_SOCKET, SO_LINGER, &abort, sizeof abort), 0);
    Close();
}

void Peer::Close() {
    if (fd_ >= 0) close(std::exchange(fd_, -1));
}

Listener::Listener() {
    std::tie(fd_, port_) = BindLoopback();
    EXPECT_EQ(listen(fd_, 8), 0);
}

Listener::~Listener() { close(fd_); }

Peer Listener::Accept() const {
    pollfd p{fd_, POLLIN, 0};
    if (poll(&p, 1, 5000) != 1) {
        ADD_FAILURE() << "no connection arrived";
        return Peer(-1);
    }
    return Peer(accept4(fd_, nullptr, nullptr, SOCK_CLOEXEC));
}

std::uint16_t UnusedPort() {
    const auto [fd, port] = BindLoopback();
    close(fd);
    return port;
}

}  // namespace nettest
