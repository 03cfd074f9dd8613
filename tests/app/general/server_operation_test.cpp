#include "app/general/server_operation.h"

#include <gtest/gtest.h>

using modGeneral::ServerOperation;

TEST(ServerOperation, OnlyTheFirstOfNestedOperationsRunsAndItsEndFreesTheSlot) {
    EXPECT_FALSE(ServerOperation::Running());
    {
        ServerOperation check;
        ASSERT_TRUE(check.Started());
        {
            ServerOperation tick;  // a timer tick inside the check's wait
            EXPECT_FALSE(tick.Started());
        }
        EXPECT_TRUE(ServerOperation::Running()) << "the refused one must not free the slot";
    }
    EXPECT_FALSE(ServerOperation::Running());
    ServerOperation next;
    EXPECT_TRUE(next.Started());
}
