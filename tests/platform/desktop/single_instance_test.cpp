#include "platform/desktop/single_instance.h"

#include <QFileInfo>
#include <QSignalSpy>

#include <gtest/gtest.h>

#include <memory>

namespace platform::desktop {
namespace {

TEST(SingleInstance, SecondIsRefusedAndTheFirstIsTold) {
    SingleInstance first("VeltraneTest");
    QSignalSpy told(&first, &SingleInstance::anotherInstanceStarted);
    ASSERT_TRUE(first.acquire());

    SingleInstance second("VeltraneTest");
    EXPECT_FALSE(second.acquire());
    EXPECT_TRUE(told.wait(5000));
    EXPECT_EQ(told.count(), 1);

    SingleInstance third("VeltraneTest");
    EXPECT_FALSE(third.acquire());
    EXPECT_TRUE(told.count() == 2 || told.wait(5000));
}

TEST(SingleInstance, LockIsFreedWithItsHolderAndNothingIsLeftBehind) {
    auto first = std::make_unique<SingleInstance>("VeltraneTest");
    ASSERT_TRUE(first->acquire());
    const QString lock = first->lockPath(), socket = first->socketPath();
    EXPECT_TRUE(QFileInfo::exists(lock));
    EXPECT_TRUE(QFileInfo::exists(socket));
    first.reset();
    EXPECT_FALSE(QFileInfo::exists(lock));
    EXPECT_FALSE(QFileInfo::exists(socket));

    SingleInstance next("VeltraneTest");
    EXPECT_TRUE(next.acquire());
    SingleInstance other("OtherProgram");
    EXPECT_TRUE(other.acquire()) << "the lock is per program name";
}

}  // namespace
}  // namespace platform::desktop
