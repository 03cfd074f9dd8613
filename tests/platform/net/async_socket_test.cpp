#include "platform/net/async_socket.h"

#include <gtest/gtest.h>
#include <sys/socket.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/net/socket_error.h"
#include "tests/platform/net/local_peer.h"
#include "tests/platform/net/recording_socket.h"
#include "tests/platform/pump_until.h"
#include "tests/support/scripted_resolver.h"

namespace {

using namespace std::chrono_literals;
using namespace platform::net;
using nettest::Connected;
using nettest::Event;
using nettest::Listener;
using nettest::Peer;
using nettest::Readable;
using nettest::Recorder;
using nettest::RecordingSocket;
using nettest::Writable;
using testsupport::PumpFor;
using testsupport::PumpUntil;
using Events = std::vector<Event>;

constexpr unsigned kAll = FD_READ | FD_WRITE | FD_CONNECT | FD_CLOSE;

// A socket of the test connected to the listener, with its peer.
class Connection : public ::testing::Test {
protected:
    void Open() {
        socket = std::make_unique<RecordingSocket>(rec);
        ASSERT_TRUE(socket->Create());
        socket->AsyncSelect(kAll);
        EXPECT_EQ(socket->Connect("127.0.0.1", listener.Port()), -1);
        EXPECT_EQ(socket->GetLastError(), kErrWouldBlock);
        peer = std::make_unique<Peer>(listener.Accept());
        ASSERT_TRUE(PumpUntil([&] { return rec.Count(Writable) == 1; }));
        ASSERT_EQ(rec.events, (Events{Connected, Writable}));
        rec.events.clear();
    }
    bool Closed() const { return rec.Saw(FD_CLOSE); }

    Listener listener;
    Recorder rec;
    std::unique_ptr<RecordingSocket> socket;
    std::unique_ptr<Peer> peer;
};

TEST_F(Connection, ConnectReportsOnceThenOneWriteAndNothingMore) {
    socket = std::make_unique<RecordingSocket>(rec);
    ASSERT_TRUE(socket->Create());
    socket->AsyncSelect(kAll);
    EXPECT_EQ(socket->Connect("127.1", listener.Port()), -1);
    EXPECT_EQ(LastSocketError(), kErrWouldBlock);
    Peer accepted = listener.Accept();
    EXPECT_TRUE(rec.events.empty()) << "the outcome must arrive through the loop";
    ASSERT_TRUE(PumpUntil([&] { return rec.events.size() >= 2; }));
    PumpFor(30ms);
    EXPECT_EQ(rec.events, (Events{Connected, Writable}));
}

TEST_F(Connection, RefusedConnectionArrivesAsConnectEvent) {
    socket = std::make_unique<RecordingSocket>(rec);
    ASSERT_TRUE(socket->Create());
    socket->AsyncSelect(kAll);
    EXPECT_EQ(socket->Connect("127.0.0.1", nettest::UnusedPort()), -1);
    EXPECT_EQ(socket->GetLastError(), kErrWouldBlock);
    EXPECT_TRUE(rec.events.empty());
    ASSERT_TRUE(PumpUntil([&] { return !rec.events.empty(); }));
    PumpFor(30ms);
    EXPECT_EQ(rec.events, (Events{{FD_CONNECT, kErrConnectionRefused}}));
}

// A name is looked up without holding the loop: its address is connected
// when the answer comes, a name that does not resolve arrives as FD_CONNECT
// with 11001, and a close during the lookup cancels it with nothing reported.
TEST_F(Connection, ANameIsLookedUpThroughTheLoop) {
    const testsupport::ScriptedResolver resolver(
        {{"mail.test", "127.0.0.1"}, {"slow.test", testsupport::ScriptedResolver::kStall}}, 50ms);
    struct Row {
        const char* host;
        Events events;
    };
    for (const Row& row :
         {Row{"mail.test", {Connected, Writable}}, Row{"unknown.test", {{FD_CONNECT, kErrHostNotFound}}}}) {
        SCOPED_TRACE(row.host);
        rec.events.clear();
        socket = std::make_unique<RecordingSocket>(rec);
        ASSERT_TRUE(socket->Create());
        socket->AsyncSelect(kAll);
        EXPECT_EQ(socket->Connect(row.host, listener.Port()), -1);
        EXPECT_EQ(socket->GetLastError(), kErrWouldBlock);
        EXPECT_TRUE(rec.events.empty()) << "the answer must arrive through the loop";
        ASSERT_TRUE(PumpUntil([&] { return rec.events.size() >= row.events.size(); }));
        PumpFor(30ms);
        EXPECT_EQ(rec.events, row.events);
        if (row.events.size() == 2) Peer accepted = listener.Accept();
    }

    rec.events.clear();
    socket = std::make_unique<RecordingSocket>(rec);
    ASSERT_TRUE(socket->Create());
    socket->AsyncSelect(kAll);
    EXPECT_EQ(socket->Connect("slow.test", listener.Port()), -1);
    PumpFor(30ms);
    socket->Close();
    EXPECT_EQ(resolver.cancelled(), 1);
    PumpFor(30ms);
    EXPECT_TRUE(rec.events.empty());
    EXPECT_EQ(resolver.asked(), 3);
}

TEST_F(Connection, UseBeforeCreateOrConnectFails) {
    RecordingSocket unopened(rec);
    char byte = 0;
    EXPECT_EQ(unopened.Connect("127.0.0.1", listener.Port()), -1);
    EXPECT_EQ(LastSocketError(), kErrNotSocket);
    EXPECT_EQ(unopened.Send("x", 1), -1);
    EXPECT_EQ(LastSocketError(), kErrNotSocket);
    ASSERT_TRUE(unopened.Create());
    EXPECT_EQ(unopened.Receive(&byte, 1), -1);
    EXPECT_EQ(LastSocketError(), kErrNotConnected);
}

TEST_F(Connection, ReadsAreLevelTriggeredOnePerDispatchAndCloseComesLast) {
    Open();
    rec.readChunk = 10;
    const std::string data(100, 'r');
    peer->Write(data);
    peer->Close();
    size_t seen = 0;
    ASSERT_TRUE(PumpUntil([&] {
        EXPECT_LE(rec.events.size() - seen, 1u) << "more than one notification in one dispatch";
        seen = rec.events.size();
        return Closed();
    }));
    EXPECT_EQ(rec.received, data);
    EXPECT_EQ(rec.Count(Readable), 10);
    EXPECT_EQ(rec.events.back(), (Event{FD_CLOSE, 0}));
}

TEST_F(Connection, HalfCloseDeliversCloseOnlyAfterTheLastData) {
    Open();
    const std::string data(200 * 1024, 'h');  // several reads of 16 KiB
    std::string atClose;
    rec.after = [&](const Event& e) {
        if (e.code == FD_CLOSE) atClose = rec.received;
    };
    peer->Write(data);
    peer->ShutdownWrite();
    ASSERT_TRUE(PumpUntil([&] { return Closed(); }));
    PumpFor(30ms);
    EXPECT_EQ(atClose.size(), data.size());
    EXPECT_EQ(rec.Count({FD_CLOSE, 0}), 1);
    // The socket may still send after the peer's half-close.
    EXPECT_EQ(socket->Send("bye", 3), 3);
    EXPECT_EQ(peer->Drain(), "bye");
}

TEST_F(Connection, PeerResetClosesOnceWithConnectionReset) {
    Open();
    peer->Reset();
    ASSERT_TRUE(PumpUntil([&] { return Closed(); }));
    PumpFor(30ms);
    EXPECT_EQ(rec.events, (Events{{FD_CLOSE, kErrConnectionReset}}));
}

TEST_F(Connection, SendIntoAResetConnectionFailsAndTheCloseCarriesTheError) {
    Open();
    peer->Reset();
    EXPECT_EQ(socket->Send("x", 1), -1);
    EXPECT_EQ(LastSocketError(), kErrConnectionReset);
    ASSERT_TRUE(PumpUntil([&] { return Closed(); }));
    PumpFor(30ms);
    EXPECT_EQ(rec.events, (Events{{FD_CLOSE, kErrConnectionReset}}));
}

// Sends until the socket would block: through Send, or as a TLS library
// would, on the descriptor itself and then asking for FD_WRITE.
class WouldBlock : public Connection, public ::testing::WithParamInterface<bool> {};

TEST_P(WouldBlock, IsFollowedByOneWriteWhenThereIsRoomAgain) {
    const bool ownIo = GetParam();
    Open();
    const std::string block(64 * 1024, 'w');
    size_t sent = 0;
    for (;;) {
        const int n = ownIo ? int(::send(socket->Handle(), block.data(), block.size(), MSG_NOSIGNAL))
                            : socket->Send(block.data(), int(block.size()));
        if (n <= 0) break;
        sent += size_t(n);
    }
    if (ownIo) {
        socket->RequestWriteNotification();
    } else {
        EXPECT_EQ(LastSocketError(), kErrWouldBlock);
    }
    PumpFor(20ms);
    EXPECT_TRUE(rec.events.empty()) << "no write notification while the peer reads nothing";
    size_t drained = 0;
    ASSERT_TRUE(PumpUntil([&] {
        drained += peer->Drain().size();
        return !rec.events.empty();
    }));
    EXPECT_EQ(rec.events, (Events{Writable}));
    drained += peer->Drain().size();
    PumpFor(20ms);
    EXPECT_EQ(rec.events, (Events{Writable})) << "one notification per would-block";
    EXPECT_GT(sent, block.size());
}

INSTANTIATE_TEST_SUITE_P(Ways, WouldBlock, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "own_io" : "through_send"; });

TEST_F(Connection, ResetMetByOwnIoIsReportedThroughTheClose) {
    Open();
    socket->AsyncSelect(FD_CLOSE);  // the layer above reads for itself
    peer->Reset();
    char byte;
    ASSERT_EQ(::recv(socket->Handle(), &byte, 1, 0), -1);  // consumes the reset
    socket->ReportConnectionError(kErrConnectionReset);
    ASSERT_TRUE(PumpUntil([&] { return Closed(); }));
    PumpFor(20ms);
    EXPECT_EQ(rec.events, (Events{{FD_CLOSE, kErrConnectionReset}}));
}

TEST_F(Connection, NestedPumpInsideConnectDeliversTheOwedWriteOnce) {
    socket = std::make_unique<RecordingSocket>(rec);
    ASSERT_TRUE(socket->Create());
    socket->AsyncSelect(kAll);
    rec.after = [&](const Event& e) {
        if (e.code == FD_CONNECT) {
            EXPECT_TRUE(PumpUntil([&] { return rec.Count(Writable) == 1; }));
        }
    };
    socket->Connect("127.0.0.1", listener.Port());
    Peer accepted = listener.Accept();
    ASSERT_TRUE(PumpUntil([&] { return rec.Count(Writable) == 1; }));
    PumpFor(30ms);
    EXPECT_EQ(rec.events, (Events{Connected, Writable}));
}

TEST_F(Connection, AsyncSelectWhileConnectedOwesOneWrite) {
    Open();
    socket->AsyncSelect(kAll);
    ASSERT_TRUE(PumpUntil([&] { return !rec.events.empty(); }));
    PumpFor(20ms);
    EXPECT_EQ(rec.events, (Events{Writable}));
}

TEST_F(Connection, OnlySelectedNotificationsAreDelivered) {
    Open();
    socket->AsyncSelect(FD_CLOSE);
    peer->Write("ignored");
    PumpFor(20ms);
    EXPECT_TRUE(rec.events.empty());
    peer->Close();
    ASSERT_TRUE(PumpUntil([&] { return Closed(); }));
    EXPECT_EQ(rec.events, (Events{{FD_CLOSE, 0}}));
}

TEST_F(Connection, RequestedReadIsDeliveredOnceWithoutData) {
    Open();
    socket->RequestReadNotification();
    ASSERT_TRUE(PumpUntil([&] { return !rec.events.empty(); }));
    EXPECT_EQ(LastSocketError(), kErrWouldBlock) << "the read inside found nothing";
    PumpFor(20ms);
    EXPECT_EQ(rec.events, (Events{Readable}));
}

TEST_F(Connection, SocketTimersTickUntilKilledAndAreReplacedById) {
    Open();
    socket->SetTimer(5ms, 7);
    socket->SetTimer(5ms, 7);  // replaces, does not add
    ASSERT_TRUE(PumpUntil([&] { return rec.Count({0, 7}) >= 3; }));
    socket->KillTimer(7);
    const int ticks = rec.Count({0, 7});
    PumpFor(30ms);
    EXPECT_EQ(rec.Count({0, 7}), ticks);
}

TEST_F(Connection, NestedPumpInsideAReadDeliversLaterDataInOrder) {
    Open();
    rec.readChunk = 4;
    int depth = 0, maxDepth = 0;
    rec.after = [&](const Event& e) {
        if (e.code != FD_READ) return;
        maxDepth = std::max(maxDepth, ++depth);
        if (rec.received == "one\n") {
            peer->Write("two\n");
            EXPECT_TRUE(PumpUntil([&] { return rec.received.size() == 8; }));
        }
        --depth;
    };
    peer->Write("one\n");
    ASSERT_TRUE(PumpUntil([&] { return rec.received.size() == 8; }));
    EXPECT_EQ(rec.received, "one\ntwo\n");
    EXPECT_EQ(maxDepth, 2);
}

}  // namespace
