// The message model against a peer no one here wrote (Python's email
// package), over a generated corpus of varied messages. The peer's reading
// passes through the table of allowed differences; what then still differs
// is a fault of the model.
#include <gtest/gtest.h>

#include <filesystem>
#include <iostream>
#include <sstream>

#include "tests/component/mime_diff/allowed_differences.h"
#include "tests/component/mime_diff/corpus.h"
#include "tests/component/mime_diff/engine_reading.h"

namespace mime_diff {
namespace {

constexpr int kMessages = 600;
constexpr int kShownFaults = 6;  // per field; the count says how many there are

struct Compared {
    const CorpusMessage* message;
    Normalised peer;
    Reading model;
};

const std::vector<Compared>& comparisons() {
    static const std::vector<CorpusMessage> corpus =
        generate_corpus(std::filesystem::temp_directory_path() / "mime_diff_corpus", kMessages);
    static const std::vector<Compared> all = [] {
        std::vector<Compared> out;
        for (const CorpusMessage& m : corpus)
            out.push_back(Compared{&m, normalise(m), engine_reading(m.bytes)});
        return out;
    }();
    return all;
}

// One field as comparable, printable text.
std::string value_of(const Reading& r, Field f) {
    switch (f) {
        case Field::subject:
            return r.subject;
        case Field::from_address:
            return r.from_address;
        case Field::from_name:
            return r.from_name;
        case Field::date:
            return r.date_utc ? std::to_string(*r.date_utc) : "(none)";
        case Field::plain:
            return r.plain;
        case Field::html:
            return r.html;
        case Field::attachments: {
            std::ostringstream s;
            for (const AttachmentReading& a : r.attachments) s << a << '\n';
            return s.str();
        }
    }
    return {};
}

std::string visible(std::string_view s) {
    std::string out;
    for (const char c : s) {
        if (c == '\r')
            out += "\\r";
        else if (c == '\n')
            out += "\\n";
        else if (c == '\t')
            out += "\\t";
        else
            out.push_back(c);
    }
    return out;
}

// Both texts around their first difference.
std::string difference(const std::string& expected, const std::string& model) {
    std::size_t at = 0;
    while (at < expected.size() && at < model.size() && expected[at] == model[at]) ++at;
    const std::size_t from = at > 40 ? at - 40 : 0;
    std::ostringstream s;
    s << "  first difference at byte " << at << " of " << expected.size() << " / " << model.size() << "\n"
      << "    expected: ..." << visible(std::string_view(expected).substr(from, 120)) << "\n"
      << "    model:    ..." << visible(std::string_view(model).substr(from, 120)) << "\n";
    return s.str();
}

// Compares `fields` over the corpus, prints the agreement per field and the
// use of each allowed difference, and fails on every remaining difference.
void expect_agreement(std::initializer_list<Field> fields) {
    const auto& all = comparisons();
    ASSERT_EQ(all.size(), static_cast<std::size_t>(kMessages));
    for (const Field f : fields) {
        int as_is = 0;
        int with_rules = 0;
        std::ostringstream faults;
        int fault_count = 0;
        for (const Compared& c : all) {
            const std::string model = value_of(c.model, f);
            if (value_of(c.message->peer, f) == model) ++as_is;
            const std::string expected = value_of(c.peer.expected, f);
            if (expected == model) {
                ++with_rules;
            } else if (++fault_count <= kShownFaults) {
                faults << "message " << c.message->id << ".eml\n" << difference(expected, model);
            }
        }
        std::cout << field_name(f) << ": " << as_is << " of " << all.size() << " agree as read, "
                  << with_rules << " with the allowed differences\n";
        for (const AllowedDifference& d : allowed_differences()) {
            if (d.field != f) continue;
            int used = 0;
            for (const Compared& c : all)
                for (const AllowedDifference* a : c.peer.applied) used += a == &d;
            std::cout << "  allowed: " << d.name << " (" << used << " messages)\n";
            EXPECT_GT(used, 0) << "the corpus no longer shows \"" << d.name << "\"";
        }
        EXPECT_EQ(fault_count, 0) << field_name(f) << " differs from the peer in " << fault_count
                                  << " messages; the first ones:\n"
                                  << faults.str();
    }
}

TEST(MimeDiff, HeaderFieldsAgreeWithThePeer) {
    expect_agreement({Field::subject, Field::from_address, Field::from_name, Field::date});
}

TEST(MimeDiff, TextPartsAgreeWithThePeer) { expect_agreement({Field::plain, Field::html}); }

TEST(MimeDiff, AttachmentsAgreeWithThePeer) { expect_agreement({Field::attachments}); }

}  // namespace
}  // namespace mime_diff
