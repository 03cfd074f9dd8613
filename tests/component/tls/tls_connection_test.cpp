// TLS against the real test server (implicit TLS and STLS) and against
// peers that misbehave during the handshake.
#include <arpa/inet.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <openssl/evp.h>
#include <openssl/pem.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "component/transport/tls_connection.h"
#include "tests/support/pop3d_mailbox.h"

namespace {

using component::transport::TlsConnection;
using testsupport::Pop3dServer;

struct Fd {
    int fd = -1;
    explicit Fd(int f) : fd(f) {}
    ~Fd() {
        if (fd >= 0) close(fd);
    }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
};

int ConnectTo(std::uint16_t port) {
    const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_port = htons(port);
    inet_pton(AF_INET, "127.0.0.1", &addr.sin_addr);
    if (connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0) {
        close(fd);
        return -1;
    }
    return fd;
}

void NonBlocking(int fd) { fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) | O_NONBLOCK); }

bool WaitReadable(int fd) {
    pollfd p{fd, POLLIN, 0};
    return poll(&p, 1, 5000) == 1;
}

// Drives the handshake the way socket notifications would.
TlsConnection::Step Negotiate(TlsConnection& tls, int fd) {
    for (int i = 0; i < 100; ++i) {
        const auto step = tls.Handshake();
        if (step != TlsConnection::Step::Pending) return step;
        // A client's handshake waits for the server; its own writes fit.
        if (!WaitReadable(fd)) break;
    }
    return TlsConnection::Step::Pending;
}

std::string ReadLine(TlsConnection& tls, int fd) {
    std::string line;
    char c = 0;
    while (line.size() < 4096) {
        const auto r = tls.Read(&c, 1);
        if (r.status == TlsConnection::Io::WouldBlock) {
            if (!WaitReadable(fd)) break;
            continue;
        }
        if (r.status != TlsConnection::Io::Ok) break;
        if (c == '\n') break;
        if (c != '\r') line += c;
    }
    return line;
}

std::string PlainLine(int fd) {
    std::string line;
    char c = 0;
    while (recv(fd, &c, 1, 0) == 1 && c != '\n')
        if (c != '\r') line += c;
    return line;
}

class TlsAgainstServer : public testing::Test {
protected:
    void TearDown() override { unsetenv("SSL_CERT_FILE"); }
    Pop3dServer server_ = Pop3dServer::fromEnvironment();
};

TEST_F(TlsAgainstServer, ImplicitTlsReportsAnUntrustedCertificateButCompletes) {
    Fd fd(ConnectTo(server_.tlsPort));
    ASSERT_GE(fd.fd, 0);
    NonBlocking(fd.fd);
    // No trust at all: the self-signed server certificate cannot verify.
    setenv("SSL_CERT_FILE", "/nonexistent", 1);
    auto tls = TlsConnection::Create(fd.fd, "127.0.0.1", nullptr, nullptr);
    ASSERT_TRUE(tls);
    ASSERT_EQ(Negotiate(*tls, fd.fd), TlsConnection::Step::Done) << tls->LastErrorText();
    EXPECT_EQ(tls->VerifyCode(), 50000 + X509_V_ERR_DEPTH_ZERO_SELF_SIGNED_CERT);
    EXPECT_FALSE(tls->PeerCertificateDer().empty());
    EXPECT_EQ(ReadLine(*tls, fd.fd).substr(0, 3), "+OK");
}

TEST_F(TlsAgainstServer, TrustedCertificateAndMatchingNamesVerify) {
    setenv("SSL_CERT_FILE", server_.certificateFile().c_str(), 1);
    struct {
        const char* host;
        int code;
    } const cases[] = {
        {"127.0.0.1", 0},
        {"localhost", 0},
        {"mail.example.org", 50000 + X509_V_ERR_HOSTNAME_MISMATCH},
        {"127.0.0.2", 50000 + X509_V_ERR_IP_ADDRESS_MISMATCH},
    };
    for (const auto& c : cases) {
        Fd fd(ConnectTo(server_.tlsPort));
        NonBlocking(fd.fd);
        auto tls = TlsConnection::Create(fd.fd, c.host, nullptr, nullptr);
        ASSERT_TRUE(tls);
        ASSERT_EQ(Negotiate(*tls, fd.fd), TlsConnection::Step::Done) << c.host;
        EXPECT_EQ(tls->VerifyCode(), c.code) << c.host;
    }
}

TEST_F(TlsAgainstServer, StlsThenLoginOverTls) {
    testsupport::Pop3dMailbox box(server_);
    box.add("0001", "Subject: x\r\n\r\nbody\r\n");
    Fd fd(ConnectTo(server_.port));
    ASSERT_EQ(PlainLine(fd.fd).substr(0, 3), "+OK");
    ASSERT_EQ(send(fd.fd, "STLS\r\n", 6, MSG_NOSIGNAL), 6);
    ASSERT_EQ(PlainLine(fd.fd).substr(0, 3), "+OK");
    NonBlocking(fd.fd);
    setenv("SSL_CERT_FILE", server_.certificateFile().c_str(), 1);
    auto tls = TlsConnection::Create(fd.fd, "localhost", nullptr, nullptr);
    ASSERT_EQ(Negotiate(*tls, fd.fd), TlsConnection::Step::Done);
    EXPECT_EQ(tls->VerifyCode(), 0);
    const std::string login = "USER " + box.user() + "\r\nPASS " + box.password() + "\r\nSTAT\r\n";
    ASSERT_EQ(tls->Write(login.data(), login.size()).bytes, login.size());
    EXPECT_EQ(ReadLine(*tls, fd.fd).substr(0, 3), "+OK");
    EXPECT_EQ(ReadLine(*tls, fd.fd).substr(0, 3), "+OK");
    EXPECT_EQ(ReadLine(*tls, fd.fd).substr(0, 5), "+OK 1");
}

TEST(TlsMisbehavingPeer, GarbageOrCloseInsteadOfServerHelloFails) {
    for (const bool garbage : {true, false}) {
        int pair[2];
        ASSERT_EQ(socketpair(AF_UNIX, SOCK_STREAM, 0, pair), 0);
        Fd client(pair[0]);
        Fd server(pair[1]);
        NonBlocking(client.fd);
        auto tls = TlsConnection::Create(client.fd, "mail.example.org", nullptr, nullptr);
        ASSERT_TRUE(tls);
        EXPECT_EQ(tls->Handshake(), TlsConnection::Step::Pending);  // ClientHello sent, waiting
        if (garbage) {
            const char reply[] = "+OK this is not a TLS server\r\n";
            ASSERT_GT(send(server.fd, reply, sizeof reply - 1, MSG_NOSIGNAL), 0);
        } else {
            close(server.fd);
            server.fd = -1;
        }
        EXPECT_EQ(Negotiate(*tls, client.fd), TlsConnection::Step::Failed) << (garbage ? "garbage" : "close");
        EXPECT_FALSE(tls->Established());
    }
}

TEST(TlsClientCertificate, OnlyPresentedWithItsOwnKey) {
    auto makeKey = [] {
        return std::unique_ptr<EVP_PKEY, decltype(&EVP_PKEY_free)>(EVP_RSA_gen(2048), EVP_PKEY_free);
    };
    auto key = makeKey();
    auto otherKey = makeKey();
    std::unique_ptr<X509, decltype(&X509_free)> cert(X509_new(), X509_free);
    X509_gmtime_adj(X509_getm_notBefore(cert.get()), 0);
    X509_gmtime_adj(X509_getm_notAfter(cert.get()), 86400);
    X509_set_pubkey(cert.get(), key.get());
    ASSERT_GT(X509_sign(cert.get(), key.get(), EVP_sha256()), 0);

    int pair[2];
    ASSERT_EQ(socketpair(AF_UNIX, SOCK_STREAM, 0, pair), 0);
    Fd a(pair[0]);
    Fd b(pair[1]);
    EXPECT_TRUE(TlsConnection::Create(a.fd, "h", cert.get(), key.get())->ClientCertificatePresented());
    EXPECT_FALSE(TlsConnection::Create(a.fd, "h", cert.get(), otherKey.get())->ClientCertificatePresented());
    EXPECT_FALSE(TlsConnection::Create(a.fd, "h", cert.get(), nullptr)->ClientCertificatePresented());
}

}  // namespace
