// The component over TLS against the real POP3 server of the test fixture:
// STLS and implicit TLS, the server certificate as the client sees it, and
// what the client's answer about it does.
#include <gtest/gtest.h>
#include <openssl/x509.h>
#include <openssl/x509_vfy.h>
#include <unistd.h>

#include <cstdlib>
#include <ctime>
#include <fstream>
#include <sstream>

#include "component/protocol/certificate.h"
#include "platform/net/resolver.h"
#include "tests/component/protocol/client_harness.h"
#include "tests/support/pop3d_mailbox.h"

using namespace harness;
using testsupport::Pop3dMailbox;
using testsupport::Pop3dServer;

namespace {

constexpr int kSelfSigned = 50000 + X509_V_ERR_DEPTH_ZERO_SELF_SIGNED_CERT;
constexpr int kNameMismatch = 50000 + X509_V_ERR_HOSTNAME_MISMATCH;

std::string Name(std::string_view suffix) {
    static const std::string prefix =
        "tls-" + std::to_string(getpid()) + "-" + std::to_string(time(nullptr)) + "-";
    return prefix + std::string(suffix);
}

std::string FileText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

std::string Text(ICertificate* cert, com::HRESULT (ICertificate::*get)(com::BSTR*)) {
    com::Bstr value;
    if (com::FAILED((cert->*get)(value.ReleaseAndGetAddressOf()))) return "<failed>";
    return Narrow(value.View());
}

class Pop3dTls : public testing::Test {
protected:
    void TearDown() override { unsetenv("SSL_CERT_FILE"); }
    // With no trust the fixture's self-signed certificate cannot verify;
    // trusting its file makes it verify.
    void Trust(bool trusted) {
        setenv("SSL_CERT_FILE", trusted ? box.certificateFile().c_str() : "/nonexistent", 1);
    }
    void Configure(Client& c, Pop3SecurityEnum security, bool blocking,
                   const std::string& host = "127.0.0.1") {
        c.pop3->put_Security(security);
        const std::uint16_t port = security == SecurityImplicit ? box.tlsPort : box.port;
        c.Settings(port, blocking, mailbox.user(), mailbox.password(), host);
        c.pop3->put_Authentication(AuthUserPass);
    }
    bool ConnectAndWait(Client& c, bool blocking) {
        const com::HRESULT hr = c.pop3->Connect();
        if (blocking || com::FAILED(hr)) return hr == com::S_OK;
        EXPECT_TRUE(
            PumpUntil([&] { return c.notify->Count("Connected") + c.notify->Count("Disconnected") > 0; }));
        return c.State() == Connected;
    }

    Pop3dServer box = Pop3dServer::fromEnvironment();
    Pop3dMailbox mailbox{box};
};

struct TlsMode {
    const char* name;
    Pop3SecurityEnum security;
    bool trusted;
    bool blocking;
};
void PrintTo(const TlsMode& m, std::ostream* os) { *os << m.name; }

class Pop3dTlsModes : public Pop3dTls, public testing::WithParamInterface<TlsMode> {};

TEST_P(Pop3dTlsModes, CertificateReportedThenFullDownloadOverTls) {
    const auto& p = GetParam();
    const std::string first = "Subject: one\r\n\r\n" + std::string(40000, 'a') + "\r\n.dot\r\n";
    const std::string second = "Subject: two\r\n\r\nShort.\r\n";
    mailbox.add(Name("0001"), first);
    mailbox.add(Name("0002"), second);
    Trust(p.trusted);
    Client c;
    Configure(c, p.security, p.blocking);
    std::string subject, data, serial;
    com::VARIANT_BOOL hasKey = com::VARIANT_TRUE;
    com::DATE from = 0, to = 0;
    c.notify->onHostCertificate = [&](ICertificate* cert, com::VARIANT_BOOL*) {
        ASSERT_NE(cert, nullptr);
        subject = Text(cert, &ICertificate::get_Subject);
        data = Text(cert, &ICertificate::get_Data);
        serial = Text(cert, &ICertificate::get_SerialNumber);
        cert->get_HasPrivateKey(&hasKey);
        cert->get_ValidFrom(&from);
        cert->get_ValidTo(&to);
    };
    ASSERT_TRUE(ConnectAndWait(c, p.blocking)) << c.LastError() << " " << c.LastErrorText();
    // The check's failure comes with OpenSSL's words for it.
    const std::string reported = p.trusted ? "0 ''"
                                           : std::to_string(kSelfSigned) + " '" +
                                                 X509_verify_cert_error_string(kSelfSigned - 50000) + "'";
    EXPECT_EQ(c.notify->Count("HostCertificate"), 1);
    EXPECT_EQ(c.notify->Count("HostCertificate " + reported + " cert"), 1);
    EXPECT_EQ(subject, "CN=localhost");
    EXPECT_EQ(data, FileText(box.certificateFile()));
    EXPECT_FALSE(serial.empty());
    EXPECT_EQ(hasKey, com::VARIANT_FALSE);
    EXPECT_GT(to - from, 29.0);  // the fixture's certificate is made for 30 days
    // Implicit TLS passes NegotiatingSSL and EstablishedSSL before the
    // greeting; STLS leaves LogonInProgress for NegotiatingSSL and stays
    // there until the listing ends.
    const std::vector<std::string> implicitStates = {"StateChange 0", "StateChange 1", "StateChange 7",
                                                     "StateChange 8"};
    const std::vector<std::string> stlsStates = {"StateChange 0", "StateChange 1", "StateChange 2",
                                                 "StateChange 7"};
    std::vector<std::string> states;
    for (const auto& e : c.notify->events)
        if (e.starts_with("StateChange")) states.push_back(e);
    const auto& expected = p.security == SecurityImplicit ? implicitStates : stlsStates;
    ASSERT_GE(states.size(), expected.size());
    EXPECT_EQ(std::vector<std::string>(states.begin(), states.begin() + expected.size()), expected);

    ASSERT_EQ(c.Count(), 2);
    ASSERT_EQ(c.Messages()->GetAll(), com::S_OK);
    if (!p.blocking) {
        EXPECT_TRUE(PumpUntil([&] { return c.notify->Count("Done") > 0; }));
    }
    EXPECT_EQ(Body(c.Message(0).Get()), first);
    EXPECT_EQ(Body(c.Message(1).Get()), second);
    c.Message(1)->put_MarkDelete(com::VARIANT_TRUE);
    c.pop3->Disconnect();
    EXPECT_TRUE(PumpUntil([&] { return c.State() == Disconnected; }));
    // QUIT went through TLS too: the deletion is committed.
    EXPECT_EQ(mailbox.messageCount(), 1);
}

INSTANTIATE_TEST_SUITE_P(
    Modes, Pop3dTlsModes,
    testing::Values(TlsMode{"StlsAllowedUntrustedNonBlocking", SecurityAllowed, false, false},
                    TlsMode{"StlsRequiredTrustedBlocking", SecurityRequired, true, true},
                    TlsMode{"ImplicitUntrustedBlocking", SecurityImplicit, false, true},
                    TlsMode{"ImplicitTrustedNonBlocking", SecurityImplicit, true, false}),
    [](const auto& info) { return info.param.name; });

// What the client does inside HostCertificate, and how the session ends.
struct Answer {
    const char* name;
    Pop3SecurityEnum security;
    enum Action { Refuse, DisconnectInside, ReleaseInside, ModalDialog } action;
};
void PrintTo(const Answer& a, std::ostream* os) { *os << a.name; }

class Pop3dTlsAnswers : public Pop3dTls, public testing::WithParamInterface<Answer> {};

TEST_P(Pop3dTlsAnswers, ClientAnswerDecidesTheSession) {
    const auto& p = GetParam();
    mailbox.add(Name("0001"), "Subject: x\r\n\r\nbody\r\n");
    Trust(false);
    auto c = std::make_unique<Client>();
    Configure(*c, p.security, false);
    bool released = false;
    c->notify->onHostCertificate = [&](ICertificate*, com::VARIANT_BOOL* accept) {
        switch (p.action) {
            case Answer::Refuse:
                *accept = com::VARIANT_FALSE;
                break;
            case Answer::DisconnectInside:
                c->pop3->Disconnect();
                break;
            case Answer::ReleaseInside:
                c->pop3 = nullptr;
                released = true;
                break;
            case Answer::ModalDialog: {
                // A dialog runs the loop while the user thinks about it.
                const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(400);
                PumpUntil([&] { return std::chrono::steady_clock::now() > until; });
                break;
            }
        }
    };
    const auto notify = c->notify;
    ASSERT_EQ(c->pop3->Connect(), com::S_OK);
    PumpUntil([&] {
        return notify->Count("Connected") + notify->Count("Disconnected") > 0 ||
               (released && notify->Count("HostCertificate") > 0);
    });
    EXPECT_EQ(notify->Count("HostCertificate"), 1);
    switch (p.action) {
        case Answer::Refuse:
            EXPECT_EQ(notify->Count("Disconnected 10053 "), 1);
            EXPECT_EQ(notify->Count("Connected"), 0);
            EXPECT_EQ(c->LastError(), 10053);
            break;
        case Answer::DisconnectInside:
            EXPECT_EQ(notify->Count("Connected"), 0);
            EXPECT_EQ(c->State(), Disconnected);
            break;
        case Answer::ReleaseInside:
            // Nothing of the released object may run afterwards.
            PumpUntil([&, until = std::chrono::steady_clock::now() + std::chrono::milliseconds(200)] {
                return std::chrono::steady_clock::now() > until;
            });
            EXPECT_EQ(notify->Count("Connected"), 0);
            break;
        case Answer::ModalDialog:
            EXPECT_EQ(notify->Count("Connected"), 1);
            EXPECT_EQ(c->Count(), 1);
            break;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Answers, Pop3dTlsAnswers,
    testing::Values(Answer{"StlsRefused", SecurityAllowed, Answer::Refuse},
                    Answer{"ImplicitRefused", SecurityImplicit, Answer::Refuse},
                    Answer{"StlsDisconnectInside", SecurityRequired, Answer::DisconnectInside},
                    Answer{"ImplicitDisconnectInside", SecurityImplicit, Answer::DisconnectInside},
                    Answer{"StlsReleaseInside", SecurityAllowed, Answer::ReleaseInside},
                    Answer{"ImplicitReleaseInside", SecurityImplicit, Answer::ReleaseInside},
                    Answer{"StlsModalDialog", SecurityAllowed, Answer::ModalDialog},
                    Answer{"ImplicitModalDialog", SecurityImplicit, Answer::ModalDialog}),
    [](const auto& info) { return info.param.name; });

TEST_F(Pop3dTls, NameNotInTheCertificateIsReportedButTheClientMayGoOn) {
    // A name of this machine that leads to the server but that the
    // certificate (localhost, 127.0.0.1) does not carry.
    const std::string host = platform::net::LocalHostName();
    in_addr address{};
    if (host.empty() || host == "localhost" || platform::net::ResolveIPv4(host, address) != 0 ||
        platform::net::AddressText(address) != "127.0.0.1")
        GTEST_SKIP() << "no other name of this machine resolves to 127.0.0.1";
    Trust(true);
    Client c;
    Configure(c, SecurityImplicit, true, host);
    ASSERT_TRUE(ConnectAndWait(c, true)) << c.LastErrorText();
    EXPECT_EQ(
        c.notify->Count("HostCertificate " + std::to_string(kNameMismatch) + " 'hostname mismatch' cert"), 1);
    c.pop3->Disconnect();
}

TEST_F(Pop3dTls, ClientCertificateWithoutKeyIsNotPresentedAndTheSessionGoesOn) {
    Trust(true);
    com::ComPtr<component::protocol::CCertificate> mine =
        com::MakeComObject<component::protocol::CCertificate>();
    const com::Bstr pem(text::FromAnsi(FileText(box.certificateFile())));
    ASSERT_EQ(mine->Load(pem.Get(), nullptr, nullptr), com::S_OK);
    Client c;
    Configure(c, SecurityImplicit, true);
    ASSERT_EQ(c.pop3->putref_Certificate(static_cast<ICertificate*>(mine.Get())), com::S_OK);
    ASSERT_TRUE(ConnectAndWait(c, true)) << c.LastErrorText();
    EXPECT_EQ(c.LastErrorText(), "Failed to import private key.");
    c.pop3->Disconnect();
}

TEST_F(Pop3dTls, TraceShowsThePlainConversationWithoutTheInjectedLine) {
    mailbox.add(Name("0001"), "Subject: traced\r\n\r\nbody\r\n");
    Trust(true);
    Client c;
    Configure(c, SecurityRequired, true);
    const std::string trace =
        std::string(std::getenv("TMPDIR") ? std::getenv("TMPDIR") : "/tmp") + "/tls-trace.txt";
    c.pop3->put_DebugFile(Wide(trace).Get());
    ASSERT_TRUE(ConnectAndWait(c, true)) << c.LastErrorText();
    ASSERT_EQ(c.Messages()->GetAll(), com::S_OK);
    c.pop3->Disconnect();
    const std::string text = FileText(trace);
    for (const char* seen : {"STLS\r\n", "USER ", "LIST\r\n", "Subject: traced\r\n", "QUIT\r\n"})
        EXPECT_NE(text.find(seen), std::string::npos) << seen;
    EXPECT_EQ(text.find("+OK SSL Completed"), std::string::npos);
    std::remove(trace.c_str());
}

// A connection-point sink that answers HostCertificate with Accept False
// and keeps the arguments' types.
class RefusingSink final : public SinkBase<_IqelPop3ComEvents> {
public:
    std::vector<std::string> certificateArgs;
    com::HRESULT Invoke(com::DISPID dispid, const com::IID&, com::LCID, std::uint16_t,
                        com::DISPPARAMS* params, com::VARIANT*, com::EXCEPINFO*, std::uint32_t*) override {
        if (dispid != DISPID_Event_HostCertificate) return com::S_OK;
        // Last argument first: Accept, ErrorText, ErrorCode, Cert.
        for (std::uint32_t i = params->cArgs; i-- > 0;)
            certificateArgs.push_back(std::to_string(params->rgvarg[i].vt));
        certificateArgs.push_back(std::to_string(params->rgvarg[2].lVal));
        certificateArgs.push_back(Narrow(com::BstrView(params->rgvarg[1].bstrVal)));
        if (params->rgvarg[0].vt == (com::VT_BOOL | com::VT_BYREF))
            *params->rgvarg[0].pboolVal = com::VARIANT_FALSE;
        return com::S_OK;
    }
};

TEST_F(Pop3dTls, ConnectionPointSinkRefusesTheCertificate) {
    Trust(false);
    Client c;
    c.pop3->putref_Notification(nullptr);
    Configure(c, SecurityImplicit, false);
    auto sink = com::MakeComObject<RefusingSink>();
    com::ComPtr<com::IConnectionPoint> point;
    ASSERT_EQ(c.pop3->FindConnectionPoint(DIID__IqelPop3ComEvents, point.ReleaseAndGetAddressOf()),
              com::S_OK);
    std::uint32_t cookie = 0;
    ASSERT_EQ(point->Advise(sink->GetUnknown(), &cookie), com::S_OK);
    ASSERT_EQ(c.pop3->Connect(), com::S_OK);
    ASSERT_TRUE(PumpUntil([&] { return c.State() == Disconnected; }));
    const std::vector<std::string> expected = {
        std::to_string(com::VT_DISPATCH), std::to_string(com::VT_I4),
        std::to_string(com::VT_BSTR),     std::to_string(com::VT_BOOL | com::VT_BYREF),
        std::to_string(kSelfSigned),      "self-signed certificate"};
    EXPECT_EQ(sink->certificateArgs, expected);
    EXPECT_EQ(c.LastError(), 10053);
    EXPECT_EQ(point->Unadvise(cookie), com::S_OK);
}

}  // namespace
