// S/MIME on the message object: signatures and encrypted mail made at test
// time with the openssl command line, certificates given as ICertificate.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "tests/component/message/message_test_util.h"

using namespace msgtest;
namespace fs = std::filesystem;

namespace {

// Just what the message reads of a certificate object.
class TestCertificate final : public com::ComClass<com::DispatchImpl<ICertificate>> {
public:
    std::string data;
    std::string privateKey;

    com::HRESULT get_Data(com::BSTR* v) override { return Copy(data, v); }
    com::HRESULT get_PrivateKey(com::BSTR* v) override { return Copy(privateKey, v); }
    com::HRESULT get_HasPrivateKey(com::VARIANT_BOOL* v) override {
        *v = com::ToVariantBool(!privateKey.empty());
        return com::S_OK;
    }
    com::HRESULT get_Handle(std::int32_t*) override { return com::E_FAIL; }
    com::HRESULT put_Handle(std::int32_t) override { return com::E_NOTIMPL; }
    com::HRESULT get_Subject(com::BSTR*) override { return com::E_NOTIMPL; }
    com::HRESULT get_Issuer(com::BSTR*) override { return com::E_NOTIMPL; }
    com::HRESULT get_ValidFrom(com::DATE*) override { return com::E_NOTIMPL; }
    com::HRESULT get_ValidTo(com::DATE*) override { return com::E_NOTIMPL; }
    com::HRESULT get_SerialNumber(com::BSTR*) override { return com::E_NOTIMPL; }
    com::HRESULT Load(com::BSTR, com::BSTR, com::BSTR) override { return com::E_NOTIMPL; }

protected:
    const com::DispatchTable<ICertificate>& GetDispatchTable() const override {
        static const com::DispatchTable<ICertificate> table{};
        return table;
    }

private:
    static com::HRESULT Copy(const std::string& text, com::BSTR* v) {
        *v = com::SysAllocStringView(text::FromAnsi(text));
        return com::S_OK;
    }
};

// An object that is not a certificate.
class NotACertificate final : public com::ComClass<com::DispatchImpl<IPop3Hdr>> {
public:
    com::HRESULT ToString(com::BSTR*) override { return com::E_NOTIMPL; }
    com::HRESULT get_Name(com::BSTR*) override { return com::E_NOTIMPL; }
    com::HRESULT put_Name(com::BSTR) override { return com::E_NOTIMPL; }
    com::HRESULT get_Value(com::BSTR*) override { return com::E_NOTIMPL; }
    com::HRESULT put_Value(com::BSTR) override { return com::E_NOTIMPL; }

protected:
    const com::DispatchTable<IPop3Hdr>& GetDispatchTable() const override {
        static const com::DispatchTable<IPop3Hdr> table{};
        return table;
    }
};

const std::string kInner =
    "Subject: the inner message\r\n"
    "From: alice@example.org\r\n"
    "Content-Type: text/plain\r\n"
    "\r\n"
    "Meet at noon.\r\n";

std::string ToCrlf(const std::string& lf) {
    std::string out;
    for (std::size_t i = 0; i < lf.size(); ++i) {
        if (lf[i] == '\n' && (i == 0 || lf[i - 1] != '\r')) out += '\r';
        out += lf[i];
    }
    return out;
}

int QelFiles() {
    int n = 0;
    for (const auto& e : fs::directory_iterator(TempDir()))
        if (e.path().filename().string().rfind("QEL", 0) == 0) ++n;
    return n;
}

class MessageSmime : public testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::path(TempDir()) / "smime";
        fs::create_directories(dir_);
        std::string lf = kInner;
        std::erase(lf, '\r');
        std::ofstream(dir_ / "inner.txt", std::ios::binary) << lf;
        Run("openssl req -x509 -newkey rsa:2048 -nodes -days 3650 -subj /CN=alice"
            " -addext extendedKeyUsage=emailProtection -keyout alice.key -out alice.pem");
        Run("openssl req -x509 -newkey rsa:2048 -nodes -days 3650 -subj /CN=eve -keyout eve.key -out "
            "eve.pem");
    }

    void Run(const std::string& command) {
        const std::string full = "cd '" + dir_.string() + "' && " + command + " 2>openssl.err";
        ASSERT_EQ(std::system(full.c_str()), 0) << command;
    }
    std::string File(const std::string& name) { return ReadFile((dir_ / name).string()); }

    com::ComPtr<TestCertificate> Identity(const std::string& name, bool withKey) {
        auto cert = com::MakeComObject<TestCertificate>();
        cert->data = File(name + ".pem");
        if (withKey) cert->privateKey = File(name + ".key");
        return cert;
    }

    fs::path dir_;
};

com::Variant Arg(com::IDispatch* object) { return com::Variant(object); }

TEST_F(MessageSmime, OpaqueSignatureReplacesTheContentByTheInnerMessage) {
    Run("openssl smime -sign -nodetach -in inner.txt -signer alice.pem -inkey alice.key -out opaque.eml");
    auto message = Downloaded(ToCrlf(File("opaque.eml")));
    const std::string before = message->FilenameAnsi();
    const auto alice = Identity("alice", false);
    ASSERT_EQ(message->VerifySignature(Arg(alice.Get())), com::S_OK);
    EXPECT_FALSE(FileExists(before));
    const std::string after = message->FilenameAnsi();
    EXPECT_EQ(fs::path(after).filename().string().rfind("QEL", 0), 0u);
    EXPECT_EQ(Text<IPop3Msg>(message.Get(), &IPop3Msg::get_Subject), "the inner message");
    EXPECT_EQ(Text<IPop3Msg>(message.Get(), &IPop3Msg::get_PlainText), "Meet at noon.\r\n");
    EXPECT_EQ(Text<IPop3Msg>(message.Get(), &IPop3Msg::get_Body), kInner);
    message = nullptr;
    EXPECT_FALSE(FileExists(after));
    EXPECT_EQ(QelFiles(), 0);
}

TEST_F(MessageSmime, DetachedSignatureVerifiesAndLeavesTheMessageAsItWas) {
    Run("openssl smime -sign -in inner.txt -signer alice.pem -inkey alice.key -out signed.eml");
    const std::string text = ToCrlf(File("signed.eml"));
    const auto message = Downloaded(text);
    const std::string file = message->FilenameAnsi();
    EXPECT_EQ(message->VerifySignature(Arg(Identity("alice", false).Get())), com::S_OK);
    EXPECT_EQ(message->FilenameAnsi(), file);
    EXPECT_EQ(Text<IPop3Msg>(message.Get(), &IPop3Msg::get_Body), text);
    // Neither in the system trust nor given: the chain does not verify.
    EXPECT_EQ(message->VerifySignature(com::Variant()), com::CtlError(errInvalidSignature));
}

struct FailureCase {
    const char* name;
    std::string (*tamper)(std::string);
    bool useEve;
    std::int32_t code;
};
void PrintTo(const FailureCase& c, std::ostream* os) { *os << c.name; }

class MessageSmimeFailure : public MessageSmime, public testing::WithParamInterface<FailureCase> {};

TEST_P(MessageSmimeFailure, LeavesTheMessageUnchangedAndNoResultFile) {
    Run("openssl smime -sign -nodetach -in inner.txt -signer alice.pem -inkey alice.key -out opaque.eml");
    const std::string text = GetParam().tamper(ToCrlf(File("opaque.eml")));
    const auto message = Downloaded(text);
    const std::string file = message->FilenameAnsi();
    const auto signer = Identity(GetParam().useEve ? "eve" : "alice", false);
    EXPECT_EQ(message->VerifySignature(Arg(signer.Get())),
              com::CtlError(static_cast<std::uint16_t>(GetParam().code)));
    EXPECT_EQ(message->FilenameAnsi(), file);
    EXPECT_EQ(Text<IPop3Msg>(message.Get(), &IPop3Msg::get_Body), text);
    EXPECT_EQ(QelFiles(), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Table, MessageSmimeFailure,
    testing::Values(FailureCase{"WrongSigner", [](std::string s) { return s; }, true, errInvalidSignature},
                    FailureCase{"BrokenSignature",
                                [](std::string s) {
                                    const auto body = s.find("\r\n\r\n") + 4;
                                    return s.substr(0, body) + "!!!!not base64\r\n";
                                },
                                false, errCannotAccessSignature},
                    FailureCase{"NotSigned",
                                [](std::string) { return std::string("Subject: x\r\n\r\nplain\r\n"); }, false,
                                errNotSigned}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(MessageSmime, DecryptionReplacesTheContentWithEveryCipher) {
    for (const char* cipher : {"-aes256", "-des3"}) {
        SCOPED_TRACE(cipher);
        Run(std::string("openssl smime -encrypt ") + cipher + " -in inner.txt -out enc.eml alice.pem");
        auto message = Downloaded(ToCrlf(File("enc.eml")));
        const std::string before = message->FilenameAnsi();
        ASSERT_EQ(message->Decrypt(Arg(Identity("alice", true).Get())), com::S_OK);
        EXPECT_FALSE(FileExists(before));
        EXPECT_EQ(Text<IPop3Msg>(message.Get(), &IPop3Msg::get_Subject), "the inner message");
        EXPECT_EQ(Text<IPop3Msg>(message.Get(), &IPop3Msg::get_Text), "Meet at noon.\r\n");
        message = nullptr;
        EXPECT_EQ(QelFiles(), 0);
    }
}

TEST_F(MessageSmime, FailedDecryptionLeavesTheMessageUnchanged) {
    Run("openssl smime -encrypt -aes256 -in inner.txt -out enc.eml alice.pem");
    const std::string text = ToCrlf(File("enc.eml"));
    const auto message = Downloaded(text);
    const std::string file = message->FilenameAnsi();
    struct Row {
        const char* name;
        com::Variant arg;
        std::int32_t code;
    };
    const auto notCertificate = com::MakeComObject<NotACertificate>();
    Row rows[] = {
        {"NoCertificate", com::Variant(), errDecryptFailed},
        {"WrongKey", Arg(Identity("eve", true).Get()), errDecryptFailed},
        {"KeyMissing", Arg(Identity("alice", false).Get()), errDecryptFailed},
        {"NotACertificate", Arg(notCertificate.Get()), errCertificateImport},
    };
    for (auto& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(message->Decrypt(row.arg), com::CtlError(static_cast<std::uint16_t>(row.code)));
        EXPECT_EQ(message->FilenameAnsi(), file);
        EXPECT_EQ(Text<IPop3Msg>(message.Get(), &IPop3Msg::get_Body), text);
        EXPECT_EQ(QelFiles(), 0);
    }
    const auto plain = Downloaded("Subject: x\r\n\r\nplain\r\n");
    EXPECT_EQ(plain->Decrypt(com::Variant()), com::CtlError(errNotEncrypted));
    EXPECT_EQ(plain->VerifySignature(Arg(notCertificate.Get())), com::CtlError(errNotSigned));
}

}  // namespace
