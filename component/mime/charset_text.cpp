#include "component/mime/charset_text.h"

#include <algorithm>

#include "component/mime/ascii.h"
#include "platform/text/ascii_case.h"
#include "platform/text/charset.h"
#include "platform/text/code_page.h"
#include "platform/text/utf8.h"

namespace component::mime {
namespace {

bool is_latin9(std::string_view name) {
    name = trim_space(name);
    for (const std::string_view alias : {"iso-8859-15", "iso8859-15", "iso_8859-15", "latin-9", "latin9", "l9"})
        if (text::EqualsNoCase(name, alias)) return true;
    return false;
}

char16_t latin9(unsigned char b) {
    switch (b) {
        case 0xA4: return u'\u20AC';
        case 0xA6: return u'\u0160';
        case 0xA8: return u'\u0161';
        case 0xB4: return u'\u017D';
        case 0xB8: return u'\u017E';
        case 0xBC: return u'\u0152';
        case 0xBD: return u'\u0153';
        case 0xBE: return u'\u0178';
        default: return b;
    }
}

}  // namespace

std::u16string decode_charset(std::string_view charset, std::string_view bytes) {
    if (!is_latin9(charset)) return text::DecodeCharset(charset, bytes);
    std::u16string out;
    out.reserve(bytes.size());
    for (const char c : bytes) out.push_back(latin9(static_cast<unsigned char>(c)));
    return out;
}

bool is_well_formed_utf8(std::string_view bytes) {
    if (std::all_of(bytes.begin(), bytes.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; }))
        return true;
    // Every ill-formed piece decodes to one U+FFFD, and so does every encoded
    // U+FFFD (EF BF BD): well-formed exactly when the two counts agree.
    const std::u16string decoded = text::FromUtf8(bytes);
    const auto replacements = std::count(decoded.begin(), decoded.end(), text::kReplacementChar);
    std::ptrdiff_t encoded = 0;
    for (std::size_t at = bytes.find("\xEF\xBF\xBD"); at != std::string_view::npos; at = bytes.find("\xEF\xBF\xBD", at + 3))
        ++encoded;
    return replacements == encoded;
}

std::u16string raw_header_text(std::string_view bytes) {
    return is_well_formed_utf8(bytes) ? text::FromUtf8(bytes) : text::FromAnsi(bytes);
}

}  // namespace component::mime
