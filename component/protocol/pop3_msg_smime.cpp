// CPop3Msg: S/MIME signature checks and decryption. A check of an opaque
// signature and a decryption replace the message's content by the inner
// message; a failure leaves the message as it was and no result file.
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>

#include "component/mime/header_values.h"
#include "component/protocol/exception_barrier.h"
#include "component/protocol/pop3_msg.h"
#include "component/smime/smime_engine.h"
#include "platform/text/code_page.h"

namespace component::protocol {

using com::HRESULT;
using com::S_OK;

namespace {

// The certificate object a VARIANT carries: a dispatch reference, or a
// reference to one. Null when it carries none; `notCertificate` when it
// carries an object without ICertificate.
com::ComPtr<ICertificate> CertificateArgument(const com::VARIANT& in, bool& notCertificate) {
    notCertificate = false;
    const com::VARIANT& v = com::Dereference(in);
    com::IDispatch* object = nullptr;
    if (v.vt == com::VT_DISPATCH)
        object = v.pdispVal;
    else if (v.vt == (com::VT_DISPATCH | com::VT_BYREF) && v.ppdispVal != nullptr)
        object = *v.ppdispVal;
    if (object == nullptr) return nullptr;
    com::ComPtr<ICertificate> certificate;
    if (com::FAILED(com::ComPtr<com::IDispatch>(object).As(&certificate))) notCertificate = true;
    return certificate;
}

// Reads a PEM text property of the certificate object.
HRESULT ReadProperty(ICertificate& certificate, HRESULT (ICertificate::*getter)(com::BSTR*),
                     std::string& out) {
    com::Bstr value;
    const HRESULT hr = (certificate.*getter)(value.ReleaseAndGetAddressOf());
    out = text::ToAnsi(value.View());
    return hr;
}

bool MediaTypeContains(const mime::Headers& headers, std::string_view what) {
    return mime::media_type(headers).find(what) != std::string::npos;
}

std::string LowerContentType(const mime::Headers& headers) {
    std::string value = text::ToAnsi(mime::header_text(headers, "Content-Type"));
    std::transform(value.begin(), value.end(), value.begin(),
                   [](unsigned char c) { return static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c); });
    return value;
}

}  // namespace

void CPop3Msg::ReplaceContent(const std::string& path) {
    DropCaches();
    partSource.reset();
    if (ownsFile && !filename8.empty()) unlink(filename8.c_str());
    memoryData.Reset();
    spool.Release();
    bodyHeld = false;
    Filename = text::FromAnsi(path);
    filename8 = path;
    ownsFile = true;
    // The inner message is the whole new file.
    struct stat info {};
    const bool known = stat(path.c_str(), &info) == 0;
    startOffset = 0;
    endOffset = known ? static_cast<std::int64_t>(info.st_size) : -1;
}

HRESULT CPop3Msg::VerifySignature(com::VARIANT SignerCert) try {
    CallGuard guard(*this);
    if (headersOnlyFlag) return ReportError(errHeadersOnly);
    const mime::Headers current = CurrentHeaders();
    const std::string type = LowerContentType(current);
    const bool detached = type.find("multipart/signed") != std::string::npos;
    if (!detached && type.find("signed-data") == std::string::npos) return ReportError(errNotSigned);

    bool notCertificate = false;
    const auto certificate = CertificateArgument(SignerCert, notCertificate);
    if (notCertificate) return ReportError(errNotACertificate);
    smime::X509Ptr signer;
    if (certificate) {
        std::string pem;
        const HRESULT hr = ReadProperty(*certificate, &ICertificate::get_Data, pem);
        if (com::FAILED(hr)) return hr;
        signer = smime::ReadPemCertificate(pem);
        if (!signer) return ReportError(errCertificateImport);
    }

    const Content& c = ReadContent();
    const mime::MimeNode& root = c.tree.root();
    if (!detached) {
        std::string result;
        const int code = smime::VerifyOpaque(c.tree.body(root), signer.get(), result);
        if (code != smime::kSmimeOk) return ReportError(code);
        ReplaceContent(result);
        return S_OK;
    }

    if (root.children.empty()) return ReportError(errNoSignedPart);
    const mime::MimeNode* signature = nullptr;
    const mime::MimeNode* signedPart = nullptr;
    for (std::size_t i = 0; i < std::min<std::size_t>(2, root.children.size()); ++i) {
        const mime::MimeNode& part = c.tree.node(root.children[i]);
        const bool isSignature = MediaTypeContains(part.headers, "application/x-pkcs7-signature") ||
                                 MediaTypeContains(part.headers, "application/pkcs7-signature");
        (isSignature ? signature : signedPart) = &part;
    }
    if (signedPart == nullptr) return ReportError(errNoSignedPart);
    if (signature == nullptr) return ReportError(errNoSignature);
    const int code = smime::VerifyDetached(
        c.tree.body(*signature), smime::DetachedSignedContent(c.tree.bytes(*signedPart)), signer.get());
    return code == smime::kSmimeOk ? S_OK : ReportError(code);
} catch (...) {
    return ExceptionResult();
}

HRESULT CPop3Msg::Decrypt(com::VARIANT Cert) try {
    CallGuard guard(*this);
    if (headersOnlyFlag) return ReportError(errHeadersOnly);
    const std::string type = LowerContentType(CurrentHeaders());
    if (type.find("pkcs7-mime") == std::string::npos || type.find("p7m") == std::string::npos)
        return ReportError(errNotEncrypted);

    bool notCertificate = false;
    const auto certificate = CertificateArgument(Cert, notCertificate);
    if (notCertificate) return ReportError(errCertificateImport);
    smime::PkeyPtr key;
    smime::X509Ptr cert;
    if (certificate) {
        std::string pem;
        ReadProperty(*certificate, &ICertificate::get_PrivateKey, pem);
        // Without a readable key the decryption goes on and fails.
        key = smime::ReadPemPrivateKey(pem);
        const HRESULT hr = ReadProperty(*certificate, &ICertificate::get_Data, pem);
        if (com::FAILED(hr)) return hr;
        cert = smime::ReadPemCertificate(pem);
        if (!cert) return ReportError(errCertificateImport);
    }

    const Content& c = ReadContent();
    std::string result;
    const int code = smime::Decrypt(c.tree.body(c.tree.root()), key.get(), cert.get(), result);
    if (code != smime::kSmimeOk) return ReportError(code);
    ReplaceContent(result);
    return S_OK;
} catch (...) {
    return ExceptionResult();
}

}  // namespace component::protocol
