#include "component/mime/text_parts.h"

#include <gtest/gtest.h>

#include "platform/text/utf8.h"
#include "tests/component/mime/mime_test_util.h"

namespace component::mime {
namespace {

using test::crlf;

// Found texts as UTF-8, so the expectations read as plain literals.
std::optional<std::string> utf8(const std::optional<std::u16string>& s) {
    if (!s) return std::nullopt;
    return text::ToUtf8(*s);
}
std::optional<std::string> plain(const std::string& msg) {
    return utf8(find_text_part(MimeTree::parse(msg), TextKind::plain));
}
std::optional<std::string> html(const std::string& msg) {
    return utf8(find_text_part(MimeTree::parse(msg), TextKind::html));
}

const std::string kPlainPart = crlf({"--a", "Content-Type: text/plain", "", "the plain"});
const std::string kHtmlPart = crlf({"--a", "Content-Type: text/html", "", "<p>the html</p>"});

std::string multipart(std::string_view type, std::string_view boundary, std::string_view parts) {
    return "Content-Type: " + std::string(type) + "; boundary=" + std::string(boundary) + "\r\n\r\n" +
           std::string(parts) + "--" + std::string(boundary) + "--\r\n";
}

TEST(TextPartSearch, FindsTheBodyUsersExpect) {
    const std::string alternative = multipart("multipart/alternative", "a", kPlainPart + kHtmlPart);
    const std::string html_only_alt = multipart("multipart/alternative", "a", kHtmlPart);
    const std::string text_attachment =
        crlf({"--m", "Content-Type: text/plain", "Content-Disposition: attachment; filename=a.txt", "",
              "attached"});
    const std::string image = crlf({"--r", "Content-Type: image/png", "Content-ID: <i>", "", "PNG"});
    const struct {
        const char* name;
        std::string message;
        std::optional<std::string> plain;
        std::optional<std::string> html;
    } cases[] = {
        {"alternative", alternative, "the plain\r\n", "<p>the html</p>\r\n"},
        {"mixed holding alternative and a text attachment",
         multipart("multipart/mixed", "m", "--m\r\n" + alternative + text_attachment), "the plain\r\n",
         "<p>the html</p>\r\n"},
        {"alternative without plain decides alone",
         multipart("multipart/mixed", "m",
                   "--m\r\n" + html_only_alt + crlf({"--m", "Content-Type: text/plain", "", "other"})),
         std::nullopt, "<p>the html</p>\r\n"},
        {"mixed, related, alternative",
         multipart("multipart/mixed", "m",
                   "--m\r\n" + multipart("multipart/related", "r", "--r\r\n" + alternative + image) +
                       text_attachment),
         "the plain\r\n", "<p>the html</p>\r\n"},
        {"related with type parameter compares the media type only",
         multipart("multipart/related; type=\"text/html\"", "a", kHtmlPart), std::nullopt,
         "<p>the html</p>\r\n"},
        {"text attachment is not the body", multipart("multipart/mixed", "m", text_attachment), std::nullopt,
         std::nullopt},
        {"no Content-Type is text/plain", crlf({"Subject: x", "", "body"}), "body\r\n", std::nullopt},
        {"a whole message sent as a file is not the body",
         crlf({"Content-Type: text/plain", "Content-Disposition: attachment; filename=notes.txt", "",
               "notes"}),
         std::nullopt, std::nullopt},
        {"single html", crlf({"Content-Type: text/html", "", "<i>x</i>"}), std::nullopt, "<i>x</i>\r\n"},
        {"quoted-printable latin-1",
         crlf({"Content-Type: text/plain; charset=iso-8859-1", "Content-Transfer-Encoding: quoted-printable",
               "", "caf=E9=", "!"}),
         "caf\xC3\xA9!\r\n", std::nullopt},
        {"base64 UTF-8",
         crlf({"Content-Type: text/plain; charset=\"UTF-8\"", "Content-Transfer-Encoding: Base64", "",
               "Y2Fmw6k="}),
         "caf\xC3\xA9", std::nullopt},
        {"ANSI default charset", crlf({"Content-Type: text/plain", "", "\x80"}), "\xE2\x82\xAC\r\n",
         std::nullopt},
        {"decoded text cut at NUL",
         crlf({"Content-Type: text/plain", "Content-Transfer-Encoding: base64", "", "YQBi"}), "a",
         std::nullopt},
        {"a part without header fields starts after its empty header block",
         multipart("multipart/mixed", "m", crlf({"--m", "", "bare part"})), "bare part\r\n", std::nullopt},
        {"text without a subtype is text/plain", crlf({"Content-Type: text", "", "body"}), "body\r\n",
         std::nullopt},
        {"a digest's parts are messages, not text",
         multipart("multipart/digest", "d", crlf({"--d", "", "Subject: inner", "", "inner body"})),
         std::nullopt, std::nullopt},
        {"a digest part that says text/plain is text",
         multipart("multipart/digest", "d", crlf({"--d", "Content-Type: text/plain", "", "said"})),
         "said\r\n", std::nullopt},
        {"RFC 2231 boundary with charset",
         "Content-Type: multipart/mixed; boundary*=us-ascii'en'b%31\r\n\r\n" +
             crlf({"--b1", "", "first", "--b1--"}),
         "first\r\n", std::nullopt},
        {"RFC 2231 charset of the text",
         crlf({"Content-Type: text/plain; charset*0*=''koi; charset*1=\"8-r\"", "",
               "\xF0\xD2\xC9\xD7\xC5\xD4"}),
         "\xD0\x9F\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82\r\n", std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(plain(c.message), c.plain);
        EXPECT_EQ(html(c.message), c.html);
    }
}

// Text in the charset its message declares reads as that charset; a label
// the system does not know, one that lies about the bytes, or one with
// converter options reads as the 8-bit page.
TEST(DeclaredCharset, IsConvertedFromThatCharset) {
    const struct {
        const char* charset;
        std::string_view bytes;
        std::string_view utf8;
    } cases[] = {
        {"koi8-r", "\xF0\xD2\xC9\xD7\xC5\xD4", "Привет"},
        {"gb2312", "\xC4\xE3\xBA\xC3", "你好"},
        {"big5", "\xA7\x41\xA6\x6E", "你好"},
        {"Shift_JIS", "\x82\xB1\x82\xF1\x82\xC9\x82\xBF\x82\xCD", "こんにちは"},
        {"euc-kr", "\xBE\xC8\xB3\xE7", "안녕"},
        {"iso-8859-5", "\xBF\xE0\xD8\xD2\xD5\xE2", "Привет"},
        {"ISO-8859-2", "\xAElu\xBBou\xE8k\xFD", "Žluťoučký"},
        {"windows-1251", "\xCF\xF0\xE8\xE2\xE5\xF2", "Привет"},
        {" \"windows-1250\" ", "\x8A", "Š"},
        {"x-no-such-charset", "\x80\xE9", "€é"},
        {"euc-kr", "\xFF\xFE", "ÿþ"},       // not EUC-KR at all
        {"shift_jis", "ok \x82", "ok ‚"},   // cut inside a character
        {"koi8-r//TRANSLIT", "\xE9", "é"},  // options are not a charset name
        {"../../tmp/x", "\xE9", "é"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.charset);
        const std::string msg =
            "Content-Type: text/plain; charset=" + std::string(c.charset) + "\r\n\r\n" + std::string(c.bytes);
        EXPECT_EQ(plain(msg), std::string(c.utf8));
    }
}

TEST(MessageText, PreambleElseBodyElseWhole) {
    const struct {
        const char* name;
        std::string message;
        std::string text;
    } cases[] = {
        {"body after the headers", crlf({"Subject: x", "", "body"}), "body\r\n"},
        {"preamble of a multipart", multipart("multipart/mixed", "a", "pre\r\n" + kPlainPart), "pre\r\n"},
        {"multipart without preamble gives its body", multipart("multipart/mixed", "a", kPlainPart),
         kPlainPart + "--a--\r\n"},
        {"all header: an empty body", "Subject: x\r\n\r\n", ""},
        {"all header without the empty line", "Subject: x", ""},
        {"no header at all: the text is its own body", "just words\r\nmore words\r\n",
         "just words\r\nmore words\r\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const MimeTree tree = MimeTree::parse(c.message);
        EXPECT_EQ(message_text(tree, tree.root()), c.text);
    }
}

TEST(DecodedText, EncodingComesFromTheLastNamingHeader) {
    const struct {
        const char* name;
        std::string headers;
        AttachmentEncodingsEnum encoding;
    } cases[] = {
        {"none", "Subject: x\r\n", encUNKNOWN},
        {"base64", "Content-Transfer-Encoding: base64\r\n", encBASE64},
        {"x-uuencode", "Content-Transfer-Encoding: X-UUENCODE\r\n", encUUENCODE},
        {"binhex", "Content-Transfer-Encoding: binhex\r\n", encBINHEX4},
        {"7bit", "Content-Transfer-Encoding: 7bit\r\n", enc7BIT},
        {"8bit names nothing", "Content-Transfer-Encoding: 8bit\r\n", encUNKNOWN},
        {"last one decides",
         "Content-Transfer-Encoding: base64\r\nContent-Transfer-Encoding: quoted-printable\r\n",
         encQUOTEDPRINTABLE},
        {"later unknown keeps the earlier",
         "Content-Transfer-Encoding: base64\r\nContent-Transfer-Encoding: binary\r\n", encBASE64},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(encoding_from_headers(parse_header_block(c.headers + "\r\n").headers), c.encoding);
    }
}

TEST(DecodedText, DecodesTheBodyOnly) {
    const std::string msg = crlf({"Content-Transfer-Encoding: base64", "", "aGVs", "bG8="});
    const MimeTree tree = MimeTree::parse(msg);
    EXPECT_EQ(decoded_body(tree, tree.root(), encBASE64), "hello");
    EXPECT_EQ(decoded_body(tree, tree.root(), enc7BIT), "aGVs\r\nbG8=\r\n");
    DecodeError e = DecodeError::none;
    EXPECT_EQ(decoded_body(tree, tree.root(), encUNKNOWN, &e), "");
    EXPECT_EQ(e, DecodeError::no_data);
}

}  // namespace
}  // namespace component::mime
