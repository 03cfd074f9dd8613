// The byte queue's capacity and line rules, which the socket and the message
// objects rely on.
#include "component/transport/buffer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace component::transport;

namespace {

struct ReserveCase {
    const char* name;
    std::vector<std::uint32_t> reservations;  // made in order on a new buffer
    bool lastSucceeds;
    std::uint32_t capacityAfter;
};

void PrintTo(const ReserveCase& c, std::ostream* os) { *os << c.name; }

class BufferReserve : public testing::TestWithParam<ReserveCase> {};

TEST_P(BufferReserve, FollowsTheCapacityRules) {
    const auto& c = GetParam();
    Buffer b;
    std::uint8_t* last = nullptr;
    for (auto n : c.reservations) last = b.Reserve(n);
    EXPECT_EQ(last != nullptr, c.lastSucceeds);
    EXPECT_EQ(b.capacity(), c.capacityAfter);
    EXPECT_LT(b.writeOffset(), b.capacity());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, BufferReserve,
    testing::Values(ReserveCase{"FitsInPlaceBelowCapacity", {4095}, true, 4096},
                    ReserveCase{"GrowsByRequestPlusSlack", {4096}, true, 4096 + 4096 + 32768},
                    ReserveCase{"OneMebibyteAtOnceIsAllowed", {1048576}, true, 4096 + 1048576 + 32768},
                    ReserveCase{"MoreThanOneMebibyteAtOnceFails", {1048577}, false, 4096},
                    ReserveCase{"CapacityStopsAtTenMebibytes",
                                {1048576, 1048576, 1048576, 1048576, 1048576, 1048576, 1048576, 1048576,
                                 1048576, 1048576},
                                false,
                                Buffer::kMaxCapacity},
                    ReserveCase{
                        "GrowthAtLeastDoubles", {4095, 40000, 40000}, true, 2 * (4096 + 40000 + 32768)}),
    [](const auto& info) { return info.param.name; });

TEST(Buffer, ReservationStartsAtZeroAgainOnceEverythingIsConsumed) {
    Buffer b;
    ASSERT_TRUE(b.AppendString("abcdef"));
    b.Consume(6);
    EXPECT_EQ(b.GetLength(), 0u);
    std::uint8_t* at = b.Reserve(3);
    EXPECT_EQ(b.readOffset(), 0u);
    EXPECT_EQ(b.writeOffset(), 3u);
    EXPECT_EQ(at, b.GetData());
}

TEST(Buffer, CompactsInsteadOfGrowingWhenMoreThanHalfIsRead) {
    Buffer b;
    std::string filler(3000, 'a');
    ASSERT_TRUE(b.AppendString(filler));
    b.Consume(2500);
    ASSERT_TRUE(b.AppendString(std::string(2000, 'b')));
    EXPECT_EQ(b.capacity(), 4096u);
    EXPECT_EQ(b.readOffset(), 0u);
    EXPECT_EQ(b.GetLength(), 2500u);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(b.GetData()), 500), std::string(500, 'a'));
}

TEST(Buffer, BytesAlreadyReadDoNotCountAgainstTheCap) {
    Buffer b;
    const std::vector<std::uint8_t> mebibyte(1048576, 'x');
    for (int i = 0; i < 9; ++i)
        ASSERT_TRUE(b.Append(mebibyte.data(), static_cast<std::uint32_t>(mebibyte.size())));
    // Less than half is read, yet the unread rest plus another mebibyte fits.
    b.Consume(4 * 1048576);
    EXPECT_TRUE(b.Append(mebibyte.data(), static_cast<std::uint32_t>(mebibyte.size())));
    EXPECT_EQ(b.GetLength(), 6u * 1048576);
    EXPECT_LE(b.capacity(), Buffer::kMaxCapacity);
}

// The search for LF resumes where the last one stopped; whatever the
// pieces, every line comes out whole, and bytes taken back are searched again.
TEST(Buffer, LinesArrivingInPiecesComeOutWhole) {
    const std::string stream = "first\r\nsecond line\n\nlast\r\n";
    for (const std::size_t piece : {std::size_t{1}, std::size_t{2}, std::size_t{5}, stream.size()}) {
        SCOPED_TRACE(piece);
        Buffer b;
        std::vector<std::string> lines;
        for (std::size_t at = 0; at < stream.size(); at += piece) {
            ASSERT_TRUE(b.AppendString(std::string_view(stream).substr(at, piece)));
            std::uint32_t length = 0;
            while (const char* line = b.GetLine(&length)) lines.emplace_back(line, length);
        }
        EXPECT_EQ(lines, (std::vector<std::string>{"first", "second line", "", "last"}));
    }
    Buffer b;
    ASSERT_TRUE(b.AppendString("abc\n"));
    b.Unwrite(1);
    EXPECT_EQ(b.GetLine(), nullptr);
    ASSERT_TRUE(b.AppendString("d\n"));
    EXPECT_STREQ(b.GetLine(), "abcd");
}

TEST(Buffer, FailedAppendChangesNothing) {
    Buffer b;
    ASSERT_TRUE(b.AppendString("kept"));
    std::vector<std::uint8_t> big(1048577);
    EXPECT_FALSE(b.Append(big.data(), static_cast<std::uint32_t>(big.size())));
    EXPECT_EQ(b.GetLength(), 4u);
}

TEST(Buffer, ConsumeAndUnwriteIgnoreCountsBeyondTheUnreadBytes) {
    Buffer b;
    ASSERT_TRUE(b.AppendString("abc"));
    b.Consume(4);
    b.Unwrite(4);
    EXPECT_EQ(b.GetLength(), 3u);
    b.Unwrite(1);
    b.Consume(1);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(b.GetData()), b.GetLength()), "b");
}

struct LineCase {
    const char* name;
    std::string input;
    std::vector<std::string> lines;  // complete lines GetLine returns, in order
    std::string left;                // unread bytes afterwards
};

void PrintTo(const LineCase& c, std::ostream* os) { *os << c.name; }

class BufferGetLine : public testing::TestWithParam<LineCase> {};

TEST_P(BufferGetLine, SplitsAtLineFeedDroppingOneCarriageReturn) {
    const auto& c = GetParam();
    // Fed one byte at a time: a scanner must not assume a line comes whole.
    Buffer b;
    std::vector<std::string> got;
    for (char ch : c.input) {
        ASSERT_TRUE(b.Append(&ch, 1));
        std::uint32_t length = 0;
        while (char* line = b.GetLine(&length)) got.emplace_back(line, length);
    }
    EXPECT_EQ(got, c.lines);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(b.GetData()), b.GetLength()), c.left);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, BufferGetLine,
    testing::Values(LineCase{"CrCrLfKeepsOneCr", "ab\r\r\n", {"ab\r"}, ""},
                    LineCase{"NoLineFeedKeepsTheBytes", "ab", {}, "ab"},
                    LineCase{"BareLineFeed", "one\ntwo\r\n", {"one", "two"}, ""},
                    LineCase{"EmptyLines", "\r\n\n", {"", ""}, ""},
                    LineCase{"LoneCrIsData", "a\rb\n", {"a\rb"}, ""},
                    LineCase{
                        "NulInsideKeepsTrueLength", std::string("a\0b\r\n", 5), {std::string("a\0b", 3)}, ""},
                    LineCase{"PartialTailStays", "+OK\r\n.\r\n+O", {"+OK", "."}, "+O"}),
    [](const auto& info) { return info.param.name; });

TEST(Buffer, LineIsZeroTerminatedInPlace) {
    Buffer b;
    ASSERT_TRUE(b.AppendString("+OK hi\r\nrest"));
    char* line = b.GetLine();
    ASSERT_NE(line, nullptr);
    EXPECT_STREQ(line, "+OK hi");
    EXPECT_EQ(b.GetLength(), 4u);
}

}  // namespace
