#include <gtest/gtest.h>

#include <cmath>
#include <ostream>

#include "platform/com/ole_date.h"

namespace com {

void PrintTo(const DateParts& p, std::ostream* os) {
    *os << p.year << '-' << p.month << '-' << p.day << ' ' << p.hour << ':' << p.minute << ':' << p.second;
}

}  // namespace com

namespace {

using namespace com;

struct DateRow {
    const char* name;
    DateParts parts;
    DATE date;
    int dayOfWeek;
};

// Serial numbers as the platform counts them: 0 is 1899-12-30, negative
// days keep a positive time of day in the fraction's magnitude.
const DateRow kDates[] = {
    {"the epoch", {1899, 12, 30, 0, 0, 0}, 0.0, 6},
    {"epoch 06:00", {1899, 12, 30, 6, 0, 0}, 0.25, 6},
    {"day before epoch", {1899, 12, 29, 0, 0, 0}, -1.0, 5},
    {"day before epoch 06:00", {1899, 12, 29, 6, 0, 0}, -1.25, 5},
    {"day before epoch 18:00", {1899, 12, 29, 18, 0, 0}, -1.75, 5},
    {"1899-12-31 12:00", {1899, 12, 31, 12, 0, 0}, 1.5, 0},
    {"1900-01-01", {1900, 1, 1, 0, 0, 0}, 2.0, 1},
    {"1900-02-28, no leap day in 1900", {1900, 2, 28, 0, 0, 0}, 60.0, 3},
    {"1900-03-01", {1900, 3, 1, 0, 0, 0}, 61.0, 4},
    {"1800-01-01 12:00", {1800, 1, 1, 12, 0, 0}, -36522.5, 3},
    {"1996-02-29 leap day", {1996, 2, 29, 23, 59, 59}, 35124.0 + 86399.0 / 86400.0, 4},
    {"2000-02-29 leap century", {2000, 2, 29, 0, 0, 1}, 36585.0 + 1.0 / 86400.0, 2},
    {"2000-03-01", {2000, 3, 1, 0, 0, 0}, 36586.0, 3},
    {"2026-12-08 21:05:00", {2026, 12, 8, 21, 5, 0}, 46364.0 + (21 * 3600 + 5 * 60) / 86400.0, 2},
    {"0100-01-01 first valid day", {100, 1, 1, 0, 0, 0}, -657434.0, 5},
    {"9999-12-31 23:59:59 last second", {9999, 12, 31, 23, 59, 59}, 2958465.0 + 86399.0 / 86400.0, 5},
};

TEST(OleDateTest, PartsToDateAndBackAreExactToTheSecond) {
    for (const DateRow& row : kDates) {
        SCOPED_TRACE(row.name);
        const auto date = OleDateFromParts(row.parts);
        ASSERT_TRUE(date.has_value());
        EXPECT_DOUBLE_EQ(*date, row.date);
        const auto parts = OleDateToParts(row.date);
        ASSERT_TRUE(parts.has_value());
        EXPECT_EQ(*parts, row.parts);
        EXPECT_EQ(parts->dayOfWeek, row.dayOfWeek);
    }
}

TEST(OleDateTest, EverySecondOfADayAcrossTheEpochRoundTrips) {
    for (const int day : {28, 29, 30, 31}) {
        for (int second = 0; second < 86400; second += 7) {
            const DateParts p{1899, 12, day, second / 3600, second / 60 % 60, second % 60};
            const auto date = OleDateFromParts(p);
            ASSERT_TRUE(date.has_value());
            const auto back = OleDateToParts(*date);
            ASSERT_TRUE(back.has_value());
            ASSERT_EQ(*back, p) << "day " << day << " second " << second;
        }
    }
}

TEST(OleDateTest, FractionsRoundToTheNearestSecondAndCarry) {
    struct Row {
        const char* name;
        DATE date;
        DateParts expected;
    };
    const double halfSecond = 0.5 / 86400.0;
    const Row rows[] = {
        {"just under midnight rounds into the next day", 1.0 - 0.4 / 86400.0, {1899, 12, 31, 0, 0, 0}},
        {"just under midnight before the epoch", -1.0 - (1.0 - 0.4 / 86400.0), {1899, 12, 30, 0, 0, 0}},
        {"0.4 s rounds down", 2.0 + 0.4 / 86400.0, {1900, 1, 1, 0, 0, 0}},
        {"0.6 s rounds up", 2.0 + 0.6 / 86400.0, {1900, 1, 1, 0, 0, 1}},
        {"negative zero day counts forward", -0.25, {1899, 12, 30, 6, 0, 0}},
        {"a hair past half a second", 2.0 + 1.0 / 86400.0 + halfSecond * 1.01, {1900, 1, 1, 0, 0, 2}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const auto parts = OleDateToParts(row.date);
        ASSERT_TRUE(parts.has_value());
        EXPECT_EQ(*parts, row.expected);
    }
}

TEST(OleDateTest, InvalidFieldsAndRangesAreRefused) {
    struct Row {
        const char* name;
        DateParts parts;
    };
    const Row rows[] = {
        {"29 February of a common year", {1900, 2, 29, 0, 0, 0}},
        {"29 February 2100", {2100, 2, 29, 0, 0, 0}},
        {"day 0", {2000, 1, 0, 0, 0, 0}},
        {"31 April", {2000, 4, 31, 0, 0, 0}},
        {"month 13", {2000, 13, 1, 0, 0, 0}},
        {"hour 24", {2000, 1, 1, 24, 0, 0}},
        {"second 60", {2000, 1, 1, 0, 0, 60}},
        {"year 99", {99, 12, 31, 0, 0, 0}},
        {"year 10000", {10000, 1, 1, 0, 0, 0}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_FALSE(OleDateFromParts(row.parts).has_value());
    }
    EXPECT_FALSE(OleDateToParts(std::nan("")).has_value());
    EXPECT_FALSE(OleDateToParts(-700000.0).has_value());
    EXPECT_FALSE(OleDateToParts(3000000.0).has_value());
    EXPECT_TRUE(OleDateFromParts({2024, 2, 29, 0, 0, 0}).has_value());
}

TEST(OleDateTest, LocalTimeOfAMomentUsesTheTimeZone) {
    setenv("TZ", "UTC", 1);
    tzset();
    const auto date = OleDateFromLocalTime(0);  // 1970-01-01 00:00 UTC
    ASSERT_TRUE(date.has_value());
    EXPECT_DOUBLE_EQ(*date, 25569.0);
    setenv("TZ", "CET-1", 1);
    tzset();
    EXPECT_DOUBLE_EQ(*OleDateFromLocalTime(0), 25569.0 + 1.0 / 24.0);
    unsetenv("TZ");
    tzset();
}

}  // namespace
