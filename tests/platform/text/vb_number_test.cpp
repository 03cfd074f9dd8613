#include "platform/text/vb_number.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <optional>
#include <ostream>
#include <string>

namespace text {
namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();

struct ValCase {
    const char* name;
    std::string text;
    double value;

    friend void PrintTo(const ValCase& c, std::ostream* os) { *os << c.name; }
};

class ValTable : public testing::TestWithParam<ValCase> {};

TEST_P(ValTable, ReadsTheLeadingNumber) {
    EXPECT_EQ(Val(GetParam().text), GetParam().value);
    // The same text as UTF-16, as a text box gives it.
    const std::u16string wide(GetParam().text.begin(), GetParam().text.end());
    EXPECT_EQ(Val(wide), GetParam().value);
}

INSTANTIATE_TEST_SUITE_P(
    Table, ValTable,
    testing::Values(ValCase{"Empty", "", 0}, ValCase{"Whole", "30", 30}, ValCase{"Blanks", "  12  ", 12},
                    ValCase{"TrailingLetters", "12abc", 12}, ValCase{"BlanksInside", "1 2 3", 123},
                    ValCase{"TabsAndLineFeeds", "\t-\n5", -5}, ValCase{"CarriageReturnStops", "\r5", 0},
                    ValCase{"LoneMinus", "-", 0}, ValCase{"Plus", "+7", 7}, ValCase{"DoubleSign", "--1", 0},
                    ValCase{"Letters", "abc", 0}, ValCase{"SecondPointStops", "1.5.3", 1.5},
                    ValCase{"LeadingPoint", ".5", 0.5}, ValCase{"TrailingPoint", "5.", 5},
                    ValCase{"CommaStops", "1,000", 1}, ValCase{"Exponent", "1e3", 1000},
                    ValCase{"ExponentD", "1D2", 100}, ValCase{"NegativeExponent", "25E-1", 2.5},
                    ValCase{"ExponentWithoutDigits", "7e", 7}, ValCase{"ExponentSignOnly", "7e+", 7},
                    ValCase{"ExponentWithoutMantissa", "e5", 0}, ValCase{"HexNotRead", "0x10", 0},
                    ValCase{"Huge", "1e400", kInf}, ValCase{"HugeNegative", "-1e400", -kInf},
                    ValCase{"Tiny", "1e-400", 0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Val, StopsAtCharactersOutsideAscii) {
    EXPECT_EQ(Val(u"12\u00BD"), 12);
    EXPECT_EQ(Val(u"\u00A012"), 0);  // a no-break space is no blank
    EXPECT_EQ(Val(u"\uFF11"), 0);    // nor is a full-width digit a digit
}

struct ToDoubleCase {
    const char* name;
    std::string text;
    std::optional<double> value;

    friend void PrintTo(const ToDoubleCase& c, std::ostream* os) { *os << c.name; }
};

class ToDoubleTable : public testing::TestWithParam<ToDoubleCase> {};

TEST_P(ToDoubleTable, TakesOnlyWholeNumbers) { EXPECT_EQ(ToDouble(GetParam().text), GetParam().value); }

INSTANTIATE_TEST_SUITE_P(
    Table, ToDoubleTable,
    testing::Values(
        ToDoubleCase{"Whole", "995", 995.0}, ToDoubleCase{"Surrounded", " 995 ", 995.0},
        ToDoubleCase{"Tab", "\t12", 12.0}, ToDoubleCase{"Fraction", "-0.5", -0.5},
        ToDoubleCase{"Exponent", "1e3", 1000.0}, ToDoubleCase{"TrailingLetters", "12abc", std::nullopt},
        ToDoubleCase{"BlankInside", "1 2", std::nullopt}, ToDoubleCase{"Comma", "99,5", std::nullopt},
        ToDoubleCase{"Empty", "", std::nullopt}, ToDoubleCase{"Blank", "  ", std::nullopt},
        ToDoubleCase{"LoneMinus", "-", std::nullopt}, ToDoubleCase{"LonePoint", ".", std::nullopt},
        ToDoubleCase{"LineFeed", "12\n", std::nullopt}, ToDoubleCase{"Huge", "1e400", std::nullopt}),
    [](const auto& info) { return std::string(info.param.name); });

struct RoundCase {
    const char* name;
    double value;
    double rounded;

    friend void PrintTo(const RoundCase& c, std::ostream* os) { *os << c.name; }
};

class RoundHalfEvenTable : public testing::TestWithParam<RoundCase> {};

TEST_P(RoundHalfEvenTable, SendsHalvesToEven) {
    EXPECT_EQ(RoundHalfEven(GetParam().value), GetParam().rounded);
}

INSTANTIATE_TEST_SUITE_P(
    Table, RoundHalfEvenTable,
    testing::Values(RoundCase{"Zero", 0.0, 0.0}, RoundCase{"HalfToZero", 0.5, 0.0},
                    RoundCase{"OneAndHalf", 1.5, 2.0}, RoundCase{"TwoAndHalf", 2.5, 2.0},
                    RoundCase{"ThreeAndHalf", 3.5, 4.0}, RoundCase{"BelowHalf", 2.4999, 2.0},
                    RoundCase{"AboveHalf", 2.5001, 3.0}, RoundCase{"NegativeHalf", -0.5, 0.0},
                    RoundCase{"NegativeOneAndHalf", -1.5, -2.0}, RoundCase{"NegativeTwoAndHalf", -2.5, -2.0},
                    RoundCase{"NegativeAboveHalf", -2.6, -3.0}, RoundCase{"Large", 1e16, 1e16},
                    // Message sizes in KB: bytes / 1000.
                    RoundCase{"Kb1500", 1500 / 1000.0, 2.0}, RoundCase{"Kb2500", 2500 / 1000.0, 2.0},
                    RoundCase{"Kb3500", 3500 / 1000.0, 4.0}, RoundCase{"Kb499", 499 / 1000.0, 0.0},
                    RoundCase{"Kb500", 500 / 1000.0, 0.0}, RoundCase{"Kb1501", 1501 / 1000.0, 2.0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(RoundHalfEven, KeepsInfinity) { EXPECT_EQ(RoundHalfEven(kInf), kInf); }

struct CIntCase {
    const char* name;
    double value;
    std::optional<int16_t> as_int;
    std::optional<int32_t> as_long;

    friend void PrintTo(const CIntCase& c, std::ostream* os) { *os << c.name; }
};

class CIntTable : public testing::TestWithParam<CIntCase> {};

TEST_P(CIntTable, RoundsAndChecksTheRange) {
    EXPECT_EQ(CInt(GetParam().value), GetParam().as_int);
    EXPECT_EQ(CLng(GetParam().value), GetParam().as_long);
}

INSTANTIATE_TEST_SUITE_P(
    Table, CIntTable,
    testing::Values(CIntCase{"TwoAndHalf", 2.5, 2, 2}, CIntCase{"ThreeAndHalf", 3.5, 4, 4},
                    CIntCase{"IntMax", 32767.4, 32767, 32767},
                    CIntCase{"IntMaxRoundsOver", 32767.5, std::nullopt, 32768},
                    CIntCase{"IntMinHalfToEven", -32768.5, -32768, -32768},
                    CIntCase{"BelowIntMin", -32769.0, std::nullopt, -32769},
                    CIntCase{"LongMaxRoundsOver", 2147483647.5, std::nullopt, std::nullopt},
                    CIntCase{"LongMaxHalfToEven", 2147483646.5, std::nullopt, 2147483646},
                    CIntCase{"LongMinHalfToEven", -2147483648.5, std::nullopt, -2147483648},
                    CIntCase{"NotANumber", std::nan(""), std::nullopt, std::nullopt},
                    CIntCase{"Infinity", kInf, std::nullopt, std::nullopt}),
    [](const auto& info) { return std::string(info.param.name); });

struct CIntTextCase {
    const char* name;
    std::u16string text;
    std::optional<int16_t> as_int;
    std::optional<int32_t> as_long;

    friend void PrintTo(const CIntTextCase& c, std::ostream* os) { *os << c.name; }
};

class CIntTextTable : public testing::TestWithParam<CIntTextCase> {};

TEST_P(CIntTextTable, ConvertsNumbersAndRefusesTheRest) {
    const CIntTextCase& c = GetParam();
    EXPECT_EQ(CInt(c.text), c.as_int);
    EXPECT_EQ(CLng(c.text), c.as_long);
    const std::string narrow(c.text.begin(), c.text.end());
    EXPECT_EQ(CInt(narrow), c.as_int);
    EXPECT_EQ(CLng(narrow), c.as_long);
}

INSTANTIATE_TEST_SUITE_P(
    Table, CIntTextTable,
    testing::Values(CIntTextCase{"Port", u"995", 995, 995}, CIntTextCase{"PortWithBlank", u" 995", 995, 995},
                    CIntTextCase{"HalfToEven", u"2.5", 2, 2}, CIntTextCase{"HalfToEvenUp", u"3.5", 4, 4},
                    CIntTextCase{"Negative", u"-32768", -32768, -32768},
                    CIntTextCase{"TooBigForInt", u"40000", std::nullopt, 40000},
                    CIntTextCase{"Empty", u"", std::nullopt, std::nullopt},
                    CIntTextCase{"Letters", u"abc", std::nullopt, std::nullopt},
                    CIntTextCase{"Comma", u"1,100", std::nullopt, std::nullopt},
                    CIntTextCase{"TrailingLetters", u"110x", std::nullopt, std::nullopt}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace text
