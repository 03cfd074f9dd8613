#include "platform/store/ini_document.h"

#include <algorithm>

#include "platform/text/ascii_case.h"
#include "platform/text/line_ends.h"

namespace platform::store {
namespace {

constexpr std::string_view kBom = "\xEF\xBB\xBF";

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

bool HasLineBreak(std::string_view text) { return text.find_first_of("\r\n") != std::string_view::npos; }

std::string_view StripQuotes(std::string_view value) {
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
        return value.substr(1, value.size() - 2);
    return value;
}

}  // namespace

std::string_view TrimBlanks(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
    return text;
}

IniDocument IniDocument::Parse(std::string_view text) {
    IniDocument doc;
    if (text.starts_with(kBom)) {
        doc.bom_ = true;
        text.remove_prefix(kBom.size());
    }
    // Written back with CR LF when any line had it, else with the CR alone
    // of a file that used it, else with LF.
    bool sawCrLf = false, sawCr = false;
    while (!text.empty()) {
        std::string_view end;
        doc.lines_.emplace_back(text::NextLine(text, &end));
        sawCrLf = sawCrLf || end == "\r\n";
        sawCr = sawCr || end == "\r";
    }
    if (sawCrLf)
        doc.eol_ = "\r\n";
    else if (sawCr)
        doc.eol_ = "\r";
    doc.Index();
    return doc;
}

void IniDocument::Index() {
    sections_.clear();
    firstSection_.clear();
    for (size_t i = 0; i < lines_.size(); ++i) {
        const std::string_view line = TrimBlanks(lines_[i]);
        if (line.empty()) continue;
        if (line.front() == '[') {
            std::string_view name = line.substr(1);
            name = name.substr(0, name.find(']'));
            sections_.push_back({std::string(TrimBlanks(name)), i, i, {}});
            firstSection_.emplace(text::AsciiLowered(sections_.back().name), sections_.size() - 1);
            continue;
        }
        if (sections_.empty()) continue;  // text before the first header belongs to no section
        Section& section = sections_.back();
        section.lastLine = i;
        if (line.front() == ';' || line.find('=') == std::string_view::npos) continue;
        section.entries.push_back(MakeEntry(line, i));
    }
}

IniDocument::Entry IniDocument::MakeEntry(std::string_view line, size_t index) {
    const size_t eq = line.find('=');
    return {std::string(TrimBlanks(line.substr(0, eq))),
            std::string(StripQuotes(TrimBlanks(line.substr(eq + 1)))), index};
}

void IniDocument::InsertLine(size_t at, std::string line) {
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(at), std::move(line));
    // Only the sections from the insertion point on move down; writers add
    // to the last section, so this loop is short.
    for (auto s = sections_.rbegin(); s != sections_.rend() && s->lastLine >= at; ++s) {
        if (s->header >= at) ++s->header;
        ++s->lastLine;
        for (auto e = s->entries.rbegin(); e != s->entries.rend() && e->line >= at; ++e) ++e->line;
    }
}

const IniDocument::Section* IniDocument::Find(std::string_view section) const {
    const auto found = firstSection_.find(text::AsciiLowered(TrimBlanks(section)));
    return found == firstSection_.end() ? nullptr : &sections_[found->second];
}

std::optional<std::string> IniDocument::Value(std::string_view section, std::string_view key) const {
    const Section* s = Find(section);
    if (!s) return std::nullopt;
    const std::string_view name = TrimBlanks(key);
    for (const Entry& e : s->entries)
        if (text::EqualsNoCase(e.key, name)) return e.value;
    return std::nullopt;
}

std::vector<std::string> IniDocument::SectionLines(std::string_view section) const {
    std::vector<std::string> result;
    const Section* s = Find(section);
    if (!s) return result;
    for (size_t i = s->header + 1; i <= s->lastLine && i < lines_.size(); ++i) {
        const std::string_view line = TrimBlanks(lines_[i]);
        if (!line.empty() && line.front() != ';') result.emplace_back(line);
    }
    return result;
}

std::error_code IniDocument::Set(std::string_view section, std::string_view key, std::string_view value) {
    section = TrimBlanks(section);
    key = TrimBlanks(key);
    if (section.empty() || key.empty() || HasLineBreak(section) || HasLineBreak(key) || HasLineBreak(value) ||
        section.find(']') != std::string_view::npos || key.find('=') != std::string_view::npos ||
        key.front() == '[' || key.front() == ';')
        return std::make_error_code(std::errc::invalid_argument);

    // The index is kept in step line by line: a whole new index after each
    // key would make writing a file key by key quadratic.
    Section* s = Find(section);
    if (!s) {
        lines_.push_back("[" + std::string(section) + "]");
        s = &sections_.emplace_back(Section{std::string(section), lines_.size() - 1, lines_.size() - 1, {}});
        firstSection_.emplace(text::AsciiLowered(section), sections_.size() - 1);
    }
    const auto entry = std::find_if(s->entries.begin(), s->entries.end(),
                                    [&](const Entry& e) { return text::EqualsNoCase(e.key, key); });
    if (entry != s->entries.end()) {
        lines_[entry->line] = entry->key + "=" + std::string(value);
        *entry = MakeEntry(lines_[entry->line], entry->line);
        return {};
    }
    const size_t at = s->lastLine + 1;
    InsertLine(at, std::string(key) + "=" + std::string(value));
    s->lastLine = at;
    s->entries.push_back(MakeEntry(lines_[at], at));
    return {};
}

std::string IniDocument::Serialize() const {
    std::string out;
    if (bom_) out += kBom;
    for (const std::string& line : lines_) {
        out += line;
        out += eol_;
    }
    return out;
}

}  // namespace platform::store
