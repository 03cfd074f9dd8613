#include "component/mime/mime_tree.h"

#include <gtest/gtest.h>

#include "tests/component/mime/mime_test_util.h"

namespace component::mime {
namespace {

using test::crlf;

const std::string kAlternative = crlf({
    "From: a@b",
    "Content-Type: multipart/alternative; boundary=\"XX\"",
    "",
    "preamble line",
    "--XX",
    "Content-Type: text/plain",
    "",
    "plain",
    "--XX",
    "Content-Type: text/html",
    "",
    "<b>html</b>",
    "--XX--",
    "epilogue",
    "--XX",
    "not a part",
});

TEST(MimeTree, PartsAreRangesFromDelimiterToDelimiter) {
    const MimeTree tree = MimeTree::parse(kAlternative);
    const MimeNode& root = tree.root();
    ASSERT_EQ(root.children.size(), 2u);
    EXPECT_EQ(tree.size(), 3u);
    const std::size_t first = kAlternative.find("--XX\r\n");
    const std::size_t second = kAlternative.find("--XX\r\n", first + 1);
    const std::size_t closing = kAlternative.find("--XX--");

    const MimeNode& plain = tree.node(root.children[0]);
    EXPECT_EQ(plain.start, first);
    EXPECT_EQ(plain.end, second);
    EXPECT_EQ(plain.header_length, 6u + 26u + 2u);
    EXPECT_EQ(plain.size, 6 + 26 + 2 + 7);
    EXPECT_EQ(tree.body(plain), "plain\r\n");
    EXPECT_EQ(tree.content(plain), "plain");
    EXPECT_TRUE(plain.is_part);
    EXPECT_EQ(plain.depth, 1);

    const MimeNode& html = tree.node(root.children[1]);
    EXPECT_EQ(html.start, second);
    EXPECT_EQ(html.end, closing);
    EXPECT_EQ(html.size, 6 + 25 + 2 + 13);
    EXPECT_EQ(tree.content(html), "<b>html</b>");
    EXPECT_EQ(tree.bytes(html), "--XX\r\nContent-Type: text/html\r\n\r\n<b>html</b>\r\n");

    EXPECT_EQ(tree.preamble(root), "preamble line\r\n");
    EXPECT_EQ(root.end, kAlternative.size());
}

TEST(MimeTree, ScansTheOddShapesAsSpecified) {
    const struct {
        const char* name;
        std::string message;
        std::size_t parts;
        std::string last_part_bytes;
        std::string preamble;
    } cases[] = {
        {"delimiter with trailing characters opens a part",
         crlf({"Content-Type: multipart/mixed; boundary=b", "", "--b-trailing", "", "x", "--b--"}), 1,
         "--b-trailing\r\n\r\nx\r\n", ""},
        {"truncated: the last part runs to the end",
         crlf({"Content-Type: multipart/mixed; boundary=b", "", "--b", "", "one", "--b", "", "two"}), 2,
         "--b\r\n\r\ntwo\r\n", ""},
        {"bare LF lines", "Content-Type: multipart/mixed; boundary=b\n\npre\n--b\n\nx\n--b--\n", 1,
         "--b\n\nx\n", "pre\r\n"},
        {"preamble lines cut at CR and ended by CR LF",
         "Content-Type: multipart/mixed; boundary=b\r\n\r\na\rb\r\nc\n--b\r\n\r\nx\r\n--b--\r\n", 1,
         "--b\r\n\r\nx\r\n", "a\r\nc\r\n"},
        {"no delimiter at all: everything is preamble",
         crlf({"Content-Type: multipart/mixed; boundary=b", "", "just text"}), 0, "", "just text\r\n"},
        {"no Content-Type: no parts", crlf({"Subject: x", "", "--b", "body"}), 0, "", ""},
        {"boundary that is not multipart", crlf({"Content-Type: text/plain; boundary=b", "", "--b", "x"}), 0,
         "", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const MimeTree tree = MimeTree::parse(c.message);
        ASSERT_EQ(tree.root().children.size(), c.parts);
        if (c.parts > 0) {
            EXPECT_EQ(tree.bytes(tree.node(tree.root().children.back())), c.last_part_bytes);
        }
        EXPECT_EQ(tree.preamble(tree.root()), c.preamble);
    }
}

TEST(MimeTree, NestedMultipartIsScannedFromItsOwnBody) {
    const std::string msg = crlf({
        "Content-Type: multipart/mixed; boundary=outer",
        "",
        "outer preamble",
        "--outer",
        "Content-Type: multipart/alternative; boundary=inner",
        "",
        "inner preamble",
        "--inner",
        "Content-Type: text/plain",
        "",
        "p",
        "--inner--",
        "--outer",
        "Content-Type: application/octet-stream",
        "",
        "data",
        "--outer--",
    });
    const MimeTree tree = MimeTree::parse(msg);
    ASSERT_EQ(tree.root().children.size(), 2u);
    const MimeNode& alt = tree.node(tree.root().children[0]);
    ASSERT_EQ(alt.children.size(), 1u);
    EXPECT_EQ(tree.preamble(tree.root()), "outer preamble\r\n");
    EXPECT_EQ(tree.preamble(alt), "inner preamble\r\n");
    EXPECT_EQ(tree.content(tree.node(alt.children[0])), "p");
    EXPECT_EQ(tree.node(alt.children[0]).depth, 2);
}

TEST(MimeTree, PartHeadersStayInsideThePart) {
    const std::string msg = crlf({
        "Content-Type: multipart/mixed; boundary=b",
        "",
        "--b",
        "Content-Type: text/plain",
        "--b",
        "Content-Type: text/html",
        "",
        "h",
        "--b--",
    });
    const MimeTree tree = MimeTree::parse(msg);
    ASSERT_EQ(tree.root().children.size(), 2u);
    const MimeNode& first = tree.node(tree.root().children[0]);
    EXPECT_EQ(first.headers.size(), 1u);
    EXPECT_EQ(first.header_length, first.end - first.start);
    EXPECT_EQ(tree.body(first), "");
    EXPECT_EQ(tree.node(tree.root().children[1]).headers.at(0).value, "text/html");
}

TEST(MimeTree, NestingBeyondTheCapIsALeaf) {
    std::string msg;
    const int levels = 200;
    for (int i = 0; i < levels; ++i) {
        // "=_<i>_=" so that no boundary is a prefix of another.
        const std::string b = "=_" + std::to_string(i) + "_=";
        msg += "Content-Type: multipart/mixed; boundary=\"" + b + "\"\r\n\r\n--" + b + "\r\n";
    }
    msg += "\r\ndeep\r\n";
    const MimeTree tree = MimeTree::parse(msg);
    int deepest = 0;
    for (std::size_t i = 0; i < tree.size(); ++i) deepest = std::max(deepest, tree.node(i).depth);
    EXPECT_EQ(deepest, kMaxDepth);
    EXPECT_EQ(tree.size(), static_cast<std::size_t>(kMaxDepth) + 1);
}

TEST(MimeTree, PartCountIsCapped) {
    std::string msg = "Content-Type: multipart/mixed; boundary=b\r\n\r\n";
    for (int i = 0; i < 50000; ++i) msg += "--b\r\n";
    const MimeTree tree = MimeTree::parse(msg);
    EXPECT_EQ(tree.size(), kMaxParts);
}

}  // namespace
}  // namespace component::mime
