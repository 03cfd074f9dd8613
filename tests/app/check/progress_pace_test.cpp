// When a download's progress is shown: at a pace, at the end of a message
// whose progress was shown, and at the last message's end.
#include "app/check/progress_pace.h"

#include <gtest/gtest.h>

namespace {

TEST(ProgressPace, ShowsAtAPaceAndTheEndsWorthSeeing) {
    struct Step {
        const char* name;
        int32_t position, total;
        bool last;
        int64_t now;
        bool shown;
    };
    const Step steps[] = {
        {"a download's first line", 10, 1000, false, 0, true},
        {"too soon", 20, 1000, false, 30, false},
        {"the pace allows it", 30, 1000, false, 50, true},
        {"the end of a message partly shown", 1000, 1000, false, 51, true},
        {"a small message's line, too soon", 5, 10, false, 60, false},
        {"a small message's end, never shown", 10, 10, false, 61, false},
        {"the next one's end once the pace allows", 10, 10, false, 101, true},
        {"a line past its total is its end", 12, 10, false, 102, false},
        {"the last message's end", 10, 10, true, 103, true},
        {"nothing left to fetch is an end", 0, 0, true, 104, true},
    };
    modCheck::ProgressPace pace;
    pace.Start();
    for (const Step& s : steps) EXPECT_EQ(pace.Due(s.position, s.total, s.last, s.now), s.shown) << s.name;

    // A new download shows its first line at once.
    pace.Start();
    EXPECT_TRUE(pace.Due(1, 100, false, 105));
}

}  // namespace
