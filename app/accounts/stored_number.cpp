#include "app/accounts/stored_number.h"

#include <limits>

namespace {

template <typename T>
T InRangeOr(std::optional<int64_t> value, T fallback) {
    if (!value || *value < std::numeric_limits<T>::min() || *value > std::numeric_limits<T>::max())
        return fallback;
    return static_cast<T>(*value);
}

}  // namespace

std::optional<int64_t> ParseStoredNumber(const QString& text) {
    const QString t = text.trimmed();
    qsizetype i = 0;
    bool negative = false;
    if (i < t.size() && (t[i] == u'+' || t[i] == u'-')) negative = t[i++] == u'-';
    constexpr int64_t kLimit = std::numeric_limits<int64_t>::max() / 10 - 1;
    int64_t whole = 0;
    qsizetype digits = 0;
    for (; i < t.size() && t[i].isDigit() && t[i].unicode() < 128; ++i, ++digits) {
        if (whole > kLimit) return std::nullopt;
        whole = whole * 10 + (t[i].unicode() - '0');
    }
    // The fraction decides the rounding: above one half rounds up, exactly one
    // half rounds to the even neighbour.
    int firstFraction = -1;
    bool restNonZero = false;
    if (i < t.size() && t[i] == u'.') {
        for (++i; i < t.size() && t[i].isDigit() && t[i].unicode() < 128; ++i, ++digits) {
            const int d = t[i].unicode() - '0';
            if (firstFraction < 0) firstFraction = d;
            else if (d != 0) restNonZero = true;
        }
    }
    if (digits == 0 || i != t.size()) return std::nullopt;
    if (firstFraction > 5 || (firstFraction == 5 && (restNonZero || whole % 2 == 1))) ++whole;
    return negative ? -whole : whole;
}

int16_t StoredInteger(const QString& text, int16_t fallback) {
    return InRangeOr<int16_t>(ParseStoredNumber(text), fallback);
}

int32_t StoredLong(const QString& text, int32_t fallback) {
    return InRangeOr<int32_t>(ParseStoredNumber(text), fallback);
}
