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

// A body too long for one argument keeps what fits, and the cut mark says
// where it ends (a body that fits is left whole: the table above).
TEST(MailtoUrl, ALongBodyKeepsWhatFitsAndTheCutIsMarked) {
    const QString mark = QStringLiteral(">[... cut ...]");
    const auto quoted = [](const QString& line, int count) {
        QStringList lines;
        for (int i = 0; i < count; ++i) lines << QStringLiteral(">%1 %2").arg(line).arg(i);
        return lines.join(QStringLiteral("\r\n"));
    };
    const struct Row {
        const char* name;
        QString body;
        bool atLineEnd;
    } rows[] = {
        {"Cyrillic, 200 000 characters", quoted(QString::fromUtf8("съешь же ещё этих мягких булок"), 5800),
         true},
        {"a long line after a short one", QStringLiteral(">short\r\n") + QString(30000, QChar(0x20AC)),
         false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const QString url = MailtoUrl("a@b.c", "Re: long", row.body, mark);
        EXPECT_LE(url.size(), kMaxMailtoLength);
        const QString kept = QUrl::fromPercentEncoding(url.section(QStringLiteral("&body="), 1).toLatin1());
        ASSERT_TRUE(kept.endsWith(mark)) << kept.right(80).toStdString();
        const QString text = kept.chopped(mark.size() + 2);
        EXPECT_TRUE(kept.chopped(mark.size()).endsWith(QStringLiteral("\r\n")))
            << "the mark is a line of its own";
        EXPECT_TRUE(row.body.startsWith(text)) << "the kept text is the body's start";
        EXPECT_EQ(row.body.mid(text.size()).startsWith(QStringLiteral("\r\n")), row.atLineEnd)
            << "cut after a whole line, or inside one longer than the room";
        EXPECT_GT(url.size(), kMaxMailtoLength - 1024) << "no more room is left unused than a line";
    }
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
