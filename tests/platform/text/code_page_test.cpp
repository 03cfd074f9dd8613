#include "platform/text/code_page.h"

#include <gtest/gtest.h>

#include <ostream>
#include <set>
#include <string>

namespace text {
namespace {

TEST(CodePage, EveryByteSurvivesTheRoundTrip) {
    std::string all;
    for (int b = 0; b < 256; ++b) all.push_back(static_cast<char>(b));
    const std::u16string wide = FromAnsi(all);
    ASSERT_EQ(wide.size(), 256u);
    EXPECT_EQ(ToAnsi(wide), all);
    // No two bytes share a character, or the round trip above would be luck.
    EXPECT_EQ(std::set<char16_t>(wide.begin(), wide.end()).size(), 256u);
}

struct ByteCase {
    const char* name;
    unsigned char byte;
    char16_t unit;

    friend void PrintTo(const ByteCase& c, std::ostream* os) { *os << c.name; }
};

class CodePageByte : public testing::TestWithParam<ByteCase> {};

TEST_P(CodePageByte, MapsBothWays) {
    const ByteCase& c = GetParam();
    EXPECT_EQ(AnsiByteToUtf16(c.byte), c.unit);
    EXPECT_EQ(Utf16ToAnsiByte(c.unit), c.byte);
}

INSTANTIATE_TEST_SUITE_P(
    Table, CodePageByte,
    testing::Values(ByteCase{"Nul", 0x00, u'\0'}, ByteCase{"Delete", 0x7F, u'\x7F'},
                    ByteCase{"Euro", 0x80, u'\u20AC'}, ByteCase{"Undefined81", 0x81, u'\u0081'},
                    ByteCase{"LowQuote", 0x82, u'\u201A'}, ByteCase{"Undefined8D", 0x8D, u'\u008D'},
                    ByteCase{"CaronZ", 0x8E, u'\u017D'}, ByteCase{"Undefined8F", 0x8F, u'\u008F'},
                    ByteCase{"Undefined90", 0x90, u'\u0090'}, ByteCase{"RightQuote", 0x92, u'\u2019'},
                    ByteCase{"EmDash", 0x97, u'\u2014'}, ByteCase{"TradeMark", 0x99, u'\u2122'},
                    ByteCase{"Undefined9D", 0x9D, u'\u009D'}, ByteCase{"DiaeresisY", 0x9F, u'\u0178'},
                    ByteCase{"NoBreakSpace", 0xA0, u'\u00A0'}, ByteCase{"EAcute", 0xE9, u'\u00E9'},
                    ByteCase{"YDiaeresis", 0xFF, u'\u00FF'}),
    [](const auto& info) { return std::string(info.param.name); });

struct WideCase {
    const char* name;
    std::u16string wide;
    std::string bytes;

    friend void PrintTo(const WideCase& c, std::ostream* os) { *os << c.name; }
};

class CodePageToAnsi : public testing::TestWithParam<WideCase> {};

TEST_P(CodePageToAnsi, GivesBytesOrQuestionMarks) { EXPECT_EQ(ToAnsi(GetParam().wide), GetParam().bytes); }

INSTANTIATE_TEST_SUITE_P(
    Table, CodePageToAnsi,
    testing::Values(WideCase{"Empty", u"", ""}, WideCase{"Ascii", u"USER bob", "USER bob"},
                    WideCase{"EmbeddedNul", std::u16string(u"a\0b", 3), std::string("a\0b", 3)},
                    WideCase{"EuroAndQuotes", u"\u20AC \u201Cx\u201D", "\x80 \x93x\x94"},
                    WideCase{"Cyrillic", u"\u0416a", "?a"},
                    // C1 controls whose byte the code page gives to another character.
                    WideCase{"C1WithoutByte", u"\u0080\u0085\u009F", "???"},
                    WideCase{"NoBestFit", u"\u0101\u2212", "??"},
                    WideCase{"SurrogatePairIsOneCharacter", u"a\U0001F600b", "a?b"},
                    WideCase{"LoneHighSurrogate", std::u16string{u'\xD83D', u'x'}, "?x"},
                    WideCase{"LoneHighSurrogateAtEnd", std::u16string{u'x', u'\xD83D'}, "x?"},
                    WideCase{"LoneLowSurrogate", std::u16string{u'\xDE00', u'\xDE00'}, "??"},
                    WideCase{"ReplacementChar", u"\uFFFD", "?"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(CodePage, AppendKeepsWhatIsThere) {
    std::u16string out = u"ab";
    AppendFromAnsi(out, "\x80\x81");
    EXPECT_EQ(out, u"ab\u20AC\u0081");
}

// Long texts go in groups: a character that is not ASCII is found at any
// place, in a whole group or in the rest, both ways.
TEST(CodePage, LongTextMapsEveryCharacterWherever) {
    struct Special {
        unsigned char byte;
        char16_t unit;
    };
    for (const Special special :
         {Special{0x80, u'\u20AC'}, Special{0x93, u'\u201C'}, Special{0x9F, u'\u0178'},
          Special{0xE9, u'\u00E9'}, Special{'?', u'\u0416'}, Special{'?', u'\u0085'}})
        for (std::size_t length : {7u, 15u, 16u, 17u, 33u, 40u})
            for (std::size_t at = 0; at < length; ++at) {
                std::string bytes(length, 'q');
                bytes[at] = static_cast<char>(special.byte);
                std::u16string wide(length, u'q');
                wide[at] = special.unit;
                if (special.byte != '?') {
                    EXPECT_EQ(FromAnsi(bytes), wide) << int(special.byte) << " at " << at << " of " << length;
                }
                std::string narrowed(length, '\0');
                NarrowToAnsi(wide, narrowed.data());
                EXPECT_EQ(narrowed, bytes) << int(special.unit) << " at " << at << " of " << length;
            }
}

TEST(CodePage, ConvertsByCodePage) {
    EXPECT_EQ(ToUtf16("\xC3\xA9", CodePage::Ansi), u"\u00C3\u00A9");
    EXPECT_EQ(ToUtf16("\xC3\xA9", CodePage::Utf8), u"\u00E9");
    EXPECT_EQ(FromUtf16(u"\u00E9\u0416", CodePage::Ansi), "\xE9?");
    EXPECT_EQ(FromUtf16(u"\u00E9\u0416", CodePage::Utf8), "\xC3\xA9\xD0\x96");
}

}  // namespace
}  // namespace text
