#pragma once
// S/MIME on OpenSSL's CMS functions (they read PKCS#7 as well): signature
// checks and decryption over the bytes of a message or of its parts. The
// inner content goes to a private temporary file that is deleted on every
// failure, so no unverified or partial plaintext is ever left for a reader.
#include <openssl/cms.h>
#include <openssl/evp.h>
#include <openssl/x509.h>

#include <memory>
#include <string>
#include <string_view>

#include "component/transport/pem_readers.h"
#include "qelpop3/qelpop3.h"

namespace component::smime {

using openssl::CmsPtr;
using openssl::PkeyPtr;
using openssl::ReadPemCertificate;
using openssl::ReadPemPrivateKey;
using openssl::StorePtr;
using openssl::X509Ptr;

// The S/MIME members report the interface's error codes; 0 is success.
using enum ::qelPop3ErrorsEnum;
inline constexpr int kSmimeOk = errNoError;

// Old S/MIME mail is encrypted with RC2 or DES, which only the legacy
// provider offers; it is loaded once beside the default one.
void LoadProviders();

// A CMS/PKCS#7 structure from its Base64 text (line breaks allowed).
CmsPtr ReadBase64Cms(std::string_view base64);

// The system trust (OpenSSL's default paths, SSL_CERT_FILE / SSL_CERT_DIR
// honoured) plus an optional certificate the caller trusts.
StorePtr BuildTrustStore(X509* alsoTrusted);

// The bytes a detached signature covers: the content part without its first
// (boundary) line, lines joined with CR LF, none after the last line.
std::string DetachedSignedContent(std::string_view contentPartRaw);

// A new "QEL" file in the temporary folder, created exclusively with mode
// 0600; removed on destruction unless kept.
class ResultFile {
public:
    ResultFile();
    ~ResultFile();
    ResultFile(const ResultFile&) = delete;
    ResultFile& operator=(const ResultFile&) = delete;

    bool valid() const { return fd_ >= 0; }
    const std::string& path() const { return path_; }
    int fd() const { return fd_; }
    // Closes the file and hands its name to the caller, who now owns it.
    std::string keep();

private:
    std::string path_;
    int fd_ = -1;
};

// Checks a detached signature over `signedContent`. kSmimeOk, errCannotAccessSignature
// or errInvalidSignature.
int VerifyDetached(std::string_view signatureBase64, std::string_view signedContent, X509* signer);

// Checks an opaque signature; on success `resultPath` names the kept file
// holding the inner content.
int VerifyOpaque(std::string_view signedBase64, X509* signer, std::string& resultPath);

// Opens enveloped data; a missing key or certificate is a failed decryption.
int Decrypt(std::string_view envelopedBase64, EVP_PKEY* key, X509* cert, std::string& resultPath);

}  // namespace component::smime
