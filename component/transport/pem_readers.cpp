#include "component/transport/pem_readers.h"

#include <openssl/err.h>
#include <openssl/pem.h>

namespace component::openssl {

namespace {

// Hands OpenSSL the pass phrase given, or refuses when there is none.
int PassPhraseCallback(char* buffer, int size, int /*rwflag*/, void* user) {
    const auto* phrase = static_cast<const std::string_view*>(user);
    if (phrase == nullptr || phrase->empty() || phrase->size() > static_cast<std::size_t>(size)) return 0;
    phrase->copy(buffer, phrase->size());
    return static_cast<int>(phrase->size());
}

}  // namespace

BioPtr MemoryBio(std::string_view data) {
    return BioPtr(BIO_new_mem_buf(data.data(), static_cast<int>(data.size())));
}

X509Ptr ReadPemCertificate(std::string_view pem) {
    const BioPtr bio = MemoryBio(pem);
    X509Ptr cert(bio ? PEM_read_bio_X509(bio.get(), nullptr, &PassPhraseCallback, nullptr) : nullptr);
    ERR_clear_error();
    return cert;
}

PkeyPtr ReadPemPrivateKey(std::string_view pem, std::string_view passPhrase) {
    const BioPtr bio = MemoryBio(pem);
    PkeyPtr key(bio ? PEM_read_bio_PrivateKey(bio.get(), nullptr, &PassPhraseCallback, &passPhrase)
                    : nullptr);
    ERR_clear_error();
    return key;
}

}  // namespace component::openssl
