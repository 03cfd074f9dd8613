// The certificate object: loading a client certificate and key from PEM,
// what it tells about a certificate, and Handle naming the same one.
#include "component/protocol/certificate.h"

#include <gtest/gtest.h>
#include <openssl/evp.h>
#include <openssl/pem.h>
#include <openssl/x509.h>

#include <functional>
#include <memory>
#include <string>

#include "platform/com/dispatch_args.h"
#include "platform/text/code_page.h"

namespace {

using component::protocol::CCertificate;

std::string Pem(const std::function<int(BIO*)>& write) {
    std::unique_ptr<BIO, decltype(&BIO_free)> bio(BIO_new(BIO_s_mem()), &BIO_free);
    write(bio.get());
    char* data = nullptr;
    const long n = BIO_get_mem_data(bio.get(), &data);
    return std::string(data, static_cast<std::size_t>(n));
}

struct Identity {
    std::string cert, key, encryptedKey, otherKey;
};

// A self-signed certificate for "client.example" and its key, made once.
const Identity& Made() {
    static const Identity id = [] {
        EVP_PKEY* key = EVP_EC_gen("P-256");
        EVP_PKEY* other = EVP_EC_gen("P-256");
        X509* x = X509_new();
        ASN1_INTEGER_set(X509_get_serialNumber(x), 0x1234);
        X509_gmtime_adj(X509_getm_notBefore(x), 0);
        X509_gmtime_adj(X509_getm_notAfter(x), 10L * 86400);
        X509_NAME* name = X509_get_subject_name(x);
        X509_NAME_add_entry_by_txt(name, "CN", MBSTRING_ASC,
                                   reinterpret_cast<const unsigned char*>("client.example"), -1, -1, 0);
        X509_set_issuer_name(x, name);
        X509_set_pubkey(x, key);
        X509_sign(x, key, EVP_sha256());
        Identity r;
        r.cert = Pem([&](BIO* b) { return PEM_write_bio_X509(b, x); });
        r.key = Pem(
            [&](BIO* b) { return PEM_write_bio_PrivateKey(b, key, nullptr, nullptr, 0, nullptr, nullptr); });
        r.encryptedKey = Pem([&](BIO* b) {
            return PEM_write_bio_PKCS8PrivateKey(b, key, EVP_aes_128_cbc(), nullptr, 0, nullptr,
                                                 const_cast<char*>("phrase"));
        });
        r.otherKey = Pem([&](BIO* b) {
            return PEM_write_bio_PrivateKey(b, other, nullptr, nullptr, 0, nullptr, nullptr);
        });
        X509_free(x);
        EVP_PKEY_free(key);
        EVP_PKEY_free(other);
        return r;
    }();
    return id;
}

com::Bstr B(const std::string& s) { return com::Bstr(text::FromAnsi(s)); }

struct LoadCase {
    const char* name;
    std::string Identity::*cert;  // null: not a certificate
    std::string Identity::*key;   // null: no key
    const char* phrase;
    std::int32_t code;  // 0, 30026 or 30027
    bool hasKey;
};
void PrintTo(const LoadCase& c, std::ostream* os) { *os << c.name; }

class CertificateLoad : public testing::TestWithParam<LoadCase> {};

TEST_P(CertificateLoad, LoadsOrFailsWithItsCode) {
    const auto& p = GetParam();
    const Identity& id = Made();
    auto cert = com::MakeComObject<CCertificate>();
    const com::Bstr certText = B(p.cert ? id.*p.cert : "-----BEGIN CERTIFICATE-----\nnot base64\n");
    const com::Bstr keyText = B(p.key ? id.*p.key : "");
    const com::Bstr phrase = B(p.phrase);
    // stdin closed: a reader that asked on the terminal would fail or hang.
    const com::HRESULT hr = cert->Load(certText.Get(), keyText.Get(), phrase.Get());
    EXPECT_EQ(hr, p.code == 0 ? com::S_OK : com::CtlError(static_cast<std::uint16_t>(p.code)));
    com::VARIANT_BOOL hasKey = com::VARIANT_TRUE;
    cert->get_HasPrivateKey(&hasKey);
    EXPECT_EQ(hasKey, com::ToVariantBool(p.hasKey));
    com::Bstr pem;
    EXPECT_EQ(com::SUCCEEDED(cert->get_PrivateKey(pem.ReleaseAndGetAddressOf())), p.hasKey);
    if (p.hasKey) {
        // The key comes back as PEM that reads as the same key.
        auto again = com::MakeComObject<CCertificate>();
        const com::Bstr none = B("");
        EXPECT_EQ(again->Load(certText.Get(), pem.Get(), none.Get()), com::S_OK);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CertificateLoad,
    testing::Values(
        LoadCase{"CertificateAndKey", &Identity::cert, &Identity::key, "", 0, true},
        LoadCase{"CertificateAlone", &Identity::cert, nullptr, "", 0, false},
        LoadCase{"EncryptedKeyWithItsPhrase", &Identity::cert, &Identity::encryptedKey, "phrase", 0, true},
        LoadCase{"EncryptedKeyWithoutPhrase", &Identity::cert, &Identity::encryptedKey, "", 30026, false},
        LoadCase{"EncryptedKeyWrongPhrase", &Identity::cert, &Identity::encryptedKey, "nope", 30026, false},
        LoadCase{"KeyOfAnotherCertificate", &Identity::cert, &Identity::otherKey, "", 30026, false},
        LoadCase{"NotACertificate", nullptr, &Identity::key, "", 30027, false}),
    [](const auto& info) { return info.param.name; });

TEST(Certificate, DescribesItselfAndSharesByHandle) {
    const Identity& id = Made();
    auto cert = com::MakeComObject<CCertificate>();
    const com::Bstr c = B(id.cert), k = B(id.key), none = B("");
    ASSERT_EQ(cert->Load(c.Get(), k.Get(), none.Get()), com::S_OK);

    // Late-bound, as a script would read it.
    struct Expect {
        const char16_t* member;
        std::string text;
    } const texts[] = {{u"Subject", "CN=client.example"},
                       {u"Issuer", "CN=client.example"},
                       {u"SerialNumber", "1234"},
                       {u"Data", id.cert}};
    for (const auto& e : texts) {
        com::DISPID dispid = 0;
        ASSERT_EQ(com::GetDispatchId(cert.Get(), e.member, &dispid), com::S_OK);
        com::DispatchArgs none_args;
        com::Variant result;
        ASSERT_EQ(com::InvokePropertyGet(cert.Get(), dispid, none_args, &result), com::S_OK);
        EXPECT_EQ(text::ToAnsi(result.TextView()), e.text);
    }
    com::DATE from = 0, to = 0;
    ASSERT_EQ(cert->get_ValidFrom(&from), com::S_OK);
    ASSERT_EQ(cert->get_ValidTo(&to), com::S_OK);
    EXPECT_NEAR(to - from, 10.0, 1.0 / 86400);

    std::int32_t handle = 0;
    cert->get_Handle(&handle);
    EXPECT_NE(handle, 0);
    auto other = com::MakeComObject<CCertificate>();
    ASSERT_EQ(other->put_Handle(handle), com::S_OK);
    com::VARIANT_BOOL hasKey = com::VARIANT_FALSE;
    other->get_HasPrivateKey(&hasKey);
    EXPECT_EQ(hasKey, com::VARIANT_TRUE);
    com::Bstr subject;
    other->get_Subject(subject.ReleaseAndGetAddressOf());
    EXPECT_EQ(text::ToAnsi(subject.View()), "CN=client.example");
    // Once no object holds it, the handle names nothing.
    cert = nullptr;
    other = nullptr;
    auto late = com::MakeComObject<CCertificate>();
    EXPECT_EQ(late->put_Handle(handle), com::E_INVALIDARG);
    EXPECT_EQ(late->get_Subject(subject.ReleaseAndGetAddressOf()), com::CtlError(30025));
}

}  // namespace
