#include "platform/text/code_page.h"

#include <array>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

#include "platform/text/utf8.h"

namespace text {
namespace {

// Bytes 0x80 to 0x9F; the rest of the code page is Latin-1 (byte = code
// point). The undefined bytes keep their C1 control.
constexpr std::array<char16_t, 32> kHigh = {
    u'\u20AC', u'\u0081', u'\u201A', u'\u0192', u'\u201E', u'\u2026', u'\u2020', u'\u2021',
    u'\u02C6', u'\u2030', u'\u0160', u'\u2039', u'\u0152', u'\u008D', u'\u017D', u'\u008F',
    u'\u0090', u'\u2018', u'\u2019', u'\u201C', u'\u201D', u'\u2022', u'\u2013', u'\u2014',
    u'\u02DC', u'\u2122', u'\u0161', u'\u203A', u'\u0153', u'\u009D', u'\u017E', u'\u0178',
};

constexpr std::array<char16_t, 256> MakeTable() {
    std::array<char16_t, 256> table{};
    for (unsigned i = 0; i < 256; ++i) {
        table[i] = static_cast<char16_t>(i);
    }
    for (unsigned i = 0; i < kHigh.size(); ++i) {
        table[0x80 + i] = kHigh[i];
    }
    return table;
}

constexpr std::array<char16_t, 256> kTable = MakeTable();

bool IsHighSurrogate(char16_t u) { return u >= 0xD800 && u <= 0xDBFF; }
bool IsLowSurrogate(char16_t u) { return u >= 0xDC00 && u <= 0xDFFF; }

}  // namespace

char16_t AnsiByteToUtf16(unsigned char byte) noexcept { return kTable[byte]; }

std::optional<unsigned char> Utf16ToAnsiByte(char16_t unit) noexcept {
    if (unit < 0x80 || (unit >= 0xA0 && unit <= 0xFF)) {
        return static_cast<unsigned char>(unit);
    }
    for (unsigned i = 0; i < kHigh.size(); ++i) {
        if (kHigh[i] == unit) {
            return static_cast<unsigned char>(0x80 + i);
        }
    }
    return std::nullopt;
}

void WidenAnsi(std::string_view bytes, char16_t* out) noexcept {
    const auto* in = reinterpret_cast<const unsigned char*>(bytes.data());
    const std::size_t n = bytes.size();
    std::size_t i = 0;
#ifdef __SSE2__
    // ASCII, sixteen bytes at a time; a group with any other byte goes
    // through the table.
    const __m128i zero = _mm_setzero_si128();
    for (; i + 16 <= n; i += 16) {
        const __m128i group = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + i));
        if (_mm_movemask_epi8(group) != 0) {
            for (std::size_t k = i; k < i + 16; ++k) out[k] = kTable[in[k]];
            continue;
        }
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i), _mm_unpacklo_epi8(group, zero));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i + 8), _mm_unpackhi_epi8(group, zero));
    }
#endif
    for (; i < n; ++i) out[i] = kTable[in[i]];
}

void NarrowToAnsi(std::u16string_view text, char* out) noexcept {
    const char16_t* in = text.data();
    const std::size_t n = text.size();
    const auto byteOf = [](char16_t unit) {
        return static_cast<char>(unit < 0x80 ? unit : Utf16ToAnsiByte(unit).value_or(kAnsiDefaultChar));
    };
    std::size_t i = 0;
#ifdef __SSE2__
    // ASCII, sixteen characters at a time; a group with any other goes one
    // by one.
    const __m128i high = _mm_set1_epi16(static_cast<short>(0xFF80));
    const __m128i zero = _mm_setzero_si128();
    for (; i + 16 <= n; i += 16) {
        const __m128i first = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + i));
        const __m128i second = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + i + 8));
        const __m128i beyond = _mm_and_si128(_mm_or_si128(first, second), high);
        if (_mm_movemask_epi8(_mm_cmpeq_epi16(beyond, zero)) != 0xFFFF) {
            for (std::size_t k = i; k < i + 16; ++k) out[k] = byteOf(in[k]);
            continue;
        }
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i), _mm_packus_epi16(first, second));
    }
#endif
    for (; i < n; ++i) out[i] = byteOf(in[i]);
}

void AppendFromAnsi(std::u16string& out, std::string_view bytes) {
    const std::size_t start = out.size();
    out.resize(start + bytes.size());
    WidenAnsi(bytes, out.data() + start);
}

std::u16string FromAnsi(std::string_view bytes) {
    std::u16string out;
    AppendFromAnsi(out, bytes);
    return out;
}

std::string ToAnsi(std::u16string_view text) {
    std::string out(text.size(), '\0');
    char* dst = out.data();
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t u = text[i];
        if (u < 0x80) {
            *dst++ = static_cast<char>(u);
            continue;
        }
        if (const auto byte = Utf16ToAnsiByte(u)) {
            *dst++ = static_cast<char>(*byte);
            continue;
        }
        // A surrogate pair is one character and gets one '?'.
        if (IsHighSurrogate(u) && i + 1 < text.size() && IsLowSurrogate(text[i + 1])) {
            ++i;
        }
        *dst++ = kAnsiDefaultChar;
    }
    out.resize(static_cast<std::size_t>(dst - out.data()));
    return out;
}

std::u16string ToUtf16(std::string_view bytes, CodePage page) {
    switch (page) {
        case CodePage::Ansi:
            return FromAnsi(bytes);
        case CodePage::Utf8:
            return FromUtf8(bytes);
    }
    return {};
}

std::string FromUtf16(std::u16string_view text, CodePage page) {
    switch (page) {
        case CodePage::Ansi:
            return ToAnsi(text);
        case CodePage::Utf8:
            return ToUtf8(text);
    }
    return {};
}

}  // namespace text
