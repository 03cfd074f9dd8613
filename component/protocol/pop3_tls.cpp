// The TLS side of the session: the client certificate, the start of the
// handshake and the client's say on the server's certificate.
#include <openssl/pem.h>
#include <openssl/x509.h>

#include "component/protocol/certificate.h"
#include "component/protocol/qel_pop3_com.h"
#include "component/transport/error_table.h"
#include "component/transport/pem_readers.h"
#include "platform/text/code_page.h"

namespace component::protocol {

bool CqelPop3Com::BeginTls(bool implicit) {
    const std::uint32_t gen = generation;
    if (certificate) {
        LoadClientCertificate();
        if (IsZombie() || gen != generation) return false;
    }
    if (!EnterState(NegotiatingSSL)) return false;
    if (!socket->StartTls(text::ToAnsi(hostname), clientCertificate.get(), clientKey.get(), implicit)) {
        FailSession(errSslHandshake);
        return false;
    }
    return true;
}

bool CqelPop3Com::OnHostCertificate(const std::vector<unsigned char>& der, std::int32_t verifyCode) {
    CallGuard guard(*this);
    const unsigned char* at = der.data();
    const openssl::X509Ptr peer(d2i_X509(nullptr, &at, static_cast<long>(der.size())));
    // A certificate OpenSSL itself handed over decodes; should it not, the
    // client still decides, without an object to look at.
    com::ComPtr<CCertificate> cert = CCertificate::FromX509(peer.get());
    bool accept = true;
    const std::uint32_t gen = generation;
    ICertificate* shown = peer != nullptr && cert ? static_cast<ICertificate*>(cert.Get()) : nullptr;
    // The check's failure in OpenSSL's words, for the client to show.
    const std::u16string reason =
        verifyCode != 0
            ? text::FromAnsi(X509_verify_cert_error_string(verifyCode - transport::kVerifyErrorBase))
            : u"";
    if (!RaiseHostCertificate(shown, verifyCode, reason, accept) || gen != generation) return false;
    return accept;
}

HRESULT CqelPop3Com::LoadClientCertificate() {
    clientCertificate.reset();
    clientKey.reset();
    com::ComPtr<ICertificate> cert;
    if (!certificate ||
        com::FAILED(certificate->QueryInterface(ICertificate::iid, cert.ReleaseAndGetVoidAddress())))
        return E_FAIL;
    // A failure to read the key or the certificate is reported, and the
    // handshake goes on without a client certificate. LastError keeps its
    // value so that a blocking Connect does not take the report for the
    // end of its session.
    const std::int32_t keptError = lastError;
    const auto report = [&](std::int32_t code) {
        ReportError(code);
        lastError = keptError;
    };
    BSTR keyText = nullptr;
    if (com::SUCCEEDED(cert->get_PrivateKey(&keyText))) {
        std::string pem = text::ToAnsi(std::u16string(com::BstrView(keyText)));
        com::SysFreeString(keyText);
        // No pass phrase is configured: an encrypted key fails here rather
        // than asking on a terminal.
        clientKey = openssl::ReadPemPrivateKey(pem);
        OPENSSL_cleanse(pem.data(), pem.size());
        if (!clientKey) {
            report(errPrivateKeyImport);
            return S_OK;
        }
    } else {
        com::VARIANT_BOOL hasKey = com::VARIANT_FALSE;
        const HRESULT hr = cert->get_HasPrivateKey(&hasKey);
        if (com::FAILED(hr)) return hr;
        // A key that only some other store holds cannot sign here: the
        // certificate will not be presented without it.
        report(errPrivateKeyImport);
    }
    BSTR data = nullptr;
    const HRESULT hr = cert->get_Data(&data);
    if (com::FAILED(hr)) return hr;
    const std::string pem = text::ToAnsi(std::u16string(com::BstrView(data)));
    com::SysFreeString(data);
    clientCertificate = openssl::ReadPemCertificate(pem);
    if (!clientCertificate) {
        clientKey.reset();
        report(errCertificateImport);
    }
    return S_OK;
}

}  // namespace component::protocol
