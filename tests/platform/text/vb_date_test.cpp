#include "platform/text/vb_date.h"

#include <gtest/gtest.h>

#include <ostream>

#include "tests/support/time_zone.h"

namespace text {
namespace {

struct MakeCase {
    const char* name;
    DateFields fields;
    bool valid;

    friend void PrintTo(const MakeCase& c, std::ostream* os) { *os << c.name; }
};

class MakeLocalTimeTable : public testing::TestWithParam<MakeCase> {};

TEST_P(MakeLocalTimeTable, AcceptsOnlyRealDates) {
    const MakeCase& c = GetParam();
    const std::optional<LocalTime> time = MakeLocalTime(c.fields);
    ASSERT_EQ(time.has_value(), c.valid);
    if (time) {
        EXPECT_EQ(SplitLocalTime(*time), c.fields);
    }
}

INSTANTIATE_TEST_SUITE_P(Table, MakeLocalTimeTable,
                         testing::Values(MakeCase{"DayZero", DateFields{}, true},
                                         MakeCase{"LeapDay", DateFields{2024, 2, 29, 23, 59, 59}, true},
                                         MakeCase{"LeapDay2000", DateFields{2000, 2, 29}, true},
                                         MakeCase{"NoLeapDay2023", DateFields{2023, 2, 29}, false},
                                         MakeCase{"NoLeapDay1900", DateFields{1900, 2, 29}, false},
                                         MakeCase{"April31", DateFields{2026, 4, 31}, false},
                                         MakeCase{"Month0", DateFields{2026, 0, 1}, false},
                                         MakeCase{"Month13", DateFields{2026, 13, 1}, false},
                                         MakeCase{"Day0", DateFields{2026, 1, 0}, false},
                                         MakeCase{"NegativeDay", DateFields{2026, 1, -1}, false},
                                         MakeCase{"Hour24", DateFields{2026, 1, 1, 24}, false},
                                         MakeCase{"Minute60", DateFields{2026, 1, 1, 0, 60}, false},
                                         MakeCase{"Second60", DateFields{2026, 1, 1, 0, 0, 60}, false},
                                         MakeCase{"NegativeHour", DateFields{2026, 1, 1, -1}, false},
                                         MakeCase{"FirstYear", DateFields{100, 1, 1}, true},
                                         MakeCase{"Year99", DateFields{99, 12, 31}, false},
                                         MakeCase{"LastYear", DateFields{9999, 12, 31, 23, 59, 59}, true},
                                         MakeCase{"Year10000", DateFields{10000, 1, 1}, false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(VbDate, WeekdayCountsFromSunday) {
    EXPECT_EQ(Weekday(MakeLocalTime({2026, 12, 6}).value()), 1);   // Sunday
    EXPECT_EQ(Weekday(MakeLocalTime({2026, 12, 8}).value()), 3);   // Tuesday
    EXPECT_EQ(Weekday(MakeLocalTime({2026, 12, 12}).value()), 7);  // Saturday
    EXPECT_EQ(Weekday(MakeLocalTime({}).value()), 7);              // 30 Dec 1899, a Saturday
}

TEST(VbDate, NamesAreEnglishAndBounded) {
    EXPECT_EQ(MonthName(1, false), "January");
    EXPECT_EQ(MonthName(9, true), "Sep");
    EXPECT_EQ(MonthName(12, false), "December");
    EXPECT_EQ(MonthName(0, true), "");
    EXPECT_EQ(MonthName(13, false), "");
    EXPECT_EQ(WeekdayName(1, false), "Sunday");
    EXPECT_EQ(WeekdayName(4, true), "Wed");
    EXPECT_EQ(WeekdayName(8, true), "");
}

TEST(VbDate, TimeTIsReadInTheLocalZone) {
    {
        const TimeZone utc("UTC0");
        EXPECT_EQ(SplitLocalTime(LocalTimeFromTimeT(0)), (DateFields{1970, 1, 1, 0, 0, 0}));
    }
    {
        const TimeZone east("EST5");
        EXPECT_EQ(SplitLocalTime(LocalTimeFromTimeT(0)), (DateFields{1969, 12, 31, 19, 0, 0}));
    }
}

TEST(VbDate, NowIsTheClockInTheLocalZone) {
    const TimeZone east("EST5");
    const LocalTime before = LocalTimeFromTimeT(std::time(nullptr));
    const LocalTime now = Now();
    const LocalTime after = LocalTimeFromTimeT(std::time(nullptr));
    EXPECT_LE(before, now);
    EXPECT_LE(now, after);
}

}  // namespace
}  // namespace text
