// The program's Qt event loop and the component's pumps are one loop: Qt's
// timers tick inside our pump (windows stay alive during blocking calls) and
// our sources run inside Qt's loop (non-blocking use from the program).
#include <gtest/gtest.h>
#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QTimer>

#include "platform/loop/message_loop.h"
#include "tests/platform/pump_until.h"

namespace {

TEST(QtSharedLoop, QtTimersTickInOurPumpAndOurSourcesRunInQtsLoop) {
    int argc = 1;
    char name[] = "platform_loop_test";
    char* argv[] = {name, nullptr};
    QCoreApplication app(argc, argv);
    ASSERT_TRUE(QAbstractEventDispatcher::instance()->inherits("QEventDispatcherGlib"));

    bool qtTicked = false;
    QTimer::singleShot(1, [&] { qtTicked = true; });
    EXPECT_TRUE(testsupport::PumpUntil([&] { return qtTicked; }));

    bool oursRan = false;
    platform::loop::SourceHandle post = platform::loop::Post([&] {
        oursRan = true;
        QCoreApplication::exit(0);
    });
    QTimer::singleShot(5000, [] { QCoreApplication::exit(1); });
    EXPECT_EQ(QCoreApplication::exec(), 0);
    EXPECT_TRUE(oursRan);
}

}  // namespace
