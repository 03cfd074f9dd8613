#include "component/mime/encoded_word.h"

#include <gtest/gtest.h>

#include "platform/text/utf8.h"

namespace component::mime {
namespace {

TEST(EncodedWords, DecodeAsTheHeaderGettersShowThem) {
    const struct {
        const char* name;
        std::string_view raw;
        std::string_view utf8;
    } cases[] = {
        {"two Q words folded with CR LF TAB", "=?utf-8?q?a?=\r\n\t=?utf-8?q?b?=", "ab"},
        {"two Q words folded with CR LF blank", "=?utf-8?q?a?=\r\n =?utf-8?q?b?=", "ab"},
        {"Q then B word, blank between dropped", "=?utf-8?q?a?= =?utf-8?b?Yg==?=", "ab"},
        {"ISO-8859-1 byte E9", "=?iso-8859-1?q?caf=E9?=", "caf\xC3\xA9"},
        {"charset in capitals", "=?UTF-8?Q?caf=C3=A9?=", "caf\xC3\xA9"},
        {"windows-1252 euro", "=?windows-1252?q?=80?=", "\xE2\x82\xAC"},
        {"unknown charset is the ANSI page", "=?x-unknown?q?=80?=", "\xE2\x82\xAC"},
        {"ISO-8859-15 euro", "=?iso-8859-15?q?=A4?=", "\xE2\x82\xAC"},
        {"underscore is a space in Q", "=?utf-8?q?hello_world?=", "hello world"},
        {"lower-case hex in Q", "=?utf-8?q?=c3=a9?=", "\xC3\xA9"},
        {"text around words stays", "Re: =?utf-8?b?w6k=?= x", "Re: \xC3\xA9 x"},
        {"text between words stays", "=?utf-8?q?a?= b =?utf-8?q?c?=", "a b c"},
        {"folded plain text keeps its blank", "long\r\n\tsubject", "long\tsubject"},
        {"no closing ?= keeps the text", "a =?utf-8?q?abc and more", "a =?utf-8?q?abc and more"},
        {"not a word, scanning goes on", "What =?q? is =?utf-8?q?x?=", "What =?q? is x"},
        {"bare =? stays", "1 =? 2", "1 =? 2"},
        {"unknown encoding letter stays", "=?utf-8?x?abc?=", "=?utf-8?x?abc?="},
        {"empty encoded text",
         "a=?utf-8?q?"
         "?=b",
         "ab"},
        {"decoded bytes cut at NUL", "=?utf-8?q?a=00b?=", "a"},
        {"RFC 2231 language suffix", "=?utf-8*en?q?x?=", "x"},
        {"raw CP1252 text", "caf\xE9", "caf\xC3\xA9"},
        {"raw UTF-8 text (RFC 6532)", "caf\xC3\xA9", "caf\xC3\xA9"},
        {"invalid UTF-8 in a UTF-8 word", "=?utf-8?q?=FF?=", "\xEF\xBF\xBD"},
        {"Base64 stops at padding", "=?utf-8?b?YQ==?=", "a"},
        {"a character split across two words", "=?utf-8?q?=C3?= =?UTF-8?B?qQ==?=", "\xC3\xA9"},
        {"adjacent words of two charsets", "=?iso-8859-1?q?=E9?= =?utf-8?q?=C3=A9?=", "\xC3\xA9\xC3\xA9"},
        {"text between ends the joined bytes",
         "=?utf-8?q?=C3?= x =?utf-8?q?=A9?=", "\xEF\xBF\xBD x \xEF\xBF\xBD"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(text::ToUtf8(decode_header_value(c.raw)), c.utf8);
    }
}

TEST(EncodedWords, ManyWordsDecodeInLinearTime) {
    std::string raw;
    std::string expected;
    for (int i = 0; i < 100000; ++i) {
        raw += "=?utf-8?q?a_?= ";
        expected += "a ";
    }
    raw += "=?utf-8?q?";  // an unclosed word at the end; the blank before it is text
    expected += " =?utf-8?q?";
    EXPECT_TRUE(text::ToUtf8(decode_encoded_words(raw)) == expected);
    std::string opens(200000, '=');
    for (std::size_t i = 1; i < opens.size(); i += 2) opens[i] = '?';
    EXPECT_TRUE(text::ToUtf8(decode_encoded_words(opens)) == opens);
}

}  // namespace
}  // namespace component::mime
