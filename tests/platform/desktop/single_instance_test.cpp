#include "platform/desktop/single_instance.h"

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

TEST(SingleInstance, LockIsFreedWithItsHolder) {
  auto first = std::make_unique<SingleInstance>("VeltraneTest");
  ASSERT_TRUE(first->acquire());
  first.reset();

  SingleInstance next("VeltraneTest");
  EXPECT_TRUE(next.acquire());
  SingleInstance other("OtherProgram");
  EXPECT_TRUE(other.acquire()) << "the lock is per program name";
}

}  // namespace
}  // namespace platform::desktop
