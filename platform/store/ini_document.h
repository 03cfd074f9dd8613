#pragma once
// An INI file held in memory with the semantics of the Windows profile
// functions: [section] headers and key=value lines, names matched without
// regard to ASCII case (the first match wins), blanks trimmed around names
// and values, one pair of surrounding quotes stripped from a value, LF,
// CR LF or CR line ends. Lines the program does not touch are written back as read.

#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <unordered_map>
#include <vector>

namespace platform::store {

class IniDocument {
public:
    static IniDocument Parse(std::string_view text);

    // The value of key in section, or nullopt when either is absent.
    [[nodiscard]] std::optional<std::string> Value(std::string_view section, std::string_view key) const;
    // The section's lines (comments and blank lines left out), trimmed, in
    // file order; empty when the section is absent.
    [[nodiscard]] std::vector<std::string> SectionLines(std::string_view section) const;

    // Replaces the key's value in place, or appends the key to its section,
    // or appends the section to the file. Fails with invalid_argument (and
    // changes nothing) for text an INI line cannot hold: a line break in any
    // argument, an empty name, "]" in a section name, "=" in a key name, or a
    // key name that would read back as a header or a comment.
    std::error_code Set(std::string_view section, std::string_view key, std::string_view value);

    [[nodiscard]] std::string Serialize() const;

private:
    struct Entry {
        std::string key;    // trimmed
        std::string value;  // trimmed, quotes stripped
        size_t line;
    };
    struct Section {
        std::string name;
        size_t header;
        size_t lastLine;  // last non-blank line belonging to the section
        std::vector<Entry> entries;
    };

    void Index();
    static Entry MakeEntry(std::string_view line, size_t index);
    // Inserts a line before line at, keeping the index in step.
    void InsertLine(size_t at, std::string line);
    [[nodiscard]] const Section* Find(std::string_view section) const;
    Section* Find(std::string_view section) {
        return const_cast<Section*>(static_cast<const IniDocument&>(*this).Find(section));
    }

    std::vector<std::string> lines_;
    std::vector<Section> sections_;
    // The first section of each name (ASCII-lowered) by its place in sections_,
    // so that writing a file of many sections key by key stays linear.
    std::unordered_map<std::string, size_t> firstSection_;
    std::string eol_ = "\n";
    bool bom_ = false;
};

// Text without leading and trailing blanks (space and tab).
std::string_view TrimBlanks(std::string_view text);

}  // namespace platform::store
