#include "platform/text/charset.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>

namespace text {
namespace {

struct CharsetCase {
    const char* name;
    std::string charset;
    std::string bytes;
    std::u16string wide;

    friend void PrintTo(const CharsetCase& c, std::ostream* os) { *os << c.name; }
};

class CharsetDecode : public testing::TestWithParam<CharsetCase> {};

TEST_P(CharsetDecode, FindsTheDecoder) {
    const CharsetCase& c = GetParam();
    const CharsetDecoder decoder = FindCharsetDecoder(c.charset);
    ASSERT_NE(decoder, nullptr);
    EXPECT_EQ(decoder(c.bytes), c.wide);
    EXPECT_EQ(DecodeCharset(c.charset, c.bytes), c.wide);
}

INSTANTIATE_TEST_SUITE_P(
    Table, CharsetDecode,
    testing::Values(CharsetCase{"Utf8", "utf-8", "\xC3\xA9", u"\u00E9"},
                    CharsetCase{"Utf8Capitals", "UTF-8", "\xE2\x82\xAC", u"\u20AC"},
                    CharsetCase{"Utf8NoDash", "utf8", "\xC3\xA9", u"\u00E9"},
                    CharsetCase{"Utf8Invalid", "utf-8", "\xE9", u"\uFFFD"},
                    CharsetCase{"Utf8Quoted", "\"utf-8\"", "\xC3\xA9", u"\u00E9"},
                    CharsetCase{"Utf8Blanks", " utf-8\t", "\xC3\xA9", u"\u00E9"},
                    CharsetCase{"Latin1", "iso-8859-1", "caf\xE9", u"caf\u00E9"},
                    CharsetCase{"Latin1Mixed", "ISO-8859-1", "\x92", u"\u2019"},
                    CharsetCase{"Latin1Alias", "latin1", "\xFF", u"\u00FF"},
                    CharsetCase{"UsAscii", "us-ascii", "plain", u"plain"},
                    CharsetCase{"UsAsciiWith8Bit", "US-ASCII", "\x80", u"\u20AC"},
                    CharsetCase{"Windows1252", "windows-1252", "\x93x\x94", u"\u201Cx\u201D"},
                    CharsetCase{"Windows1252Undefined", "Windows-1252", "\x81", u"\u0081"},
                    CharsetCase{"Cp1252", "cp1252", "\x9F", u"\u0178"}),
    [](const auto& info) { return std::string(info.param.name); });

struct UnknownCase {
    const char* name;
    std::string charset;

    friend void PrintTo(const UnknownCase& c, std::ostream* os) { *os << c.name; }
};

class CharsetUnknown : public testing::TestWithParam<UnknownCase> {};

TEST_P(CharsetUnknown, HasNoDecoderAndFallsBackToAnsi) {
    EXPECT_EQ(FindCharsetDecoder(GetParam().charset), nullptr);
    EXPECT_EQ(DecodeCharset(GetParam().charset, "\xC3\xA9\x80"), u"\u00C3\u00A9\u20AC");
}

INSTANTIATE_TEST_SUITE_P(Table, CharsetUnknown,
                         testing::Values(UnknownCase{"Empty", ""}, UnknownCase{"Koi8", "koi8-r"},
                                         UnknownCase{"Prefix", "utf-"}, UnknownCase{"Longer", "utf-88"},
                                         UnknownCase{"OnlyQuotes", "\"\""},
                                         UnknownCase{"InnerBlank", "utf -8"}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace text
