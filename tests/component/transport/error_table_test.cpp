// The error table is part of the binary contract: texts byte for byte.
#include "component/transport/error_table.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

using namespace component::transport;

namespace {

struct TextCase {
    friend void PrintTo(const TextCase& c, std::ostream* os) { *os << c.code; }
    std::int32_t code;
    const char* text;
};

class ErrorText : public testing::TestWithParam<TextCase> {};

TEST_P(ErrorText, IsTheTableText) { EXPECT_STREQ(LookupErrorText(GetParam().code), GetParam().text); }

INSTANTIATE_TEST_SUITE_P(
    Cases, ErrorText,
    testing::Values(TextCase{0, "No error."}, TextCase{380, "Invalid Property Value."},
                    TextCase{10060, "The current connection has timeout."},
                    TextCase{10065, "Remote host is currently unreachable. "},
                    TextCase{11001, "Host not found."},
                    TextCase{8, "Not enough memory is available to complete this operation."},
                    TextCase{30009, "Component busy."},
                    TextCase{30019, "Invalid at this state, you must mark messages while you're connected."},
                    TextCase{30022, "Server does not APOP authentication."},
                    TextCase{60000, "SSL handshake error."}, TextCase{12345, "Unrecognized error"},
                    TextCase{30024, "Unrecognized error"}, TextCase{50001, "Unrecognized error"}));

TEST(ErrorTable, HasEveryCodeOnceInTheGivenOrder) {
    const auto table = ErrorTable();
    ASSERT_EQ(table.size(), 66u);
    std::set<std::int32_t> seen;
    for (const auto& e : table) EXPECT_TRUE(seen.insert(e.code).second) << e.code;
    EXPECT_EQ(table.front().code, 0);
    EXPECT_EQ(table[30].code, 8);  // 8 follows the socket codes
    EXPECT_EQ(table.back().code, 60000);
}

}  // namespace
