// Messages downloaded from the real POP3 server read as the program reads
// them: size, sender, recipient, subject, date, body, plain text, UID and
// the number of attachments.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <ctime>

#include "tests/component/protocol/client_harness.h"
#include "tests/support/pop3d_mailbox.h"

using namespace harness;
using testsupport::Pop3dMailbox;
using testsupport::Pop3dServer;

namespace {

struct Expected {
    std::string uidSuffix;
    std::string message;
    std::string from, fromEmail, to, subject, plainText;
    com::DateParts date;  // UTC (the test runs with TZ=UTC)
    std::int16_t attachments;
};

const std::vector<Expected>& Mailbox() {
    static const std::vector<Expected> rows{
        {"0001-newsletter",
         "Return-Path: <news@example.org>\r\n"
         "Received: from mail.example.org (mail.example.org [192.0.2.1])\r\n"
         "\tby mx.example.net with ESMTP; Mon, 2 Mar 2026 09:15:00 +0100\r\n"
         "From: =?UTF-8?Q?Caf=C3=A9_News?= <news@example.org>\r\n"
         "To: \"Box, The\" <box@example.net>\r\n"
         "Subject: =?ISO-8859-1?Q?Men=FC?= of the week\r\n"
         "Date: Mon, 2 Mar 2026 09:14:59 +0100\r\n"
         "MIME-Version: 1.0\r\n"
         "Content-Type: multipart/alternative; boundary=\"=_alt\"\r\n"
         "\r\n"
         "--=_alt\r\n"
         "Content-Type: text/plain; charset=UTF-8\r\n"
         "Content-Transfer-Encoding: quoted-printable\r\n"
         "\r\n"
         "Soupe du jour: Velout=C3=A9\r\n"
         ".dotted line\r\n"
         "--=_alt\r\n"
         "Content-Type: text/html; charset=UTF-8\r\n"
         "\r\n"
         "<p>Soupe</p>\r\n"
         "--=_alt--\r\n",
         "Caf\xE9 News <news@example.org>",
         "news@example.org",
         "\"Box, The\" <box@example.net>",
         "Men\xFC of the week",
         "Soupe du jour: Velout\xE9\r\n.dotted line\r\n",
         {2026, 3, 2, 8, 14, 59},
         0},
        {"0002-invoice",
         "From: billing@example.com\r\n"
         "To: box@example.net\r\n"
         "Subject: Invoice\r\n"
         "Date: 28 Feb 26 23:30 -0500\r\n"
         "Content-Type: multipart/mixed; boundary=mix\r\n"
         "\r\n"
         "--mix\r\n"
         "Content-Type: text/plain\r\n"
         "\r\n"
         "Please find the invoice attached.\r\n"
         "--mix\r\n"
         "Content-Type: application/pdf; name=\"invoice.pdf\"\r\n"
         "Content-Transfer-Encoding: base64\r\n"
         "Content-Disposition: attachment; filename=\"invoice.pdf\"\r\n"
         "\r\n"
         "JVBERi0xLjQK\r\n"
         "--mix\r\n"
         "Content-Type: image/png; name=logo.png\r\n"
         "Content-Transfer-Encoding: base64\r\n"
         "Content-ID: <logo>\r\n"
         "\r\n"
         "iVBORw0KGgo=\r\n"
         "--mix--\r\n",
         "billing@example.com",
         "billing@example.com",
         "box@example.net",
         "Invoice",
         "Please find the invoice attached.\r\n",
         {2026, 3, 1, 4, 30, 0},
         2},
    };
    return rows;
}

std::string Name(std::string_view suffix) {
    static const std::string prefix =
        std::to_string(getpid()) + "-" + std::to_string(time(nullptr)) + "-msg-";
    return prefix + std::string(suffix);
}

std::string Read(IPop3Msg* m, com::HRESULT (IPop3Msg::*getter)(com::BSTR*)) {
    com::Bstr value;
    EXPECT_EQ((m->*getter)(value.ReleaseAndGetAddressOf()), com::S_OK);
    return Narrow(value.View());
}

TEST(Pop3dMessages, DownloadedMessagesReadEveryFieldTheProgramReads) {
    setenv("TZ", "UTC", 1);
    tzset();
    const Pop3dServer server = Pop3dServer::fromEnvironment();
    Pop3dMailbox mailbox{server};
    for (const auto& row : Mailbox()) mailbox.add(Name(row.uidSuffix), row.message);

    Client c;
    c.Settings(server.port, true, mailbox.user(), mailbox.password(), server.host);
    ASSERT_EQ(c.pop3->Connect(), com::S_OK) << c.LastErrorText();
    ASSERT_EQ(c.Count(), static_cast<std::int16_t>(Mailbox().size()));
    ASSERT_EQ(c.Messages()->GetAll(), com::S_OK) << c.LastErrorText();

    for (std::size_t i = 0; i < Mailbox().size(); ++i) {
        const Expected& row = Mailbox()[i];
        SCOPED_TRACE(row.uidSuffix);
        const auto m = c.Message(static_cast<std::int16_t>(i));
        std::int32_t size = 0;
        m->get_Size(&size);
        EXPECT_EQ(size, static_cast<std::int32_t>(row.message.size()));
        EXPECT_EQ(Read(m.Get(), &IPop3Msg::get_Uid), Name(row.uidSuffix));
        EXPECT_EQ(Read(m.Get(), &IPop3Msg::get_Body), row.message);
        EXPECT_EQ(Read(m.Get(), &IPop3Msg::get_From), row.from);
        EXPECT_EQ(Read(m.Get(), &IPop3Msg::get_FromEmail), row.fromEmail);
        EXPECT_EQ(Read(m.Get(), &IPop3Msg::get_To), row.to);
        EXPECT_EQ(Read(m.Get(), &IPop3Msg::get_Subject), row.subject);
        EXPECT_EQ(Read(m.Get(), &IPop3Msg::get_PlainText), row.plainText);
        com::DATE date = 0;
        ASSERT_EQ(m->get_Date(&date), com::S_OK);
        EXPECT_EQ(*com::OleDateToParts(date), row.date);
        com::ComPtr<IPop3Attachments> attachments;
        ASSERT_EQ(m->get_Attachments(attachments.ReleaseAndGetAddressOf()), com::S_OK);
        std::int16_t count = -1;
        attachments->get_Count(&count);
        EXPECT_EQ(count, row.attachments);
    }
    c.pop3->Disconnect();
}

TEST(Pop3dMessages, HeadersOnlyDownloadReadsHeadersAndRefusesTheText) {
    const Pop3dServer server = Pop3dServer::fromEnvironment();
    Pop3dMailbox mailbox{server};
    const Expected& row = Mailbox()[1];
    mailbox.add(Name("0003-top"), row.message);

    Client c;
    c.Settings(server.port, true, mailbox.user(), mailbox.password(), server.host);
    ASSERT_EQ(c.pop3->Connect(), com::S_OK) << c.LastErrorText();
    ASSERT_EQ(c.Messages()->GetAllHeaders(), com::S_OK) << c.LastErrorText();
    const auto m = c.Message(0);
    EXPECT_EQ(Read(m.Get(), &IPop3Msg::get_Subject), row.subject);
    EXPECT_EQ(Read(m.Get(), &IPop3Msg::get_FromEmail), row.fromEmail);
    com::Bstr text;
    // The parts are in the body, which was not retrieved: no text is reached.
    EXPECT_EQ(m->get_PlainText(text.ReleaseAndGetAddressOf()), com::S_OK);
    EXPECT_TRUE(text.View().empty());
    EXPECT_EQ(m->get_Text(text.ReleaseAndGetAddressOf()), com::CtlError(errHeadersOnly));
    // A later whole download of the same message replaces what was read.
    ASSERT_EQ(m->Get(), com::S_OK) << c.LastErrorText();
    EXPECT_EQ(Read(m.Get(), &IPop3Msg::get_PlainText), row.plainText);
    c.pop3->Disconnect();
}

}  // namespace
