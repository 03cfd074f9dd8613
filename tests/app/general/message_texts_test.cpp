// What a stored message turns into: the reply's texts, the saved file, the
// offered file name, and the reference that finds it again after the list
// changed.
#include <sys/stat.h>

#include <gtest/gtest.h>
#include <QDir>
#include <QFile>

#include "app/general/message_file.h"
#include "app/general/message_ref.h"
#include "app/general/reply_text.h"
#include "tests/app/stored_messages.h"

using namespace modGeneral;

namespace {

struct NoteCase {
    const char* name;
    QString plain;
    QString expectedQuote;  // what follows "Subject: s" CR LF CR LF
};

void PrintTo(const NoteCase& c, std::ostream* os) { *os << c.name; }

class ReplyNote : public testing::TestWithParam<NoteCase> {};

TEST_P(ReplyNote, QuotesEveryLineAfterTheHeaderLines) {
    const NoteCase& c = GetParam();
    const QString note =
        ReplyNoteText(QStringLiteral("Ann <ann@x.org>"), QStringLiteral("me@x.org"),
                      QStringLiteral("Mar 05, 2024 03:07:09 PM"), QStringLiteral("s"), c.plain);
    EXPECT_EQ(note.toStdString(), ("-----Original Message-----\r\nFrom: Ann <ann@x.org>\r\nTo: me@x.org\r\n"
                                   "Sent: Tuesday, March 5, 2024 at 3:07 PM\r\nSubject: s\r\n\r\n" +
                                   c.expectedQuote)
                                      .toStdString());
}

INSTANTIATE_TEST_SUITE_P(Texts, ReplyNote,
                         testing::Values(NoteCase{"EmptyPlainText", "", "\r\n>"},
                                         NoteCase{"TwoLines", "one\r\ntwo", "\r\n>one\r\n>two"},
                                         NoteCase{"LoneLineFeedsAndReturns", "a\nb\rc", "\r\n>a\r\n>b\r\n>c"},
                                         NoteCase{"NonAscii", QString::fromUtf8("Grüße\r\n€"),
                                                  QString::fromUtf8("\r\n>Grüße\r\n>€")}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ReplyTexts, AddressSubjectAndSentDate) {
    struct Row {
        QString from;
        QString address;
    };
    for (const Row& r : {Row{"Smith, John <js@x.org>", "js@x.org"}, Row{"  ann@x.org ", "ann@x.org"},
                         Row{"a <b> c <real@x.org>", "real@x.org"}, Row{"Broken <", "Broken <"},
                         Row{"Empty <>", "Empty <>"}})
        EXPECT_EQ(ReplyAddress(r.from), r.address) << r.from.toStdString();

    struct DateRow {
        QString stored;
        QString sent;
    };
    for (const DateRow& r : {DateRow{"Jan 01, 2024 12:00:00 AM", "Monday, January 1, 2024 at 12:00 AM"},
                             DateRow{"Dec 31, 1999 11:59:59 PM", "Friday, December 31, 1999 at 11:59 PM"},
                             DateRow{"", ""}, DateRow{"31/04/2024", "31/04/2024"}})
        EXPECT_EQ(SentDateText(r.stored), r.sent) << r.stored.toStdString();

    test_store::MakeAccounts(1);
    test_store::Store(1, {{"u1", "Ann <ann@x.org>", "Re: hello", "hi"}});
    const ReplyText reply = ReplyToStored(1, 1);
    EXPECT_EQ(reply.recipient, QStringLiteral("ann@x.org"));
    EXPECT_EQ(reply.subject, QStringLiteral("Re: Re: hello")) << "an answer to an answer is prefixed again";
    EXPECT_TRUE(reply.noteText.endsWith(QStringLiteral("Subject: Re: hello\r\n\r\n\r\n>hi")));
}

TEST(SaveFileName, KeepsWhatAFileNameMayHold) {
    struct Row {
        QString subject;
        QString name;
    };
    for (const Row& r : {Row{"Re: [list] a/b", "Re list ab"}, Row{"", ""}, Row{"/?<>\\:*|\"[],;", ""},
                         Row{"..", ""}, Row{". .", ""}, Row{"../../etc/passwd", "....etcpasswd"},
                         Row{"tab\there\r\nnext", "tabherenext"}, Row{"v1.2 notes", "v1.2 notes"}})
        EXPECT_EQ(SaveFileName(r.subject).toStdString(), r.name.toStdString()) << r.subject.toStdString();
    const QString name = SaveFileName(QString(300, QChar(0x00E9)));
    EXPECT_LE(name.toUtf8().size(), 255);
    EXPECT_EQ(name, QString(127, QChar(0x00E9))) << "cut between characters, never inside one";
}

TEST(MessageFile, HoldsTheServersBytesThenThePlainTextAndIsPrivate) {
    test_store::MakeAccounts(1);
    // The component gives 8-bit text: byte 0xE9 arrives as U+00E9.
    test_store::Store(1, {{"u1", "a", "s", QString::fromUtf8("caf\u00e9 \u20ac"),
                           QString::fromLatin1("Subject: s\r\n\r\ncaf\xe9")}});
    const QByteArray expected = QByteArray("Subject: s\r\n\r\ncaf\xe9") + "\r\n\r\n" +
                                QString::fromUtf8("caf\u00e9 \u20ac").toUtf8() + "\r\n";
    EXPECT_EQ(MessageFileBytes(1, 1), expected);

    const QString path = QDir::temp().filePath(QStringLiteral("saved.eml"));
    QFile::remove(path);
    ASSERT_TRUE(WriteTextFile(path, 1, 1));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), expected);
    struct stat st {};
    ASSERT_EQ(::stat(QFile::encodeName(path).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);

    EXPECT_FALSE(WriteTextFile(QDir::temp().filePath(QStringLiteral("no-such-folder/x.eml")), 1, 1));
    EXPECT_FALSE(WriteTextFile(QString(), 1, 1));
}

TEST(MessageRef, FollowsItsMessageWhenTheListChanges) {
    test_store::MakeAccounts(2);
    test_store::Store(1, {{"u1", "a", "one", ""}, {"u2", "b", "two", ""}, {"", "c", "three", ""}});
    MessageRef second = RefOf(1, 2);
    MessageRef noUid = RefOf(1, 3);
    EXPECT_EQ(Locate(second), 2);

    std::swap(Msg(1, 1), Msg(1, 2));  // sorted behind it
    EXPECT_EQ(Locate(second), 1);
    EXPECT_EQ(second.slot, 1);
    EXPECT_EQ(Locate(noUid), 3);

    // A new check: the same UID in another account is another message.
    test_store::Store(1, {{"u9", "z", "new", ""}});
    test_store::Store(2, {{"u2", "b", "two", ""}});
    EXPECT_EQ(Locate(second), 0);
    EXPECT_EQ(Locate(noUid), 0) << "slot 3 is beyond the count now";

    test_store::Store(1, {{"", "c", "three", ""}, {"", "d", "other", ""}});
    EXPECT_EQ(Locate(noUid), 1) << "a message without a UID is found by its sender, subject and date";

    for (auto [a, m] : {std::pair<int16_t, int16_t>{0, 1}, {3, 1}, {1, 0}, {1, 3}}) {
        MessageRef none = RefOf(a, m);
        EXPECT_EQ(Locate(none), 0) << a << "," << m;
    }
}

}  // namespace
