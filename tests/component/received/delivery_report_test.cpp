// Bounce and delay reports: which senders count, and which recipient each
// report form yields.
#include <gtest/gtest.h>

#include "component/mime/delivery_report.h"

namespace {

using namespace component::mime;

// Stands in for the message object's address extraction: the text between
// angle brackets, or the text itself.
std::string Extract(std::string_view s) {
    const auto open = s.find('<');
    const auto close = s.find('>');
    if (open != std::string_view::npos && close != std::string_view::npos && open < close)
        return std::string(s.substr(open + 1, close - open - 1));
    return std::string(s);
}

TEST(ReportSender, PrefixesAndVirusInTheLocalPartOnly) {
    struct {
        const char* sender;
        bool report;
    } const cases[] = {
        {"mailer-daemon@mx.example.org", true},
        {"postmaster@example.org", true},
        {"administrator@example.org", true},
        {"mdaemon@example.org", true},
        {"mailrelay@example.org", true},
        {"administrative@example.org", false},
        {"antivirus-scan@example.org", true},
        {"alice@virus.example.org", false},
        {"alice@example.org", false},
        {"mailer-daemon", false},
        {"", false},
    };
    for (const auto& c : cases) EXPECT_EQ(IsReportSender(c.sender), c.report) << c.sender;
}

const char* const kStatus =
    "Reporting-MTA: dns; mx.example.org\r\n"
    "\r\n"
    "Final-Recipient: rfc822; ok@example.net\r\n"
    "Action: delivered\r\n"
    "Status: 2.0.0\r\n"
    "\r\n"
    "Final-Recipient: rfc822; gone@example.net\r\n"
    "Action: failed\r\n"
    "Status: 5.1.1\r\n"
    "\r\n"
    "Final-Recipient: rfc822;   slow@example.net\r\n"
    "Action: delayed\r\n";

TEST(DeliveryStatus, EachActionBelongsToItsOwnRecipient) {
    EXPECT_EQ(ScanDeliveryStatusText(kStatus, "failed", Extract), "gone@example.net");
    EXPECT_EQ(ScanDeliveryStatusText(kStatus, "delayed", Extract), "slow@example.net");
    EXPECT_EQ(ScanDeliveryStatusText(kStatus, "expanded", Extract), "");
}

TEST(DeliveryStatus, ActualRecipientReplacesFinalAndCaseIsIgnored) {
    const char* text =
        "final-recipient: RFC822; alias@example.net\n"
        "X-Actual-Recipient: rfc822; real@example.net\n"
        "ACTION: FAILED\n";
    EXPECT_EQ(ScanDeliveryStatusText(text, "failed", Extract), "real@example.net");
}

TEST(DeliveryStatus, ShortLinesHaveEmptyValues) {
    EXPECT_EQ(ScanDeliveryStatusText("Final-Recipient\nAction\nX-Actual-Recipient\n", "failed", Extract), "");
    EXPECT_EQ(ScanDeliveryStatusText("Final-Recipient: x@y\nAction: failed", "failed", Extract), "x@y");
}

TEST(BounceText, FailureNoticeTakesTheFirstBracketedAddressAfterTheIntro) {
    const char* body =
        "Hi. This is the qmail-send program at mx.example.org.\n"
        "I'm afraid I wasn't able to deliver your message to <not-this@example.org>\n"
        "This is a permanent error; I've given up. Sorry it didn't work out.\n"
        "\n"
        "<bob@example.net>:\n"
        "Sorry, no mailbox here by that name.\n";
    // the intro ends at the first empty line or permanent-error line: here the
    // second line of the intro holds brackets but is passed over
    EXPECT_EQ(FailureNoticeRecipient(body), "bob@example.net");
    EXPECT_EQ(FailureNoticeRecipient("no intro end <a@b>"), "");
    EXPECT_EQ(FailureNoticeRecipient("\nopen < only\n> before <x@y>\n"), "x@y");
}

TEST(BounceText, DeliveryReportSubjectJoinsNameAndSenderDomain) {
    EXPECT_EQ(DeliveryReportSubjectRecipient("Undeliverable Message:  Delivery report for message to jsmith",
                                             "postmaster@corp.example"),
              "jsmith@corp.example");
    EXPECT_EQ(DeliveryReportSubjectRecipient("Undeliverable Message: Delivery report for message to jsmith",
                                             "postmaster@corp.example"),
              "");  // one blank after the colon is another subject
    EXPECT_EQ(DeliveryReportSubjectRecipient("Undeliverable Message:  Delivery report for message to jsmith",
                                             "nodomain"),
              "");
}

TEST(BounceText, ReturnedMessageToField) {
    EXPECT_EQ(ReturnedMessageRecipient("From: a@b\r\nTO:   Carol <carol@example.org>\r\n", Extract),
              "carol@example.org");
    EXPECT_EQ(ReturnedMessageRecipient("From: a@b\r\nSubject: x\r\n", Extract), "");
    EXPECT_EQ(ReturnedMessageRecipient("From: a@b\r\n\r\nTo: body@example.org\r\n", Extract), "");
}

TEST(BounceText, NullReversePathAndFailureSubjects) {
    EXPECT_TRUE(IsNullReversePath("<>"));
    EXPECT_TRUE(IsNullReversePath(" < >\r\n"));
    EXPECT_FALSE(IsNullReversePath("<a@b>"));
    EXPECT_FALSE(IsNullReversePath(""));
    for (const char* subject :
         {"failure notice", "Mail delivery failed", "Mail delivery failed: returning message to sender",
          "Returned mail: see transcript for details", "FAILURE NOTICE"})
        EXPECT_TRUE(IsFailureNoticeSubject(subject)) << subject;
    for (const char* subject : {"Re: failure notice", "Returned", "Mail delivery", ""})
        EXPECT_FALSE(IsFailureNoticeSubject(subject)) << subject;
}

TEST(BounceText, NondeliveryReportFindsErrorForAfterTheMarker) {
    const char* body =
        "Error-For: early@example.org\n"
        "--9B095B5ADSN=_01D\n"
        "\n"
        "error-for:   late@example.org other words\n";
    EXPECT_EQ(NondeliveryRecipient("Nondelivery; boundary=\"9B095B5ADSN=_01D\"", body, Extract),
              "late@example.org");
    EXPECT_EQ(NondeliveryRecipient("nondelivery; boundary=\"9B095B5ADSN=_01D\"", body, Extract), "");
    EXPECT_EQ(NondeliveryRecipient("Nondelivery; boundary=\"absent\"", body, Extract), "");
}

}  // namespace
