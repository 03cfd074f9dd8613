#include "platform/text/ascii_case.h"

namespace text {

std::string AsciiLowered(std::string_view s) {
    std::string out(s);
    for (char& c : out) c = AsciiLower(c);
    return out;
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && StartsWithNoCase(a, b);
}

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
    if (text.size() < prefix.size()) return false;
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        if (AsciiLower(text[i]) != AsciiLower(prefix[i])) return false;
    }
    return true;
}

std::size_t FindNoCase(std::string_view text, std::string_view needle, std::size_t from) {
    if (from > text.size()) return std::string_view::npos;
    if (needle.empty()) return from;
    for (std::size_t i = from; i + needle.size() <= text.size(); ++i) {
        if (StartsWithNoCase(text.substr(i), needle)) return i;
    }
    return std::string_view::npos;
}

}  // namespace text
