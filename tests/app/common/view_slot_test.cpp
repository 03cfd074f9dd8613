// A data module reaches a window only while the window's registration lives.
#include "app/common/view_slot.h"

#include <gtest/gtest.h>

namespace {

struct View {
    virtual ~View() = default;
};

TEST(ViewSlot, ARegistrationReachesTheViewExactlyWhileItLives) {
    ViewSlot<View> slot;
    View first;
    View second;
    {
        auto a = slot.Register(first);
        EXPECT_EQ(slot.Get(), &first);
        auto moved = std::move(a);  // a moved handle keeps the registration
        EXPECT_EQ(slot.Get(), &first);
        {
            auto b = slot.Register(second);  // the newest wins
            EXPECT_EQ(slot.Get(), &second);
            moved.Reset();  // the older one going must not drop the newer
            EXPECT_EQ(slot.Get(), &second);
        }
        EXPECT_EQ(slot.Get(), nullptr);
    }
    auto c = slot.Register(first);
    c = ViewSlot<View>::Registration();  // assigning over a handle ends its registration
    EXPECT_EQ(slot.Get(), nullptr);
}

}  // namespace
