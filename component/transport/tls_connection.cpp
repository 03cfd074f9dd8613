#include "component/transport/tls_connection.h"

#include <arpa/inet.h>
#include <openssl/err.h>
#include <openssl/x509v3.h>
#include <signal.h>

#include <mutex>

namespace component::transport {
namespace {

// OpenSSL's socket BIO writes with write(), which raises SIGPIPE when the
// server has gone; that must end the session, not the program.
void IgnoreSigpipe() {
    static std::once_flag once;
    std::call_once(once, [] {
        struct sigaction current {};
        if (sigaction(SIGPIPE, nullptr, &current) == 0 && current.sa_handler == SIG_DFL)
            signal(SIGPIPE, SIG_IGN);
    });
}

int ConnectionIndex() {
    static const int index = SSL_get_ex_new_index(0, nullptr, nullptr, nullptr, nullptr);
    return index;
}

bool IsAddress(std::string_view host) {
    const std::string h(host);
    unsigned char buf[sizeof(in6_addr)];
    return inet_pton(AF_INET, h.c_str(), buf) == 1 || inet_pton(AF_INET6, h.c_str(), buf) == 1;
}

std::string DrainErrors() {
    std::string text;
    while (const unsigned long e = ERR_get_error()) {
        char buf[256];
        ERR_error_string_n(e, buf, sizeof buf);
        if (!text.empty()) text += "; ";
        text += buf;
    }
    return text;
}

}  // namespace

std::unique_ptr<TlsConnection> TlsConnection::Create(int fd, std::string_view host, X509* clientCert,
                                                     EVP_PKEY* clientKey) {
    IgnoreSigpipe();
    std::unique_ptr<TlsConnection> c(new TlsConnection());
    c->ctx_.reset(SSL_CTX_new(TLS_client_method()));
    if (c->ctx_ == nullptr) return nullptr;
    // Honours SSL_CERT_FILE and SSL_CERT_DIR.
    SSL_CTX_set_default_verify_paths(c->ctx_.get());
    // Verification runs, but its verdict goes to the client instead of
    // failing the handshake.
    SSL_CTX_set_verify(c->ctx_.get(), SSL_VERIFY_PEER, &TlsConnection::VerifyCallback);
    // The send queue hands over what fits and retries from wherever its
    // buffer is then.
    SSL_CTX_set_mode(c->ctx_.get(), SSL_MODE_ENABLE_PARTIAL_WRITE | SSL_MODE_ACCEPT_MOVING_WRITE_BUFFER);
    // Records are read in large gulps instead of a header and a body at a
    // time; what is read ahead counts as pending (HasBufferedData).
    SSL_CTX_set_read_ahead(c->ctx_.get(), 1);
    SSL_CTX_set_default_read_buffer_len(c->ctx_.get(), 64 * 1024);
    c->ssl_.reset(SSL_new(c->ctx_.get()));
    if (c->ssl_ == nullptr || SSL_set_fd(c->ssl_.get(), fd) != 1) return nullptr;
    SSL_set_ex_data(c->ssl_.get(), ConnectionIndex(), c.get());

    const std::string h(host);
    X509_VERIFY_PARAM* param = SSL_get0_param(c->ssl_.get());
    if (IsAddress(host)) {
        X509_VERIFY_PARAM_set1_ip_asc(param, h.c_str());
    } else if (!h.empty()) {
        SSL_set_tlsext_host_name(c->ssl_.get(), h.c_str());
        SSL_set1_host(c->ssl_.get(), h.c_str());
    }

    if (clientCert != nullptr && clientKey != nullptr &&
        SSL_use_certificate(c->ssl_.get(), clientCert) == 1 &&
        SSL_use_PrivateKey(c->ssl_.get(), clientKey) == 1 && SSL_check_private_key(c->ssl_.get()) == 1) {
        c->clientCertificateInstalled_ = true;
    } else if (clientCert != nullptr) {
        // A certificate without its key cannot sign: do not present it.
        SSL_certs_clear(c->ssl_.get());
    }
    ERR_clear_error();
    SSL_set_connect_state(c->ssl_.get());
    return c;
}

TlsConnection::~TlsConnection() {
    ssl_.reset();
    ctx_.reset();
    ERR_clear_error();
}

int TlsConnection::VerifyCallback(int preverified, X509_STORE_CTX* store) {
    SSL* ssl = static_cast<SSL*>(X509_STORE_CTX_get_ex_data(store, SSL_get_ex_data_X509_STORE_CTX_idx()));
    auto* self =
        ssl != nullptr ? static_cast<TlsConnection*>(SSL_get_ex_data(ssl, ConnectionIndex())) : nullptr;
    if (!preverified && self != nullptr && self->verifyCode_ == 0)
        self->verifyCode_ = kVerifyErrorBase + X509_STORE_CTX_get_error(store);
    X509_STORE_CTX_set_error(store, X509_V_OK);
    return 1;
}

TlsConnection::Step TlsConnection::Handshake() {
    if (established_) return Step::Done;
    ERR_clear_error();
    const int ret = SSL_connect(ssl_.get());
    if (ret == 1) {
        established_ = true;
        return Step::Done;
    }
    const int error = SSL_get_error(ssl_.get(), ret);
    wantsWrite_ = error == SSL_ERROR_WANT_WRITE;
    switch (error) {
        case SSL_ERROR_WANT_READ:
        case SSL_ERROR_WANT_WRITE:
            return Step::Pending;
        default:
            lastError_ = DrainErrors();
            return Step::Failed;
    }
}

std::vector<unsigned char> TlsConnection::PeerCertificateDer() const {
    const openssl::X509Ptr peer(SSL_get1_peer_certificate(ssl_.get()));
    if (!peer) return {};
    std::vector<unsigned char> der;
    const int len = i2d_X509(peer.get(), nullptr);
    if (len > 0) {
        der.resize(static_cast<std::size_t>(len));
        unsigned char* out = der.data();
        if (i2d_X509(peer.get(), &out) != len) der.clear();
    }
    return der;
}

TlsConnection::IoResult TlsConnection::Classify(int ret) {
    if (ret > 0) return {Io::Ok, static_cast<std::size_t>(ret)};
    const int error = SSL_get_error(ssl_.get(), ret);
    wantsWrite_ = error == SSL_ERROR_WANT_WRITE;
    switch (error) {
        case SSL_ERROR_WANT_READ:
        case SSL_ERROR_WANT_WRITE:
            return {Io::WouldBlock, 0};
        case SSL_ERROR_ZERO_RETURN:
            return {Io::Closed, 0};
        default:
            lastError_ = DrainErrors();
            return {Io::Failed, 0};
    }
}

TlsConnection::IoResult TlsConnection::Read(char* buffer, std::size_t size) {
    if (!established_) return {Io::WouldBlock, 0};
    ERR_clear_error();
    std::size_t got = 0;
    const int ret = SSL_read_ex(ssl_.get(), buffer, size, &got);
    return ret == 1 ? IoResult{Io::Ok, got} : Classify(ret);
}

TlsConnection::IoResult TlsConnection::Write(const char* data, std::size_t size) {
    if (!established_) return {Io::WouldBlock, 0};
    ERR_clear_error();
    std::size_t put = 0;
    const int ret = SSL_write_ex(ssl_.get(), data, size, &put);
    return ret == 1 ? IoResult{Io::Ok, put} : Classify(ret);
}

bool TlsConnection::HasBufferedData() const { return SSL_has_pending(ssl_.get()) == 1; }

}  // namespace component::transport
