// Letter case of ASCII letters only. The component lowers header names,
// charset names and media types to compare them with ASCII words; lowering
// by the locale would turn "I" into a dotless i under a Turkish locale and
// miss "MIME-Version". Bytes outside A-Z and a-z are compared as they are.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace text {

constexpr char AsciiLower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

std::string AsciiLowered(std::string_view s);
bool EqualsNoCase(std::string_view a, std::string_view b);
bool StartsWithNoCase(std::string_view text, std::string_view prefix);
// Position of the first match at or after `from`, or npos.
std::size_t FindNoCase(std::string_view text, std::string_view needle, std::size_t from = 0);

}  // namespace text
