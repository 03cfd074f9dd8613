#include "app/common/stored_number.h"

#include <gtest/gtest.h>

namespace {

struct NumberCase {
    const char* name;
    const char* text;
    std::optional<int64_t> expected;
};

void PrintTo(const NumberCase& c, std::ostream* os) { *os << c.name << " \"" << c.text << '"'; }

class StoredNumberParse : public testing::TestWithParam<NumberCase> {};

TEST_P(StoredNumberParse, ConvertsLikeTheProgramsIntegerConversion) {
    EXPECT_EQ(ParseStoredNumber(QString::fromUtf8(GetParam().text)), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, StoredNumberParse,
    testing::Values(NumberCase{"Blanks", "  42 ", 42}, NumberCase{"HalfToEven", "2.5", 2},
                    NumberCase{"BeyondSixteenBits", "40000", 40000},
                    NumberCase{"BeyondThirtyTwoBits", "-5000000000", -5000000000},
                    NumberCase{"BeyondSixtyFourBits", "99999999999999999999999", std::nullopt},
                    NumberCase{"Trailing", "12abc", std::nullopt}, NumberCase{"Empty", "", std::nullopt}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(StoredNumber, OutOfRangeOrNoNumberTakesTheFallback) {
    EXPECT_EQ(StoredInteger("32767", 1), 32767);
    EXPECT_EQ(StoredInteger("32768", 1), 1);
    EXPECT_EQ(StoredInteger("-32768", 1), -32768);
    EXPECT_EQ(StoredInteger("x", 5), 5);
    EXPECT_EQ(StoredLong("2147483648", 9), 9);
    EXPECT_EQ(StoredLong("-2147483648", 9), INT32_MIN);
}

}  // namespace
