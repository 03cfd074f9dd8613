#include "tests/component/mime_diff/allowed_differences.h"

#include <ctime>
#include <optional>
#include <string_view>
#include <utility>

namespace mime_diff {
namespace {

std::string lower(std::string_view s) {
    std::string out(s);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return out;
}

std::string_view trim(std::string_view s, std::string_view chars) {
    while (!s.empty() && chars.find(s.front()) != std::string_view::npos) s.remove_prefix(1);
    while (!s.empty() && chars.find(s.back()) != std::string_view::npos) s.remove_suffix(1);
    return s;
}

// ---- texts ----------------------------------------------------------------

bool subject_in_ansi(const CorpusMessage& m, Reading& e) {
    const JsonValue& ansi = m.facts.at("subject_as_ansi");
    if (ansi.is_null()) return false;
    e.subject = ansi.str("subject_as_ansi");
    return true;
}

// The charsets of the corpus that the model converts from (any the system's
// converter knows); everything else is read in the ANSI page.
bool model_knows_charset(std::string_view label) {
    static constexpr std::string_view kKnown[] = {
        "utf-8", "utf8",        "us-ascii",   "ascii",   "iso-8859-1",   "iso8859-1", "latin1",
        "l1",    "iso-8859-15", "iso8859-15", "latin-9", "windows-1252", "koi8-r",    "windows-1251"};
    for (const std::string_view k : kKnown)
        if (label == k) return true;
    return false;
}

bool text_in_ansi(const CorpusMessage& m, std::string& text, const char* which) {
    const JsonValue& part = m.facts.at(which);
    if (part.is_null() || model_knows_charset(part.at("charset").str("charset"))) return false;
    text = part.at("as_ansi").str("as_ansi");
    return true;
}

// `which` is "plain_part" or "html_part": the part the peer took the text from.
bool keep_line_break(const CorpusMessage& m, std::string& text, const char* which) {
    const JsonValue& part = m.facts.at(which);
    if (part.is_null() || !part.at("in_multipart").boolean("in_multipart")) return false;
    if (part.at("cte").str("cte") == "base64") return false;  // the decoder drops line breaks
    text += m.facts.at("line_end").str("line_end");
    return true;
}

// ---- date -----------------------------------------------------------------

bool two_digit_year(const CorpusMessage& m, Reading& e) {
    const JsonValue& yy = m.facts.at("date_two_digit_year");
    if (yy.is_null() || !e.date_utc) return false;
    const std::int64_t y = yy.integer("date_two_digit_year");
    if (y < 50 || y > 68) return false;  // where both read the same century
    const std::time_t t = static_cast<std::time_t>(*e.date_utc);
    std::tm tm{};
    gmtime_r(&t, &tm);
    tm.tm_year -= 100;
    e.date_utc = static_cast<std::int64_t>(timegm(&tm));
    return true;
}

bool zone_in_parentheses(const CorpusMessage& m, Reading& e) {
    const JsonValue& zone = m.facts.at("date_zone");
    if (zone.is_null() || !e.date_utc) return false;
    const std::string z = lower(zone.str("date_zone"));
    if (z.size() < 2 || z.front() != '(') return false;
    static constexpr std::pair<std::string_view, int> kNames[] = {
        {"gmt", 0},    {"est", -300}, {"edt", -240}, {"cst", -360}, {"cdt", -300},
        {"mst", -420}, {"mdt", -360}, {"pst", -480}, {"pdt", -420}};
    for (const auto& [name, minutes] : kNames) {
        if (std::string_view(z).substr(1, 3) == name && minutes != 0) {
            *e.date_utc -= std::int64_t{minutes} * 60;
            return true;
        }
    }
    return false;
}

// ---- sender ---------------------------------------------------------------

bool quoted_pairs_kept(const CorpusMessage& m, Reading& e) {
    const std::string source = m.facts.at("from_source").str("from_source");
    const std::string_view shown = std::string_view(source).substr(0, source.find('<'));
    if (shown.find('"') == std::string_view::npos || shown.find('\\') == std::string_view::npos) return false;
    std::string escaped;
    for (const char c : e.from_name) {
        if (c == '"' || c == '\\') escaped.push_back('\\');
        escaped.push_back(c);
    }
    e.from_name = escaped;
    return true;
}

bool name_ends_trimmed(const CorpusMessage&, Reading& e) {
    const std::string_view t = trim(e.from_name, " \t\"'");
    if (t.size() == e.from_name.size()) return false;
    e.from_name = std::string(t);
    return true;
}

// ---- attachments ----------------------------------------------------------

using HeaderList = std::vector<std::pair<std::string, std::string>>;  // lower-cased

HeaderList headers_of(const JsonValue& part) {
    HeaderList out;
    for (const JsonValue& h : part.at("headers").items("headers"))
        out.emplace_back(lower(h.items()[0].str()), lower(h.items()[1].str()));
    return out;
}

const std::string* raw_header(const JsonValue& part, std::string_view name) {
    for (const JsonValue& h : part.at("headers").items("headers"))
        if (lower(h.items()[0].str()) == name) return &h.items()[1].str();
    return nullptr;
}

std::string optional_text(const JsonValue& v) { return v.is_null() ? std::string() : v.str(); }

// The model's decision, header by header in the order written: a disposition
// "attachment"; "inline" once a transfer encoding other than 7bit was seen; an
// image type with a name; message/rfc822; any Content-ID.
bool model_takes(const JsonValue& part) {
    bool encoded = false;
    bool taken = false;
    for (const auto& [name, value] : headers_of(part)) {
        const std::string_view v = trim(value, " \t\r\n");
        if (name == "content-transfer-encoding") {
            if (v == "base64" || v == "uuencode" || v == "x-uuencode" || v == "quoted-printable" ||
                v == "binhex")
                encoded = true;
            else if (v == "7bit")
                encoded = false;
        } else if (name == "content-disposition") {
            if (v.find("attachment") != std::string_view::npos ||
                (v.find("inline") != std::string_view::npos && encoded))
                taken = true;
        } else if (name == "content-type") {
            if (v == "message/rfc822" ||
                (v.find("image/") != std::string_view::npos && v.find("name=") != std::string_view::npos))
                taken = true;
        } else if (name == "content-id") {
            taken = true;
        }
    }
    return taken;
}

std::vector<const JsonValue*> parts_taken(const CorpusMessage& m) {
    std::vector<const JsonValue*> out;
    for (const JsonValue& p : m.facts.at("parts").items("parts"))
        if (model_takes(p)) out.push_back(&p);
    return out;
}

bool chosen_by_header_rules(const CorpusMessage& m, Reading& e) {
    std::vector<AttachmentReading> taken;
    for (const JsonValue* p : parts_taken(m)) {
        // The peer's naming: the disposition's file name, else the type's name.
        std::string name = optional_text(p->at("cd_filename"));
        if (name.empty()) name = optional_text(p->at("ct_name"));
        taken.push_back(
            AttachmentReading{name, p->at("size").integer("size"), p->at("sha256").str("sha256")});
    }
    if (taken == e.attachments) return false;
    e.attachments = std::move(taken);
    return true;
}

// The renaming rules run after chosen_by_header_rules, so the expected list
// is the taken parts in order. `rename` gives a part's name under the rule,
// or nothing when the rule does not concern it.
template <typename Rename>
bool rename_taken(const CorpusMessage& m, Reading& e, Rename rename) {
    const auto parts = parts_taken(m);
    if (parts.size() != e.attachments.size()) return false;
    bool changed = false;
    for (std::size_t i = 0; i < parts.size(); ++i) {
        const std::optional<std::string> name = rename(*parts[i]);
        if (name && *name != e.attachments[i].name) {
            e.attachments[i].name = *name;
            changed = true;
        }
    }
    return changed;
}

bool type_name_first(const CorpusMessage& m, Reading& e) {
    return rename_taken(m, e, [](const JsonValue& part) -> std::optional<std::string> {
        std::string type_name = optional_text(part.at("ct_name"));
        if (type_name.empty()) return std::nullopt;
        return type_name;
    });
}

bool unquoted_file_name_to_end(const CorpusMessage& m, Reading& e) {
    return rename_taken(m, e, [](const JsonValue& part) -> std::optional<std::string> {
        if (!optional_text(part.at("ct_name")).empty()) return std::nullopt;
        const std::string* cd = raw_header(part, "content-disposition");
        if (cd == nullptr) return std::nullopt;
        const std::size_t at = lower(*cd).find("filename", cd->find(';'));
        if (at == std::string::npos) return std::nullopt;
        std::string_view rest = std::string_view(*cd).substr(at + 8);
        while (!rest.empty() && (rest.front() == ' ' || rest.front() == '\t')) rest.remove_prefix(1);
        if (rest.empty() || rest.front() != '=') return std::nullopt;  // RFC 2231 forms: filename*...
        rest.remove_prefix(1);
        while (!rest.empty() && (rest.front() == ' ' || rest.front() == '\t')) rest.remove_prefix(1);
        if (rest.empty() || rest.front() == '"' || rest.front() == '\'') return std::nullopt;
        return std::string(rest);
    });
}

}  // namespace

const char* field_name(Field f) noexcept {
    switch (f) {
        case Field::subject:
            return "subject";
        case Field::from_address:
            return "from address";
        case Field::from_name:
            return "from name";
        case Field::date:
            return "date";
        case Field::plain:
            return "plain text";
        case Field::html:
            return "HTML text";
        case Field::attachments:
            return "attachments";
    }
    return "?";
}

const std::vector<AllowedDifference>& allowed_differences() {
    static const std::vector<AllowedDifference> table = {
        {"subject bytes in an unknown charset are read in the ANSI page", Field::subject,
         "the model converts every charset the system's converter knows; the bytes of an encoded word in any "
         "other charset, and raw 8-bit header text that is not UTF-8, are read as CP1252",
         subject_in_ansi},
        {"plain text in an unknown charset is read in the ANSI page", Field::plain, "as for the subject",
         [](const CorpusMessage& m, Reading& e) { return text_in_ansi(m, e.plain, "plain_part"); }},
        {"HTML text in an unknown charset is read in the ANSI page", Field::html, "as for the subject",
         [](const CorpusMessage& m, Reading& e) { return text_in_ansi(m, e.html, "html_part"); }},
        {"plain text keeps the line break before the delimiter", Field::plain,
         "a part's text runs up to the next delimiter line, so unless Base64 drops it the line break before "
         "that "
         "line is the text's last",
         [](const CorpusMessage& m, Reading& e) { return keep_line_break(m, e.plain, "plain_part"); }},
        {"HTML text keeps the line break before the delimiter", Field::html, "as for the plain text",
         [](const CorpusMessage& m, Reading& e) { return keep_line_break(m, e.html, "html_part"); }},
        {"two-digit years 50 to 68 are 19xx", Field::date,
         "00-49 are 20xx and 50-99 are 19xx; the peer takes 00-68 as 20xx", two_digit_year},
        {"a zone name in parentheses counts", Field::date,
         "\"(EST)\" in the zone's place is read as EST; the peer takes it for a comment and the time for UTC",
         zone_in_parentheses},
        {"quoted pairs stay in the display name", Field::from_name,
         "the name is the text before \"<\" with its ends trimmed; backslashes of quoted pairs stay",
         quoted_pairs_kept},
        {"display name ends are trimmed of quotes and apostrophes", Field::from_name,
         "blanks, double quotes and apostrophes at either end of the name go, so 'Alice' shows as Alice",
         name_ends_trimmed},
        {"attachments are chosen by header rules", Field::attachments,
         "a part is an attachment by its headers in order (disposition attachment, inline after a transfer "
         "encoding, image type with a name, message/rfc822, Content-ID), not by having a file name",
         chosen_by_header_rules},
        {"the type's name= comes before the disposition's filename=", Field::attachments,
         "the name is Content-Type name= when there is one, else Content-Disposition filename=",
         type_name_first},
        {"an unquoted disposition file name runs to the end of the value", Field::attachments,
         "filename=a.bin; size=3 names the file \"a.bin; size=3\"", unquoted_file_name_to_end},
    };
    return table;
}

Normalised normalise(const CorpusMessage& m) {
    Normalised n{m.peer, {}};
    for (const AllowedDifference& d : allowed_differences())
        if (d.apply(m, n.expected)) n.applied.push_back(&d);
    return n;
}

}  // namespace mime_diff
