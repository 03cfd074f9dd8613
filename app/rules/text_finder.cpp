#include "app/rules/text_finder.h"

#include <atomic>
#include <cstring>

#if defined(__SSE2__)
#include <immintrin.h>
#endif

namespace {

using Scan = qsizetype (*)(const char16_t* h, qsizetype n, const char16_t* p, qsizetype m, qsizetype from);

bool SameFrom(const char16_t* at, const char16_t* p, qsizetype m) {
    return std::memcmp(at, p, static_cast<size_t>(m) * sizeof(char16_t)) == 0;
}

qsizetype ScanOneByOne(const char16_t* h, qsizetype n, const char16_t* p, qsizetype m, qsizetype i) {
    for (; i + m <= n; ++i)
        if (h[i] == p[0] && h[i + m - 1] == p[m - 1] && SameFrom(h + i, p, m)) return i;
    return -1;
}

#if defined(__SSE2__)
// The first true candidate of a byte mask that has two bits per character.
qsizetype Verify(const char16_t* h, const char16_t* p, qsizetype m, qsizetype base, unsigned mask) {
    for (; mask != 0; mask &= mask - 1, mask &= mask - 1) {
        const qsizetype at = base + __builtin_ctz(mask) / 2;
        if (SameFrom(h + at, p, m)) return at;
    }
    return -1;
}

// Positions whose first and last characters both fit, sixteen at a time.
qsizetype ScanSse2(const char16_t* h, qsizetype n, const char16_t* p, qsizetype m, qsizetype i) {
    const __m128i firsts = _mm_set1_epi16(static_cast<short>(p[0]));
    const __m128i lasts = _mm_set1_epi16(static_cast<short>(p[m - 1]));
    const auto candidates = [&](qsizetype at) {
        const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(h + at));
        const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(h + at + m - 1));
        return _mm_and_si128(_mm_cmpeq_epi16(a, firsts), _mm_cmpeq_epi16(b, lasts));
    };
    for (; i + m - 1 + 16 <= n; i += 16) {
        const __m128i c0 = candidates(i), c1 = candidates(i + 8);
        if (_mm_movemask_epi8(_mm_or_si128(c0, c1)) == 0) continue;
        if (const qsizetype at = Verify(h, p, m, i, static_cast<unsigned>(_mm_movemask_epi8(c0))); at >= 0)
            return at;
        if (const qsizetype at = Verify(h, p, m, i + 8, static_cast<unsigned>(_mm_movemask_epi8(c1)));
            at >= 0)
            return at;
    }
    return ScanOneByOne(h, n, p, m, i);
}

// The same with the wider registers most machines have: twice the pace.
__attribute__((target("avx2"))) qsizetype ScanAvx2(const char16_t* h, qsizetype n, const char16_t* p,
                                                   qsizetype m, qsizetype i) {
    const __m256i firsts = _mm256_set1_epi16(static_cast<short>(p[0]));
    const __m256i lasts = _mm256_set1_epi16(static_cast<short>(p[m - 1]));
    for (; i + m - 1 + 16 <= n; i += 16) {
        const __m256i a = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(h + i));
        const __m256i b = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(h + i + m - 1));
        const auto mask = static_cast<unsigned>(_mm256_movemask_epi8(
            _mm256_and_si256(_mm256_cmpeq_epi16(a, firsts), _mm256_cmpeq_epi16(b, lasts))));
        if (mask == 0) continue;
        if (const qsizetype at = Verify(h, p, m, i, mask); at >= 0) return at;
    }
    return ScanOneByOne(h, n, p, m, i);
}

bool HasAvx2() {
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx2");
}

std::atomic<Scan> gScan{nullptr};

Scan BestScan() {
    Scan scan = gScan.load(std::memory_order_relaxed);
    if (!scan) {
        scan = HasAvx2() ? ScanAvx2 : ScanSse2;
        gScan.store(scan, std::memory_order_relaxed);
    }
    return scan;
}
#else
Scan BestScan() { return ScanOneByOne; }
#endif

}  // namespace

qsizetype TextFinder::IndexIn(QStringView hay, qsizetype from) const {
    const qsizetype m = needle_.size(), n = hay.size();
    if (from < 0) from = 0;
    if (m == 0) return from < n ? from : -1;
    return BestScan()(hay.utf16(), n, QStringView(needle_).utf16(), m, from);
}

void TextFinder::UseWideVectors(bool on) {
#if defined(__SSE2__)
    gScan.store(on && HasAvx2() ? ScanAvx2 : ScanSse2, std::memory_order_relaxed);
#else
    (void)on;
#endif
}

QString UpperCased(const QString& text) {
    const char16_t* p = QStringView(text).utf16();
    const qsizetype n = text.size();
    QString upper(n, Qt::Uninitialized);
    char16_t* out = reinterpret_cast<char16_t*>(upper.data());
    qsizetype i = 0;
#if defined(__SSE2__)
    const __m128i nonAscii = _mm_set1_epi16(static_cast<short>(0xFF80));
    const __m128i zero = _mm_setzero_si128();
    const __m128i beforeA = _mm_set1_epi16('a' - 1), afterZ = _mm_set1_epi16('z' + 1);
    const __m128i caseBit = _mm_set1_epi16(0x20);
    for (; i + 8 <= n; i += 8) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i));
        if (_mm_movemask_epi8(_mm_cmpeq_epi16(_mm_and_si128(v, nonAscii), zero)) != 0xFFFF)
            return text.toUpper();
        // Below 0x80 the signed comparisons are the plain ones.
        const __m128i lower = _mm_and_si128(_mm_cmpgt_epi16(v, beforeA), _mm_cmplt_epi16(v, afterZ));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i),
                         _mm_sub_epi16(v, _mm_and_si128(lower, caseBit)));
    }
#endif
    for (; i < n; ++i) {
        if (p[i] >= 0x80) return text.toUpper();
        out[i] = p[i] >= u'a' && p[i] <= u'z' ? char16_t(p[i] - 0x20) : p[i];
    }
    return upper;
}
