#include "component/mime/charset_text.h"

#include <iconv.h>

#include <algorithm>
#include <cerrno>
#include <optional>

#include "component/mime/ascii.h"
#include "platform/text/ascii_case.h"
#include "platform/text/charset.h"
#include "platform/text/code_page.h"
#include "platform/text/utf8.h"

namespace component::mime {
namespace {

bool is_latin9(std::string_view name) {
    name = trim_space(name);
    for (const std::string_view alias :
         {"iso-8859-15", "iso8859-15", "iso_8859-15", "latin-9", "latin9", "l9"})
        if (text::EqualsNoCase(name, alias)) return true;
    return false;
}

char16_t latin9(unsigned char b) {
    switch (b) {
        case 0xA4:
            return u'\u20AC';
        case 0xA6:
            return u'\u0160';
        case 0xA8:
            return u'\u0161';
        case 0xB4:
            return u'\u017D';
        case 0xB8:
            return u'\u017E';
        case 0xBC:
            return u'\u0152';
        case 0xBD:
            return u'\u0153';
        case 0xBE:
            return u'\u0178';
        default:
            return b;
    }
}

// Only plain charset names reach iconv: a name from a message must not
// smuggle in iconv's "//" options or a path.
bool is_plain_charset_name(std::string_view name) {
    if (name.empty() || name.size() > 40) return false;
    return std::all_of(name.begin(), name.end(), [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || is_digit(c) || c == '-' || c == '_' ||
               c == '.' || c == ':';
    });
}

// `bytes` converted from `charset` by iconv; nothing when iconv does not
// know the name or the bytes are not text in it (a label that lies).
std::optional<std::u16string> iconv_decode(std::string_view charset, std::string_view bytes) {
    if (!is_plain_charset_name(charset)) return std::nullopt;
    const std::string from(charset);
    const iconv_t cd = ::iconv_open("UTF-16LE", from.c_str());
    if (cd == reinterpret_cast<iconv_t>(-1)) return std::nullopt;
    std::u16string out;
    std::string in(bytes);
    char* inAt = in.data();
    std::size_t inLeft = in.size();
    bool ok = true;
    char piece[8192];
    while (ok) {
        char* outAt = piece;
        std::size_t outLeft = sizeof piece;
        const std::size_t r = inLeft > 0 ? ::iconv(cd, &inAt, &inLeft, &outAt, &outLeft)
                                         : ::iconv(cd, nullptr, nullptr, &outAt, &outLeft);
        const std::size_t made = sizeof piece - outLeft;
        for (std::size_t i = 0; i + 1 < made; i += 2)
            out.push_back(static_cast<char16_t>(static_cast<unsigned char>(piece[i]) |
                                                static_cast<unsigned char>(piece[i + 1]) << 8));
        if (r != static_cast<std::size_t>(-1)) {
            if (inLeft == 0 && made == 0) break;
            continue;
        }
        ok = errno == E2BIG;
    }
    ::iconv_close(cd);
    if (!ok) return std::nullopt;
    return out;
}

}  // namespace

std::u16string decode_charset(std::string_view charset, std::string_view bytes) {
    const std::string_view name = trim_space(charset);
    // The charsets the platform reads itself (ASCII, Latin-1 and the 8-bit
    // page, UTF-8) keep their tolerant decoders; any other declared charset
    // is converted by the system, and an unknown or lying one reads as the
    // 8-bit page.
    if (!is_latin9(charset)) {
        if (text::FindCharsetDecoder(name) != nullptr || name.empty())
            return text::DecodeCharset(charset, bytes);
        if (auto converted = iconv_decode(name, bytes)) return std::move(*converted);
        return text::DecodeCharset(charset, bytes);
    }
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
    for (std::size_t at = bytes.find("\xEF\xBF\xBD"); at != std::string_view::npos;
         at = bytes.find("\xEF\xBF\xBD", at + 3))
        ++encoded;
    return replacements == encoded;
}

std::u16string raw_header_text(std::string_view bytes) {
    return is_well_formed_utf8(bytes) ? text::FromUtf8(bytes) : text::FromAnsi(bytes);
}

}  // namespace component::mime
