#include "platform/ui/twips.h"

#include <gtest/gtest.h>

namespace {

TEST(Twips, FifteenPerPixelAtTheOffscreenDpi) {
    EXPECT_DOUBLE_EQ(vb::TwipsPerPixelX(), 15.0);
    EXPECT_DOUBLE_EQ(vb::TwipsPerPixelY(), 15.0);
}

struct TwipsCase {
    const char* name;
    int twips;
    int pixels;
};

TEST(Twips, ConvertsAndRoundsToTheNearestPixel) {
    const TwipsCase cases[] = {
        {"zero", 0, 0},           {"one pixel", 15, 1},      {"below half", 7, 0},
        {"half rounds up", 8, 1}, {"form width", 6084, 406}, {"negative", -30, -2},
        {"inch", 1440, 96},
    };
    for (const TwipsCase& c : cases) {
        EXPECT_EQ(vb::TwipsToPixelsX(c.twips), c.pixels) << c.name;
        EXPECT_EQ(vb::TwipsToPixelsY(c.twips), c.pixels) << c.name;
    }
}

TEST(Twips, PixelsRoundTripExactly) {
    for (int px = -50; px <= 2000; ++px) {
        ASSERT_EQ(vb::TwipsToPixelsX(vb::PixelsToTwipsX(px)), px);
        ASSERT_EQ(vb::TwipsToPixelsY(vb::PixelsToTwipsY(px)), px);
    }
}

TEST(Twips, TwipsRoundTripWithinHalfAPixel) {
    for (int tw = 0; tw <= 20000; tw += 7) {
        ASSERT_LE(std::abs(vb::PixelsToTwipsX(vb::TwipsToPixelsX(tw)) - tw), 8) << tw;
    }
}

}  // namespace
