#include "platform/text/vb_format.h"

#include <gtest/gtest.h>

#include <optional>
#include <ostream>
#include <string>

namespace text {
namespace {

LocalTime At(int y, int mo, int d, int h = 0, int mi = 0, int s = 0) {
    return MakeLocalTime(DateFields{y, mo, d, h, mi, s}).value();
}

struct FormatCase {
    const char* name;
    LocalTime time;
    const char* pattern;
    const char* expected;

    friend void PrintTo(const FormatCase& c, std::ostream* os) { *os << c.name; }
};

class FormatDateTable : public testing::TestWithParam<FormatCase> {};

TEST_P(FormatDateTable, GivesTheText) {
    EXPECT_EQ(FormatDate(GetParam().time, GetParam().pattern), GetParam().expected);
}

constexpr const char* kList = "MMM dd, yyyy hh:mm:ss AM/PM";
constexpr const char* kStamp = "dd/mm/yy-hh:mm";
constexpr const char* kReply = "dddd, MMMM d, yyyy at h:mm AM/PM";

const FormatCase kFormatCases[] = {
    FormatCase{"ListAfternoon", At(2024, 3, 5, 15, 7, 9), kList, "Mar 05, 2024 03:07:09 PM"},
    FormatCase{"ListMidnight", At(2024, 1, 1), kList, "Jan 01, 2024 12:00:00 AM"},
    FormatCase{"ListHalfPastMidnight", At(2026, 12, 8, 0, 30), kList, "Dec 08, 2026 12:30:00 AM"},
    FormatCase{"ListNoon", At(2026, 12, 8, 12), kList, "Dec 08, 2026 12:00:00 PM"},
    FormatCase{"ListBeforeNoon", At(2026, 6, 30, 11, 59, 59), kList, "Jun 30, 2026 11:59:59 AM"},
    FormatCase{"ListLastSecond", At(1999, 12, 31, 23, 59, 59), kList, "Dec 31, 1999 11:59:59 PM"},
    FormatCase{"ListLeapDay", At(2024, 2, 29, 1, 2, 3), kList, "Feb 29, 2024 01:02:03 AM"},
    FormatCase{"ShortTimeEvening", At(2026, 12, 8, 21, 5), "h:mm AM/PM", "9:05 PM"},
    FormatCase{"ShortTimeMidnight", At(2026, 12, 8, 0, 5), "h:mm AM/PM", "12:05 AM"},
    FormatCase{"ShortTimeNoon", At(2026, 12, 8, 12, 0), "h:mm AM/PM", "12:00 PM"},
    FormatCase{"ShortTimeOnePm", At(2026, 12, 8, 13, 0), "h:mm AM/PM", "1:00 PM"},
    FormatCase{"LongTime", At(2026, 12, 8, 9, 5, 3), "h:mm:ss AM/PM", "9:05:03 AM"},
    FormatCase{"ClockDate", At(2026, 12, 8), "mmm d/yy", "Dec 8/26"},
    FormatCase{"ClockDateYear2000", At(2000, 1, 9), "mmm d/yy", "Jan 9/00"},
    FormatCase{"ClockDateYear2009", At(2009, 11, 19), "mmm d/yy", "Nov 19/09"},
    FormatCase{"Stamp", At(2026, 12, 8, 21, 5), kStamp, "08/12/26-21:05"},
    FormatCase{"StampMidnight", At(2027, 1, 1), kStamp, "01/01/27-00:00"},
    FormatCase{"StampNoon", At(2026, 7, 4, 12, 0), kStamp, "04/07/26-12:00"},
    // The next check 30 minutes after 23:50 on New Year's Eve.
    FormatCase{"StampRollsOver", At(2026, 12, 31, 23, 50) + std::chrono::minutes{30}, kStamp,
               "01/01/27-00:20"},
    FormatCase{"StampDatePart", At(2026, 12, 8, 21, 5), "dd/mm/yy-", "08/12/26-"},
    FormatCase{"TwentyFourHour", At(2026, 12, 8, 9, 5), "hh:mm", "09:05"},
    FormatCase{"PopupCaption", At(2026, 12, 8), "mmmm d, yyyy", "December 8, 2026"},
    FormatCase{"YearOnly", At(2026, 12, 8), "yyyy", "2026"},
    FormatCase{"ReplySent", At(2024, 3, 5, 15, 7, 9), kReply, "Tuesday, March 5, 2024 at 3:07 PM"},
    FormatCase{"ReplySentMidnight", At(2024, 1, 1), kReply, "Monday, January 1, 2024 at 12:00 AM"},
    FormatCase{"TipLastCheck", At(2026, 12, 8, 21, 5), "mmmm dd, yyyy at h:mm AM/PM",
               "December 08, 2026 at 9:05 PM"},
    FormatCase{"TipCurrent", At(2026, 12, 8, 21, 5), "mmmm dd, yyyy h:mm AM/PM", "December 08, 2026 9:05 PM"},
    FormatCase{"LowerAmPm", At(2026, 12, 8, 21, 5), "h:mm am/pm", "9:05 pm"},
    FormatCase{"ShortAmPm", At(2026, 12, 8, 8, 5), "h:mm a/p", "8:05 a"},
    FormatCase{"MinutesByN", At(2026, 12, 8, 8, 5), "nn", "05"},
    FormatCase{"AbbreviatedWeekday", At(2026, 12, 8), "ddd d", "Tue 8"},
    FormatCase{"DayOfYear", At(2024, 12, 31), "y", "366"},
    FormatCase{"EscapedLetter", At(2026, 12, 8, 21, 5), "\\h h", "h 21"},
    FormatCase{"QuotedText", At(2026, 12, 8, 21, 5), "\"mm\" mm", "mm 12"},
};

INSTANTIATE_TEST_SUITE_P(Table, FormatDateTable, testing::ValuesIn(kFormatCases),
                         [](const auto& info) { return std::string(info.param.name); });

// One thread formats with one pattern after another, and back again: each
// text follows its own pattern, never the one used before it.
TEST(FormatDate, EachPatternInTurnGivesItsOwnText) {
    for (int pass = 0; pass < 2; ++pass)
        for (const FormatCase& c : kFormatCases)
            for (int again = 0; again < 2; ++again)
                EXPECT_EQ(FormatDate(c.time, c.pattern), c.expected) << c.name << ", pass " << pass;
}

struct ParseCase {
    const char* name;
    const char* text;
    const char* pattern;
    std::optional<DateFields> expected;

    friend void PrintTo(const ParseCase& c, std::ostream* os) { *os << c.name; }
};

class ParseFormattedDateTable : public testing::TestWithParam<ParseCase> {};

TEST_P(ParseFormattedDateTable, GivesTheDateOrNone) {
    const ParseCase& c = GetParam();
    const std::optional<LocalTime> parsed = ParseFormattedDate(c.text, c.pattern);
    ASSERT_EQ(parsed.has_value(), c.expected.has_value());
    if (parsed) {
        EXPECT_EQ(SplitLocalTime(*parsed), *c.expected);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Table, ParseFormattedDateTable,
    testing::Values(
        ParseCase{"List", "Mar 05, 2024 03:07:09 PM", kList, DateFields{2024, 3, 5, 15, 7, 9}},
        ParseCase{"ListMidnight", "Jan 01, 2024 12:00:00 AM", kList, DateFields{2024, 1, 1, 0, 0, 0}},
        ParseCase{"ListNoon", "Jan 01, 2024 12:00:00 PM", kList, DateFields{2024, 1, 1, 12, 0, 0}},
        ParseCase{"ListAnyCase", "mar 05, 2024 03:07:09 pm", kList, DateFields{2024, 3, 5, 15, 7, 9}},
        ParseCase{"Stamp", "08/12/26-21:05", kStamp, DateFields{2026, 12, 8, 21, 5, 0}},
        ParseCase{"StampYear49", "01/01/49-00:00", kStamp, DateFields{2049, 1, 1, 0, 0, 0}},
        ParseCase{"StampYear50", "01/01/50-00:00", kStamp, DateFields{1950, 1, 1, 0, 0, 0}},
        ParseCase{"TimeOnlyKeepsDayZero", "07:30", "hh:mm", DateFields{1899, 12, 30, 7, 30, 0}},
        ParseCase{"ShortTime", "9:05 PM", "h:mm AM/PM", DateFields{1899, 12, 30, 21, 5, 0}},
        ParseCase{"ShortTimeTwoDigitHour", "11:05 AM", "h:mm AM/PM", DateFields{1899, 12, 30, 11, 5, 0}},
        ParseCase{"ReplySent", "Tuesday, March 5, 2024 at 3:07 PM", kReply, DateFields{2024, 3, 5, 15, 7, 0}},
        ParseCase{"WrongWeekday", "Monday, March 5, 2024 at 3:07 PM", kReply, std::nullopt},
        ParseCase{"NoSuchDay", "Feb 30, 2024 01:00:00 AM", kList, std::nullopt},
        ParseCase{"NotALeapYear", "Feb 29, 2023 01:00:00 AM", kList, std::nullopt},
        ParseCase{"HourThirteenWithPm", "Jan 01, 2024 13:00:00 PM", kList, std::nullopt},
        ParseCase{"HourZeroWithAm", "Jan 01, 2024 00:00:00 AM", kList, std::nullopt},
        ParseCase{"Hour24", "08/12/26-24:00", kStamp, std::nullopt},
        ParseCase{"Minute60", "08/12/26-23:60", kStamp, std::nullopt},
        ParseCase{"UnknownMonth", "Foo 05, 2024 03:07:09 PM", kList, std::nullopt},
        ParseCase{"MissingAmPm", "Mar 05, 2024 03:07:09", kList, std::nullopt},
        ParseCase{"TrailingText", "08/12/26-21:05x", kStamp, std::nullopt},
        ParseCase{"OneDigitWhereTwo", "8/12/26-21:05", kStamp, std::nullopt},
        ParseCase{"FourDigitYearWhereTwo", "08/12/2026-21:05", kStamp, std::nullopt},
        ParseCase{"Empty", "", kStamp, std::nullopt}),
    [](const auto& info) { return std::string(info.param.name); });

// Texts the program stores are read back by the sort, the reply and the
// schedule: every minute-of-day pattern must come back to the same moment.
TEST(FormatDate, StoredTextsReadBackToTheSameMoment) {
    for (const char* pattern : {kList, kStamp}) {
        const LocalTime first = At(2023, 12, 30, 0, 0, 0);
        for (int step = 0; step < 5000; ++step) {
            const LocalTime time = first + std::chrono::minutes{step * 37};
            const std::string text = FormatDate(time, pattern);
            const std::optional<LocalTime> back = ParseFormattedDate(text, pattern);
            ASSERT_TRUE(back.has_value()) << pattern << ": " << text;
            EXPECT_EQ(*back, time) << pattern << ": " << text;
        }
    }
}

}  // namespace
}  // namespace text
