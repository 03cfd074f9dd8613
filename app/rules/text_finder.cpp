#include "app/rules/text_finder.h"

#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

bool SameFrom(const char16_t* at, const char16_t* p, qsizetype m) {
    return std::memcmp(at, p, static_cast<size_t>(m) * sizeof(char16_t)) == 0;
}

}  // namespace

qsizetype TextFinder::IndexIn(QStringView hay, qsizetype from) const {
    const qsizetype m = needle_.size(), n = hay.size();
    if (from < 0) from = 0;
    if (m == 0) return from < n ? from : -1;
    const char16_t* h = hay.utf16();
    const char16_t* p = QStringView(needle_).utf16();
    const char16_t first = p[0], last = p[m - 1];
    qsizetype i = from;
#if defined(__SSE2__)
    const __m128i firsts = _mm_set1_epi16(static_cast<short>(first));
    const __m128i lasts = _mm_set1_epi16(static_cast<short>(last));
    // Positions i to i + 7 whose first and last characters both fit.
    const auto candidates = [&](qsizetype at) {
        const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(h + at));
        const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(h + at + m - 1));
        return _mm_and_si128(_mm_cmpeq_epi16(a, firsts), _mm_cmpeq_epi16(b, lasts));
    };
    const auto verify = [&](qsizetype base, unsigned mask) -> qsizetype {
        for (; mask != 0; mask &= mask - 1, mask &= mask - 1) {  // two bits per character
            const qsizetype at = base + __builtin_ctz(mask) / 2;
            if (SameFrom(h + at, p, m)) return at;
        }
        return -1;
    };
    for (; i + m - 1 + 16 <= n; i += 16) {
        const __m128i c0 = candidates(i), c1 = candidates(i + 8);
        if (_mm_movemask_epi8(_mm_or_si128(c0, c1)) == 0) continue;
        if (const qsizetype at = verify(i, static_cast<unsigned>(_mm_movemask_epi8(c0))); at >= 0) return at;
        if (const qsizetype at = verify(i + 8, static_cast<unsigned>(_mm_movemask_epi8(c1))); at >= 0) return at;
    }
#endif
    for (; i + m <= n; ++i)
        if (h[i] == first && h[i + m - 1] == last && SameFrom(h + i, p, m)) return i;
    return -1;
}
