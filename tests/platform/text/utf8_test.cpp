#include "platform/text/utf8.h"

#include <gtest/gtest.h>

#include <iterator>
#include <ostream>
#include <random>
#include <string>

namespace text {
namespace {

constexpr char16_t R = kReplacementChar;

struct DecodeCase {
    const char* name;
    std::string bytes;
    std::u16string wide;

    friend void PrintTo(const DecodeCase& c, std::ostream* os) { *os << c.name; }
};

class Utf8Decode : public testing::TestWithParam<DecodeCase> {};

TEST_P(Utf8Decode, GivesUtf16) { EXPECT_EQ(FromUtf8(GetParam().bytes), GetParam().wide); }

INSTANTIATE_TEST_SUITE_P(
    Table, Utf8Decode,
    testing::Values(DecodeCase{"Empty", "", u""}, DecodeCase{"Ascii", "Subject", u"Subject"},
                    DecodeCase{"EmbeddedNul", std::string("a\0b", 3), std::u16string(u"a\0b", 3)},
                    DecodeCase{"TwoBytes", "\xC3\xA9", u"\u00E9"},
                    DecodeCase{"SmallestTwoBytes", "\xC2\x80", u"\u0080"},
                    DecodeCase{"ThreeBytes", "\xE2\x82\xAC", u"\u20AC"},
                    DecodeCase{"LastBeforeSurrogates", "\xED\x9F\xBF", u"\uD7FF"},
                    DecodeCase{"FirstAfterSurrogates", "\xEE\x80\x80", u"\uE000"},
                    DecodeCase{"FourBytesToPair", "\xF0\x9F\x98\x80", u"\U0001F600"},
                    DecodeCase{"HighestCodePoint", "\xF4\x8F\xBF\xBF", u"\U0010FFFF"},
                    DecodeCase{"OverlongSlash2", "\xC0\xAF", std::u16string{R, R}},
                    DecodeCase{"OverlongSlash3", "\xE0\x80\xAF", std::u16string{R, R, R}},
                    DecodeCase{"OverlongSlash4", "\xF0\x80\x80\xAF", std::u16string{R, R, R, R}},
                    DecodeCase{"OverlongNul", "\xC0\x80", std::u16string{R, R}},
                    DecodeCase{"EncodedHighSurrogate", "\xED\xA0\x80", std::u16string{R, R, R}},
                    DecodeCase{"EncodedLowSurrogate", "\xED\xBF\xBF", std::u16string{R, R, R}},
                    DecodeCase{"AboveMaximum", "\xF4\x90\x80\x80", std::u16string{R, R, R, R}},
                    DecodeCase{"NotALeadByte", "a\xF5\x80z", std::u16string{u'a', R, R, u'z'}},
                    DecodeCase{"FeFf", "\xFE\xFF", std::u16string{R, R}},
                    DecodeCase{"LoneContinuation", "\x80", std::u16string{R}},
                    DecodeCase{"TruncatedAtEnd3", "ab\xE2\x82", std::u16string{u'a', u'b', R}},
                    DecodeCase{"TruncatedAtEnd4", "\xF0\x9F\x98", std::u16string{R}},
                    DecodeCase{"TruncatedBeforeAscii",
                               "\xE2\x82"
                               "A",
                               std::u16string{R, u'A'}},
                    DecodeCase{"TruncatedBeforeLead", "\xC3\xC3\xA9", std::u16string{R, u'\u00E9'}},
                    // The Unicode Standard's example of maximal subparts.
                    DecodeCase{"MaximalSubparts", "\x61\xF1\x80\x80\xE1\x80\xC2\x62\x80\x63\x80\xBF\x64",
                               std::u16string{u'a', R, R, R, u'b', R, u'c', R, R, u'd'}}),
    [](const auto& info) { return std::string(info.param.name); });

class Utf8Encode : public testing::TestWithParam<DecodeCase> {};

TEST_P(Utf8Encode, GivesUtf8) { EXPECT_EQ(ToUtf8(GetParam().wide), GetParam().bytes); }

INSTANTIATE_TEST_SUITE_P(
    Table, Utf8Encode,
    testing::Values(DecodeCase{"Empty", "", u""}, DecodeCase{"Ascii", "From", u"From"},
                    DecodeCase{"EmbeddedNul", std::string("a\0b", 3), std::u16string(u"a\0b", 3)},
                    DecodeCase{"TwoBytes", "\xDF\xBF", u"\u07FF"},
                    DecodeCase{"ThreeBytes", "\xEF\xBF\xBF", u"\uFFFF"},
                    DecodeCase{"Pair", "\xF0\x9F\x98\x80", u"\U0001F600"},
                    DecodeCase{"LoneHighAtEnd", "a\xEF\xBF\xBD", std::u16string{u'a', u'\xD83D'}},
                    DecodeCase{"LoneLow",
                               "\xEF\xBF\xBD"
                               "a",
                               std::u16string{u'\xDE00', u'a'}},
                    DecodeCase{"HighBeforeHigh", "\xEF\xBF\xBD\xF0\x9F\x98\x80",
                               std::u16string{u'\xD83D', u'\xD83D', u'\xDE00'}},
                    DecodeCase{"ReversedPair", "\xEF\xBF\xBD\xEF\xBF\xBD",
                               std::u16string{u'\xDE00', u'\xD83D'}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Utf8, EveryCodePointSurvivesTheRoundTrip) {
    std::u16string all;
    for (char32_t cp = 0; cp <= 0x10FFFF; ++cp) {
        if (cp >= 0xD800 && cp <= 0xDFFF) continue;
        if (cp < 0x10000) {
            all.push_back(static_cast<char16_t>(cp));
        } else {
            all.push_back(static_cast<char16_t>(0xD800 + ((cp - 0x10000) >> 10)));
            all.push_back(static_cast<char16_t>(0xDC00 + ((cp - 0x10000) & 0x3FF)));
        }
    }
    const std::string utf8 = ToUtf8(all);
    EXPECT_EQ(FromUtf8(utf8), all);
}

bool IsWellFormedUtf16(const std::u16string& s) {
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] >= 0xDC00 && s[i] <= 0xDFFF) return false;
        if (s[i] >= 0xD800 && s[i] <= 0xDBFF) {
            if (i + 1 == s.size() || s[i + 1] < 0xDC00 || s[i + 1] > 0xDFFF) return false;
            ++i;
        }
    }
    return true;
}

// Whatever bytes arrive, the result is well-formed UTF-16 that survives a
// trip through UTF-8 unchanged.
TEST(Utf8, AnyBytesDecodeToWellFormedText) {
    // Bytes at the edges of the lead and continuation ranges, so that many
    // inputs hold whole or nearly whole sequences.
    constexpr unsigned char kEdges[] = {0x00, 0x41, 0x7F, 0x80, 0x8F, 0x90, 0x9F, 0xA0, 0xBF,
                                        0xC0, 0xC1, 0xC2, 0xDF, 0xE0, 0xE1, 0xEC, 0xED, 0xEE,
                                        0xEF, 0xF0, 0xF1, 0xF3, 0xF4, 0xF5, 0xFF};
    std::mt19937 random(20261208);
    std::uniform_int_distribution<std::size_t> pick(0, std::size(kEdges) - 1);
    std::uniform_int_distribution<std::size_t> length(0, 24);
    for (int round = 0; round < 20000; ++round) {
        std::string bytes(length(random), '\0');
        for (char& c : bytes) c = static_cast<char>(kEdges[pick(random)]);
        const std::u16string wide = FromUtf8(bytes);
        ASSERT_TRUE(IsWellFormedUtf16(wide)) << testing::PrintToString(bytes);
        ASSERT_LE(wide.size(), bytes.size());
        ASSERT_EQ(FromUtf8(ToUtf8(wide)), wide) << testing::PrintToString(bytes);
    }
}

TEST(Utf8, AppendKeepsWhatIsThere) {
    std::u16string out = u"x";
    AppendFromUtf8(out, "\xC3\xA9");
    EXPECT_EQ(out, u"x\u00E9");
}

}  // namespace
}  // namespace text
