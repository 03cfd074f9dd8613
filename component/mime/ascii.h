// Character classes and trimming for the message scanners. Letter case rules
// come from platform/text (ASCII only).
#pragma once

#include <string_view>

namespace component::mime {

constexpr bool is_blank(char c) noexcept { return c == ' ' || c == '\t'; }
constexpr bool is_space(char c) noexcept { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }
constexpr bool is_digit(char c) noexcept { return c >= '0' && c <= '9'; }

constexpr std::string_view trim_space(std::string_view s) noexcept {
    while (!s.empty() && is_space(s.front())) s.remove_prefix(1);
    while (!s.empty() && is_space(s.back())) s.remove_suffix(1);
    return s;
}

}  // namespace component::mime
