// Sockets deleted, closed or replaced from inside their own handlers.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/net/async_socket.h"
#include "tests/platform/net/local_peer.h"
#include "tests/platform/net/recording_socket.h"
#include "tests/platform/pump_until.h"

namespace {

using namespace std::chrono_literals;
using namespace platform::net;
using nettest::Event;
using nettest::Listener;
using nettest::Peer;
using nettest::Recorder;
using nettest::RecordingSocket;
using testsupport::PumpFor;
using testsupport::PumpUntil;

constexpr unsigned kAll = FD_READ | FD_WRITE | FD_CONNECT | FD_CLOSE;

struct DeleteRow {
    const char* name;
    Event deleteAt;         // the notification whose handler deletes the socket
    std::string peerSends;  // written by the peer right after accepting
    bool peerCloses;
    std::vector<Event> expected;
};

void PrintTo(const DeleteRow& row, std::ostream* os) { *os << row.name; }

class DeleteInsideHandler : public ::testing::TestWithParam<DeleteRow> {};

// Each row deletes the socket where more notifications would follow in the
// same dispatch or the next; none may arrive, and ASan sees no stale access.
TEST_P(DeleteInsideHandler, NothingFollowsTheDeletion) {
    const DeleteRow& row = GetParam();
    Listener listener;
    Recorder rec;
    rec.readChunk = 2;  // leaves data behind after each read
    auto socket = std::make_unique<RecordingSocket>(rec);
    platform::loop::Liveness::Observer alive = socket->Alive();
    rec.after = [&](const Event& e) {
        if (e == row.deleteAt) socket.reset();
    };
    ASSERT_TRUE(socket->Create());
    socket->SetTimer(1ms, 1);
    socket->AsyncSelect(kAll);
    socket->Connect("127.0.0.1", listener.Port());
    Peer peer = listener.Accept();
    if (!row.peerSends.empty()) peer.Write(row.peerSends);
    if (row.peerCloses) peer.Close();
    ASSERT_TRUE(PumpUntil([&] { return socket == nullptr; }));
    EXPECT_FALSE(alive.Alive());
    PumpFor(30ms);
    ASSERT_FALSE(rec.events.empty());
    EXPECT_EQ(rec.events.back(), row.deleteAt);
    // Ticks and socket notifications interleave by timing: compare the kind
    // the row deletes on.
    std::vector<Event> events;
    for (const Event& e : rec.events)
        if ((e.code == 0) == (row.deleteAt.code == 0)) events.push_back(e);
    EXPECT_EQ(events, row.expected);
}

const Event kConnect{FD_CONNECT, 0}, kWrite{FD_WRITE, 0}, kRead{FD_READ, 0}, kClose{FD_CLOSE, 0}, kTick{0, 1};

INSTANTIATE_TEST_SUITE_P(
    Table, DeleteInsideHandler,
    ::testing::Values(DeleteRow{"at_connect_before_the_owed_write", kConnect, "data", false, {kConnect}},
                      DeleteRow{"at_write_before_pending_data", kWrite, "data", false, {kConnect, kWrite}},
                      DeleteRow{
                          "at_first_of_several_reads", kRead, "abcdef", true, {kConnect, kWrite, kRead}},
                      DeleteRow{"at_close", kClose, "", true, {kConnect, kWrite, kClose}},
                      DeleteRow{"at_timer_tick", kTick, "", false, {kTick}}),
    [](const auto& info) { return std::string(info.param.name); });

// A handler of socket A deletes socket B, whose readiness was polled in the
// same pass, and opens C on B's descriptor number: C never sees B's event.
TEST(DescriptorReuse, NoStaleEventReachesTheNewSocket) {
    Listener listener;
    Recorder recA, recB, recC;
    auto a = std::make_unique<RecordingSocket>(recA);
    auto b = std::make_unique<RecordingSocket>(recB);
    std::unique_ptr<RecordingSocket> c;
    for (RecordingSocket* s : {a.get(), b.get()}) {
        ASSERT_TRUE(s->Create());
        s->AsyncSelect(kAll);
        s->Connect("127.0.0.1", listener.Port());
    }
    Peer peerA = listener.Accept();
    Peer peerB = listener.Accept();
    ASSERT_TRUE(PumpUntil([&] { return recA.Count(nettest::Writable) && recB.Count(nettest::Writable); }));

    int reusedFd = -1;
    recA.after = [&](const Event& e) {
        if (e.code != FD_READ || c) return;
        reusedFd = b->Handle();
        b.reset();
        c = std::make_unique<RecordingSocket>(recC);
        ASSERT_TRUE(c->Create());
        c->AsyncSelect(kAll);
    };
    peerA.Write("to A");
    peerB.Write("to B");  // both readable before the next poll
    ASSERT_TRUE(PumpUntil([&] { return c != nullptr; }));
    EXPECT_EQ(c->Handle(), reusedFd) << "the test needs the descriptor number reused";
    PumpFor(30ms);
    EXPECT_TRUE(recC.events.empty());
    EXPECT_EQ(recA.received, "to A");

    // Connected now, C hears of its own connection only.
    c->Connect("127.0.0.1", listener.Port());
    Peer peerC = listener.Accept();
    ASSERT_TRUE(PumpUntil([&] { return recC.events.size() >= 2; }));
    PumpFor(20ms);
    EXPECT_EQ(recC.events, (std::vector<Event>{nettest::Connected, nettest::Writable}));
}

// Closing and reconnecting the same object inside a read: the rest of that
// dispatch belongs to the old connection and is dropped.
TEST(Reconnect, InsideAHandlerStartsAFreshConnection) {
    Listener listener;
    Recorder rec;
    RecordingSocket socket(rec);
    ASSERT_TRUE(socket.Create());
    socket.AsyncSelect(kAll);
    socket.Connect("127.0.0.1", listener.Port());
    Peer first = listener.Accept();
    ASSERT_TRUE(PumpUntil([&] { return rec.Count(nettest::Writable) == 1; }));
    bool reconnected = false;
    rec.after = [&](const Event& e) {
        if (e.code != FD_READ || std::exchange(reconnected, true)) return;
        socket.Close();
        ASSERT_TRUE(socket.Create());
        socket.AsyncSelect(kAll);
        socket.Connect("127.0.0.1", listener.Port());
    };
    rec.readChunk = 1;
    first.Write("xyz");
    first.Close();
    ASSERT_TRUE(PumpUntil([&] { return rec.Count(nettest::Writable) == 2; }));
    Peer second = listener.Accept();
    PumpFor(30ms);
    EXPECT_EQ(rec.received, "x");
    EXPECT_EQ(rec.events, (std::vector<Event>{nettest::Connected, nettest::Writable, nettest::Readable,
                                              nettest::Connected, nettest::Writable}));
}

}  // namespace
