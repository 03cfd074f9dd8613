// Differential test against Python's email package on a generated corpus
// (differential/make_corpus.py, run at build time). Where the component
// deliberately reads a message differently, the comparison allows for it:
//  - PlainText keeps the line break that precedes the next delimiter line, as
//    the component's Text does; trailing line breaks are not compared.
//  - Only attachments with "Content-Disposition: attachment" are compared;
//    the component also counts parts with a Content-ID or an inline
//    disposition after a non-7bit encoding, which Python does not list.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "component/mime/ascii.h"
#include "component/mime/attachments.h"
#include "component/mime/date_parser.h"
#include "component/mime/header_values.h"
#include "component/mime/hex.h"
#include "component/mime/mapped_file.h"
#include "component/mime/text_parts.h"
#include "platform/text/ascii_case.h"
#include "platform/text/utf8.h"

namespace component::mime {
namespace {

namespace fs = std::filesystem;

std::string unhex(std::string_view h) {
    std::string out;
    for (std::size_t i = 0; i + 1 < h.size(); i += 2)
        out.push_back(static_cast<char>(hex_value(h[i]) * 16 + hex_value(h[i + 1])));
    return out;
}

std::string rstrip_line_breaks(std::string s) {
    while (!s.empty() && (s.back() == '\r' || s.back() == '\n')) s.pop_back();
    return s;
}

struct Reading {
    std::string subject, from_address, from_name, date;
    std::optional<std::string> plain;
    std::vector<std::pair<std::string, std::string>> attachments;
};

// Equal, or a failure naming the first differing byte with some context.
::testing::AssertionResult same_text(const std::optional<std::string>& ours, const std::optional<std::string>& python) {
    if (ours == python) return ::testing::AssertionSuccess();
    if (!ours || !python) return ::testing::AssertionFailure() << (ours ? "Python found no plain text" : "we found none");
    std::size_t i = 0;
    while (i < ours->size() && i < python->size() && (*ours)[i] == (*python)[i]) ++i;
    const std::size_t from = i < 20 ? 0 : i - 20;
    return ::testing::AssertionFailure() << "differ at byte " << i << ": ours \"" << ours->substr(from, 60)
                                         << "\" python \"" << python->substr(from, 60) << "\"";
}

Reading python_reading(const fs::path& expect) {
    Reading r;
    std::ifstream in(expect);
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        std::string key, value, bytes;
        fields >> key >> value >> bytes;  // an empty value reads as ""
        if (key == "subject") r.subject = unhex(value);
        else if (key == "from_address") r.from_address = unhex(value);
        else if (key == "from_name") r.from_name = unhex(value);
        else if (key == "date") r.date = unhex(value);
        else if (key == "plain") r.plain = unhex(value);
        else if (key == "attachment") r.attachments.emplace_back(unhex(value), unhex(bytes));
    }
    return r;
}

Reading our_reading(std::string_view message) {
    Reading r;
    const MimeTree tree = MimeTree::parse(message);
    const Headers& h = tree.root().headers;
    r.subject = text::ToUtf8(header_text(h, "Subject"));
    r.from_address = text::ToUtf8(extract_address(header_unfolded(h, "From")));
    r.from_name = text::ToUtf8(extract_name(header_unfolded(h, "From")));
    if (const auto d = parse_date_local(header_unfolded(h, "Date"), 0)) {
        char buf[32];
        std::snprintf(buf, sizeof buf, "%04d-%02d-%02d %02d:%02d:%02d", d->year, d->month, d->day, d->hour, d->minute,
                      d->second);
        r.date = buf;
    }
    if (auto plain = find_text_part(tree, TextKind::plain)) r.plain = rstrip_line_breaks(text::ToUtf8(*plain));
    for (const AttachmentInfo& a : detect_attachments(tree)) {
        const Headers& ph = tree.node(a.node).headers;
        if (!text::StartsWithNoCase(trim_space(header_unfolded(ph, "Content-Disposition")), "attachment")) continue;
        std::string bytes;
        save_attachment(tree, a, [&bytes](std::string_view s) { bytes.append(s); });
        r.attachments.emplace_back(text::ToUtf8(a.name), bytes);
    }
    return r;
}

TEST(Differential, AgreesWithPythonsEmailPackage) {
    const fs::path dir = MIME_CORPUS_DIR;
    if (!fs::exists(dir / "stamp")) GTEST_SKIP() << "corpus not generated (python3 missing)";
    std::vector<fs::path> messages;
    for (const auto& e : fs::directory_iterator(dir))
        if (e.path().extension() == ".eml") messages.push_back(e.path());
    std::sort(messages.begin(), messages.end());
    ASSERT_GE(messages.size(), 500u);
    int attachments = 0;
    for (const fs::path& p : messages) {
        SCOPED_TRACE(p.filename().string());
        const auto file = MappedFile::open(p.string());
        ASSERT_TRUE(file.has_value());
        const Reading ours = our_reading(file->bytes());
        fs::path expect = p;
        const Reading python = python_reading(expect.replace_extension(".expect"));
        EXPECT_EQ(ours.subject, python.subject);
        EXPECT_EQ(ours.from_address, python.from_address);
        EXPECT_EQ(ours.from_name, python.from_name);
        EXPECT_EQ(ours.date, python.date);
        EXPECT_TRUE(same_text(ours.plain, python.plain));
        ASSERT_EQ(ours.attachments.size(), python.attachments.size());
        for (std::size_t i = 0; i < ours.attachments.size(); ++i) {
            EXPECT_EQ(ours.attachments[i].first, python.attachments[i].first);
            EXPECT_TRUE(ours.attachments[i].second == python.attachments[i].second) << "bytes of attachment " << i;
        }
        attachments += static_cast<int>(ours.attachments.size());
    }
    EXPECT_GT(attachments, 100);
}

}  // namespace
}  // namespace component::mime
