// Logging in against scripted servers: every way the greeting, the login and
// the listing can fail, in blocking and non-blocking mode. Each failure ends
// with its code, exactly one Disconnected event and an object that logs in
// fine on the next try.
#include <gtest/gtest.h>

#include "platform/com/enum_variant.h"
#include "tests/component/fake_pop3/fake_pop3_server.h"
#include "tests/component/protocol/client_harness.h"
#include "tests/support/line_client.h"
#include "tests/support/scripted_resolver.h"

using namespace fakepop3;
using namespace harness;

using namespace component::protocol;

namespace {

const std::string kStamp = "<1896.697170952@dbc.mtview.ca.us>";

Script Greeted(std::string greeting, Script rest) {
    Script s{Send(greeting + "\r\n")};
    s.insert(s.end(), rest.begin(), rest.end());
    return s;
}

const Script kList = {Receive(), Send("+OK 1 10\r\n"),       Receive(), Send("+OK\r\n1 10\r\n.\r\n"),
                      Receive(), Send("+OK\r\n1 a\r\n.\r\n")};
const std::string kListTooLong = "Invalid reply: the message list is longer than the mailbox.";
// Logged in with USER and PASS; STAT counts two messages.
const Script kLoggedIn = {Receive(),       Send("+OK\r\n"), Receive(),
                          Send("+OK\r\n"), Receive(),       Send("+OK 2 20\r\n")};

Script Then(Script head, const Script& tail) {
    head.insert(head.end(), tail.begin(), tail.end());
    return head;
}

struct LoginCase {
    const char* name;
    Script script;
    Pop3Authentications auth;
    std::int16_t timeout;
    std::vector<std::string> heard;  // the server's transcript of the session
    std::int32_t code;
    std::string text;
};
void PrintTo(const LoginCase& c, std::ostream* os) { *os << c.name; }

class Login : public testing::TestWithParam<LoginCase> {};

TEST_P(Login, EndsWithTheExpectedOutcome) {
    const auto& p = GetParam();
    for (bool blocking : {true, false}) {
        SCOPED_TRACE(blocking ? "blocking" : "non-blocking");
        FakePop3Server server({p.script, LoginAndList({"x"})});
        Client c;
        c.Settings(server.port(), blocking);
        c.pop3->put_Authentication(p.auth);
        c.pop3->put_Timeout(p.timeout);
        const com::HRESULT hr = c.pop3->Connect();
        if (blocking) {
            EXPECT_EQ(hr, p.code == 0 ? com::S_OK : com::CtlError(static_cast<std::uint16_t>(p.code)));
        } else {
            EXPECT_EQ(hr, com::S_OK);
            ASSERT_TRUE(PumpUntil(
                [&] { return c.notify->Count("Connected") + c.notify->Count("Disconnected") > 0; }));
        }
        EXPECT_EQ(c.LastError(), p.code);
        if (p.code == 0) {
            EXPECT_EQ(c.State(), Connected);
            EXPECT_EQ(c.notify->Count("Connected"), 1);
            EXPECT_EQ(c.pop3->Disconnect(), com::S_OK);
            PumpUntil([&] { return c.notify->Count("Disconnected") > 0; });
            EXPECT_EQ(c.notify->events.back(), "Disconnected 0 ");
        } else {
            EXPECT_EQ(c.LastErrorText(), p.text);
            EXPECT_EQ(c.State(), Disconnected);
            EXPECT_EQ(c.notify->Count("Disconnected"), 1);
            EXPECT_EQ(c.notify->events.back(), "Disconnected " + std::to_string(p.code) + " " + p.text);
        }
        EXPECT_EQ(server.transcript(0), p.heard);

        // The object is ready for the next session.
        c.pop3->put_Authentication(AuthUserPass);
        c.pop3->put_Blocking(com::VARIANT_TRUE);
        ASSERT_EQ(c.pop3->Connect(), com::S_OK);
        EXPECT_EQ(c.Count(), 1);
        EXPECT_EQ(c.pop3->Disconnect(), com::S_OK);
    }
}

const std::string kDigest = testsupport::md5Hex(kStamp + "secret");

INSTANTIATE_TEST_SUITE_P(
    Cases, Login,
    testing::Values(
        LoginCase{"GreetingThatIsNotPop3",
                  Greeted("* OK IMAP4rev1 ready", {}),
                  AuthUserPass,
                  120,
                  {},
                  30004,
                  "Server replied with invalid greeting."},
        LoginCase{"NegativeGreeting",
                  Greeted("-ERR busy, try later", {}),
                  AuthAny,
                  120,
                  {},
                  30004,
                  "Server replied with invalid greeting."},
        LoginCase{"WrongPassword",
                  Greeted("+OK ready", {Receive(), Send("+OK\r\n"), Receive(),
                                        Send("-ERR [AUTH] Authentication failed.\r\n")}),
                  AuthUserPass,
                  120,
                  {"USER user", "PASS secret"},
                  30005,
                  "Login ERROR: [AUTH] Authentication failed."},
        LoginCase{"UserRefused",
                  Greeted("+OK ready", {Receive(), Send("-ERR who?\r\n")}),
                  AuthUserPass,
                  120,
                  {"USER user"},
                  30005,
                  "Invalid login or password."},
        LoginCase{"ApopRefusedFallsBackToUserPass",
                  Greeted("+OK ready " + kStamp, Then({Receive(), Send("-ERR no APOP\r\n"), Receive(),
                                                       Send("+OK\r\n"), Receive(), Send("+OK\r\n")},
                                                      kList)),
                  AuthAny,
                  120,
                  {"APOP user " + kDigest, "USER user", "PASS secret", "STAT", "LIST", "UIDL", "QUIT"},
                  0,
                  ""},
        LoginCase{"ApopAccepted",
                  Greeted("+OK ready " + kStamp, Then({Receive(), Send("+OK in\r\n")}, kList)),
                  AuthAPOP,
                  120,
                  {"APOP user " + kDigest, "STAT", "LIST", "UIDL", "QUIT"},
                  0,
                  ""},
        LoginCase{"ApopRefusedUnderApopOnly",
                  Greeted("+OK ready " + kStamp, {Receive(), Send("-ERR bad digest\r\n")}),
                  AuthAPOP,
                  120,
                  {"APOP user " + kDigest},
                  30005,
                  "Login ERROR: bad digest"},
        LoginCase{"ApopWithoutTimestamp",
                  Greeted("+OK ready", {}),
                  AuthAPOP,
                  120,
                  {},
                  30022,
                  "Server does not APOP authentication."},
        LoginCase{"AnyWithoutTimestampUsesUserPass",
                  Greeted("+OK ready", Then({Receive(), Send("+OK\r\n"), Receive(), Send("+OK\r\n")}, kList)),
                  AuthAny,
                  120,
                  {"USER user", "PASS secret", "STAT", "LIST", "UIDL", "QUIT"},
                  0,
                  ""},
        LoginCase{"UserPassIgnoresTimestamp",
                  Greeted("+OK ready " + kStamp,
                          Then({Receive(), Send("+OK\r\n"), Receive(), Send("+OK\r\n")}, kList)),
                  AuthUserPass,
                  120,
                  {"USER user", "PASS secret", "STAT", "LIST", "UIDL", "QUIT"},
                  0,
                  ""},
        LoginCase{"StatRefused",
                  Greeted("+OK", {Receive(), Send("+OK\r\n"), Receive(), Send("+OK\r\n"), Receive(),
                                  Send("-ERR no stat\r\n")}),
                  AuthUserPass,
                  120,
                  {"USER user", "PASS secret", "STAT"},
                  30006,
                  "Invalid reply: no stat"},
        LoginCase{"StatWithoutCount",
                  Greeted("+OK", {Receive(), Send("+OK\r\n"), Receive(), Send("+OK\r\n"), Receive(),
                                  Send("+OK mailbox\r\n")}),
                  AuthUserPass,
                  120,
                  {"USER user", "PASS secret", "STAT"},
                  30006,
                  "Invalid reply: +OK mailbox"},
        LoginCase{"ListRefused",
                  Greeted("+OK", Then(kLoggedIn, {Receive(), Send("-ERR no list today\r\n")})),
                  AuthUserPass,
                  120,
                  {"USER user", "PASS secret", "STAT", "LIST"},
                  30006,
                  "Failed: no list today"},
        LoginCase{"UidlRefused",
                  Greeted("+OK", Then(kLoggedIn, {Receive(), Send("+OK\r\n1 10\r\n.\r\n"), Receive(),
                                                  Send("-ERR unsupported\r\n")})),
                  AuthUserPass,
                  120,
                  {"USER user", "PASS secret", "STAT", "LIST", "UIDL"},
                  30006,
                  "Invalid reply: unsupported"},
        // Every line restarts the idle time-out: only the count ends these.
        LoginCase{"ListThatNeverEnds",
                  Greeted("+OK", Then(kLoggedIn, {Receive(), Send("+OK\r\n"), Drip("1 10\r\n", 0)})),
                  AuthUserPass,
                  1,
                  {"USER user", "PASS secret", "STAT", "LIST"},
                  30006,
                  kListTooLong},
        // A count the server made up bounds nothing: the listing ends at a
        // million lines.
        LoginCase{"ListOfAMadeUpCount",
                  Greeted("+OK", Then({Receive(), Send("+OK\r\n"), Receive(), Send("+OK\r\n"), Receive(),
                                       Send("+OK 4294967295 0\r\n")},
                                      {Receive(), Send("+OK\r\n"), Drip("1 10\r\n", 0)})),
                  AuthUserPass,
                  120,
                  {"USER user", "PASS secret", "STAT", "LIST"},
                  30006,
                  kListTooLong},
        LoginCase{"UidlThatNeverEnds",
                  Greeted("+OK", Then(kLoggedIn, {Receive(), Send("+OK\r\n1 10\r\n2 10\r\n.\r\n"), Receive(),
                                                  Send("+OK\r\n"), Drip("1 a\r\n", 0)})),
                  AuthUserPass,
                  1,
                  {"USER user", "PASS secret", "STAT", "LIST", "UIDL"},
                  30006,
                  kListTooLong},
        LoginCase{"NeverGreets", {}, AuthUserPass, 1, {}, 10060, "The current connection has timeout."},
        LoginCase{"StallsAfterUser",
                  Greeted("+OK", {Receive()}),
                  AuthUserPass,
                  1,
                  {"USER user"},
                  10060,
                  "The current connection has timeout."},
        LoginCase{"ClosesDuringLogin",
                  Greeted("+OK", {Receive(), Close()}),
                  AuthUserPass,
                  120,
                  {"USER user"},
                  10054,
                  "The current socket connection has been reset."},
        LoginCase{"GreetingLineOfTwentyMegabytes",
                  {Send("+OK "), Fill(20 * 1024 * 1024)},
                  AuthUserPass,
                  120,
                  {},
                  30006,
                  "Failed to execute command."}),
    [](const auto& info) { return info.param.name; });

TEST(Login, PlainLoginPassesTheStatesInOrder) {
    FakePop3Server server({LoginAndList({"a", "bb"})});
    Client c;
    c.Settings(server.port(), true);
    ASSERT_EQ(c.pop3->Connect(), com::S_OK);
    EXPECT_EQ(c.notify->events,
              (std::vector<std::string>{"StateChange 0", "StateChange 1", "StateChange 2", "Connected"}));
    ASSERT_EQ(c.Count(), 2);
    std::int32_t size = 0;
    c.Message(1)->get_Size(&size);
    EXPECT_EQ(size, 2);
    com::Bstr uid;
    c.Message(1)->get_Uid(uid.ReleaseAndGetAddressOf());
    EXPECT_EQ(uid, u"uid-2");
    // Enumeration hands out the same message objects, in order.
    com::ComPtr<com::IUnknown> unknown;
    ASSERT_EQ(c.Messages()->get__NewEnum(unknown.ReleaseAndGetAddressOf()), com::S_OK);
    com::ComPtr<com::IEnumVARIANT> items;
    ASSERT_EQ(unknown->QueryInterface(com::IEnumVARIANT::iid, items.ReleaseAndGetVoidAddress()), com::S_OK);
    com::Variant item[3];
    std::uint32_t fetched = 0;
    EXPECT_EQ(items->Next(3, item, &fetched), com::S_FALSE);
    ASSERT_EQ(fetched, 2u);
    EXPECT_EQ(item[1].vt, com::VT_DISPATCH);
    EXPECT_EQ(item[1].pdispVal, static_cast<com::IDispatch*>(c.Message(1).Get()));
}

TEST(Login, ListingKeepsArrivalOrderAndTakesUidsOnlyInSequence) {
    FakePop3Server server({{Send("+OK\r\n"), Receive(), Send("+OK\r\n"), Receive(), Send("+OK\r\n"),
                            Receive(), Send("+OK 3 messages\r\n3 1200\r\n7\r\n9   42 octets\r\n.\r\n"),
                            Receive(), Send("+OK\r\n1 first\r\n3 third\r\n2 second\r\n.\r\n")}});
    Client c;
    c.Settings(server.port(), true);
    ASSERT_EQ(c.pop3->Connect(), com::S_OK);
    ASSERT_EQ(c.Count(), 3);
    const std::int32_t sizes[] = {1200, 0, 42};
    // "3 third" is out of sequence and dropped; "2 second" is next in line.
    const std::string uids[] = {"first", "second", ""};
    for (std::int16_t i = 0; i < 3; ++i) {
        std::int32_t size = -1;
        std::int16_t index = -1;
        com::Bstr uid;
        c.Message(i)->get_Size(&size);
        c.Message(i)->get_Index(&index);
        c.Message(i)->get_Uid(uid.ReleaseAndGetAddressOf());
        EXPECT_EQ(size, sizes[i]);
        EXPECT_EQ(index, i);
        EXPECT_EQ(Narrow(uid.View()), uids[i]);
    }
}

TEST(Login, RefusedPortAndUnknownHostEndWithOneDisconnected) {
    std::uint16_t closedPort;
    {
        FakePop3Server gone(std::vector<Script>{});
        closedPort = gone.port();
    }
    struct Target {
        std::string host;
        std::uint16_t port;
        std::int32_t code;
    };
    // A name is looked up without holding the loop: like a refusal, a name
    // that does not resolve fails a blocking Connect and ends a
    // non-blocking one's session.
    const testsupport::ScriptedResolver resolver({});
    for (const Target& t :
         {Target{"127.0.0.1", closedPort, 10061}, Target{"no-such-host.test", 110, 11001}}) {
        for (bool blocking : {true, false}) {
            SCOPED_TRACE(t.host + (blocking ? " blocking" : " non-blocking"));
            Client c;
            c.Settings(t.port, blocking, "user", "secret", t.host);
            const com::HRESULT hr = c.pop3->Connect();
            ASSERT_TRUE(PumpUntil([&] { return c.notify->Count("Disconnected") > 0; }));
            EXPECT_EQ(hr, blocking ? com::CtlError(static_cast<std::uint16_t>(t.code)) : com::S_OK);
            EXPECT_EQ(c.LastError(), t.code);
            EXPECT_EQ(c.State(), Disconnected);
            EXPECT_EQ(c.notify->Count("Disconnected"), 1);
        }
    }
}

TEST(Login, StlsRefusedGoesOnPlainWhenAllowedAndFailsWhenRequired) {
    const Script refused = Then({Send("+OK\r\n"), Receive(), Send("-ERR not here\r\n"), Receive(),
                                 Send("+OK\r\n"), Receive(), Send("+OK\r\n")},
                                kList);
    FakePop3Server server({refused, refused});
    Client allowed;
    allowed.Settings(server.port(), true);
    allowed.pop3->put_Security(SecurityAllowed);
    allowed.pop3->put_Port(server.port());
    EXPECT_EQ(allowed.pop3->Connect(), com::S_OK);
    EXPECT_EQ(allowed.pop3->Disconnect(), com::S_OK);
    EXPECT_EQ(server.transcript(0),
              (std::vector<std::string>{"STLS", "USER user", "PASS secret", "STAT", "LIST", "UIDL", "QUIT"}));

    Client required;
    required.Settings(server.port(), true);
    required.pop3->put_Security(SecurityRequired);
    required.pop3->put_Port(server.port());
    EXPECT_EQ(required.pop3->Connect(), com::CtlError(30021));
    EXPECT_EQ(server.transcript(1), (std::vector<std::string>{"STLS"}));
}

}  // namespace

// A line with no end is refused once it reaches the 10 MiB cap, in time
// linear in its bytes, and a session that receives nothing but such a line
// still ends at its Timeout.
TEST(Login, EndlessLineEndsAtTheCapOrTheTimeout) {
    Script paced = {Send("+OK ")};
    for (int i = 0; i < 10; ++i) {
        paced.push_back(Fill(512 * 1024));
        paced.push_back(Pause(400));
    }
    const struct {
        const char* name;
        Script script;
        std::int16_t timeout;
        std::int32_t code;
    } rows[] = {
        {"FiftyMegabytesAtOnce", {Send("+OK "), Fill(50 * 1024 * 1024)}, 120, 30006},
        {"UnderTheCapSlowly", paced, 1, 10060},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        FakePop3Server server({row.script});
        Client c;
        c.Settings(server.port(), true);
        c.pop3->put_Timeout(row.timeout);
        const auto start = std::chrono::steady_clock::now();
        EXPECT_NE(c.pop3->Connect(), com::S_OK);
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(4));
        EXPECT_EQ(c.LastError(), row.code);
        EXPECT_EQ(c.notify->Count("Disconnected"), 1);
    }
}
