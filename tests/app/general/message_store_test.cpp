#include "app/general/message_store.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "app/accounts/account_table.h"

using namespace modGeneral;
using modAccounts::gAccountCount;

namespace {

// Accounts 1 to tags.size(): account a holds one message and has seen one,
// both named after its tag, so that a row that lands elsewhere shows.
void HoldTagged(const std::vector<QString>& tags) {
    gAccountCount = static_cast<int16_t>(tags.size());
    modAccounts::ResizeAccountArrays(gAccountCount);
    gMessageStore.clear();
    ResizeMessageStoreAccounts(gAccountCount);
    for (size_t i = 0; i < tags.size(); ++i) {
        const auto a = static_cast<int16_t>(i + 1);
        StoredMessage m;
        m.Uid = tags[i] + "-uid";
        AccountRow(a).Messages = {m};
        AccountRow(a).LastSeen = {{tags[i] + "-seen", 1}};
        modAccounts::gAccounts[a].MsgCount = 1;
    }
}

// What account a holds, as "uid/seen" ("-" for nothing).
std::string Holds(int16_t a) {
    const AccountMessages& row = AccountRow(a);
    const QString uid = row.Messages.empty() ? "-" : row.Messages.front().Uid;
    const QString seen = row.LastSeen.isEmpty() ? "-" : row.LastSeen.keys().join(',');
    return (uid + "/" + seen).toStdString();
}

// The account operations carry each account's messages and what its last
// check saw, whole: an account never takes over another's.
TEST(MessageStore, AccountOperationsMoveWholeRows) {
    struct Row {
        const char* name;
        void (*operation)();
        std::vector<std::string> after;
    };
    for (const Row& r : {
             Row{"added",
                 [] {
                     gAccountCount = 4;
                     modAccounts::ResizeAccountArrays(4);
                     ResizeMessageStoreAccounts(4);
                 },
                 {"a-uid/a-seen", "b-uid/b-seen", "c-uid/c-seen", "-/-"}},
             Row{"second removed", [] { RemoveAccountRows(2); }, {"a-uid/a-seen", "c-uid/c-seen"}},
             Row{"last removed", [] { RemoveAccountRows(3); }, {"a-uid/a-seen", "b-uid/b-seen"}},
             Row{"first and third exchanged",
                 [] { ExchangeAccountRows(1, 3); },
                 {"c-uid/c-seen", "b-uid/b-seen", "a-uid/a-seen"}},
         }) {
        SCOPED_TRACE(r.name);
        HoldTagged({"a", "b", "c"});
        r.operation();
        std::vector<std::string> after;
        for (int16_t a = 1; static_cast<size_t>(a) < gMessageStore.size(); ++a) after.push_back(Holds(a));
        EXPECT_EQ(after, r.after);
    }
}

TEST(MessageStore, EveryAccountOfTheTableHasARowAndNothingElseDoes) {
    gMessageStore.clear();
    gAccountCount = 2;
    modAccounts::ResizeAccountArrays(2);
    EXPECT_TRUE(AccountRow(2).Messages.empty()) << "made at its first use";
    EXPECT_THROW(AccountRow(3), std::out_of_range);
    EXPECT_THROW(AccountRow(-1), std::out_of_range);
    modAccounts::gAccounts[1].MsgCount = 1;
    EXPECT_THROW(Msg(1, 1), std::out_of_range) << "a count the row does not hold";
    AccountRow(1).Messages.resize(1);
    EXPECT_NO_THROW(Msg(1, 1));
    EXPECT_THROW(Msg(1, 0), std::out_of_range);
    EXPECT_THROW(Msg(1, 2), std::out_of_range);
}

TEST(MessageStore, TextsAreMadeFromTheTypedValues) {
    StoredMessage m;
    m.Body = QByteArray("Subject: caf\xe9\r\n\r\nbody");
    m.PlainText = QStringLiteral("plain \u20ac").toUtf8();
    m.From = QStringLiteral("ann@example.org");
    m.Subject = QStringLiteral("hello");
    m.Size = 12;
    // The bytes come back as the component's 8-bit text, one character each.
    EXPECT_EQ(RawMessageText(m), QStringLiteral("Subject: caf\u00e9\r\n\r\nbody\r\n\r\nplain \u20ac"));
    EXPECT_EQ(RawMessageText(m, 9), QStringLiteral("Subject: ")) << "a view's share of a large message";
    EXPECT_EQ(RawMessageText(m, 26), QStringLiteral("Subject: caf\u00e9\r\n\r\nbody\r\n\r\np"));

    // A plain text that is the end of the message's bytes is kept once.
    struct PlainRow {
        const char* name;
        QString text;
        bool once;
    };
    for (const PlainRow& r : {PlainRow{"the end of the bytes", QStringLiteral("body"), true},
                              PlainRow{"decoded", QStringLiteral("bod\u00e9"), false},
                              PlainRow{"not at the end", QStringLiteral("Subject"), false},
                              PlainRow{"empty", QString(), false}}) {
        StoredMessage p = m;
        SetPlainText(p, r.text.toUtf8());
        EXPECT_EQ(PlainTextOf(p), r.text) << r.name;
        EXPECT_EQ(p.PlainText.isEmpty(), r.once || r.text.isEmpty()) << r.name;
        EXPECT_EQ(PlainTextBytes(p).toByteArray(), r.text.toUtf8()) << r.name;
    }

    EXPECT_EQ(DateText(m), QString()) << "no date, no text";
    m.Date = QDateTime(QDate(2024, 3, 5), QTime(15, 7, 9));
    EXPECT_EQ(DateText(m), QStringLiteral("Mar 05, 2024 03:07:09 PM"));
    m.Date = QDateTime(QDate(2024, 1, 1), QTime(0, 0));
    EXPECT_EQ(DateText(m), QStringLiteral("Jan 01, 2024 12:00:00 AM"));
    m.Date = QDateTime(QDate(1969, 12, 31), QTime(23, 59, 59));
    EXPECT_EQ(DateText(m), QStringLiteral("Dec 31, 1969 11:59:59 PM")) << "before 1970";
    m.Date = QDateTime(QDate(2038, 2, 28), QTime(12, 0, 1));
    EXPECT_EQ(DateText(m), QStringLiteral("Feb 28, 2038 12:00:01 PM")) << "past 32-bit seconds";

    // Without a UID a message is known by its sender, subject, the text of
    // its Date header and size; not by the date as read, which is the time of
    // reading when the header is missing and moves with the clock's offset.
    m.Body =
        QByteArray("Subject: hello\r\ndate: Tue, 08 Dec 2026\r\n\t21:05:00 +0000\r\n\r\nDate: not this\r\n");
    StoredMessage same = m;
    EXPECT_EQ(SeenKey(m), SeenKey(same));
    using Change = void (*)(StoredMessage&);
    const std::pair<Change, bool> changes[] = {
        {[](StoredMessage& s) { s.From += "x"; }, true},
        {[](StoredMessage& s) { s.Subject += "x"; }, true},
        {[](StoredMessage& s) { ++s.Size; }, true},
        {[](StoredMessage& s) { s.Body.replace("Tue, 08", "Wed, 09"); }, true},
        {[](StoredMessage& s) { s.Body = "Subject: hello\r\n\r\nDate: Tue, 08 Dec 2026 21:05:00 +0000\r\n"; },
         true},
        {[](StoredMessage& s) { s.Date = s.Date->addSecs(3600); }, false},
        {[](StoredMessage& s) { s.Body.replace("\r\n\t21", " 21"); }, false},
        {[](StoredMessage& s) { s.Body.replace("not this", "nor this"); }, false},
    };
    for (const auto& [change, differs] : changes) {
        StoredMessage other = m;
        change(other);
        EXPECT_EQ(SeenKey(other) != SeenKey(m), differs) << other.Body.toStdString();
    }
    m.Uid = QStringLiteral("u1");
    same.Uid = QStringLiteral("u1");
    same.Subject = QStringLiteral("another");
    EXPECT_EQ(SeenKey(m), QStringLiteral("u1"));
    EXPECT_EQ(SeenKey(same), SeenKey(m)) << "a UID names its message alone";
}

}  // namespace
