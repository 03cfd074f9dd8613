// Signatures and encrypted mail made at test time with the openssl command
// line, checked by the engine; every failure must leave no plaintext behind.
#include <gtest/gtest.h>
#include <openssl/pem.h>
#include <openssl/x509v3.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "component/smime/smime_engine.h"

namespace fs = std::filesystem;
using namespace component::smime;

namespace {

// Signed text uses CR LF and holds a line that starts with a dot.
const std::string kContent =
    "Content-Type: text/plain\r\n"
    "\r\n"
    "Dear Bob,\r\n"
    ".this line starts with a dot\r\n"
    "Regards\r\n";

std::string ReadFile(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

void WriteFile(const fs::path& p, const std::string& data) { std::ofstream(p, std::ios::binary) << data; }

// Bare LF to CR LF, as the mailbox stores every line.
std::string ToCrlf(const std::string& lf) {
    std::string out;
    for (std::size_t i = 0; i < lf.size(); ++i) {
        if (lf[i] == '\n' && (i == 0 || lf[i - 1] != '\r')) out += '\r';
        out += lf[i];
    }
    return out;
}

// The body of a single-part message: everything after the first empty line.
std::string BodyOf(const std::string& message) {
    const auto blank = message.find("\r\n\r\n");
    return blank == std::string::npos ? std::string() : message.substr(blank + 4);
}

int QelFilesIn(const fs::path& dir) {
    int n = 0;
    for (const auto& e : fs::directory_iterator(dir))
        if (e.path().filename().string().rfind("QEL", 0) == 0) ++n;
    return n;
}

class Smime : public testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::path(std::getenv("TMPDIR") ? std::getenv("TMPDIR") : "/tmp") / "smime";
        fs::create_directories(dir_);
        // The command line canonicalises LF to CR LF when it signs or encrypts.
        std::string lf = kContent;
        for (auto at = lf.find('\r'); at != std::string::npos; at = lf.find('\r', at)) lf.erase(at, 1);
        WriteFile(dir_ / "content.txt", lf);
    }

    void Run(const std::string& command) {
        const std::string full = "cd '" + dir_.string() + "' && " + command + " 2>openssl.err";
        ASSERT_EQ(std::system(full.c_str()), 0) << command << "\n" << ReadFile(dir_ / "openssl.err");
    }

    void MakeIdentity(const std::string& name) {
        Run("openssl req -x509 -newkey rsa:2048 -nodes -days 3650 -subj /CN=" + name +
            " -addext extendedKeyUsage=emailProtection -keyout " + name + ".key -out " + name + ".pem");
    }

    X509Ptr Cert(const std::string& name) { return ReadPemCertificate(ReadFile(dir_ / (name + ".pem"))); }
    PkeyPtr Key(const std::string& name) { return ReadPemPrivateKey(ReadFile(dir_ / (name + ".key"))); }
    std::string Message(const std::string& file) { return ToCrlf(ReadFile(dir_ / file)); }

    // Splits a multipart/signed message into the content part's raw bytes
    // (boundary line up to the next boundary) and the signature's Base64.
    static void SplitSigned(const std::string& msg, std::string& contentRaw, std::string& signature) {
        const auto b = msg.find("boundary=\"");
        ASSERT_NE(b, std::string::npos);
        const std::string boundary = "--" + msg.substr(b + 10, msg.find('"', b + 10) - b - 10);
        const auto first = msg.find("\r\n" + boundary + "\r\n") + 2;
        const auto second = msg.find("\r\n" + boundary + "\r\n", first) + 2;
        const auto end = msg.find("\r\n" + boundary + "--", second);
        contentRaw = msg.substr(first, second - first);
        signature = BodyOf(msg.substr(second, end - second));
    }

    fs::path dir_;
};

TEST_F(Smime, DetachedSignatureVerifiesWithTheSignerAndFailsWhenTampered) {
    MakeIdentity("alice");
    Run("openssl smime -sign -in content.txt -signer alice.pem -inkey alice.key -out signed.eml");
    std::string contentRaw, signature;
    SplitSigned(Message("signed.eml"), contentRaw, signature);
    ASSERT_EQ(DetachedSignedContent(contentRaw), kContent);

    const auto alice = Cert("alice");
    EXPECT_EQ(VerifyDetached(signature, DetachedSignedContent(contentRaw), alice.get()), kSmimeOk);
    // Not in the system trust and not given: the chain does not verify.
    EXPECT_EQ(VerifyDetached(signature, DetachedSignedContent(contentRaw), nullptr), errInvalidSignature);

    std::string tampered = contentRaw;
    tampered.replace(tampered.find("Bob"), 3, "Eve");
    EXPECT_EQ(VerifyDetached(signature, DetachedSignedContent(tampered), alice.get()), errInvalidSignature);
    // One CR LF too many at the end changes the signed bytes.
    EXPECT_EQ(VerifyDetached(signature, DetachedSignedContent(contentRaw) + "\r\n", alice.get()),
              errInvalidSignature);
    EXPECT_EQ(VerifyDetached("not base64 at all!", kContent, alice.get()), errCannotAccessSignature);
}

TEST_F(Smime, SignerCertificateInTheSystemTrustNeedsNoArgument) {
    MakeIdentity("alice");
    Run("openssl smime -sign -in content.txt -signer alice.pem -inkey alice.key -out signed.eml");
    std::string contentRaw, signature;
    SplitSigned(Message("signed.eml"), contentRaw, signature);
    setenv("SSL_CERT_FILE", (dir_ / "alice.pem").c_str(), 1);
    EXPECT_EQ(VerifyDetached(signature, DetachedSignedContent(contentRaw), nullptr), kSmimeOk);
    unsetenv("SSL_CERT_FILE");
}

TEST_F(Smime, OpaqueSignatureYieldsTheInnerContentOnlyWhenVerified) {
    MakeIdentity("alice");
    MakeIdentity("mallory");
    Run("openssl smime -sign -nodetach -in content.txt -signer alice.pem -inkey alice.key -out opaque.eml");
    const std::string body = BodyOf(Message("opaque.eml"));

    std::string result;
    EXPECT_EQ(VerifyOpaque(body, Cert("mallory").get(), result), errInvalidSignature);
    EXPECT_TRUE(result.empty());
    EXPECT_EQ(QelFilesIn(dir_.parent_path()), 0) << "unverified content left on disk";

    ASSERT_EQ(VerifyOpaque(body, Cert("alice").get(), result), kSmimeOk);
    EXPECT_EQ(ReadFile(result), kContent);
    EXPECT_EQ(fs::status(result).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_EQ(fs::path(result).filename().string().rfind("QEL", 0), 0u);
    fs::remove(result);
}

TEST_F(Smime, ExpiredSignerDoesNotVerify) {
    // The command line cannot date a certificate in the past: make it here.
    PkeyPtr key(EVP_RSA_gen(2048));
    ASSERT_TRUE(key);
    X509Ptr cert(X509_new());
    X509_set_version(cert.get(), 2);
    ASN1_INTEGER_set(X509_get_serialNumber(cert.get()), 7);
    X509_gmtime_adj(X509_getm_notBefore(cert.get()), -3 * 86400);
    X509_gmtime_adj(X509_getm_notAfter(cert.get()), -86400);
    X509_set_pubkey(cert.get(), key.get());
    X509_NAME* name = X509_get_subject_name(cert.get());
    X509_NAME_add_entry_by_txt(name, "CN", MBSTRING_ASC, reinterpret_cast<const unsigned char*>("Old"), -1,
                               -1, 0);
    X509_set_issuer_name(cert.get(), name);
    ASSERT_GT(X509_sign(cert.get(), key.get(), EVP_sha256()), 0);
    {
        FILE* f = std::fopen((dir_ / "old.pem").c_str(), "w");
        PEM_write_X509(f, cert.get());
        std::fclose(f);
        f = std::fopen((dir_ / "old.key").c_str(), "w");
        PEM_write_PrivateKey(f, key.get(), nullptr, nullptr, 0, nullptr, nullptr);
        std::fclose(f);
    }
    Run("openssl smime -sign -in content.txt -signer old.pem -inkey old.key -out signed.eml");
    std::string contentRaw, signature;
    SplitSigned(Message("signed.eml"), contentRaw, signature);
    EXPECT_EQ(VerifyDetached(signature, DetachedSignedContent(contentRaw), cert.get()), errInvalidSignature);
}

TEST_F(Smime, DecryptsModernAndLegacyCiphersWithTheRightKeyOnly) {
    MakeIdentity("bob");
    MakeIdentity("carol");
    Run("openssl smime -encrypt -aes256 -in content.txt -out aes.eml bob.pem");
    Run("openssl smime -encrypt -rc2-40 -provider legacy -provider default -in content.txt -out rc2.eml "
        "bob.pem");
    const auto bobKey = Key("bob");
    const auto bobCert = Cert("bob");
    ASSERT_TRUE(bobKey && bobCert);

    for (const char* file : {"aes.eml", "rc2.eml"}) {
        std::string result;
        ASSERT_EQ(Decrypt(BodyOf(Message(file)), bobKey.get(), bobCert.get(), result), kSmimeOk) << file;
        EXPECT_EQ(ReadFile(result), kContent) << file;
        fs::remove(result);
    }

    std::string result;
    EXPECT_EQ(Decrypt(BodyOf(Message("aes.eml")), Key("carol").get(), Cert("carol").get(), result),
              errDecryptFailed);
    EXPECT_EQ(Decrypt(BodyOf(Message("aes.eml")), nullptr, bobCert.get(), result), errDecryptFailed);
    EXPECT_EQ(Decrypt("AAAA", bobKey.get(), bobCert.get(), result), errCannotAccessEncryptedPart);
    EXPECT_TRUE(result.empty());
    EXPECT_EQ(QelFilesIn(dir_.parent_path()), 0) << "garbage plaintext left on disk";
}

TEST(SmimePem, UnreadableInputGivesNothingAndNeverPrompts) {
    EXPECT_FALSE(ReadPemCertificate("-----BEGIN CERTIFICATE-----\nAAAA\n-----END CERTIFICATE-----\n"));
    EXPECT_FALSE(ReadPemPrivateKey(""));
    // An encrypted key without a pass phrase fails instead of asking for one.
    PkeyPtr key(EVP_RSA_gen(1024));
    BIO* bio = BIO_new(BIO_s_mem());
    PEM_write_bio_PrivateKey(bio, key.get(), EVP_aes_128_cbc(), nullptr, 0, nullptr,
                             const_cast<char*>("secret"));
    char* data = nullptr;
    const long len = BIO_get_mem_data(bio, &data);
    const std::string pem(data, static_cast<std::size_t>(len));
    BIO_free(bio);
    EXPECT_FALSE(ReadPemPrivateKey(pem));
}

TEST(SmimeContent, DetachedContentRejoinsLinesWithoutTheLastBreak) {
    struct {
        const char* raw;
        const char* signedBytes;
    } const cases[] = {
        {"--b\r\nline1\r\nline2\r\n", "line1\r\nline2"},
        {"--b\nbare\nlf\n", "bare\r\nlf"},
        {"--b\r\ntext\r\n\r\n", "text\r\n"},
        {"--b\r\npartial", "partial"},
        {"--b only", "\r\n"},
        {"", "\r\n"},
    };
    for (const auto& c : cases) EXPECT_EQ(DetachedSignedContent(c.raw), c.signedBytes) << c.raw;
}

}  // namespace
