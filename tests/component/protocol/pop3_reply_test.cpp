// The session's line rules: reply status, greeting time stamp, scan lines,
// unstuffing and the APOP digest.
#include "component/protocol/pop3_reply.h"

#include <gtest/gtest.h>

#include <string>

using namespace component::protocol;

namespace {

struct StatusCase {
    const char* name;
    std::string line;
    bool positive;
    bool negative;
    std::string text;
};

void PrintTo(const StatusCase& c, std::ostream* os) { *os << c.name; }

class ReplyStatus : public testing::TestWithParam<StatusCase> {};

TEST_P(ReplyStatus, IsClassifiedByItsFirstBytes) {
    const auto& c = GetParam();
    EXPECT_EQ(IsPositiveReply(c.line), c.positive);
    EXPECT_EQ(IsNegativeReply(c.line), c.negative);
    EXPECT_EQ(ReplyText(c.line), c.text);
}

INSTANTIATE_TEST_SUITE_P(Cases, ReplyStatus,
                         testing::Values(StatusCase{"PlusOk", "+OK", true, false, ""},
                                         StatusCase{"PlusOkWithText", "+OK 2 messages", true, false, ""},
                                         StatusCase{"ErrWithText", "-ERR no such message", false, true,
                                                    "no such message"},
                                         StatusCase{"ErrAlone", "-ERR", false, true, ""},
                                         StatusCase{"TooShort", "+O", false, false, ""},
                                         StatusCase{"LowerCase", "+ok", false, false, ""},
                                         StatusCase{"Garbage", "* OK IMAP4 ready", false, false, ""},
                                         StatusCase{"Empty", "", false, false, ""}),
                         [](const auto& info) { return info.param.name; });

struct StampCase {
    const char* name;
    std::string greeting;
    std::string stamp;
};

void PrintTo(const StampCase& c, std::ostream* os) { *os << c.name; }

class ApopTimestamp : public testing::TestWithParam<StampCase> {};

TEST_P(ApopTimestamp, IsTheFirstAngleBracketPair) {
    EXPECT_EQ(FindApopTimestamp(GetParam().greeting), GetParam().stamp);
}

INSTANTIATE_TEST_SUITE_P(Cases, ApopTimestamp,
                         testing::Values(StampCase{"Rfc1939",
                                                   "+OK POP3 server ready <1896.697170952@dbc.mtview.ca.us>",
                                                   "<1896.697170952@dbc.mtview.ca.us>"},
                                         StampCase{"NoStamp", "+OK ready", ""},
                                         StampCase{"OpenOnly", "+OK <abc", ""},
                                         StampCase{"CloseBeforeOpen", "+OK srv> ready <1.2@h>", "<1.2@h>"},
                                         StampCase{"CloseOnlyBeforeOpen", "+OK a> b <c", ""}),
                         [](const auto& info) { return info.param.name; });

TEST(ApopDigest, MatchesTheRfc1939Example) {
    EXPECT_EQ(ApopDigest("<1896.697170952@dbc.mtview.ca.us>", "tanstaaf"),
              "c4c9334bac560ecc979e58001b3e22fb");
}

struct ListCase {
    const char* name;
    std::string line;
    std::int32_t size;
};

void PrintTo(const ListCase& c, std::ostream* os) { *os << c.name; }

class ListSize : public testing::TestWithParam<ListCase> {};

TEST_P(ListSize, IsTheNumberAfterTheFirstBlanks) {
    EXPECT_EQ(ParseListSize(GetParam().line), GetParam().size);
}

INSTANTIATE_TEST_SUITE_P(Cases, ListSize,
                         testing::Values(ListCase{"Plain", "3 1200", 1200}, ListCase{"NoBlank", "7", 0},
                                         ListCase{"SeveralBlanks", "1   42", 42},
                                         ListCase{"TrailingText", "1 99 octets", 99},
                                         ListCase{"NoDigits", "1 abc", 0},
                                         ListCase{"Huge", "1 99999999999", 2147483647}),
                         [](const auto& info) { return info.param.name; });

TEST(StatCount, IsTheFirstNumberOfAPositiveReply) {
    struct Case {
        const char* line;
        bool read;
        std::uint32_t count;
    };
    for (const Case& k :
         {Case{"+OK 2 320", true, 2}, Case{"+OK   7", true, 7}, Case{"+OK 99999999999 1", true, 4294967295u},
          Case{"+OK", false, 0}, Case{"+OK mailbox", false, 0}, Case{"+OK2 3", false, 0},
          Case{"-ERR 2 320", false, 0}}) {
        SCOPED_TRACE(k.line);
        std::uint32_t count = 0;
        EXPECT_EQ(ParseStatCount(k.line, count), k.read);
        if (k.read) {
            EXPECT_EQ(count, k.count);
        }
    }
}

TEST(UidlLine, SplitsNumberAndUid) {
    std::uint64_t number = 0;
    std::string uid;
    ASSERT_TRUE(ParseUidlLine("12 abc def", number, uid));
    EXPECT_EQ(number, 12u);
    EXPECT_EQ(uid, "abc def");
    EXPECT_FALSE(ParseUidlLine("12", number, uid));
    ASSERT_TRUE(ParseUidlLine("x1 abc", number, uid));
    EXPECT_EQ(number, 0u);
}

struct StuffCase {
    const char* name;
    std::string line;
    std::string stored;
};

void PrintTo(const StuffCase& c, std::ostream* os) { *os << c.name; }

class Unstuff : public testing::TestWithParam<StuffCase> {};

TEST_P(Unstuff, RemovesOneLeadingDot) { EXPECT_EQ(UnstuffDataLine(GetParam().line), GetParam().stored); }

INSTANTIATE_TEST_SUITE_P(Cases, Unstuff,
                         testing::Values(StuffCase{"NoDot", "text", "text"}, StuffCase{"OneDot", "..", "."},
                                         StuffCase{"TwoDots", "...x", "..x"},
                                         StuffCase{"DotText", "..text", ".text"}, StuffCase{"Empty", "", ""},
                                         StuffCase{"DotInside", "a.b", "a.b"}),
                         [](const auto& info) { return info.param.name; });

TEST(CommandBreak, FindsCrLfAndNul) {
    EXPECT_FALSE(HasCommandBreak("user@example.org"));
    EXPECT_TRUE(HasCommandBreak("user\r\nDELE 1"));
    EXPECT_TRUE(HasCommandBreak("a\nb"));
    EXPECT_TRUE(HasCommandBreak(std::string("a\0b", 3)));
}

}  // namespace
