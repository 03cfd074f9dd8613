// Trace lines as real servers write them, and hostile ones.
#include <gtest/gtest.h>

#include <ostream>

#include "component/mime/received_parser.h"

namespace component::mime {
void PrintTo(const ReceivedFields& f, std::ostream* os) {
    *os << "{from=" << f.fromHost << " fromIP=" << f.fromIP << " to=" << f.toHost << " toIP=" << f.toIP
        << " proto=" << f.protocol << " for=" << (f.hasFor ? f.forClause : "<none>")
        << " date=" << (f.hasDate ? f.dateClause : "<none>") << "}";
}
}  // namespace component::mime

namespace {

using component::mime::ParseReceivedLine;
using component::mime::ReceivedFields;

struct Case {
    const char* name;
    const char* line;
    const char* fromHost;
    const char* fromIP;
    const char* toHost;
    const char* toIP;
    const char* protocol;
    const char* forClause;  // nullptr: no "for"
    const char* date;       // nullptr: no ";"
};

const Case kCases[] = {
    {"CommonEsmtpShape",
     "from mail.example.org (mail.example.org [192.0.2.10]) by mx.example.net with ESMTP id 4XyZ for "
     "<bob@example.net>; Tue, 8 Dec 2026 10:00:00 +0000",
     "mail.example.org", "192.0.2.10", "mx.example.net", "", "ESMTP", "<bob@example.net>",
     "Tue, 8 Dec 2026 10:00:00 +0000"},
    {"PostfixLocal",
     "by mx.example.net (Postfix, from userid 1000) id 4B1; Mon, 7 Dec 2026 23:59:59 +0100 (CET)",
     // the comment's words go through the "from" rules: "1000" reads as an address
     "Postfix,", "1000", "mx.example.net", "", "", nullptr, "Mon, 7 Dec 2026 23:59:59 +0100 (CET)"},
    {"EximWithHeloComment",
     "from [198.51.100.7] (helo=laptop) by smtp.example.com with esmtpsa (TLS1.3) (Exim 4.96) id 1abc; Sat, "
     "05 Dec 2026 08:01:02 -0500",
     "helo=laptop", "198.51.100.7", "smtp.example.com", "", "esmtpsa", nullptr,
     "Sat, 05 Dec 2026 08:01:02 -0500"},
    {"BracketedAddressInByFillsFromIP",
     "from client by relay.example.com ([203.0.113.5]) with SMTP; Fri, 4 Dec 2026 12:00:00 GMT", "client",
     "203.0.113.5", "relay.example.com", "", "SMTP", nullptr, "Fri, 4 Dec 2026 12:00:00 GMT"},
    {"ForBeforeBy",
     "from a.example.org for <x@example.org> by b.example.org with LMTP; 1 Jan 2026 00:00:00 +0000",
     "a.example.org", "", "b.example.org", "", "LMTP", "<x@example.org>", "1 Jan 2026 00:00:00 +0000"},
    {"AddressOnlyInBy", "from host by 10.0.0.1 with SMTP", "host", "", "", "10.0.0.1", "SMTP", nullptr,
     nullptr},
    {"IPv6LiteralIsAHostName",
     "from mx6.example.org ([IPv6:2001:db8::1]) by mx.example.net with ESMTPS; Thu, 3 Dec 2026 01:02:03 "
     "+0000",
     "mx6.example.org", "", "mx.example.net", "", "ESMTPS", nullptr, "Thu, 3 Dec 2026 01:02:03 +0000"},
    {"MarkersInsideCommentsAreIgnored",
     "from x.example (relay by y for z; not a date) by w.example with SMTP", "x.example", "", "w.example", "",
     "SMTP", nullptr, nullptr},
    {"ExchangeStyle",
     "from EXCH01.corp.example (10.1.2.3) by EXCH02.corp.example (10.1.2.4) with Microsoft SMTP Server id "
     "15.1.2; Wed, 2 Dec 2026 09:09:09 +0000",
     "EXCH01.corp.example", "10.1.2.3", "EXCH02.corp.example", "", "Microsoft", nullptr,
     "Wed, 2 Dec 2026 09:09:09 +0000"},
    {"QuotedTokensLoseQuotes", "from \"odd host\" by mx with SMTP", "odd host", "", "mx", "", "SMTP", nullptr,
     nullptr},
    {"NoClausesAtAll", "garbage without markers", "", "", "", "", "", nullptr, nullptr},
    {"EmptyLine", "", "", "", "", "", "", nullptr, nullptr},
    {"UnbalancedParenthesis", "from host (unclosed [1.2.3.4] by mx with SMTP; date", "host", "1.2.3.4", "",
     "", "", nullptr, nullptr},  // the open comment hides every later marker
};

void PrintTo(const Case& c, std::ostream* os) { *os << c.name; }

class ReceivedLine : public testing::TestWithParam<Case> {};

TEST_P(ReceivedLine, SplitsIntoFields) {
    const Case& c = GetParam();
    const ReceivedFields f = ParseReceivedLine(c.line);
    EXPECT_EQ(f.fromHost, c.fromHost);
    EXPECT_EQ(f.fromIP, c.fromIP);
    EXPECT_EQ(f.toHost, c.toHost);
    EXPECT_EQ(f.toIP, c.toIP);
    EXPECT_EQ(f.protocol, c.protocol);
    EXPECT_EQ(f.hasFor, c.forClause != nullptr);
    if (c.forClause != nullptr) {
        EXPECT_EQ(f.forClause, c.forClause);
    }
    EXPECT_EQ(f.hasDate, c.date != nullptr);
    if (c.date != nullptr) {
        EXPECT_EQ(f.dateClause, c.date);
    }
}

INSTANTIATE_TEST_SUITE_P(Shapes, ReceivedLine, testing::ValuesIn(kCases),
                         [](const testing::TestParamInfo<Case>& i) { return std::string(i.param.name); });

TEST(ReceivedUnfold, DropsLineBreaksKeepsContinuationBlankAndTurnsTabsIntoBlanks) {
    EXPECT_EQ(component::mime::UnfoldReceived("from a\r\n\tby b;\r\n Mon"), "from a by b; Mon");
    EXPECT_EQ(component::mime::UnfoldReceived("x\ny\r\n"), "xy");
    EXPECT_EQ(component::mime::UnfoldReceived("lone\rcr"), "lone\rcr");
}

TEST(ReceivedTokens, OnlyTheFirstHundredCount) {
    std::string words;
    for (int i = 0; i < 150; ++i) words += "w" + std::to_string(i) + " ";
    const auto tokens = component::mime::TokenizeReceived(words);
    ASSERT_EQ(tokens.size(), 100u);
    EXPECT_EQ(tokens.back(), "w99");
}

TEST(ReceivedTokens, NestingOfEachKindStaysInTheToken) {
    const auto tokens = component::mime::TokenizeReceived("a (b (c) d) [e [f] g] \"h i\"j  ");
    EXPECT_EQ(tokens, (std::vector<std::string>{"a", "(b (c) d)", "[e [f] g]", "h i", "j"}));
}

TEST(ReceivedHostile, DeepCommentsNeitherCrashNorRecurseWithoutBound) {
    const std::string deep =
        "from " + std::string(100000, '(') + "host" + std::string(100000, ')') + " by mx";
    const ReceivedFields f = ParseReceivedLine(deep);
    EXPECT_EQ(f.toHost, "mx");
    EXPECT_TRUE(f.fromHost.empty());  // beyond the depth cap the inside is ignored
    const std::string shallow = "from (((host))) by mx";
    EXPECT_EQ(ParseReceivedLine(shallow).fromHost, "host");
}

}  // namespace
