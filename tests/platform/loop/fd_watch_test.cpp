#include "platform/loop/fd_watch.h"

#include <gtest/gtest.h>
#include <sys/socket.h>
#include <unistd.h>

#include <optional>
#include <string>
#include <vector>

#include "tests/platform/pump_until.h"

namespace {

using namespace std::chrono_literals;
using platform::loop::FdWatch;
using platform::loop::kIoHangup;
using platform::loop::kIoReadable;
using platform::loop::kIoWritable;
using testsupport::PumpFor;
using testsupport::PumpUntil;

class FdWatchTest : public ::testing::Test {
protected:
    void SetUp() override {
        int fds[2];
        ASSERT_EQ(socketpair(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK, 0, fds), 0);
        mine = fds[0];
        peer = fds[1];
    }
    void TearDown() override {
        if (mine >= 0) close(mine);
        if (peer >= 0) close(peer);
    }
    void PeerWrites(const std::string& s) const {
        ASSERT_EQ(write(peer, s.data(), s.size()), ssize_t(s.size()));
    }
    char ReadOne() const {
        char c = 0;
        EXPECT_EQ(read(mine, &c, 1), 1);
        return c;
    }
    int mine = -1, peer = -1;
};

TEST_F(FdWatchTest, ReadinessIsLevelTriggeredOneCallbackPerDispatch) {
    std::string got;
    FdWatch watch(mine, kIoReadable, [&](unsigned events) {
        EXPECT_TRUE(events & kIoReadable);
        got += ReadOne();  // one byte per callback: the rest keeps it ready
    });
    PeerWrites("abc");
    ASSERT_TRUE(PumpUntil([&] { return got.size() == 3; }));
    EXPECT_EQ(got, "abc");
}

TEST_F(FdWatchTest, NestedPumpDeliversTheSameWatchsLaterReadiness) {
    std::vector<std::string> trace;
    int depth = 0;
    FdWatch watch(mine, kIoReadable, [&](unsigned) {
        const char c = ReadOne();
        trace.push_back(std::string(1, c) + "@" + std::to_string(depth));
        if (c == 'a') {
            ++depth;
            PeerWrites("b");
            EXPECT_TRUE(PumpUntil([&] { return trace.size() == 2; }));
            --depth;
        }
    });
    PeerWrites("a");
    ASSERT_TRUE(PumpUntil([&] { return trace.size() == 2; }));
    EXPECT_EQ(trace, (std::vector<std::string>{"a@0", "b@1"}));
}

TEST_F(FdWatchTest, InterestDecidesWhatIsPolledAndZeroPollsNothing) {
    int calls = 0;
    unsigned seen = 0;
    FdWatch watch(mine, kIoWritable, [&](unsigned events) {
        ++calls;
        seen = events;
    });
    ASSERT_TRUE(PumpUntil([&] { return calls > 0; }));
    EXPECT_TRUE(seen & kIoWritable);

    watch.SetInterest(0);
    close(peer);  // a hang-up, which poll reports even unasked
    peer = -1;
    calls = 0;
    PumpFor(20ms);
    EXPECT_EQ(calls, 0);

    watch.SetInterest(kIoHangup);
    ASSERT_TRUE(PumpUntil([&] { return calls > 0; }));
    EXPECT_TRUE(seen & kIoHangup);
}

TEST_F(FdWatchTest, WakeRunsTheCallbackOnceWithoutEvents) {
    std::vector<unsigned> calls;
    FdWatch watch(mine, kIoReadable, [&](unsigned events) { calls.push_back(events); });
    watch.Wake();
    ASSERT_TRUE(PumpUntil([&] { return !calls.empty(); }));
    PumpFor(20ms);
    EXPECT_EQ(calls, std::vector<unsigned>{0u});
}

TEST_F(FdWatchTest, WatchDestroyedInsideItsCallbackRunsNoMore) {
    int calls = 0;
    std::optional<FdWatch> watch;
    watch.emplace(mine, kIoReadable, [&, owned = std::string("watch state")](unsigned) {
        ++calls;
        watch.reset();
        EXPECT_EQ(owned, "watch state");  // the closure outlives its own removal
    });
    PeerWrites("xyz");  // stays readable: it is never read
    ASSERT_TRUE(PumpUntil([&] { return calls == 1; }));
    PumpFor(20ms);
    EXPECT_EQ(calls, 1);
}

}  // namespace
