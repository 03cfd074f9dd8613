// The order of one account's messages in the store, by each list column.
#include "app/check/message_sort.h"

#include <gtest/gtest.h>

#include <vector>

#include "app/accounts/account_table.h"
#include "app/general/message_store.h"

using namespace modGeneral;
using modAccounts::gAccountCount;
using modAccounts::gAcntMsgCount;

namespace {

struct Message {
    const char* tag;  // also the text of every field the sort does not read
    const char* from;
    const char* date;
    const char* size;
};

// Two accounts; account 2 holds the messages, account 1 one that must not move.
void Store(const std::vector<Message>& messages) {
    gAccountCount = 2;
    modAccounts::ResizeAccountArrays(2);
    ResizeMessageArrays(static_cast<int16_t>(messages.size()));
    gAcntMsgCount[1] = 1;
    gMsgFrom(1, 1) = "zz";
    gAcntMsgCount[2] = static_cast<int16_t>(messages.size());
    int16_t m = 0;
    for (const Message& msg : messages) {
        ++m;
        const QString tag = QString::fromLatin1(msg.tag);
        gMsgFrom(2, m) = QString::fromUtf8(msg.from);
        gMsgDate(2, m) = QString::fromLatin1(msg.date);
        gMsgSize(2, m) = QString::fromLatin1(msg.size);
        for (auto* text : {&gMsgTo, &gMsgSubject, &gMsgPlainText, &gMsgUid, &gMsgLastUid, &gMsgBody})
            (*text)(2, m) = tag;
        gMsgNew(2, m) = tag == "b";
        gMsgSpam(2, m) = tag == "c";
        gMsgDelete(2, m) = tag == "d";
        gMsgAttach(2, m) = tag == "e";
    }
}

// The tags of account 2 in slot order; each slot's fields must still agree.
std::string Order() {
    std::string tags;
    for (int16_t m = 1; m <= gAcntMsgCount[2]; ++m) {
        const QString tag = gMsgUid(2, m);
        for (auto* text : {&gMsgTo, &gMsgSubject, &gMsgPlainText, &gMsgLastUid, &gMsgBody})
            EXPECT_EQ((*text)(2, m), tag) << "fields of one message were split";
        EXPECT_EQ(gMsgNew(2, m), tag == "b");
        EXPECT_EQ(gMsgSpam(2, m), tag == "c");
        EXPECT_EQ(gMsgDelete(2, m), tag == "d");
        EXPECT_EQ(gMsgAttach(2, m), tag == "e");
        tags += tag.toStdString();
    }
    return tags;
}

const std::vector<Message> kMessages = {
    {"a", "Bob", "Jan 05, 2024 09:00:00 AM", "10"},
    {"b", "alice", "Feb 01, 2024 08:00:00 AM", "9"},
    {"c", "Carol", "", "1000000"},
    {"d", "bob", "Dec 31, 2023 11:59:59 PM", "999999"},
    {"e", "Alice", "Jan 05, 2024 12:30:00 PM", "9"},
    {"f", "dave", "not a date", "x"},
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
    EXPECT_EQ(gMsgFrom(1, 1), "zz") << "another account moved";
}

// Texts ignore case and keep equal keys in their order (alice/Alice, Bob/bob);
// dates run in time order with empty and unreadable ones first (in their
// order); sizes by number, unreadable first.
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
    gAcntMsgCount[2] = 0;
    EXPECT_TRUE(modCheck::SortMessages(2, "From", false)) << "an empty account sorts to nothing";
}

TEST(ListDateKey, ReadsTheListFormatBack) {
    struct Case {
        const char* text;
        int64_t key;  // -1: not a list date
    } const cases[] = {
        {"Jan 05, 2024 12:00:00 AM", 20240105000000},
        {"Jan 05, 2024 12:00:00 PM", 20240105120000},
        {"Dec 31, 1999 11:59:59 PM", 19991231235959},
        {"feb 1, 2024 1:02:03 am", 20240201010203},
        {"", -1},
        {"Foo 05, 2024 09:00:00 AM", -1},
        {"Jan 05, 2024 13:00:00 PM", -1},
        {"Jan 05 2024 09:00:00 AM", -1},
        {"2024-01-05 09:00:00", -1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(modCheck::ListDateKey(QString::fromLatin1(c.text)).value_or(-1), c.key) << c.text;
}

}  // namespace
