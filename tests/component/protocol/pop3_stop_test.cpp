// A client ends a session from the outside while a blocking call waits on a
// server that never finishes: Disconnect from a timer or from an event ends
// it at every stage at once, and the blocking call returns a failure.
#include <gtest/gtest.h>

#include "tests/component/fake_pop3/fake_pop3_server.h"
#include "tests/component/protocol/client_harness.h"

using namespace fakepop3;
using namespace harness;

using namespace component::protocol;

namespace {

using Clock = std::chrono::steady_clock;

const std::string kPlain = "Subject: plain\r\n\r\nbody\r\n";
const Script kLogin = {Send("+OK ready\r\n"), Receive(), Send("+OK\r\n"), Receive(), Send("+OK\r\n")};
const Script kLoggedInWithTwo = LoginAndList({kPlain, kPlain});

Script Then(Script head, const Script& tail) {
    head.insert(head.end(), tail.begin(), tail.end());
    return head;
}

enum class Call { Connect, Get, GetAll, Disconnect };
enum class Stopper { Timer, ProgressEvent };

struct StopCase {
    const char* name;
    Script script;  // the session being stopped; a script that runs out stalls
    Call call;      // the blocking call that waits while the stop comes
    Pop3SecurityEnum security;
    StatesEnum stage;  // the state the stop finds
    Stopper stopper;
};
void PrintTo(const StopCase& c, std::ostream* os) { *os << c.name; }

class Stop : public testing::TestWithParam<StopCase> {};

com::HRESULT RunCall(Client& c, Call call) {
    switch (call) {
        case Call::Connect:
            return c.pop3->Connect();
        case Call::Get:
            return c.Message(0)->Get();
        case Call::GetAll:
            return c.Messages()->GetAll();
        case Call::Disconnect:
            c.Message(0)->put_MarkDelete(com::VARIANT_TRUE);
            c.Message(1)->put_MarkDelete(com::VARIANT_TRUE);
            return c.pop3->Disconnect();
    }
    return com::E_FAIL;
}

TEST_P(Stop, DisconnectEndsTheSessionAtOnce) {
    const auto& p = GetParam();
    FakePop3Server server({p.script, LoginAndList({kPlain})});
    Client c;
    c.pop3->put_Security(p.security);
    c.Settings(server.port(), true);
    if (p.call != Call::Connect) {
        ASSERT_EQ(c.pop3->Connect(), com::S_OK);
    }
    c.notify->events.clear();

    StatesEnum stateAtStop = Disconnected;
    Clock::time_point stoppedAt{};
    auto stop = [&] {
        if (stoppedAt != Clock::time_point{}) return;
        stateAtStop = c.State();
        stoppedAt = Clock::now();
        EXPECT_EQ(c.pop3->Disconnect(), com::S_OK);
    };
    int progress = 0;
    c.notify->onEvent = [&](const std::string& e) {
        if (p.stopper == Stopper::ProgressEvent && e.starts_with("Progress") && ++progress == 3) stop();
    };
    const auto timer = p.stopper == Stopper::Timer
                           ? platform::loop::StartOneShot(std::chrono::milliseconds(300), stop)
                           : platform::loop::SourceHandle{};

    EXPECT_EQ(RunCall(c, p.call), com::E_FAIL);
    ASSERT_NE(stoppedAt, Clock::time_point{});
    EXPECT_LT(Clock::now() - stoppedAt, std::chrono::seconds(2));
    EXPECT_EQ(stateAtStop, p.stage);
    EXPECT_EQ(c.State(), Disconnected);
    EXPECT_EQ(c.notify->Count("Disconnected"), 1);
    EXPECT_EQ(c.notify->events.back(), "Disconnected 0 ");
    EXPECT_EQ(c.notify->Count("Received"), 0);
    // A session with a command outstanding gets no further command: no
    // QUIT, and so no deletion is committed.
    const auto heard = server.transcript(0);
    EXPECT_EQ(std::count(heard.begin(), heard.end(), "QUIT"), 0);
    EXPECT_EQ(std::count_if(heard.begin(), heard.end(), [](const auto& l) { return l.starts_with("DELE"); }),
              p.call == Call::Disconnect ? 1 : 0);
    // Nothing was committed, so nothing reads as deleted.
    if (p.call == Call::Disconnect) {
        EXPECT_EQ(c.Marks(), "++");
    }

    // Nothing of the stopped session lingers.
    c.pop3->put_Security(SecurityNone);
    c.pop3->put_Port(server.port());
    ASSERT_EQ(c.pop3->Connect(), com::S_OK);
    EXPECT_EQ(c.Count(), 1);
    EXPECT_EQ(c.pop3->Disconnect(), com::S_OK);
}

INSTANTIATE_TEST_SUITE_P(
    Stages, Stop,
    testing::Values(
        StopCase{"NoGreeting", {}, Call::Connect, SecurityNone, LogonInProgress, Stopper::Timer},
        StopCase{"NoLoginReply",
                 {Send("+OK ready\r\n"), Receive()},
                 Call::Connect,
                 SecurityNone,
                 LogonInProgress,
                 Stopper::Timer},
        StopCase{"StlsHandshakeStalls",
                 {Send("+OK ready\r\n"), Receive(), Send("+OK begin TLS\r\n")},
                 Call::Connect,
                 SecurityRequired,
                 NegotiatingSSL,
                 Stopper::Timer},
        StopCase{
            "ImplicitHandshakeStalls", {}, Call::Connect, SecurityImplicit, NegotiatingSSL, Stopper::Timer},
        StopCase{"NoStatReply", Then(kLogin, {Receive()}), Call::Connect, SecurityNone, LogonInProgress,
                 Stopper::Timer},
        // One line every 100 ms: the idle time-out never comes.
        StopCase{"ListDrips",
                 Then(kLogin,
                      {Receive(), Send("+OK 2 20\r\n"), Receive(), Send("+OK\r\n"), Drip("1 10\r\n", 100)}),
                 Call::Connect, SecurityNone, LogonInProgress, Stopper::Timer},
        StopCase{"UidlDrips",
                 Then(kLogin, {Receive(), Send("+OK 2 20\r\n"), Receive(), Send("+OK\r\n1 10\r\n.\r\n"),
                               Receive(), Send("+OK\r\n"), Drip("1 a\r\n", 100)}),
                 Call::Connect, SecurityNone, LogonInProgress, Stopper::Timer},
        StopCase{"DownloadDrips", Then(kLoggedInWithTwo, {Receive(), Send("+OK\r\n"), Drip("line\r\n", 100)}),
                 Call::Get, SecurityNone, ReceivingMessage, Stopper::Timer},
        StopCase{"DownloadStoppedFromProgress",
                 Then(kLoggedInWithTwo, {Receive(), Send("+OK\r\n"), Drip("line\r\n", 100)}), Call::GetAll,
                 SecurityNone, ReceivingMessage, Stopper::ProgressEvent},
        StopCase{"NoDeleReply", Then(kLoggedInWithTwo, {Receive()}), Call::Disconnect, SecurityNone,
                 DeletingMessage, Stopper::Timer}),
    [](const auto& info) { return info.param.name; });

}  // namespace
