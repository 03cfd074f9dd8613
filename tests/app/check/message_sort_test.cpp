// The order of one account's messages in the store, by each list column.
#include "app/check/message_sort.h"

#include <gtest/gtest.h>

#include <optional>
#include <vector>

#include "app/accounts/account_table.h"
#include "app/general/message_store.h"

using namespace modGeneral;
using modAccounts::gAccountCount;
using modAccounts::gAccounts;

namespace {

struct Message {
    const char* tag;  // also the text of every field the sort does not read
    const char* from;
    std::optional<QDateTime> date;
    int64_t size;
};

QDateTime At(int year, int month, int day, int hour, int minute, int second = 0) {
    return QDateTime(QDate(year, month, day), QTime(hour, minute, second));
}

// Two accounts; account 2 holds the messages, account 1 one that must not move.
void Store(const std::vector<Message>& messages) {
    gAccountCount = 2;
    modAccounts::ResizeAccountArrays(2);
    gMessageStore.clear();
    gAccounts[1].MsgCount = 1;
    AccountRow(1).Messages.resize(1);
    Msg(1, 1).From = "zz";
    std::vector<StoredMessage> stored;
    for (const Message& msg : messages) {
        StoredMessage m;
        const QString tag = QString::fromLatin1(msg.tag);
        m.From = QString::fromUtf8(msg.from);
        m.Date = msg.date;
        m.Size = msg.size;
        m.To = m.Subject = m.Uid = tag;
        m.PlainText = tag.toUtf8();
        m.Body = tag.toLatin1();
        m.New = tag == "b";
        m.Spam = tag == "c";
        m.Delete = tag == "d";
        m.Attach = tag == "e";
        stored.push_back(m);
    }
    AccountRow(2).Messages = stored;
    gAccounts[2].MsgCount = static_cast<int16_t>(messages.size());
}

// The tags of account 2 in order; each message's fields must still agree.
std::string Order() {
    std::string tags;
    for (int16_t m = 1; m <= gAccounts[2].MsgCount; ++m) {
        const StoredMessage& msg = Msg(2, m);
        const QString tag = msg.Uid;
        for (const QString& text : {msg.To, msg.Subject, PlainTextOf(msg), QString::fromLatin1(msg.Body)})
            EXPECT_EQ(text, tag) << "fields of one message were split";
        EXPECT_EQ(msg.New, tag == "b");
        EXPECT_EQ(msg.Spam, tag == "c");
        EXPECT_EQ(msg.Delete, tag == "d");
        EXPECT_EQ(msg.Attach, tag == "e");
        tags += tag.toStdString();
    }
    return tags;
}

const std::vector<Message> kMessages = {
    {"a", "Bob", At(2024, 1, 5, 9, 0), 10},    {"b", "alice", At(2024, 2, 1, 8, 0), 9},
    {"c", "Carol", std::nullopt, 1000000},     {"d", "bob", At(2023, 12, 31, 23, 59, 59), 999999},
    {"e", "Alice", At(2024, 1, 5, 12, 30), 9}, {"f", "dave", std::nullopt, 0},
};

struct SortRow {
    const char* column;
    bool descending;
    const char* order;
};

class MessageSort : public testing::TestWithParam<SortRow> {};

TEST_P(MessageSort, EachColumnBothWays) {
    const SortRow& row = GetParam();
    Store(kMessages);
    ASSERT_TRUE(modCheck::SortMessages(2, QString::fromLatin1(row.column), row.descending));
    EXPECT_EQ(Order(), row.order);
    EXPECT_EQ(Msg(1, 1).From, "zz") << "another account moved";
}

// Texts ignore case and keep equal keys in their order (alice/Alice, Bob/bob);
// dates run in time order with messages without one first (in their order);
// sizes by number.
INSTANTIATE_TEST_SUITE_P(Columns, MessageSort,
                         testing::Values(SortRow{"From", false, "beadcf"}, SortRow{"From", true, "fcadbe"},
                                         SortRow{"Date", false, "cfdaeb"}, SortRow{"Date", true, "beadcf"},
                                         SortRow{"Size", false, "fbeadc"}, SortRow{"Size", true, "cdabef"},
                                         SortRow{"To", false, "abcdef"}, SortRow{"Subject", true, "fedcba"}));

TEST(MessageSortNames, OnlyTheFiveColumnsSortAndNothingElseMoves) {
    for (const char* column : {"", "Body", "MsgID", "date", "Blank"}) {
        Store(kMessages);
        EXPECT_FALSE(modCheck::SortMessages(2, QString::fromLatin1(column), false)) << column;
        EXPECT_EQ(Order(), "abcdef") << column;
    }
    gAccounts[2].MsgCount = 0;
    EXPECT_TRUE(modCheck::SortMessages(2, "From", false)) << "an empty account sorts to nothing";
}

}  // namespace
