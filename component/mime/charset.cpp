#include "component/mime/charset.h"

#include <array>
#include <cstdint>

#include "component/mime/ascii.h"

namespace component::mime {
namespace {

// CP1252 0x80-0x9F; the unused bytes keep their own code points as Windows does.
constexpr std::array<char16_t, 32> kCp1252High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

void put_code_point(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
}

char32_t latin9(unsigned char b) {
    switch (b) {
        case 0xA4: return 0x20AC;
        case 0xA6: return 0x0160;
        case 0xA8: return 0x0161;
        case 0xB4: return 0x017D;
        case 0xB8: return 0x017E;
        case 0xBC: return 0x0152;
        case 0xBD: return 0x0153;
        case 0xBE: return 0x0178;
        default: return b;
    }
}

// Length of the valid UTF-8 sequence at `p` (at most `n` bytes), 0 when invalid.
std::size_t utf8_sequence(const unsigned char* p, std::size_t n, char32_t& cp) noexcept {
    const unsigned char b = p[0];
    if (b < 0x80) {
        cp = b;
        return 1;
    }
    std::size_t len = 0;
    char32_t min = 0;
    if (b >= 0xC2 && b <= 0xDF) {
        len = 2, cp = b & 0x1F, min = 0x80;
    } else if (b >= 0xE0 && b <= 0xEF) {
        len = 3, cp = b & 0x0F, min = 0x800;
    } else if (b >= 0xF0 && b <= 0xF4) {
        len = 4, cp = b & 0x07, min = 0x10000;
    } else {
        return 0;
    }
    if (n < len) return 0;
    for (std::size_t i = 1; i < len; ++i) {
        if ((p[i] & 0xC0) != 0x80) return 0;
        cp = (cp << 6) | (p[i] & 0x3F);
    }
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return 0;
    return len;
}

}  // namespace

Charset charset_from_name(std::string_view name) noexcept {
    name = trim_space(name);
    if (iequals(name, "utf-8") || iequals(name, "utf8")) return Charset::Utf8;
    if (iequals(name, "us-ascii") || iequals(name, "ascii") || iequals(name, "iso-8859-1") ||
        iequals(name, "iso8859-1") || iequals(name, "latin1") || iequals(name, "l1"))
        return Charset::Latin1;
    if (iequals(name, "iso-8859-15") || iequals(name, "iso8859-15") || iequals(name, "latin-9"))
        return Charset::Latin9;
    return Charset::Ansi;
}

bool is_valid_utf8(std::string_view bytes) noexcept {
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    std::size_t n = bytes.size();
    while (n > 0) {
        char32_t cp = 0;
        const std::size_t len = utf8_sequence(p, n, cp);
        if (len == 0) return false;
        p += len;
        n -= len;
    }
    return true;
}

void append_utf8(std::string& out, std::string_view bytes, Charset cs) {
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    std::size_t n = bytes.size();
    out.reserve(out.size() + n);
    while (n > 0) {
        const unsigned char b = *p;
        if (b < 0x80) {
            out.push_back(static_cast<char>(b));
            ++p, --n;
            continue;
        }
        switch (cs) {
            case Charset::Utf8: {
                char32_t cp = 0;
                const std::size_t len = utf8_sequence(p, n, cp);
                if (len == 0) {
                    put_code_point(out, 0xFFFD);
                    ++p, --n;
                } else {
                    out.append(reinterpret_cast<const char*>(p), len);
                    p += len, n -= len;
                }
                continue;
            }
            case Charset::Latin1: put_code_point(out, b); break;
            case Charset::Latin9: put_code_point(out, latin9(b)); break;
            case Charset::Ansi: put_code_point(out, b < 0xA0 ? kCp1252High[b - 0x80] : b); break;
        }
        ++p, --n;
    }
}

std::string raw_header_to_utf8(std::string_view bytes) {
    return to_utf8(bytes, is_valid_utf8(bytes) ? Charset::Utf8 : Charset::Ansi);
}

}  // namespace component::mime
