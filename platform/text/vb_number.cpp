#include "platform/text/vb_number.h"

#include <locale.h>

#include <cmath>
#include <cstdlib>
#include <limits>
#include <string>

namespace text {
namespace {

bool IsDigit(char32_t c) { return c >= '0' && c <= '9'; }
bool IsExponent(char32_t c) { return c == 'e' || c == 'E' || c == 'd' || c == 'D'; }

// Reads a number's characters into ASCII ("D" exponents become "e") so the C
// library converts it, and says where the number stopped.
struct NumberScan {
    std::string ascii;
    std::size_t end = 0;  // index after the number
    bool has_digits = false;
};

// Scans [pos, text.size()) skipping the characters `skip` accepts.
template <class Char, class Skip>
NumberScan Scan(std::basic_string_view<Char> text, std::size_t pos, Skip skip) {
    NumberScan out;
    const auto at = [&](std::size_t i) -> char32_t {
        return i < text.size() ? static_cast<char32_t>(text[i]) : 0;
    };
    const auto next = [&](std::size_t i) {
        ++i;
        while (i < text.size() && skip(at(i))) ++i;
        return i;
    };
    std::size_t i = pos;
    while (i < text.size() && skip(at(i))) ++i;
    if (at(i) == '+' || at(i) == '-') {
        out.ascii.push_back(static_cast<char>(at(i)));
        i = next(i);
    }
    for (; IsDigit(at(i)); i = next(i)) {
        out.ascii.push_back(static_cast<char>(at(i)));
        out.has_digits = true;
    }
    if (at(i) == '.') {
        out.ascii.push_back('.');
        i = next(i);
        for (; IsDigit(at(i)); i = next(i)) {
            out.ascii.push_back(static_cast<char>(at(i)));
            out.has_digits = true;
        }
    }
    out.end = i;
    if (out.has_digits && IsExponent(at(i))) {
        std::string exponent = "e";
        std::size_t j = next(i);
        if (at(j) == '+' || at(j) == '-') {
            exponent.push_back(static_cast<char>(at(j)));
            j = next(j);
        }
        bool exponent_digits = false;
        for (; IsDigit(at(j)); j = next(j)) {
            exponent.push_back(static_cast<char>(at(j)));
            exponent_digits = true;
        }
        if (exponent_digits) {
            out.ascii += exponent;
            out.end = j;
        }
    }
    return out;
}

// strtod in the "C" locale: the program's locale may use "," as the point.
double CStrtod(const std::string& ascii) {
    static const locale_t c_locale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(0));
    return strtod_l(ascii.c_str(), nullptr, c_locale);
}

template <class Char>
double ValOf(std::basic_string_view<Char> text) {
    const NumberScan scan = Scan(text, 0, [](char32_t c) { return c == ' ' || c == '\t' || c == '\n'; });
    return scan.has_digits ? CStrtod(scan.ascii) : 0.0;
}

template <class Char>
std::optional<double> ToDoubleOf(std::basic_string_view<Char> text) {
    const auto blank = [](char32_t c) { return c == ' ' || c == '\t'; };
    std::size_t start = 0;
    while (start < text.size() && blank(static_cast<char32_t>(text[start]))) ++start;
    const NumberScan inner = Scan(text, start, [](char32_t) { return false; });
    std::size_t end = inner.end;
    while (end < text.size() && blank(static_cast<char32_t>(text[end]))) ++end;
    if (!inner.has_digits || end != text.size()) return std::nullopt;
    const double value = CStrtod(inner.ascii);
    if (std::isinf(value)) return std::nullopt;
    return value;
}

template <class Int>
std::optional<Int> RoundTo(double value) {
    if (std::isnan(value)) return std::nullopt;
    const double rounded = RoundHalfEven(value);
    if (rounded < static_cast<double>(std::numeric_limits<Int>::min()) ||
        rounded > static_cast<double>(std::numeric_limits<Int>::max())) {
        return std::nullopt;
    }
    return static_cast<Int>(rounded);
}

template <class Int, class Char>
std::optional<Int> RoundTextTo(std::basic_string_view<Char> text) {
    const std::optional<double> value = ToDoubleOf(text);
    return value ? RoundTo<Int>(*value) : std::nullopt;
}

}  // namespace

double Val(std::string_view text) { return ValOf(text); }
double Val(std::u16string_view text) { return ValOf(text); }
std::optional<double> ToDouble(std::string_view text) { return ToDoubleOf(text); }
std::optional<double> ToDouble(std::u16string_view text) { return ToDoubleOf(text); }

double RoundHalfEven(double value) {
    const double below = std::floor(value);
    const double fraction = value - below;
    if (fraction < 0.5) return below;
    if (fraction > 0.5) return below + 1.0;
    return std::fmod(below, 2.0) == 0.0 ? below : below + 1.0;
}

std::optional<int16_t> CInt(double value) { return RoundTo<int16_t>(value); }
std::optional<int32_t> CLng(double value) { return RoundTo<int32_t>(value); }

std::optional<int16_t> CInt(std::string_view text) { return RoundTextTo<int16_t>(text); }
std::optional<int16_t> CInt(std::u16string_view text) { return RoundTextTo<int16_t>(text); }
std::optional<int32_t> CLng(std::string_view text) { return RoundTextTo<int32_t>(text); }
std::optional<int32_t> CLng(std::u16string_view text) { return RoundTextTo<int32_t>(text); }

}  // namespace text
