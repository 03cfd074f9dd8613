// The component against the real POP3 server of the test fixture.
#include <gtest/gtest.h>
#include <unistd.h>

#include <ctime>

#include "tests/component/protocol/client_harness.h"
#include "tests/support/pop3d_mailbox.h"

using namespace harness;
using testsupport::Pop3dMailbox;
using testsupport::Pop3dServer;

namespace {

const std::string kFirst =
    "From: Alice <alice@example.org>\r\n"
    "To: box@example.org\r\n"
    "Subject: first\r\n"
    "\r\n"
    "Hello.\r\n"
    ".A line that starts with a dot.\r\n"
    "..And one with two.\r\n"
    ".\r\n"
    "End.\r\n";
const std::string kSecond = "Subject: second\r\n\r\nShort.\r\n";

// The server keeps its index across tests that share a mailbox, keyed by
// file name: every test names its messages afresh so no stale size shows.
std::string Name(std::string_view suffix) {
    static const std::string prefix = std::to_string(getpid()) + "-" + std::to_string(time(nullptr)) + "-";
    return prefix + std::string(suffix);
}

struct Box {
    Pop3dServer server = Pop3dServer::fromEnvironment();
    Pop3dMailbox mailbox{server};
};

void Configure(Client& c, const Box& box, bool blocking, Pop3Authentications auth) {
    c.Settings(box.server.port, blocking, box.mailbox.user(), box.mailbox.password(), box.server.host);
    c.pop3->put_Authentication(auth);
}

// Connect and wait for the outcome in either mode.
com::HRESULT ConnectAndWait(Client& c, bool blocking) {
    const com::HRESULT hr = c.pop3->Connect();
    if (blocking || com::FAILED(hr)) return hr;
    EXPECT_TRUE(
        PumpUntil([&] { return c.notify->Count("Connected") + c.notify->Count("Disconnected") > 0; }));
    return c.State() == Connected ? com::S_OK : com::CtlError(static_cast<std::uint16_t>(c.LastError()));
}

com::HRESULT GetAllAndWait(Client& c, bool blocking) {
    const int before = c.notify->Count("Done");
    const com::HRESULT hr = c.Messages()->GetAll();
    if (blocking || com::FAILED(hr)) return hr;
    EXPECT_TRUE(
        PumpUntil([&] { return c.notify->Count("Done") > before || c.notify->Count("Disconnected") > 0; }));
    return c.State() == Connected ? com::S_OK : com::E_FAIL;
}

void DisconnectAndWait(Client& c) {
    c.pop3->Disconnect();
    EXPECT_TRUE(PumpUntil([&] { return c.State() == Disconnected; }));
}

struct LoginMode {
    const char* name;
    Pop3Authentications auth;
    bool blocking;
};
void PrintTo(const LoginMode& m, std::ostream* os) { *os << m.name; }

class Pop3dSession : public testing::TestWithParam<LoginMode> {};

TEST_P(Pop3dSession, ListsAndRetrievesTheMailboxByteForByte) {
    const auto& p = GetParam();
    Box box;
    box.mailbox.add(Name("0001-first"), kFirst);
    box.mailbox.add(Name("0002-second"), kSecond);
    Client c;
    Configure(c, box, p.blocking, p.auth);
    ASSERT_EQ(ConnectAndWait(c, p.blocking), com::S_OK) << c.LastErrorText();
    ASSERT_EQ(c.Count(), 2);
    com::Bstr uid;
    c.Message(1)->get_Uid(uid.ReleaseAndGetAddressOf());
    EXPECT_EQ(Narrow(uid.View()), Name("0002-second"));
    std::int32_t size = 0;
    c.Message(0)->get_Size(&size);
    EXPECT_EQ(size, static_cast<std::int32_t>(kFirst.size()));
    ASSERT_EQ(GetAllAndWait(c, p.blocking), com::S_OK);
    EXPECT_EQ(c.notify->Count("Received"), 2);
    EXPECT_EQ(Body(c.Message(0).Get()), kFirst);
    EXPECT_EQ(Body(c.Message(1).Get()), kSecond);
    DisconnectAndWait(c);
    EXPECT_EQ(c.notify->Count("Disconnected"), 1);
    EXPECT_EQ(box.mailbox.messageCount(), 2);
}

INSTANTIATE_TEST_SUITE_P(Modes, Pop3dSession,
                         testing::Values(LoginMode{"ApopBlocking", AuthAPOP, true},
                                         LoginMode{"UserPassBlocking", AuthUserPass, true},
                                         LoginMode{"AnyNonBlocking", AuthAny, false},
                                         LoginMode{"UserPassNonBlocking", AuthUserPass, false}),
                         [](const auto& info) { return info.param.name; });

TEST(Pop3d, WrongPasswordIsRefusedAfterBothMethodsUnderAuthAny) {
    Box box;
    Client c;
    c.Settings(box.server.port, true, box.mailbox.user(), "not-the-password", box.server.host);
    c.pop3->put_Authentication(AuthAny);
    EXPECT_EQ(c.pop3->Connect(), com::CtlError(30005));
    EXPECT_EQ(c.LastErrorText().rfind("Login ERROR: ", 0), 0u) << c.LastErrorText();
    EXPECT_EQ(c.notify->Count("Disconnected"), 1);
}

TEST(Pop3d, DeletionCommitsAtQuitAndTheNextSessionSeesFewerMessages) {
    Box box;
    box.mailbox.add(Name("0001"), kFirst);
    box.mailbox.add(Name("0002"), kSecond);
    box.mailbox.add(Name("0003"), kSecond);
    Client c;
    Configure(c, box, true, AuthUserPass);
    ASSERT_EQ(c.pop3->Connect(), com::S_OK);
    ASSERT_EQ(c.Message(0)->put_MarkDelete(com::VARIANT_TRUE), com::S_OK);
    ASSERT_EQ(c.Message(2)->put_MarkDelete(com::VARIANT_TRUE), com::S_OK);
    EXPECT_EQ(c.pop3->Disconnect(), com::S_OK);
    EXPECT_EQ(box.mailbox.messageCount(), 1);
    ASSERT_EQ(c.pop3->Connect(), com::S_OK);
    ASSERT_EQ(c.Count(), 1);
    com::Bstr uid;
    c.Message(0)->get_Uid(uid.ReleaseAndGetAddressOf());
    EXPECT_EQ(Narrow(uid.View()), Name("0002"));
    EXPECT_EQ(c.pop3->Disconnect(), com::S_OK);
}

TEST(Pop3d, FiveMegabyteMessageAndHeadersOnly) {
    Box box;
    std::string big = "Subject: big\r\n\r\n";
    while (big.size() < 5 * 1024 * 1024)
        big += std::string(76, static_cast<char>('a' + big.size() % 26)) + "\r\n";
    big += ".last line\r\n";
    box.mailbox.add(Name("0001-big"), big);
    Client c;
    Configure(c, box, true, AuthUserPass);
    ASSERT_EQ(c.pop3->Connect(), com::S_OK);
    ASSERT_EQ(c.Messages()->GetAllHeaders(), com::S_OK);
    EXPECT_EQ(Body(c.Message(0).Get()), "Subject: big\r\n\r\n\r\n");
    ASSERT_EQ(c.Message(0)->Get(), com::S_OK);
    EXPECT_TRUE(Body(c.Message(0).Get()) == big);
    EXPECT_EQ(c.pop3->Disconnect(), com::S_OK);
}

}  // namespace

namespace {

// A connection-point sink that keeps the DISPIDs it was called with.
class DispatchSink final : public SinkBase<_IqelPop3ComEvents> {
public:
    std::vector<com::DISPID> calls;
    com::HRESULT Invoke(com::DISPID dispid, const com::IID&, com::LCID, std::uint16_t, com::DISPPARAMS*,
                        com::VARIANT*, com::EXCEPINFO*, std::uint32_t*) override {
        if (dispid != DISPID_Event_Progress) calls.push_back(dispid);
        return com::S_OK;
    }
};

TEST(Pop3d, ConnectionPointSinksFollowANonBlockingSession) {
    Box box;
    box.mailbox.add(Name("0001"), kFirst);
    Client c;
    c.pop3->putref_Notification(nullptr);
    Configure(c, box, false, AuthUserPass);
    auto sink = com::MakeComObject<DispatchSink>();
    com::ComPtr<com::IConnectionPoint> point;
    ASSERT_EQ(c.pop3->FindConnectionPoint(DIID__IqelPop3ComEvents, point.ReleaseAndGetAddressOf()),
              com::S_OK);
    std::uint32_t cookie = 0;
    ASSERT_EQ(point->Advise(sink->GetUnknown(), &cookie), com::S_OK);
    ASSERT_EQ(c.pop3->Connect(), com::S_OK);
    ASSERT_TRUE(PumpUntil([&] { return c.State() == Connected; }));
    ASSERT_EQ(c.Messages()->GetAll(), com::S_OK);
    ASSERT_TRUE(PumpUntil([&] { return !sink->calls.empty() && sink->calls.back() == DISPID_Event_Done; }));
    EXPECT_EQ(Body(c.Message(0).Get()), kFirst);
    c.pop3->Disconnect();
    ASSERT_TRUE(PumpUntil([&] { return c.State() == Disconnected; }));
    EXPECT_EQ(sink->calls, (std::vector<com::DISPID>{1, 1, 1, 2, 1, 5, 1, 4, 1, 3}));
    EXPECT_TRUE(c.notify->events.empty());
    EXPECT_EQ(point->Unadvise(cookie), com::S_OK);
}

}  // namespace
