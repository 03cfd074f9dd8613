#include "platform/text/ascii_case.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>

namespace text {
namespace {

struct FindCase {
    const char* name;
    std::string text;
    std::string needle;
    std::size_t from;
    std::size_t found;

    friend void PrintTo(const FindCase& c, std::ostream* os) { *os << c.name; }
};

constexpr std::size_t npos = std::string_view::npos;

class FindNoCaseTable : public testing::TestWithParam<FindCase> {};

TEST_P(FindNoCaseTable, FindsRegardlessOfAsciiCase) {
    const FindCase& c = GetParam();
    EXPECT_EQ(FindNoCase(c.text, c.needle, c.from), c.found);
}

INSTANTIATE_TEST_SUITE_P(Table, FindNoCaseTable,
                         testing::Values(FindCase{"Charset", "text/plain; CHARSET=utf-8", "charset=", 0, 12},
                                         FindCase{"EncodedWordMarker", "=?UTF-8?Q?x?=", "?q?", 0, 7},
                                         FindCase{"FromPosition", "abAB", "ab", 1, 2},
                                         FindCase{"NotThere", "multipart/mixed", "alternative", 0, npos},
                                         FindCase{"NeedleLonger", "ab", "abc", 0, npos},
                                         FindCase{"AtTheEnd", "xxUTF-8", "utf-8", 0, 2},
                                         FindCase{"EmptyNeedle", "abc", "", 1, 1},
                                         FindCase{"FromPastEnd", "abc", "", 4, npos},
                                         // Only ASCII letters fold: the Latin-1 bytes of "É" and "é" differ.
                                         FindCase{"Latin1NotFolded", "caf\xC9", "\xE9", 0, npos}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(AsciiCase, LowersAndComparesAsciiOnly) {
    EXPECT_EQ(AsciiLowered("Content-Type: TEXT/Plain \xC9"), "content-type: text/plain \xC9");
    EXPECT_TRUE(EqualsNoCase("MIME-Version", "mime-version"));
    EXPECT_FALSE(EqualsNoCase("MIME-Version", "mime-versio"));
    EXPECT_FALSE(EqualsNoCase("[", "{"));  // 0x5B and 0x7B are no letters
    EXPECT_TRUE(StartsWithNoCase("Received: from", "RECEIVED:"));
    EXPECT_FALSE(StartsWithNoCase("Rec", "Received"));
}

}  // namespace
}  // namespace text
