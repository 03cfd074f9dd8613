#include "component/mime/attachments.h"

#include <gtest/gtest.h>

#include "platform/text/utf8.h"
#include "tests/component/mime/mime_test_util.h"

namespace component::mime {
namespace {

using test::crlf;

std::string mixed(std::initializer_list<std::string_view> part_headers_and_bodies) {
    std::string msg = "Content-Type: multipart/mixed; boundary=m\r\n\r\n";
    for (const std::string_view p : part_headers_and_bodies) {
        msg += "--m\r\n";
        msg += p;
    }
    return msg + "--m--\r\n";
}

struct Expected {
    std::string name;
    std::string type;
    AttachmentEncodingsEnum encoding;
};

TEST(AttachmentDetection, FollowsTheHeaderRulesInOrder) {
    const struct {
        const char* name;
        std::string message;
        std::vector<Expected> found;
    } cases[] = {
        {"inline before base64 is not an attachment",
         mixed({crlf({"Content-Disposition: inline", "Content-Transfer-Encoding: base64", "", "QQ=="})}),
         {}},
        {"base64 before inline is one",
         mixed({crlf({"Content-Transfer-Encoding: base64", "Content-Disposition: inline", "", "QQ=="})}),
         {{"", "", encBASE64}}},
        {"image with a name either way",
         mixed({crlf({"Content-Disposition: inline", "Content-Type: image/png; name=\"a.png\"", "", "x"})}),
         {{"a.png", "image/png", enc7BIT}}},
        {"Content-ID alone", mixed({crlf({"Content-ID: <x@y>", "", "x"})}), {{"", "", enc7BIT}}},
        {"message/rfc822",
         mixed({crlf({"Content-Type: message/rfc822", "", "Subject: in", "", "b"})}),
         {{"", "message/rfc822", enc7BIT}}},
        {"8bit stays 7bit",
         mixed({crlf({"Content-Transfer-Encoding: 8bit", "Content-Disposition: attachment", "", "x"})}),
         {{"", "", enc7BIT}}},
        {"unquoted disposition name keeps later parameters",
         mixed({crlf({"Content-Type: text/plain", "Content-Disposition: attachment; filename=a.txt; size=10",
                      "", "x"})}),
         {{"a.txt; size=10", "text/plain", enc7BIT}}},
        {"quoted disposition name",
         mixed({crlf({"Content-Type: text/plain; charset=x",
                      "Content-Disposition: attachment; filename = \"a.txt\"; size=1", "", "x"})}),
         {{"a.txt", "text/plain", enc7BIT}}},
        {"encoded name of two words",
         mixed({crlf({"Content-Type: application/pdf;",
                      "\tname=\"=?utf-8?q?r=C3=A9sum?= =?utf-8?q?=C3=A9.pdf?=\"",
                      "Content-Transfer-Encoding: base64", "Content-Disposition: attachment", "", "QQ=="})}),
         {{"r\xC3\xA9sum\xC3\xA9.pdf", "application/pdf", encBASE64}}},
        {"RFC 2231 disposition name",
         mixed({crlf({"Content-Type: application/octet-stream",
                      "Content-Disposition: attachment; filename*=utf-8''%C3%A9t%C3%A9.bin", "", "x"})}),
         {{"\xC3\xA9t\xC3\xA9.bin", "application/octet-stream", enc7BIT}}},
        {"plain text part is no attachment", mixed({crlf({"Content-Type: text/plain", "", "hi"})}), {}},
        {"nested parts in order",
         mixed({crlf({"Content-Type: multipart/mixed; boundary=n", "", "--n", "Content-ID: <1>", "", "one",
                      "--n", "Content-ID: <2>", "", "two", "--n--"}),
                crlf({"Content-ID: <3>", "", "three"})}),
         {{"", "", enc7BIT}, {"", "", enc7BIT}, {"", "", enc7BIT}}},
        {"a second multipart Content-Type does not repeat the parts",
         "Content-Type: multipart/mixed; boundary=m\r\nContent-type: multipart/mixed; "
         "boundary=m\r\n\r\n--m\r\n"
         "Content-ID: <1>\r\n\r\nx\r\n--m--\r\n",
         {{"", "", enc7BIT}}},
        {"top-level attachment",
         crlf({"Content-Disposition: attachment; filename=\"top.bin\"", "", "x"}),
         {{"top.bin", "", enc7BIT}}},
        {"a multipart container is never one itself",
         mixed({crlf({"Content-Type: multipart/related; boundary=r", "Content-ID: <c>",
                      "Content-Disposition: attachment; filename=box", "", "--r", "Content-ID: <1>", "",
                      "one", "--r--"})}),
         {{"", "", enc7BIT}}},
        {"parts under an RFC 2231 boundary",
         "Content-Type: multipart/mixed; boundary*0=\"ab\"; boundary*1=\"cd\"\r\n\r\n--abcd\r\n"
         "Content-ID: <1>\r\n\r\nx\r\n--abcd--\r\n",
         {{"", "", enc7BIT}}},
        {"a digest's message without a Content-Type is message/rfc822, as a declared one",
         "Content-Type: multipart/digest; boundary=d\r\n\r\n--d\r\n\r\nSubject: in\r\n\r\nb\r\n--d\r\n"
         "Content-Type: message/rfc822\r\n\r\nSubject: two\r\n\r\nc\r\n--d--\r\n",
         {{"", "message/rfc822", enc7BIT}, {"", "message/rfc822", enc7BIT}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const MimeTree tree = MimeTree::parse(c.message);
        const auto found = detect_attachments(tree);
        ASSERT_EQ(found.size(), c.found.size());
        for (std::size_t i = 0; i < found.size(); ++i) {
            EXPECT_EQ(text::ToUtf8(found[i].name), c.found[i].name);
            EXPECT_EQ(found[i].type, c.found[i].type);
            EXPECT_EQ(found[i].encoding, c.found[i].encoding);
        }
    }
}

TEST(AttachmentDetection, SavesExactlyTheContent) {
    const std::string msg = mixed(
        {crlf({"Content-Transfer-Encoding: base64", "Content-Disposition: attachment", "", "aGVs", "bG8="}),
         crlf({"Content-Disposition: attachment", "", "line one", "line two"}),
         crlf({"Content-Transfer-Encoding: quoted-printable", "Content-Disposition: attachment", "",
               "a=3Db"})});
    const MimeTree tree = MimeTree::parse(msg);
    const auto found = detect_attachments(tree);
    ASSERT_EQ(found.size(), 3u);
    const char* expected[] = {"hello", "line one\r\nline two", "a=b"};
    for (std::size_t i = 0; i < found.size(); ++i) {
        SCOPED_TRACE(i);
        std::string out;
        EXPECT_EQ(save_attachment(tree, found[i], [&out](std::string_view s) { out.append(s); }),
                  DecodeError::none);
        EXPECT_EQ(out, expected[i]);
    }
}

TEST(AttachmentSize, EstimatesDecodedSizeForSixBitEncodings) {
    const struct {
        AttachmentEncodingsEnum encoding;
        std::int64_t size;
    } cases[] = {
        {encBASE64, 750}, {encBINHEX4, 750}, {encUUENCODE, 750}, {encQUOTEDPRINTABLE, 1000}, {enc7BIT, 1000}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.encoding);
        AttachmentInfo a;
        a.start = 100;
        a.end = 1100;
        a.encoding = c.encoding;
        EXPECT_EQ(a.size_estimate(), c.size);
    }
    AttachmentInfo inverted;
    inverted.start = 10;
    inverted.end = 5;
    EXPECT_EQ(inverted.size_estimate(), 0);
}

}  // namespace
}  // namespace component::mime
