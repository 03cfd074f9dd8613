#pragma once
// The PEM readers of the component. They never prompt on a terminal: a key
// protected by a pass phrase reads only with `passPhrase` given.
#include <string_view>

#include "component/transport/openssl_types.h"

namespace component::openssl {

// A read-only memory BIO over `data`, which must outlive it.
BioPtr MemoryBio(std::string_view data);
// The first certificate of `pem`, or null.
X509Ptr ReadPemCertificate(std::string_view pem);
// The first private key of `pem`, or null (also for a wrong pass phrase).
PkeyPtr ReadPemPrivateKey(std::string_view pem, std::string_view passPhrase = {});

}  // namespace component::openssl
