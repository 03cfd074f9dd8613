#include "platform/text/charset.h"

#include <array>
#include <utility>

#include "platform/text/ascii_case.h"
#include "platform/text/code_page.h"
#include "platform/text/utf8.h"

namespace text {
namespace {

std::u16string DecodeWindows1252(std::string_view bytes) { return FromAnsi(bytes); }
std::u16string DecodeUtf8(std::string_view bytes) { return FromUtf8(bytes); }

// IANA names and the aliases seen in mail.
constexpr std::array<std::pair<std::string_view, CharsetDecoder>, 22> kCharsets = {{
    {"us-ascii", DecodeWindows1252},
    {"ascii", DecodeWindows1252},
    {"ansi_x3.4-1968", DecodeWindows1252},
    {"iso-ir-6", DecodeWindows1252},
    {"us", DecodeWindows1252},
    {"iso646-us", DecodeWindows1252},
    {"iso-8859-1", DecodeWindows1252},
    {"iso8859-1", DecodeWindows1252},
    {"iso_8859-1", DecodeWindows1252},
    {"iso_8859-1:1987", DecodeWindows1252},
    {"iso-ir-100", DecodeWindows1252},
    {"latin1", DecodeWindows1252},
    {"l1", DecodeWindows1252},
    {"cp819", DecodeWindows1252},
    {"ibm819", DecodeWindows1252},
    {"windows-1252", DecodeWindows1252},
    {"cp1252", DecodeWindows1252},
    {"x-cp1252", DecodeWindows1252},
    {"utf-8", DecodeUtf8},
    {"utf8", DecodeUtf8},
    {"unicode-1-1-utf-8", DecodeUtf8},
    {"x-unicode20utf8", DecodeUtf8},
}};

std::string_view Trim(std::string_view s) {
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    while (!s.empty() && blank(s.front())) s.remove_prefix(1);
    while (!s.empty() && blank(s.back())) s.remove_suffix(1);
    if (s.size() >= 2 && s.front() == '"' && s.back() == '"') {
        s = s.substr(1, s.size() - 2);
    }
    return s;
}

}  // namespace

CharsetDecoder FindCharsetDecoder(std::string_view name) {
    name = Trim(name);
    for (const auto& [label, decoder] : kCharsets) {
        if (EqualsNoCase(name, label)) return decoder;
    }
    return nullptr;
}

std::u16string DecodeCharset(std::string_view name, std::string_view bytes) {
    const CharsetDecoder decoder = FindCharsetDecoder(name);
    return decoder != nullptr ? decoder(bytes) : FromAnsi(bytes);
}

}  // namespace text
