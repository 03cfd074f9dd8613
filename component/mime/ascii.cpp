#include "component/mime/ascii.h"

namespace component::mime {

std::string lower_ascii(std::string_view s) {
    std::string out(s);
    for (char& c : out) c = ascii_lower(c);
    return out;
}

bool iequals(std::string_view a, std::string_view b) noexcept {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (ascii_lower(a[i]) != ascii_lower(b[i])) return false;
    return true;
}

bool istarts_with(std::string_view s, std::string_view prefix) noexcept {
    return s.size() >= prefix.size() && iequals(s.substr(0, prefix.size()), prefix);
}

std::size_t ifind(std::string_view hay, std::string_view needle, std::size_t from) noexcept {
    if (needle.empty()) return from <= hay.size() ? from : std::string_view::npos;
    if (from >= hay.size() || hay.size() - from < needle.size()) return std::string_view::npos;
    const char first = ascii_lower(needle[0]);
    const std::size_t last = hay.size() - needle.size();
    for (std::size_t i = from; i <= last; ++i)
        if (ascii_lower(hay[i]) == first && iequals(hay.substr(i, needle.size()), needle)) return i;
    return std::string_view::npos;
}

std::string_view trim_space(std::string_view s) noexcept {
    while (!s.empty() && is_space(s.front())) s.remove_prefix(1);
    while (!s.empty() && is_space(s.back())) s.remove_suffix(1);
    return s;
}

}  // namespace component::mime
