#pragma once
// Numbers kept as text in the settings store and the INI files, converted as
// the program's integer conversion does (CInt, CLng): blanks around the number
// allowed, a fraction rounded to the nearest whole number with halves to the
// even one ("2.5" is 2, "3.5" is 4).

#include <QString>
#include <cstdint>
#include <optional>

// The whole number the text stands for; nullopt when it is no number or lies
// beyond the 64-bit range.
std::optional<int64_t> ParseStoredNumber(const QString& text);

// The number as a 16-bit or 32-bit integer; fallback when the text is no
// number or lies outside the type's range.
int16_t StoredInteger(const QString& text, int16_t fallback);
int32_t StoredLong(const QString& text, int32_t fallback);
