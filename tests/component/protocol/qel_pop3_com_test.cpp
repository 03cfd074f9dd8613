// The component object without a server: defaults, put checks, state texts,
// errors, and what Connect refuses before it opens anything.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "tests/component/fake_pop3/fake_pop3_server.h"
#include "tests/component/protocol/client_harness.h"

using namespace harness;

using namespace component::protocol;

namespace {

TEST(QelPop3Com, NewObjectHasTheDocumentedDefaults) {
    Client c;
    std::int32_t port = 0;
    std::int16_t timeout = 0;
    Pop3Authentications auth{};
    Pop3SecurityEnum security{};
    com::VARIANT_BOOL blocking = com::VARIANT_TRUE;
    c.pop3->get_Port(&port);
    c.pop3->get_Timeout(&timeout);
    c.pop3->get_Authentication(&auth);
    c.pop3->get_Security(&security);
    c.pop3->get_Blocking(&blocking);
    EXPECT_EQ(port, 110);
    EXPECT_EQ(timeout, 120);
    EXPECT_EQ(auth, AuthUserPass);
    EXPECT_EQ(security, SecurityNone);
    EXPECT_EQ(blocking, com::VARIANT_FALSE);
    EXPECT_EQ(c.State(), Disconnected);
    EXPECT_EQ(c.Count(), 0);
    com::Bstr version;
    c.pop3->get_Version(version.ReleaseAndGetAddressOf());
    EXPECT_EQ(version, u"1.4.1.113");
    c.pop3->put_Version(Wide("9").Get());
    c.pop3->get_Version(version.ReleaseAndGetAddressOf());
    EXPECT_EQ(version, u"1.4.1.113");
}

TEST(QelPop3Com, SecurityChoosesThePortUntilConnected) {
    Client c;
    EXPECT_EQ(c.pop3->put_Security(SecurityImplicit), com::S_OK);
    std::int32_t port = 0;
    c.pop3->get_Port(&port);
    EXPECT_EQ(port, 995);
    c.pop3->put_Security(SecurityAllowed);
    c.pop3->get_Port(&port);
    EXPECT_EQ(port, 110);

    c.pop3->put_Security(SecurityNone);
    fakepop3::FakePop3Server server({fakepop3::LoginAndList({})});
    c.Settings(server.port(), true);
    ASSERT_EQ(c.pop3->Connect(), com::S_OK);
    EXPECT_EQ(c.pop3->put_Security(SecurityImplicit), com::CtlError(30009));
    EXPECT_EQ(c.LastErrorText(), "Component busy.");
    c.pop3->get_Port(&port);
    EXPECT_EQ(port, static_cast<std::int32_t>(server.port()));
    EXPECT_EQ(c.pop3->Disconnect(), com::S_OK);
}

struct StateTextCase {
    const char* name;
    com::Variant argument;
    const char16_t* text;
};
void PrintTo(const StateTextCase& c, std::ostream* os) { *os << c.name; }

class StateText : public testing::TestWithParam<StateTextCase> {};

TEST_P(StateText, NamesTheStateOfTheArgumentOrTheCurrentOne) {
    Client c;
    com::Bstr text;
    ASSERT_EQ(c.pop3->get_StateText(GetParam().argument, text.ReleaseAndGetAddressOf()), com::S_OK);
    EXPECT_EQ(text, GetParam().text);
}

std::int32_t byRefSeven = 7;
INSTANTIATE_TEST_SUITE_P(
    Cases, StateText,
    testing::Values(
        StateTextCase{"Long7", com::Variant(std::int32_t{7}), u"Negotiating SSL encryption."},
        StateTextCase{"Long4", com::Variant(std::int32_t{4}), u"Connected to the server - idle."},
        StateTextCase{"Long42", com::Variant(std::int32_t{42}), u"Unknown state"},
        StateTextCase{"ShortIsCurrent", com::Variant(std::int16_t{7}), u"Not yet connected - waiting."},
        StateTextCase{"MissingIsCurrent", com::Variant::Missing(), u"Not yet connected - waiting."},
        StateTextCase{"ByRefLong", com::Variant::ByRef(&byRefSeven), u"Negotiating SSL encryption."}),
    [](const auto& info) { return info.param.name; });

TEST(QelPop3Com, ReportedErrorsCarryCodeTextAndErrorInfo) {
    Client c;
    EXPECT_EQ(c.pop3->ReportError(30009), com::MakeHresult(0x800A7539));
    EXPECT_EQ(c.LastError(), 30009);
    EXPECT_EQ(c.LastErrorText(), "Component busy.");
    com::ComPtr<com::IErrorInfo> info;
    ASSERT_EQ(com::GetErrorInfo(0, info.ReleaseAndGetAddressOf()), com::S_OK);
    com::Bstr description;
    com::Bstr source;
    info->GetDescription(description.ReleaseAndGetAddressOf());
    info->GetSource(source.ReleaseAndGetAddressOf());
    EXPECT_EQ(description, u"Component busy.");
    EXPECT_EQ(source, u"Brindlex.qelPop3Com.1");
    EXPECT_EQ(c.pop3->InterfaceSupportsErrorInfo(IqelPop3Com::iid), com::S_OK);
    EXPECT_EQ(c.pop3->InterfaceSupportsErrorInfo(IPop3Msgs::iid), com::S_FALSE);
}

TEST(QelPop3Com, CertificateMustBeACertificate) {
    Client c;
    c.pop3->put_Security(SecurityAllowed);
    auto notACertificate = com::MakeComObject<RecordingNotify>();
    const com::HRESULT hr = c.pop3->putref_Certificate(notACertificate.Get());
    EXPECT_EQ(hr, com::E_NOINTERFACE);
    com::ComPtr<com::IDispatch> kept;
    c.pop3->get_Certificate(kept.ReleaseAndGetAddressOf());
    EXPECT_FALSE(kept);
    Pop3SecurityEnum security{};
    c.pop3->get_Security(&security);
    EXPECT_EQ(security, SecurityNone);
    EXPECT_EQ(c.LastError(), 0);  // reported as error information only
    com::ComPtr<com::IErrorInfo> info;
    ASSERT_EQ(com::GetErrorInfo(0, info.ReleaseAndGetAddressOf()), com::S_OK);
    com::Bstr description;
    info->GetDescription(description.ReleaseAndGetAddressOf());
    EXPECT_EQ(description, u"Invalid object type. It should be ICertificate.");
    EXPECT_EQ(c.pop3->putref_Certificate(nullptr), com::S_OK);
}

TEST(QelPop3Com, TagKeepsACopyOfTheValue) {
    Client c;
    c.pop3->put_Tag(com::Variant(u"note"));
    com::Variant back;
    c.pop3->get_Tag(&back);
    EXPECT_EQ(back.vt, com::VT_BSTR);
    EXPECT_EQ(back.TextView(), u"note");
    auto object = com::MakeComObject<RecordingNotify>();
    c.pop3->put_Tag(com::Variant(static_cast<com::IUnknown*>(object->GetUnknown())));
    EXPECT_EQ(object->RefCount(), 2u);
    c.pop3->put_Tag(com::Variant());
    EXPECT_EQ(object->RefCount(), 1u);
}

struct RefusedConnectCase {
    const char* name;
    std::string host;
    std::string login;
    std::string password;
    std::int32_t code;
};
void PrintTo(const RefusedConnectCase& c, std::ostream* os) { *os << c.name; }

class RefusedConnect : public testing::TestWithParam<RefusedConnectCase> {};

TEST_P(RefusedConnect, FailsBeforeAnythingIsSent) {
    const auto& p = GetParam();
    fakepop3::FakePop3Server server(std::vector<fakepop3::Script>{fakepop3::Script{}});
    for (bool blocking : {true, false}) {
        Client c;
        c.Settings(server.port(), blocking, p.login, p.password, p.host);
        EXPECT_EQ(c.pop3->Connect(), com::CtlError(static_cast<std::uint16_t>(p.code)));
        EXPECT_EQ(c.LastError(), p.code);
        EXPECT_EQ(c.State(), Disconnected);
        EXPECT_TRUE(c.notify->events.empty());
    }
    EXPECT_EQ(server.accepted(), 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RefusedConnect,
    testing::Values(RefusedConnectCase{"NoHostname", "", "u", "p", 30003},
                    RefusedConnectCase{"NoLogin", "127.0.0.1", "", "p", 30002},
                    RefusedConnectCase{"NoPassword", "127.0.0.1", "u", "", 30002},
                    RefusedConnectCase{"CrLfInLogin", "127.0.0.1", "u\r\nDELE 1", "p", 380},
                    RefusedConnectCase{"LfInPassword", "127.0.0.1", "u", "p\nQUIT", 380},
                    RefusedConnectCase{"NulInPassword", "127.0.0.1", "u", std::string("p\0x", 3), 380}),
    [](const auto& info) { return info.param.name; });

TEST(QelPop3Com, MethodsThatNeedASessionSayConnectFirst) {
    Client c;
    EXPECT_EQ(c.pop3->SendCommand(Wide("NOOP").Get()), com::CtlError(30008));
    EXPECT_EQ(c.Messages()->GetAll(), com::CtlError(30008));
    EXPECT_EQ(c.pop3->Reset(), com::S_OK);
    EXPECT_EQ(c.pop3->Disconnect(), com::S_OK);
    EXPECT_TRUE(c.notify->events.empty());
}

}  // namespace

namespace {

TEST(QelPop3Com, DebugFileTracesTheConversationPrivately) {
    fakepop3::FakePop3Server server({fakepop3::LoginAndList({"Subject: t\r\n\r\n"})});
    Client c;
    c.Settings(server.port(), true);
    const std::string trace =
        std::string(std::getenv("TMPDIR") ? std::getenv("TMPDIR") : "/tmp") + "/pop3-trace.txt";
    std::remove(trace.c_str());
    c.pop3->put_DebugFile(Wide(trace).Get());
    ASSERT_EQ(c.pop3->Connect(), com::S_OK);
    EXPECT_EQ(c.pop3->Disconnect(), com::S_OK);
    std::ifstream in(trace, std::ios::binary);
    std::stringstream content;
    content << in.rdbuf();
    const std::string expected =
        "Connecting to 127.0.0.1 on port " + std::to_string(server.port()) +
        "\r\n+OK ready\r\nUSER user\r\n+OK user\r\nPASS secret\r\n+OK logged in\r\nSTAT\r\n+OK 1 14\r\n"
        "LIST\r\n";
    EXPECT_EQ(content.str().substr(0, expected.size()), expected);
    EXPECT_NE(content.str().find("QUIT\r\n+OK bye\r\n"), std::string::npos);
    struct stat st {};
    ASSERT_EQ(stat(trace.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
}

}  // namespace
