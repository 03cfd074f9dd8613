#include "component/mime/date_parser.h"

#include <gtest/gtest.h>

#include <ostream>

namespace component::mime {

void PrintTo(const DateTimeFields& f, std::ostream* os) {
    *os << f.year << '-' << f.month << '-' << f.day << ' ' << f.hour << ':' << f.minute << ':' << f.second;
}

namespace {

TEST(DateParser, ParsesToUtcWithTheStatedZone) {
    const struct {
        const char* name;
        std::string_view text;
        DateTimeFields utc;
        int zone;
    } cases[] = {
        {"full form", "Tue, 5 Mar 2024 09:05:07 +0530", {2024, 3, 5, 3, 35, 7}, 330},
        {"no weekday", "5 Mar 2024 09:05:07 +0530", {2024, 3, 5, 3, 35, 7}, 330},
        {"zero-padded day", "Tue, 05 Mar 2024 09:05:07 +0530", {2024, 3, 5, 3, 35, 7}, 330},
        {"negative zone", "Tue, 5 Mar 2024 09:05:07 -0800", {2024, 3, 5, 17, 5, 7}, -480},
        {"no seconds", "Tue, 5 Mar 2024 09:05 -0500", {2024, 3, 5, 14, 5, 0}, -300},
        {"EST in parentheses", "Tue, 5 Mar 2024 09:05:07 (EST)", {2024, 3, 5, 14, 5, 7}, -300},
        {"EDT", "Tue, 5 Mar 2024 09:05:07 EDT", {2024, 3, 5, 13, 5, 7}, -240},
        {"PDT lower case", "Tue, 5 Mar 2024 09:05:07 pdt", {2024, 3, 5, 16, 5, 7}, -420},
        {"UT is zero", "Tue, 5 Mar 2024 09:05:07 UT", {2024, 3, 5, 9, 5, 7}, 0},
        {"military letter is zero", "Tue, 5 Mar 2024 09:05:07 Z", {2024, 3, 5, 9, 5, 7}, 0},
        {"no zone is zero", "Tue, 5 Mar 2024 09:05:07", {2024, 3, 5, 9, 5, 7}, 0},
        {"bare zone digits", "Tue, 5 Mar 2024 09:05:07 0130", {2024, 3, 5, 7, 35, 7}, 90},
        {"short zone is zero", "Tue, 5 Mar 2024 09:05:07 +5", {2024, 3, 5, 9, 5, 7}, 0},
        {"zone and comment", "Tue, 5 Mar 2024 09:05:07 +0000 (UTC)", {2024, 3, 5, 9, 5, 7}, 0},
        {"two-digit year 10 is 2010", "Fri, 1 Jan 10 00:00:00 GMT", {2010, 1, 1, 0, 0, 0}, 0},
        {"two-digit year 49 is 2049", "1 Jan 49 00:00:00 GMT", {2049, 1, 1, 0, 0, 0}, 0},
        {"two-digit year 50 is 1950", "1 Jan 50 00:00:00 GMT", {1950, 1, 1, 0, 0, 0}, 0},
        {"three-digit year adds 1900", "1 Jan 104 00:00:00 GMT", {2004, 1, 1, 0, 0, 0}, 0},
        {"one-digit hour", "Tue, 5 Mar 2024 9:05:07 +0000", {2024, 3, 5, 9, 5, 7}, 0},
        {"Wen misspelling", "Wen, 6 Mar 2024 10:00:00 +0000", {2024, 3, 6, 10, 0, 0}, 0},
        {"full weekday and month names", "Tuesday, 5 March 2024 09:05:07 +0100", {2024, 3, 5, 8, 5, 7}, 60},
        {"dashed date", "5-Mar-2024 09:05:07 +0000", {2024, 3, 5, 9, 5, 7}, 0},
        {"weekday without comma", "Tue 5 Mar 2024 09:05:07 +0000", {2024, 3, 5, 9, 5, 7}, 0},
        {"leading blanks and 8-bit bytes", " \t\xA0 5 Mar 2024 09:05:07 +0000", {2024, 3, 5, 9, 5, 7}, 0},
        {"across the year backwards", "1 Jan 2024 00:30:00 +0100", {2023, 12, 31, 23, 30, 0}, 60},
        {"across the year forwards", "31 Dec 2023 23:30:00 -0100", {2024, 1, 1, 0, 30, 0}, -60},
        {"leap day", "29 Feb 2024 12:00:00 +0000", {2024, 2, 29, 12, 0, 0}, 0},
        {"leap second reads as 59", "Sat, 31 Dec 2016 23:59:60 +0000", {2016, 12, 31, 23, 59, 59}, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto parsed = parse_rfc822_date(c.text);
        ASSERT_TRUE(parsed.has_value());
        EXPECT_EQ(parsed->zone_minutes, c.zone);
        EXPECT_EQ(to_local(*parsed, 0), c.utc);
    }
}

TEST(DateParser, RefusesWhatItCannotRead) {
    const struct {
        const char* name;
        std::string_view text;
    } cases[] = {
        {"empty", ""},
        {"weekday only", "Tue"},
        {"no year", "5 Mar"},
        {"no time", "5 Mar 2024"},
        {"unknown month", "5 Foo 2024 10:00:00 +0000"},
        {"unknown first word", "Foo, 5 Mar 2024 10:00:00 +0000"},
        {"ISO form", "2024-03-05T10:00:00Z"},
        {"day 32", "32 Jan 2024 10:00:00 +0000"},
        {"day 0", "0 Jan 2024 10:00:00 +0000"},
        {"29 February of a common year", "29 Feb 2023 10:00:00 +0000"},
        {"hour 25", "5 Mar 2024 25:00:00 +0000"},
        {"minute 61", "5 Mar 2024 10:61:00 +0000"},
        {"five-digit year", "5 Mar 20245 10:00:00 +0000"},
        {"hour without minute", "5 Mar 2024 10 +0000"},
        {"colon then nothing", "5 Mar 2024 10:"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_FALSE(parse_rfc822_date(c.text).has_value());
    }
}

TEST(DateParser, LocalTimeAddsTheGivenOffsetToEveryDate) {
    const auto winter = parse_date_local("1 Jan 2024 00:00:00 +0000", 120);
    const auto summer = parse_date_local("1 Jul 2024 23:30:00 -0100", 120);
    ASSERT_TRUE(winter && summer);
    EXPECT_EQ(*winter, (DateTimeFields{2024, 1, 1, 2, 0, 0}));
    EXPECT_EQ(*summer, (DateTimeFields{2024, 7, 2, 2, 30, 0}));
}

TEST(DateParser, LocalTimeOutsideTheOleRangeFails) {
    const auto parsed = parse_rfc822_date("1 Jan 100 00:00:00 +0100");
    ASSERT_TRUE(parsed.has_value());
    EXPECT_EQ(parsed->stated.year, 2000);  // three digits add 1900
    const auto early = parse_rfc822_date("31 Dec 9999 23:30:00 -0100");
    ASSERT_TRUE(early.has_value());
    EXPECT_FALSE(to_local(*early, 0).has_value());
}

}  // namespace
}  // namespace component::mime
