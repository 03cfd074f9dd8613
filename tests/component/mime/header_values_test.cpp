#include "component/mime/header_values.h"

#include <gtest/gtest.h>

#include "platform/text/utf8.h"
#include "tests/component/mime/mime_test_util.h"

namespace component::mime {
namespace {

using test::crlf;

Headers headers_of(const std::string& block) { return parse_header_block(block).headers; }

TEST(Address, ExtractsAddressAndDisplayName) {
    const struct {
        const char* name;
        std::string_view raw;
        std::string_view address;
        std::string_view display;
    } cases[] = {
        {"quoted name with comma", "\"Doe, John\" <john@example.com>", "john@example.com", "Doe, John"},
        {"bare address", "john@example.com", "john@example.com", ""},
        {"bare name", "John Doe", "", "John Doe"},
        {"angle address only", "<a@b>", "a@b", ""},
        {"apostrophes around name", "'Jane' <j@x>", "j@x", "Jane"},
        {"encoded name", "=?iso-8859-1?q?J=F6rg?= <j@x>", "j@x", "J\xC3\xB6rg"},
        {"encoded name posing as address", "=?utf-8?b?PGFkbWluQGJhbmsudGVzdD4=?= <x@evil.test>",
         "x@evil.test", ""},
        {"angle bracket inside quotes", "\"a<b\" <c@d>", "c@d", "a<b"},
        {"escaped quotes do not toggle", "\"x \\\"<y\\\"\" <z@w>", "z@w", "x \\\"<y\\"},
        {"blanks inside brackets", "Name < a@b >", "a@b", "Name"},
        {"no @ in brackets", "Name <no-at>", "", "Name"},
        {"unclosed bracket", "Name <a@b", "", "Name"},
        {"list keeps the comma", "a@x, b@y", "a@x,", ""},
        {"comment form", "a@b (Name)", "a@b", ""},
        {"folded value", "Name\r\n <a@b>", "a@b", "Name"},
        {"empty", "", "", ""},
        {"quoted local part", "\"System Administrator\"@example.com", "\"System Administrator\"@example.com",
         ""},
        {"quoted local part in brackets", "Admin <\"System Administrator\"@example.com>",
         "\"System Administrator\"@example.com", "Admin"},
        {"quoted name holding @", "\"carol@example.com\" <carol@example.com>", "carol@example.com",
         "carol@example.com"},
        {"unquoted name holding @", "carol@example.com <c@example.com>", "c@example.com", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(text::ToUtf8(extract_address(c.raw)), c.address);
        EXPECT_EQ(extract_address_bytes(c.raw), c.address);
        EXPECT_EQ(text::ToUtf8(extract_name(c.raw)), c.display);
    }
}

TEST(Priority, FirstPresentHeaderDecides) {
    const struct {
        const char* name;
        std::string block;
        PrioritiesEnum expected;
    } cases[] = {
        {"none", crlf({"Subject: x", ""}), NormalPriority},
        {"Importance high", crlf({"Importance: high", ""}), HighPriority},
        {"Importance Low any case", crlf({"Importance: Low", ""}), LowPriority},
        {"Importance normal wins over X-Priority", crlf({"Importance: normal", "X-Priority: 1", ""}),
         NormalPriority},
        {"empty Importance falls through", crlf({"Importance: ", "X-Priority: 1", ""}), HighPriority},
        {"X-MSMail-Priority High", crlf({"X-MSMail-Priority: High", ""}), HighPriority},
        {"X-Priority with comment", crlf({"X-Priority: 1 (Highest)", ""}), HighPriority},
        {"X-Priority 5", crlf({"X-Priority: 5", ""}), LowPriority},
        {"X-Priority 3", crlf({"X-Priority: 3", ""}), NormalPriority},
        {"X-Priority not a number", crlf({"X-Priority: urgent", ""}), NormalPriority},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(priority(headers_of(c.block)), c.expected);
    }
}

TEST(ContentTypeParam, FindsValuesByThePartsRules) {
    const struct {
        const char* name;
        std::string_view raw;
        std::string_view param;
        std::string_view expected;
    } cases[] = {
        {"quoted charset", "text/plain; charset=\"utf-8\"", "charset=", "utf-8"},
        {"unquoted ends at ;", "text/plain; charset=iso-8859-1; format=flowed", "charset=", "iso-8859-1"},
        {"unquoted ends at blank", "application/pdf; name=a.pdf foo", "name=", "a.pdf"},
        {"unquoted ends at line break", "application/pdf; name=a.pdf\r\n\tx=y", "name=", "a.pdf"},
        {"apostrophes", "application/pdf; name='x y.pdf'", "name=", "x y.pdf"},
        {"name= finds filename=", "application/pdf; filename=\"a.pdf\"", "name=", "a.pdf"},
        {"case kept, name matched in any case", "Text/Plain; CHARSET=UTF-8", "charset=", "UTF-8"},
        {"no ; no parameter", "text/plain", "charset=", ""},
        {"absent", "text/plain; format=flowed", "charset=", ""},
        {"unclosed quote runs to the end", "x/y; name=\"abc", "name=", "abc"},
        {"encoded name", "application/pdf; name=\"=?utf-8?q?J=C3=B6rg.pdf?=\"", "name=", "J\xC3\xB6rg.pdf"},
        {"name of two encoded words", "x/y; name=\"=?utf-8?q?a?= =?utf-8?q?b.pdf?=\"", "name=", "ab.pdf"},
        {"RFC 2231 charset", "application/pdf; name*=utf-8''na%C3%AFve.pdf", "name=", "na\xC3\xAFve.pdf"},
        {"RFC 2231 continuations", "application/pdf; name*0=\"long\"; name*1=\"name.pdf\"",
         "name=", "longname.pdf"},
        {"RFC 2231 mixed continuations", "x/y; name*0*=utf-8''%C3%A9; name*1=\".txt\"",
         "name=", "\xC3\xA9.txt"},
        {"RFC 2231 latin-1", "x/y; name*=iso-8859-1'de'%E9.txt", "name=", "\xC3\xA9.txt"},
        {"RFC 2231 gap stops the join", "x/y; name*0=a; name*2=c", "name=", "a"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(text::ToUtf8(header_param(c.raw, c.param)), c.expected);
    }
}

TEST(ContentType, OnlyMediaTypeAndName) {
    const Headers h = headers_of(crlf({"Content-Type: Text/HTML ; charset=x", ""}));
    EXPECT_EQ(content_type_only(h), u"Text/HTML ");
    EXPECT_EQ(content_type_param_bytes(h, "charset="), "x");
    EXPECT_EQ(media_type(h), "text/html");
    EXPECT_EQ(media_type(headers_of("Subject: x\r\n\r\n")), "text/plain");
    EXPECT_EQ(content_name(headers_of(crlf({"Content-Type: x/y; filename*=utf-8''a%20b", ""}))), u"a b");
    EXPECT_EQ(content_name(headers_of(crlf({"Content-Type: x/y; name=n.txt", ""}))), u"n.txt");
}

TEST(ContentType, MultipartDelimiter) {
    const struct {
        const char* name;
        std::string value;
        std::string expected;
    } cases[] = {
        {"quoted boundary with blank", "multipart/mixed; boundary=\"abc def\"", "--abc def"},
        {"unquoted boundary cut at ;", "multipart/mixed; boundary=abc;x=y", "--abc"},
        {"folded parameter", "multipart/mixed;\r\n\tboundary=\"b1\"", "--b1"},
        {"unclosed quote: no boundary", "multipart/mixed; boundary=\"abc", ""},
        {"not multipart", "text/plain; boundary=x", ""},
        {"empty boundary", "multipart/mixed; boundary=\"\"", ""},
        {"longest boundary kept", "multipart/mixed; boundary=" + std::string(1021, 'x'),
         "--" + std::string(1021, 'x')},
        {"too long a boundary refused", "multipart/mixed; boundary=" + std::string(1022, 'x'), ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(multipart_delimiter(headers_of("Content-Type: " + c.value + "\r\n\r\n")), c.expected);
    }
}

TEST(HeaderText, DecodesTheFirstMatchAndIsEmptyWhenAbsent) {
    const Headers h = headers_of(crlf({"subject: =?utf-8?q?caf=C3=A9?=", "Subject: second", ""}));
    EXPECT_EQ(header_text(h, "Subject"), u"caf\u00e9");
    EXPECT_EQ(header_text(h, "Cc"), u"");
}

}  // namespace
}  // namespace component::mime
