#include "component/mime/header_block.h"

#include <gtest/gtest.h>

#include <vector>

namespace component::mime {
namespace {

struct HeaderBlockCase {
    const char* name;
    std::string_view input;
    bool skip_first_line;
    std::vector<std::pair<std::string, std::string>> headers;
    std::size_t length;
    bool ok;
};

TEST(HeaderBlock, SplitsLinesAsTheGettersSeeThem) {
    const HeaderBlockCase cases[] = {
        {"two headers then body",
         "Subject: hi\r\nFrom: a@b\r\n\r\nbody",
         false,
         {{"Subject", "hi"}, {"From", "a@b"}},
         26,
         true},
        {"colon without blank", "X:y\r\n\r\n", false, {{"X", "y"}}, 7, true},
        {"splits at the first colon-blank", "a: b: c\r\n\r\n", false, {{"a", "b: c"}}, 11, true},
        {"name ends at the first colon", "Subject:Re: hi\r\n\r\n", false, {{"Subject", "Re: hi"}}, 18, true},
        {"only one blank is the separator", "A:  two\r\n\r\n", false, {{"A", " two"}}, 11, true},
        {"nothing trimmed", "A:  x \r\n\r\n", false, {{"A", " x "}}, 10, true},
        {"line without colon ignored", "garbage\r\nA: 1\r\n\r\n", false, {{"A", "1"}}, 17, true},
        {"continuation keeps CR LF and the line",
         "Subject: a\r\n\tb\r\n c\r\n\r\nx",
         false,
         {{"Subject", "a\r\n\tb\r\n c"}},
         22,
         true},
        {"leading continuation fails", " x: y\r\nA: b\r\n\r\n", false, {}, 0, false},
        {"skip the boundary line",
         "--b\r\nContent-Type: text/plain\r\n\r\nx",
         true,
         {{"Content-Type", "text/plain"}},
         33,
         true},
        {"no empty line: the range is all header", "A: 1\r\nB: 2", false, {{"A", "1"}, {"B", "2"}}, 10, true},
        {"bare LF endings", "A: 1\nB: 2\n\nbody", false, {{"A", "1"}, {"B", "2"}}, 11, true},
        {"empty range", "", false, {}, 0, true},
        {"name keeps its case", "cOnTeNt-TyPe: x\r\n\r\n", false, {{"cOnTeNt-TyPe", "x"}}, 19, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const HeaderBlock b = parse_header_block(c.input, c.skip_first_line);
        std::vector<std::pair<std::string, std::string>> got;
        for (const Header& h : b.headers) got.emplace_back(h.name, h.value);
        EXPECT_EQ(got, c.headers);
        EXPECT_EQ(b.length, c.length);
        EXPECT_EQ(b.ok, c.ok);
    }
}

TEST(HeaderBlock, CapsTheNumberOfHeaders) {
    std::string text;
    for (int i = 0; i < 40000; ++i) text += "X: 1\r\n";
    EXPECT_EQ(parse_header_block(text).headers.size(), kMaxHeaders);
}

TEST(HeaderLookup, IgnoresCaseAndFindsFirstOrAll) {
    const HeaderBlock b = parse_header_block("Received: one\r\nSUBJECT: s\r\nreceived: two\r\n\r\n");
    ASSERT_NE(find_header(b.headers, "subject"), nullptr);
    EXPECT_EQ(find_header(b.headers, "subject")->value, "s");
    EXPECT_EQ(find_header(b.headers, "RECEIVED")->value, "one");
    EXPECT_EQ(find_header(b.headers, "Cc"), nullptr);
    const auto all = find_all_headers(b.headers, "Received");
    ASSERT_EQ(all.size(), 2u);
    EXPECT_EQ(all[1]->value, "two");
}

TEST(HeaderUnfold, RemovesOnlyLineBreaksBeforeWhiteSpace) {
    const struct {
        const char* name;
        std::string_view in;
        std::string_view out;
    } cases[] = {
        {"blank fold", "a\r\n b", "a b"},
        {"tab fold", "a\r\n\tb", "a\tb"},
        {"line break not before white space stays", "a\r\nb", "a\r\nb"},
        {"bare LF fold", "a\n b", "a b"},
        {"trailing CR LF stays", "a\r\n", "a\r\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(unfold(c.in), c.out);
    }
}

TEST(HeaderToString, JoinsEveryHeaderWithCrLf) {
    const HeaderBlock b = parse_header_block("A: 1\r\nB: 2\r\n\r\n");
    EXPECT_EQ(headers_to_string(b.headers), "A: 1\r\nB: 2\r\n");
    EXPECT_EQ(headers_to_string({}), "");
}

}  // namespace
}  // namespace component::mime
