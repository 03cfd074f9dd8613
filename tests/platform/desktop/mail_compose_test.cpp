#include "platform/desktop/mail_compose.h"

#include "platform/desktop/shell.h"

#include "tests/platform/desktop/desktop_fixture.h"

#include <QStringList>
#include <QUrl>

#include <gtest/gtest.h>

namespace platform::desktop {
namespace {

struct MailtoCase {
  const char* name;
  QString to;
  QString subject;
  QString body;
  QString expected;
};

void PrintTo(const MailtoCase& c, std::ostream* os) { *os << c.name; }

class MailtoUrlTest : public ::testing::TestWithParam<MailtoCase> {};

TEST_P(MailtoUrlTest, EscapesEveryField) {
  const MailtoCase& c = GetParam();
  EXPECT_EQ(MailtoUrl(c.to, c.subject, c.body).toStdString(), c.expected.toStdString());
}

INSTANTIATE_TEST_SUITE_P(
    Rfc6068, MailtoUrlTest,
    ::testing::Values(
        MailtoCase{"NewMessage", "", "", "", "mailto:"},
        MailtoCase{"AddressOnly", "js@example.org", "", "", "mailto:js@example.org"},
        MailtoCase{"SubjectWithBlanks", "js@example.org", "Re: hello world", "",
                   "mailto:js@example.org?subject=Re%3A%20hello%20world"},
        MailtoCase{"BodyWithoutSubject", "a@b.c", "", "hi", "mailto:a@b.c?body=hi"},
        MailtoCase{"SubjectAndBody", "a@b.c", "s", "b", "mailto:a@b.c?subject=s&body=b"},
        MailtoCase{"DelimitersStayInsideTheSubject", "a@b.c", "a&cc=x@evil?b#c", "",
                   "mailto:a@b.c?subject=a%26cc%3Dx%40evil%3Fb%23c"},
        MailtoCase{"PercentAndPlus", "", "100% + tax", "", "mailto:?subject=100%25%20%2B%20tax"},
        MailtoCase{"QuotedReplyLines", "a@b.c", "", "-----Original\r\n\r\n>one\r\n>two",
                   "mailto:a@b.c?body=-----Original%0D%0A%0D%0A%3Eone%0D%0A%3Etwo"},
        MailtoCase{"BareLineFeedsBecomeCrLf", "", "", "a\nb\rc", "mailto:?body=a%0D%0Ab%0D%0Ac"},
        MailtoCase{"NonAsciiAsUtf8", "", QString::fromUtf8("Grüße €"), "",
                   "mailto:?subject=Gr%C3%BC%C3%9Fe%20%E2%82%AC"},
        MailtoCase{"DisplayNameIsOneLiteralRecipient", "Smith, John <js@x.org>", "", "",
                   "mailto:Smith%2C%20John%20%3Cjs@x.org%3E"},
        MailtoCase{"AddressCannotStartTheQuery", "a@b.c?body=x", "", "", "mailto:a@b.c%3Fbody%3Dx"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(MailtoUrl, LongBodyIsCutAfterTheLastWholeLineThatFits) {
  QStringList lines;
  for (int i = 0; i < 20000; ++i) lines << QStringLiteral(">line %1 of the quoted text").arg(i);
  const QString body = lines.join(QStringLiteral("\r\n"));

  const QString url = MailtoUrl("a@b.c", "Re: long", body);

  EXPECT_LE(url.size(), kMaxMailtoLength);
  EXPECT_GT(url.size(), kMaxMailtoLength - 100);
  const QString kept = QUrl::fromPercentEncoding(url.section(QStringLiteral("&body="), 1).toLatin1());
  ASSERT_FALSE(kept.isEmpty());
  EXPECT_TRUE(body.startsWith(kept + QStringLiteral("\r\n"))) << "not cut at a line end";
}

TEST(ComposeMail, HandsTheUrlToTheMailProgram) {
  QStringList opened;
  SetOpener([&](const QString& target) {
    opened << target;
    return true;
  });
  const bool ok = ComposeMail("js@example.org", "Re: x", "> y");
  SetOpener({});

  EXPECT_TRUE(ok);
  EXPECT_EQ(opened, QStringList{"mailto:js@example.org?subject=Re%3A%20x&body=%3E%20y"});
}

}  // namespace
}  // namespace platform::desktop
