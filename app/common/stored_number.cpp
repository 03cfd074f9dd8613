#include "app/common/stored_number.h"

#include <cmath>

#include "platform/text/vb_number.h"

namespace {

std::u16string_view View(const QString& text) {
    return {reinterpret_cast<const char16_t*>(text.utf16()), static_cast<size_t>(text.size())};
}

}  // namespace

std::optional<int64_t> ParseStoredNumber(const QString& text) {
    const auto value = text::ToDouble(View(text));
    if (!value) return std::nullopt;
    const double rounded = text::RoundHalfEven(*value);
    // 2^63 is the first double beyond the 64-bit range.
    if (!(rounded >= -9223372036854775808.0 && rounded < 9223372036854775808.0)) return std::nullopt;
    return static_cast<int64_t>(rounded);
}

int16_t StoredInteger(const QString& text, int16_t fallback) {
    return text::CInt(View(text)).value_or(fallback);
}

int32_t StoredLong(const QString& text, int32_t fallback) {
    return text::CLng(View(text)).value_or(fallback);
}
