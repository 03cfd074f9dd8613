#include "component/smime/smime_engine.h"

#include <openssl/bio.h>
#include <openssl/err.h>
#include <openssl/pem.h>
#include <openssl/provider.h>
#include <unistd.h>

#include <cstdlib>
#include <mutex>

namespace component::smime {
namespace {

using openssl::BioPtr;
using openssl::MemoryBio;

// Output written into the result file, which stays the caller's to close.
BioPtr FileBio(const ResultFile& file) { return BioPtr(BIO_new_fd(file.fd(), BIO_NOCLOSE)); }

}  // namespace

void LoadProviders() {
    // Loading any provider explicitly turns off the implicit default, so both
    // are named; a missing legacy module only loses old ciphers.
    static OSSL_PROVIDER* legacy = nullptr;
    static OSSL_PROVIDER* standard = nullptr;
    static std::once_flag once;
    std::call_once(once, [] {
        legacy = OSSL_PROVIDER_load(nullptr, "legacy");
        standard = OSSL_PROVIDER_load(nullptr, "default");
        ERR_clear_error();
        // Unloaded before OpenSSL's own exit handler runs, so the legacy
        // provider's private library context is torn down with it.
        std::atexit([] {
            if (legacy != nullptr) OSSL_PROVIDER_unload(legacy);
            if (standard != nullptr) OSSL_PROVIDER_unload(standard);
        });
    });
}

CmsPtr ReadBase64Cms(std::string_view base64) {
    BioPtr mem = MemoryBio(base64);
    BIO* b64 = BIO_new(BIO_f_base64());
    if (!mem || b64 == nullptr) {
        BIO_free(b64);
        return nullptr;
    }
    BioPtr chain(BIO_push(b64, mem.release()));
    return CmsPtr(d2i_CMS_bio(chain.get(), nullptr));
}

StorePtr BuildTrustStore(X509* alsoTrusted) {
    StorePtr store(X509_STORE_new());
    if (!store) return nullptr;
    X509_STORE_set_default_paths(store.get());
    if (alsoTrusted != nullptr) X509_STORE_add_cert(store.get(), alsoTrusted);
    ERR_clear_error();  // missing default paths are not an error of ours
    return store;
}

std::string DetachedSignedContent(std::string_view raw) {
    // Drop the boundary line.
    const auto first = raw.find('\n');
    raw = first == std::string_view::npos ? std::string_view{} : raw.substr(first + 1);
    if (raw.empty()) return "\r\n";
    std::string out;
    out.reserve(raw.size() + raw.size() / 32);
    bool firstLine = true;
    while (!raw.empty()) {
        const auto lf = raw.find('\n');
        std::string_view line = raw.substr(0, lf);
        if (lf != std::string_view::npos && !line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (!firstLine) out += "\r\n";
        out.append(line);
        firstLine = false;
        if (lf == std::string_view::npos) break;
        raw.remove_prefix(lf + 1);
    }
    return out;
}

ResultFile::ResultFile() {
    const char* dir = std::getenv("TMPDIR");
    std::string tmpl = (dir != nullptr && *dir != '\0') ? dir : "/tmp";
    if (tmpl.back() != '/') tmpl += '/';
    tmpl += "QELXXXXXX.tmp";
    fd_ = mkstemps(tmpl.data(), 4);  // O_EXCL, mode 0600: never a guessable name
    if (fd_ >= 0) path_ = tmpl;
}

ResultFile::~ResultFile() {
    if (fd_ >= 0) {
        close(fd_);
        unlink(path_.c_str());
    }
}

std::string ResultFile::keep() {
    if (fd_ >= 0) close(fd_);
    fd_ = -1;
    return std::move(path_);
}

int VerifyDetached(std::string_view signatureBase64, std::string_view signedContent, X509* signer) {
    LoadProviders();
    const CmsPtr cms = ReadBase64Cms(signatureBase64);
    if (!cms) {
        ERR_clear_error();
        return errCannotAccessSignature;
    }
    const StorePtr store = BuildTrustStore(signer);
    const BioPtr content = MemoryBio(signedContent);
    const bool ok =
        store && content && CMS_verify(cms.get(), nullptr, store.get(), content.get(), nullptr, 0) == 1;
    ERR_clear_error();
    return ok ? kSmimeOk : errInvalidSignature;
}

int VerifyOpaque(std::string_view signedBase64, X509* signer, std::string& resultPath) {
    LoadProviders();
    const CmsPtr cms = ReadBase64Cms(signedBase64);
    if (!cms) {
        ERR_clear_error();
        return errCannotAccessSignature;
    }
    ResultFile result;
    if (!result.valid()) return errCannotAccessDestination;
    const StorePtr store = BuildTrustStore(signer);
    bool ok = false;
    {
        const BioPtr out = FileBio(result);
        ok = store && out && CMS_verify(cms.get(), nullptr, store.get(), nullptr, out.get(), 0) == 1 &&
             BIO_flush(out.get()) == 1;
    }
    ERR_clear_error();
    if (!ok) return errInvalidSignature;  // the streamed, unverified content goes with the file
    resultPath = result.keep();
    return kSmimeOk;
}

int Decrypt(std::string_view envelopedBase64, EVP_PKEY* key, X509* cert, std::string& resultPath) {
    LoadProviders();
    const CmsPtr cms = ReadBase64Cms(envelopedBase64);
    if (!cms) {
        ERR_clear_error();
        return errCannotAccessEncryptedPart;
    }
    ResultFile result;
    if (!result.valid()) return errCannotAccessDestination;
    if (key == nullptr) return errDecryptFailed;  // nothing could succeed; keep OpenSSL away from a null key
    bool ok = false;
    {
        const BioPtr out = FileBio(result);
        ok =
            out && CMS_decrypt(cms.get(), key, cert, nullptr, out.get(), 0) == 1 && BIO_flush(out.get()) == 1;
    }
    ERR_clear_error();
    if (!ok) return errDecryptFailed;  // a failed decryption may already have written garbage
    resultPath = result.keep();
    return kSmimeOk;
}

}  // namespace component::smime
