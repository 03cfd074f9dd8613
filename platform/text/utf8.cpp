#include "platform/text/utf8.h"

namespace text {
namespace {

bool IsContinuation(unsigned char b) { return (b & 0xC0) == 0x80; }

// The allowed range of the byte after a lead byte (Unicode table 3-7); the
// narrow ranges after E0, ED, F0 and F4 shut out overlong forms, surrogates
// and code points above U+10FFFF.
struct LeadInfo {
    int length;  // 0: not a lead byte
    unsigned char second_min;
    unsigned char second_max;
};

LeadInfo Lead(unsigned char b) {
    if (b >= 0xC2 && b <= 0xDF) return {2, 0x80, 0xBF};
    if (b == 0xE0) return {3, 0xA0, 0xBF};
    if (b == 0xED) return {3, 0x80, 0x9F};
    if (b >= 0xE1 && b <= 0xEF) return {3, 0x80, 0xBF};
    if (b == 0xF0) return {4, 0x90, 0xBF};
    if (b >= 0xF1 && b <= 0xF3) return {4, 0x80, 0xBF};
    if (b == 0xF4) return {4, 0x80, 0x8F};
    return {0, 0, 0};
}

char16_t* PutCodePoint(char16_t* dst, char32_t cp) {
    if (cp < 0x10000) {
        *dst++ = static_cast<char16_t>(cp);
    } else {
        cp -= 0x10000;
        *dst++ = static_cast<char16_t>(0xD800 + (cp >> 10));
        *dst++ = static_cast<char16_t>(0xDC00 + (cp & 0x3FF));
    }
    return dst;
}

}  // namespace

// Our own, not g_utf8_to_utf16: that one is 5 times slower (text_conversion_bench), stops at a NUL and fails
// on ill-formed input.
void AppendFromUtf8(std::u16string& out, std::string_view bytes) {
    // Never more UTF-16 units than bytes: a 4-byte form gives a pair, and a
    // replacement stands for at least one byte.
    const std::size_t start = out.size();
    out.resize(start + bytes.size());
    char16_t* dst = out.data() + start;
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    const auto* const end = p + bytes.size();
    while (p < end) {
        const unsigned char b = *p;
        if (b < 0x80) {
            *dst++ = b;
            ++p;
            continue;
        }
        const LeadInfo lead = Lead(b);
        if (lead.length == 0) {
            *dst++ = kReplacementChar;
            ++p;
            continue;
        }
        // Take continuation bytes while they fit; a bad or missing one ends the
        // maximal subpart, which becomes one U+FFFD, and is read again itself.
        char32_t cp = b & (0xFF >> (lead.length + 1));
        int taken = 1;
        while (taken < lead.length && p + taken < end) {
            const unsigned char c = p[taken];
            const bool ok = taken == 1 ? (c >= lead.second_min && c <= lead.second_max) : IsContinuation(c);
            if (!ok) break;
            cp = (cp << 6) | (c & 0x3F);
            ++taken;
        }
        if (taken == lead.length) {
            dst = PutCodePoint(dst, cp);
        } else {
            *dst++ = kReplacementChar;
        }
        p += taken;
    }
    out.resize(static_cast<std::size_t>(dst - out.data()));
}

std::u16string FromUtf8(std::string_view bytes) {
    std::u16string out;
    AppendFromUtf8(out, bytes);
    return out;
}

// Our own, not g_utf16_to_utf8: that one stops at a NUL and fails on an unpaired surrogate, and is no faster
// once both are screened out.
std::string ToUtf8(std::u16string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t cp = text[i];
        if (cp >= 0xD800 && cp <= 0xDFFF) {
            const bool paired =
                cp <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF;
            if (paired) {
                cp = 0x10000 + ((cp - 0xD800) << 10) + (text[i + 1] - 0xDC00);
                ++i;
            } else {
                cp = kReplacementChar;
            }
        }
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
    return out;
}

}  // namespace text
