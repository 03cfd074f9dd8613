#include "platform/text/vb_string.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>

namespace text {
namespace {

struct TrimCase {
  const char* name;
  std::string text;
  std::string left;
  std::string right;
  std::string both;

  friend void PrintTo(const TrimCase& c, std::ostream* os) { *os << c.name; }
};

class TrimTable : public testing::TestWithParam<TrimCase> {};

TEST_P(TrimTable, DropsSpacesOnly) {
  const TrimCase& c = GetParam();
  EXPECT_EQ(LTrim(c.text), c.left);
  EXPECT_EQ(RTrim(c.text), c.right);
  EXPECT_EQ(Trim(c.text), c.both);
  const std::u16string wide(c.text.begin(), c.text.end());
  EXPECT_EQ(Trim(wide), std::u16string(c.both.begin(), c.both.end()));
}

INSTANTIATE_TEST_SUITE_P(
    Table, TrimTable,
    testing::Values(TrimCase{"Empty", "", "", "", ""}, TrimCase{"OnlySpaces", "   ", "", "", ""},
                    TrimCase{"Both", "  a b  ", "a b  ", "  a b", "a b"},
                    TrimCase{"TabsStay", "\t a \t", "\t a \t", "\t a \t", "\t a \t"},
                    TrimCase{"LineEndsStay", " a\r\n", "a\r\n", " a\r\n", "a\r\n"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace text
