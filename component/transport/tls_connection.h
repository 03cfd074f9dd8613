#pragma once
// One TLS client connection over a connected non-blocking socket, driven one
// step at a time from socket notifications. The server's certificate is
// checked against the system trust and the host name, but a failed check
// never stops the handshake: the first failure is kept for the client, who
// decides whether to go on.
#include <openssl/ssl.h>
#include <openssl/x509.h>

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "component/transport/openssl_types.h"

namespace component::transport {

// A server certificate's verification error e is reported as this + e.
inline constexpr int kVerifyErrorBase = 50000;

class TlsConnection {
public:
    enum class Step { Done, Pending, Failed };
    enum class Io { Ok, WouldBlock, Closed, Failed };
    struct IoResult {
        Io status;
        std::size_t bytes;
    };

    // `host` is what the user typed: a name gets SNI and a name check, an
    // address an address check. The client certificate is presented only
    // with a key that matches it. Null when OpenSSL cannot set up.
    static std::unique_ptr<TlsConnection> Create(int fd, std::string_view host, X509* clientCert,
                                                 EVP_PKEY* clientKey);
    ~TlsConnection();
    TlsConnection(const TlsConnection&) = delete;
    TlsConnection& operator=(const TlsConnection&) = delete;

    // One handshake step; Pending means: call again on the next read or
    // write notification.
    Step Handshake();
    bool Established() const { return established_; }
    // The last step, read or write stopped because the socket had no room.
    bool WantsWrite() const { return wantsWrite_; }

    // 0, or kVerifyErrorBase plus the first verification error of the
    // server's chain.
    int VerifyCode() const { return verifyCode_; }
    bool ClientCertificatePresented() const { return clientCertificateInstalled_; }
    std::vector<unsigned char> PeerCertificateDer() const;

    IoResult Read(char* buffer, std::size_t size);
    IoResult Write(const char* data, std::size_t size);
    // Decrypted bytes already held by OpenSSL: the socket will not signal them.
    bool HasBufferedData() const;
    // The last OpenSSL error, for the trace.
    std::string LastErrorText() const { return lastError_; }

private:
    TlsConnection() = default;
    static int VerifyCallback(int preverified, X509_STORE_CTX* ctx);
    IoResult Classify(int ret);

    openssl::SslCtxPtr ctx_;
    openssl::SslPtr ssl_;
    int verifyCode_ = 0;
    bool established_ = false;
    bool wantsWrite_ = false;
    bool clientCertificateInstalled_ = false;
    std::string lastError_;
};

}  // namespace component::transport
