// TLS against scripted servers that misbehave: a handshake that never ends,
// garbage or a hang-up instead of a ServerHello, STLS refused, and plain
// text slipped in after the server agreed to STLS. Each ends the session
// with its code and one Disconnected event, and no login leaves the client.
#include <gtest/gtest.h>

#include <algorithm>

#include "tests/component/fake_pop3/fake_pop3_server.h"
#include "tests/component/protocol/client_harness.h"

using namespace fakepop3;
using namespace harness;

namespace {

struct TlsCase {
    const char* name;
    Pop3SecurityEnum security;
    Script script;
    std::int32_t code;
    bool loggedIn;  // the server heard USER
};
void PrintTo(const TlsCase& c, std::ostream* os) { *os << c.name; }

class TlsFailures : public testing::TestWithParam<TlsCase> {};

TEST_P(TlsFailures, EndWithTheirCode) {
    const auto& p = GetParam();
    for (bool blocking : {true, false}) {
        SCOPED_TRACE(blocking ? "blocking" : "non-blocking");
        FakePop3Server server({p.script});
        Client c;
        c.pop3->put_Security(p.security);
        c.Settings(server.port(), blocking);
        c.pop3->put_Timeout(1);
        const com::HRESULT hr = c.pop3->Connect();
        if (blocking) {
            EXPECT_EQ(hr, p.code == 0 ? com::S_OK : com::CtlError(static_cast<std::uint16_t>(p.code)));
        } else {
            EXPECT_EQ(hr, com::S_OK);
            EXPECT_TRUE(PumpUntil(
                [&] { return c.notify->Count("Connected") + c.notify->Count("Disconnected") > 0; }));
        }
        EXPECT_EQ(c.LastError(), p.code) << c.LastErrorText();
        if (p.code != 0) {
            EXPECT_EQ(c.notify->Count("Disconnected " + std::to_string(p.code) + " "), 1);
            EXPECT_EQ(c.State(), Disconnected);
        }
        EXPECT_EQ(c.notify->Count("HostCertificate"), 0);
        c.pop3->Disconnect();
        const auto heard = server.transcript(0);
        const bool user =
            std::any_of(heard.begin(), heard.end(), [](const auto& l) { return l.starts_with("USER"); });
        EXPECT_EQ(user, p.loggedIn);
    }
}

const Script kLogin = {Receive(), Send("+OK\r\n"),
                       Receive(), Send("+OK\r\n"),
                       Receive(), Send("+OK 1 10\r\n"),
                       Receive(), Send("+OK\r\n1 10\r\n.\r\n"),
                       Receive(), Send("+OK\r\n1 a\r\n.\r\n")};

Script Then(Script head, const Script& tail) {
    head.insert(head.end(), tail.begin(), tail.end());
    return head;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TlsFailures,
    testing::Values(
        // The server takes the ClientHello and says nothing: the idle time-out ends it.
        TlsCase{"HandshakeNeverAnswered", SecurityImplicit, {}, 10060, false},
        TlsCase{
            "GarbageInsteadOfServerHello", SecurityImplicit, {Send("+OK this is no TLS\r\n")}, 60000, false},
        TlsCase{"HangUpInsteadOfServerHello", SecurityImplicit, {Close()}, 60000, false},
        // The hang-up comes once the client waits for the ServerHello: it
        // reaches the socket as a close, not as a failed handshake step.
        TlsCase{"HangUpWhileAwaitingServerHello", SecurityImplicit, {Pause(300), Close()}, 60000, false},
        TlsCase{"StlsHangUpWhileAwaitingServerHello",
                SecurityRequired,
                {Send("+OK ready\r\n"), Receive(), Send("+OK begin TLS\r\n"), Pause(300), Close()},
                60000,
                false},
        TlsCase{"StlsRefusedUnderRequired",
                SecurityRequired,
                {Send("+OK ready\r\n"), Receive(), Send("-ERR not here\r\n")},
                30021,
                false},
        TlsCase{"StlsRefusedUnderAllowedGoesOnInPlain", SecurityAllowed,
                Then({Send("+OK ready\r\n"), Receive(), Send("-ERR not here\r\n")}, kLogin), 0, true},
        // A man in the middle answers for the server right behind its +OK.
        TlsCase{"PlainTextRightAfterStlsReply",
                SecurityRequired,
                {Send("+OK ready\r\n"), Receive(), Send("+OK begin TLS\r\n+OK no password needed\r\n")},
                60000,
                false},
        TlsCase{"PlainTextInsteadOfServerHello",
                SecurityAllowed,
                {Send("+OK ready\r\n"), Receive(), Send("+OK begin TLS\r\n"), Pause(100), Send("+OK\r\n")},
                60000,
                false}),
    [](const auto& info) { return info.param.name; });

}  // namespace
