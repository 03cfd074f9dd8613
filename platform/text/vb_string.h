// VB's Trim, LTrim and RTrim: they drop spaces only (U+0020), not tabs or
// line ends, so a value keeps any other white space it was given. The
// results are views into the argument.
#pragma once

#include <string_view>

namespace text {

std::string_view LTrim(std::string_view s);
std::string_view RTrim(std::string_view s);
std::string_view Trim(std::string_view s);
std::u16string_view LTrim(std::u16string_view s);
std::u16string_view RTrim(std::u16string_view s);
std::u16string_view Trim(std::u16string_view s);

}  // namespace text
