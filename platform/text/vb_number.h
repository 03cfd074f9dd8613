// VB's numbers from text (Val, and the coercion behind CInt/CLng/CDbl) and
// its rounding. Only "." is a decimal point and no thousands separators are
// read, whatever the locale, so stored settings read the same everywhere.
// The "&H" and "&O" forms of VB are not read (the program never writes them).
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace text {

// Val: blanks, tabs and line feeds anywhere are dropped, then the longest
// leading number is read (sign, digits, ".", digits, exponent with E or D);
// no number gives 0 ("12abc" 12, "1 000" 1000, "-" 0). A number too large
// for a double gives plus or minus infinity.
double Val(std::string_view text);
double Val(std::u16string_view text);

// The text as a number (CDbl): blanks and tabs may surround it, but it must
// be a number as a whole ("12abc", "", "-" give none); too large gives none.
std::optional<double> ToDouble(std::string_view text);
std::optional<double> ToDouble(std::u16string_view text);

// Round to the nearest whole number, a half to the even neighbour (banker's
// rounding: 0.5 -> 0, 1.5 -> 2, 2.5 -> 2, -2.5 -> -2), as VB's CInt, CLng
// and Round do.
double RoundHalfEven(double value);

// CInt / CLng: rounded half to even; none for NaN or when the rounded value
// lies outside the type (VB's Overflow), or for text that is no number
// (VB's Type mismatch).
std::optional<int16_t> CInt(double value);
std::optional<int32_t> CLng(double value);
std::optional<int16_t> CInt(std::string_view text);
std::optional<int16_t> CInt(std::u16string_view text);
std::optional<int32_t> CLng(std::string_view text);
std::optional<int32_t> CLng(std::u16string_view text);

}  // namespace text
