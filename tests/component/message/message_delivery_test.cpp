// DeliveryFailed / DeliveryDelayed on whole messages: standard reports,
// nested reports and the common non-standard bounce forms.
#include <gtest/gtest.h>

#include "tests/component/message/message_test_util.h"

using namespace msgtest;

namespace {

std::string Dsn(const std::string& from, const std::string& status) {
    return "From: " + from +
           "\r\n"
           "Subject: Delivery Status Notification\r\n"
           "Content-Type: multipart/report; report-type=delivery-status; boundary=\"r\"\r\n"
           "\r\n"
           "--r\r\n"
           "Content-Type: text/plain\r\n"
           "\r\n"
           "Your message could not be delivered.\r\n"
           "--r\r\n"
           "Content-Type: message/delivery-status\r\n"
           "\r\n"
           "Reporting-MTA: dns; mx.example.net\r\n"
           "\r\n" +
           status + "--r--\r\n";
}

const std::string kFailed =
    "Final-Recipient: rfc822; gone@example.com\r\nAction: failed\r\nStatus: 5.1.1\r\n";
const std::string kDelayed =
    "Final-Recipient: rfc822; slow@example.com\r\nAction: delayed\r\nStatus: 4.4.1\r\n";

struct BounceCase {
    const char* name;
    std::string message;
    std::string failed;
    std::string delayed;
};
void PrintTo(const BounceCase& c, std::ostream* os) { *os << c.name; }
class Bounce : public testing::TestWithParam<BounceCase> {};

TEST_P(Bounce, NamesTheRecipient) {
    const auto message = Downloaded(GetParam().message);
    EXPECT_EQ(Text<IPop3Msg>(message.Get(), &IPop3Msg::DeliveryFailed), GetParam().failed);
    EXPECT_EQ(Text<IPop3Msg>(message.Get(), &IPop3Msg::DeliveryDelayed), GetParam().delayed);
}

INSTANTIATE_TEST_SUITE_P(
    Table, Bounce,
    testing::Values(
        BounceCase{"StandardFailure", Dsn("MAILER-DAEMON@mx.example.net", kFailed), "gone@example.com", ""},
        BounceCase{"StandardDelay", Dsn("postmaster@mx.example.net", kDelayed), "", "slow@example.com"},
        BounceCase{"ActualRecipientWins",
                   Dsn("mailer-daemon@mx.example.net",
                       "Final-Recipient: rfc822; alias@example.com\r\nX-Actual-Recipient: rfc822; "
                       "real@example.com\r\n"
                       "Action: failed\r\n"),
                   "real@example.com", ""},
        BounceCase{"ReportNestedInMixed",
                   "From: MAILER-DAEMON@mx.example.net\r\n"
                   "Content-Type: multipart/mixed; boundary=m\r\n"
                   "\r\n"
                   "--m\r\n" +
                       Dsn("x@y", kFailed).substr(Dsn("x@y", kFailed).find("Content-Type:")) + "--m--\r\n",
                   "gone@example.com", ""},
        BounceCase{"OrdinarySenderIsNoReport", Dsn("friend@example.org", kFailed), "", ""},
        BounceCase{"AdministrativeIsNoReportSender", Dsn("administrative@example.org", kFailed), "", ""},
        BounceCase{"VirusInLocalPart", Dsn("virus-alert@example.org", kFailed), "gone@example.com", ""},
        BounceCase{"XFailedRecipientsWhole",
                   "From: Mail Delivery System <Mailer-Daemon@mx.example.net>\r\n"
                   "X-Failed-Recipients: a@example.com, b@example.com\r\n"
                   "Subject: Mail delivery failed: returning message to sender\r\n"
                   "\r\n"
                   "This message was created automatically.\r\n",
                   "a@example.com, b@example.com", ""},
        BounceCase{"FailureNotice",
                   "From: MAILER-DAEMON@mail.example.net\r\n"
                   "Subject: failure notice\r\n"
                   "\r\n"
                   "Hi. This is the qmail-send program.\r\n"
                   "This is a permanent error; I've given up. Sorry it didn't work out.\r\n"
                   "\r\n"
                   "<nobody@example.com>:\r\n"
                   "Sorry, no mailbox here by that name.\r\n",
                   "nobody@example.com", ""},
        BounceCase{"DeliveryReportSubject",
                   "From: postmaster@corp.example\r\n"
                   "Subject: Undeliverable Message:  Delivery report for message to jdoe\r\n"
                   "\r\n"
                   "x\r\n",
                   "jdoe@corp.example", ""},
        BounceCase{"UndeliverableReturnedMessage",
                   "From: postmaster@corp.example\r\n"
                   "Subject: Undeliverable: Lunch\r\n"
                   "Content-Type: multipart/mixed; boundary=u\r\n"
                   "\r\n"
                   "--u\r\n"
                   "Content-Type: text/plain\r\n"
                   "\r\n"
                   "Your message did not reach some or all of the intended recipients.\r\n"
                   "--u\r\n"
                   "Content-Type: message/rfc822\r\n"
                   "\r\n"
                   "From: me@example.org\r\n"
                   "To: Lost Person <lost@corp.example>\r\n"
                   "Subject: Lunch\r\n"
                   "\r\n"
                   "Noon?\r\n"
                   "--u--\r\n",
                   "lost@corp.example", ""},
        // Forms as real servers write them.
        BounceCase{
            "NullReversePathIsAReportSender",
            "Return-Path: <>\r\n" + Dsn("Microsoft Outlook <MicrosoftExchange329e71@corp.example>", kFailed),
            "gone@example.com", ""},
        BounceCase{"SenderWithoutDomainAndNullReversePath",
                   "Return-Path: < >\r\n"
                   "From: MAILER-DAEMON (Mail Delivery Subsystem)\r\n"
                   "Subject: Returned mail: see transcript for details\r\n"
                   "\r\n"
                   "Your message was received at Mon, 2 Jan 2006 10:00:00 GMT\r\n"
                   "from localhost [127.0.0.1]\r\n"
                   "\r\n"
                   "   ----- The following addresses had permanent fatal errors -----\r\n"
                   "<unknown@example.com>\r\n"
                   "    (reason: 550 5.1.1 User unknown)\r\n",
                   "unknown@example.com", ""},
        BounceCase{"ExtendedMailDeliveryFailedSubject",
                   "From: Mail Delivery System <Mailer-Daemon@mx.example.net>\r\n"
                   "Subject: Mail delivery failed: returning message to sender\r\n"
                   "\r\n"
                   "This message was created automatically by mail delivery software.\r\n"
                   "\r\n"
                   "A message that you sent could not be delivered to one or more of its\r\n"
                   "recipients. This is a permanent error. The following address(es) failed:\r\n"
                   "\r\n"
                   "  SMTP error from remote mail server after RCPT TO:<who@example.com>:\r\n",
                   "who@example.com", ""},
        BounceCase{"UndeliverableTakesTheReturnedMessagesOwnTo",
                   "From: postmaster@corp.example\r\n"
                   "Subject: Undeliverable: Minutes\r\n"
                   "Content-Type: multipart/mixed; boundary=u\r\n"
                   "\r\n"
                   "--u\r\n"
                   "Content-Type: message/rfc822\r\n"
                   "\r\n"
                   "From: me@example.org\r\n"
                   "To:\r\n"
                   " Lost Person <lost@corp.example>\r\n"
                   "Subject: Minutes\r\n"
                   "\r\n"
                   "To: all-staff@lists.corp.example\r\n"
                   "--u--\r\n",
                   "lost@corp.example", ""},
        // No false positives on ordinary mail that resembles a bounce.
        BounceCase{"AutoReplyWithNullReversePath",
                   "Return-Path: <>\r\nFrom: boss@corp.example\r\nSubject: Out of office\r\n\r\n"
                   "Back on <monday@corp.example>\r\n",
                   "", ""},
        BounceCase{
            "OrdinaryMailWithABounceSubject",
            "Return-Path: <alice@example.org>\r\nFrom: alice@example.org\r\n"
            "Subject: Returned mail: the book you lent me\r\n\r\nIntro\r\n\r\nSee <bob@example.org>\r\n",
            "", ""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Bounce, HeadersOnlyReportNeedsTheWholeMessage) {
    const auto report = HeadersOnly("From: mailer-daemon@mx.example.net\r\nSubject: x\r\n");
    com::Bstr text;
    EXPECT_EQ(report->DeliveryFailed(text.ReleaseAndGetAddressOf()), com::CtlError(errHeadersOnly));
    const auto ordinary = HeadersOnly("From: friend@example.org\r\nSubject: x\r\n");
    EXPECT_EQ(Text<IPop3Msg>(ordinary.Get(), &IPop3Msg::DeliveryFailed), "");
}

}  // namespace
