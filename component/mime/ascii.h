// ASCII-only case rules. Every comparison in the message model is against an
// ASCII literal, so locale rules (and their surprises) have no place here.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace component::mime {

constexpr char ascii_lower(char c) noexcept {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

constexpr bool is_blank(char c) noexcept { return c == ' ' || c == '\t'; }
constexpr bool is_space(char c) noexcept { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }
constexpr bool is_digit(char c) noexcept { return c >= '0' && c <= '9'; }

std::string lower_ascii(std::string_view s);
bool iequals(std::string_view a, std::string_view b) noexcept;
bool istarts_with(std::string_view s, std::string_view prefix) noexcept;
// Position of `needle` in `hay` at or after `from`, ignoring ASCII case; npos when absent.
std::size_t ifind(std::string_view hay, std::string_view needle, std::size_t from = 0) noexcept;
inline bool icontains(std::string_view hay, std::string_view needle) noexcept {
    return ifind(hay, needle) != std::string_view::npos;
}
std::string_view trim_space(std::string_view s) noexcept;

}  // namespace component::mime
