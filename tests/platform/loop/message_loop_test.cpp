#include "platform/loop/message_loop.h"

#include <gtest/gtest.h>
#include <sys/socket.h>
#include <unistd.h>

#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "platform/loop/fd_watch.h"
#include "platform/loop/liveness.h"
#include "tests/platform/pump_until.h"

namespace {

using namespace std::chrono_literals;
using platform::loop::FdWatch;
using platform::loop::Post;
using platform::loop::SourceHandle;
using platform::loop::StartOneShot;
using platform::loop::StartTimer;
using testsupport::PumpFor;
using testsupport::PumpUntil;

struct SocketPair {
    int a = -1, b = -1;
    SocketPair() {
        int fds[2];
        EXPECT_EQ(socketpair(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK, 0, fds), 0);
        a = fds[0];
        b = fds[1];
    }
    ~SocketPair() {
        close(a);
        close(b);
    }
    void Write(const std::string& s) const { ASSERT_EQ(write(b, s.data(), s.size()), ssize_t(s.size())); }
    std::string Drain() const {
        std::string out;
        char buf[256];
        ssize_t n;
        while ((n = read(a, buf, sizeof buf)) > 0) out.append(buf, size_t(n));
        return out;
    }
};

TEST(MessageLoop, OnePassRunsSocketsThenTimersThenPostedCalls) {
    SocketPair pair;
    std::vector<std::string> order;
    SourceHandle posted = Post([&] { order.push_back("post"); });
    SourceHandle timer = StartOneShot(0ms, [&] { order.push_back("timer"); });
    FdWatch watch(pair.a, platform::loop::kIoReadable,
                  [&](unsigned) { order.push_back("socket " + pair.Drain()); });
    pair.Write("1");
    std::this_thread::sleep_for(5ms);  // the timer is due before the first pass
    ASSERT_TRUE(PumpUntil([&] { return order.size() >= 3; }));
    EXPECT_EQ(order, (std::vector<std::string>{"socket 1", "timer", "post"}));
}

TEST(MessageLoop, SocketReadinessDuringAPassStillComesBeforeWaitingPostedCalls) {
    SocketPair pair;
    std::vector<std::string> order;
    FdWatch watch(pair.a, platform::loop::kIoReadable, [&](unsigned) {
        const std::string got = pair.Drain();
        order.push_back("socket " + got);
        if (got == "1") pair.Write("2");  // ready again before the post runs
    });
    SourceHandle posted = Post([&] { order.push_back("post"); });
    pair.Write("1");
    ASSERT_TRUE(PumpUntil([&] { return order.size() >= 3; }));
    EXPECT_EQ(order, (std::vector<std::string>{"socket 1", "socket 2", "post"}));
}

TEST(MessageLoop, PostedCallsRunOnceInOrderAndNotWhenCancelled) {
    std::string ran;
    SourceHandle a = Post([&] { ran += 'a'; });
    SourceHandle b = Post([&] { ran += 'b'; });
    SourceHandle c = Post([&] { ran += 'c'; });
    b.Reset();
    ASSERT_TRUE(PumpUntil([&] { return ran.size() >= 2; }));
    PumpFor(20ms);
    EXPECT_EQ(ran, "ac");
    EXPECT_FALSE(a.Active());
    EXPECT_FALSE(c.Active());
}

TEST(MessageLoop, NestedPumpInsideAPostedCallRunsLaterCalls) {
    std::vector<std::string> order;
    SourceHandle inner;
    SourceHandle outer = Post([&] {
        order.push_back("outer begins");
        inner = Post([&] { order.push_back("inner"); });
        EXPECT_TRUE(PumpUntil([&] { return order.size() == 2; }));
        order.push_back("outer ends");
    });
    ASSERT_TRUE(PumpUntil([&] { return order.size() == 3; }));
    EXPECT_EQ(order, (std::vector<std::string>{"outer begins", "inner", "outer ends"}));
}

TEST(MessageLoop, OneShotFiresOnce) {
    int fired = 0;
    SourceHandle timer = StartOneShot(5ms, [&] {
        ++fired;
        EXPECT_FALSE(timer.Active());  // already spent while it runs
    });
    EXPECT_TRUE(timer.Active());
    ASSERT_TRUE(PumpUntil([&] { return fired == 1; }));
    PumpFor(30ms);
    EXPECT_EQ(fired, 1);
}

TEST(MessageLoop, PeriodicTimerStoppedInsideItsOwnTickTicksNoMore) {
    int ticks = 0;
    // The closure owns a string; ASan reports it if the stop frees the
    // closure while the tick still runs.
    std::string owned = "closure state";
    SourceHandle timer;
    timer = StartTimer(2ms, [&, owned] {
        ++ticks;
        if (ticks == 3) timer.Reset();
        EXPECT_EQ(owned, "closure state");
    });
    ASSERT_TRUE(PumpUntil([&] { return ticks == 3; }));
    PumpFor(30ms);
    EXPECT_EQ(ticks, 3);
    EXPECT_FALSE(timer.Active());
}

TEST(MessageLoop, MissedTicksCoalesce) {
    std::vector<std::chrono::steady_clock::time_point> ticks;
    SourceHandle timer = StartTimer(40ms, [&] { ticks.push_back(std::chrono::steady_clock::now()); });
    std::this_thread::sleep_for(200ms);  // five periods without pumping
    ASSERT_TRUE(PumpUntil([&] { return ticks.size() >= 2; }));
    // No burst of catch-up ticks: the second comes a whole period later.
    EXPECT_GE(ticks[1] - ticks[0], 35ms);
}

TEST(MessageLoop, ATickNeverRunsInsideItsOwnPreviousTick) {
    int depth = 0, maxDepth = 0, ticks = 0;
    SourceHandle timer = StartTimer(1ms, [&] {
        ++ticks;
        ++depth;
        maxDepth = std::max(maxDepth, depth);
        if (ticks == 1) PumpFor(20ms);
        --depth;
    });
    ASSERT_TRUE(PumpUntil([&] { return ticks >= 3; }));
    EXPECT_EQ(maxDepth, 1);
}

TEST(MessageLoop, TimerAndPostMayBeReplacedOrDroppedFromInsideTheirCallbacks) {
    // Moving a new source into the handle that owns the running one.
    int first = 0, second = 0;
    SourceHandle timer;
    timer = StartTimer(1ms, [&] {
        ++first;
        timer = StartTimer(1ms, [&] { ++second; });
    });
    ASSERT_TRUE(PumpUntil([&] { return second >= 2; }));
    EXPECT_EQ(first, 1);

    std::optional<SourceHandle> post;
    bool ran = false;
    post = Post([&, owned = std::string("posted state")] {
        post.reset();
        ran = owned == "posted state";
    });
    ASSERT_TRUE(PumpUntil([&] { return ran; }));
}

TEST(Liveness, ObserversSeeTheObjectGo) {
    std::optional<platform::loop::Liveness> object(std::in_place);
    const auto observer = object->Observe();
    const platform::loop::Liveness copy = *object;  // another object
    EXPECT_TRUE(observer.Alive());
    object.reset();
    EXPECT_FALSE(observer.Alive());
    EXPECT_TRUE(copy.Observe().Alive());

    platform::loop::Liveness zombie;
    const auto early = zombie.Observe();
    zombie.Kill();
    EXPECT_FALSE(early.Alive());
    EXPECT_FALSE(zombie.Observe().Alive());
}

}  // namespace
