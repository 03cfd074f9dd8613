#include "app/general/message_store.h"

#include <gtest/gtest.h>

#include "app/accounts/account_table.h"

using namespace modGeneral;
using modAccounts::gAccountCount;
using modAccounts::gAcntMsgCount;

namespace {

// Fills every field of (a, m) from one tag so that any mix-up shows.
void Fill(int a, int m, const QString& tag, bool flags = true) {
    gMsgNew(a, m) = flags;
    gMsgSpam(a, m) = !flags;
    gMsgDelete(a, m) = flags;
    gMsgAttach(a, m) = !flags;
    gMsgFrom(a, m) = tag + "from";
    gMsgTo(a, m) = tag + "to";
    gMsgSubject(a, m) = tag + "subject";
    gMsgDate(a, m) = tag + "date";
    gMsgSize(a, m) = tag + "size";
    gMsgPlainText(a, m) = tag + "plain";
    gMsgUid(a, m) = tag + "uid";
    gMsgLastUid(a, m) = tag + "last";
    gMsgBody(a, m) = tag + "body";
}

// All thirteen fields of (a, m) in one printable line.
std::string Row(int a, int m) {
    QString s;
    for (bool f : {gMsgNew(a, m), gMsgSpam(a, m), gMsgDelete(a, m), gMsgAttach(a, m)}) s += f ? "1" : "0";
    for (const auto* t : {&gMsgFrom, &gMsgTo, &gMsgSubject, &gMsgDate, &gMsgSize, &gMsgPlainText, &gMsgUid,
                          &gMsgLastUid, &gMsgBody})
        s += "|" + (*t)(a, m);
    return s.toStdString();
}

std::string Filled(const QString& tag, bool flags = true) {
    Fill(0, 0, tag, flags);
    return Row(0, 0);
}

std::string Empty() { return "0000" + std::string(9, '|'); }

class MessageStore : public testing::Test {
protected:
    void SetUp() override {
        gMaxMsgCount = 0;
        gMsgNew.Redim(-1, -1);
        ResizeStoreToNothing();
    }
    static void ResizeStoreToNothing() {
        gAccountCount = 0;
        modAccounts::ResizeAccountArrays(0);
        ResizeMessageStoreAccounts(-1, -1);
    }
    // Accounts 1 to counts.size() holding counts[i] messages each.
    static void Setup(std::vector<int16_t> counts, int16_t bound) {
        gAccountCount = static_cast<int16_t>(counts.size());
        modAccounts::ResizeAccountArrays(gAccountCount);
        gMaxMsgCount = bound;
        ResizeMessageStoreAccounts(gAccountCount, 0);
        ResizeMessageArrays(bound);
        for (size_t a = 1; a <= counts.size(); ++a) {
            gAcntMsgCount[static_cast<int>(a)] = counts[a - 1];
            for (int m = 1; m <= counts[a - 1]; ++m) Fill(static_cast<int>(a), m, QString("a%1m%2").arg(a).arg(m));
        }
    }
};

TEST_F(MessageStore, FirstAccountBeforeAnyCheckAllocatesOneEmptySlot) {
    gAccountCount = 1;
    modAccounts::ResizeAccountArrays(1);
    ResizeMessageStoreAccounts(1, 0);
    EXPECT_EQ(gMsgBody.UBound1(), 1);
    EXPECT_EQ(gMsgBody.UBound2(), 0);
    EXPECT_EQ(gMsgNew.UBound1(), 1);
    EXPECT_EQ(Row(1, 0), Empty());
}

TEST_F(MessageStore, AddingAnAccountKeepsStoredMessagesAndClearsTheRest) {
    Setup({3, 5}, 5);
    for (int m = 4; m <= 5; ++m) Fill(1, m, "stale");  // above account 1's count
    gAccountCount = 3;
    modAccounts::ResizeAccountArrays(3);
    ResizeMessageStoreAccounts(3, gMaxMsgCount);
    EXPECT_EQ(gMsgUid.UBound1(), 3);
    EXPECT_EQ(gMsgUid.UBound2(), 5);
    for (int m = 1; m <= 3; ++m) EXPECT_EQ(Row(1, m), Filled(QString("a1m%1").arg(m))) << m;
    for (int m = 1; m <= 5; ++m) EXPECT_EQ(Row(2, m), Filled(QString("a2m%1").arg(m))) << m;
    for (int m = 4; m <= 5; ++m) EXPECT_EQ(Row(1, m), Empty()) << "slots above the count, last uid included";
    for (int m = 0; m <= 5; ++m) EXPECT_EQ(Row(3, m), Empty());
}

TEST_F(MessageStore, RaisingTheBoundKeepsEveryMessageAndRenewsTheWorkArrays) {
    Setup({3, 5}, 5);
    gTmpMsgUid[2] = "old";
    gMaxMsgCount = 7;
    ResizeMessageArrays(7);
    EXPECT_EQ(gMsgFrom.UBound2(), 7);
    for (int m = 1; m <= 5; ++m) EXPECT_EQ(Row(2, m), Filled(QString("a2m%1").arg(m)));
    EXPECT_EQ(Row(2, 7), Empty());
    EXPECT_EQ(gTmpMsgBody.UBound(), 7);
    EXPECT_EQ(gTmpMsgNew.UBound(), 7);
    EXPECT_EQ(gTmpMsgUid[2], "");
}

TEST_F(MessageStore, ASmallerCountChangesNoBound) {
    Setup({3, 5}, 5);
    ResizeMessageArrays(gMaxMsgCount);
    EXPECT_EQ(gMsgFrom.UBound2(), 5);
    EXPECT_EQ(Row(2, 5), Filled("a2m5"));
}

TEST_F(MessageStore, GrowingAfterAnAccountWasDeletedDropsTheSurplusRowOnly) {
    Setup({2, 4, 1}, 4);
    // The account deletion shifts rows down itself and leaves the store's account bound.
    for (int m = 1; m <= 4; ++m) CopyMessage(2, m, 1, m);
    CopyMessage(3, 1, 2, 1);
    gAccountCount = 2;
    modAccounts::ResizeAccountArrays(2);
    gAcntMsgCount[1] = 4;
    gAcntMsgCount[2] = 1;
    gMaxMsgCount = 9;
    ResizeMessageArrays(9);
    EXPECT_EQ(gMsgBody.UBound1(), 2);
    EXPECT_EQ(gMsgBody.UBound2(), 9);
    for (int m = 1; m <= 4; ++m) EXPECT_EQ(Row(1, m), Filled(QString("a2m%1").arg(m)));
    EXPECT_EQ(Row(2, 1), Filled("a3m1"));
}

TEST_F(MessageStore, RemovingAnAccountMovesTheRowsAfterItDown) {
    Setup({2, 4, 3}, 4);
    RemoveAccountRows(1, 3);
    for (int m = 1; m <= 4; ++m) EXPECT_EQ(Row(1, m), Filled(QString("a2m%1").arg(m))) << m;
    for (int m = 1; m <= 3; ++m) EXPECT_EQ(Row(2, m), Filled(QString("a3m%1").arg(m))) << m;
}

TEST_F(MessageStore, ExchangingAccountsMovesAsManyRowsAsTheLargerHolds) {
    Setup({3, 5}, 5);
    ExchangeAccountRows(1, 2);
    for (int m = 1; m <= 5; ++m) EXPECT_EQ(Row(1, m), Filled(QString("a2m%1").arg(m))) << m;
    for (int m = 1; m <= 3; ++m) EXPECT_EQ(Row(2, m), Filled(QString("a1m%1").arg(m))) << m;
    EXPECT_EQ(Row(2, 4), Empty());
}

TEST_F(MessageStore, SlotOperationsMoveAllThirteenFields) {
    Setup({2, 2}, 2);
    const std::string m11 = Filled("a1m1"), m22 = Filled("a2m2");
    ExchangeMessages(1, 1, 2, 2);
    EXPECT_EQ(Row(1, 1), m22);
    EXPECT_EQ(Row(2, 2), m11);
    Fill(1, 2, "x", false);
    const std::string x = Row(1, 2);
    CopyMessage(1, 2, 2, 1);
    EXPECT_EQ(Row(2, 1), x);
    CopyMessageToWork(2, 1, 2);
    Fill(2, 1, "overwritten");
    CopyWorkToMessage(2, 1, 1);
    EXPECT_EQ(Row(1, 1), x);
    EXPECT_EQ(gTmpMsgLastUid[2], "xlast");
}

TEST_F(MessageStore, OutOfBoundsAccessThrowsInsteadOfCorrupting) {
    EXPECT_THROW(gMsgFrom(1, 1), std::out_of_range);
    Setup({1}, 1);
    EXPECT_THROW(gMsgFrom(1, 2), std::out_of_range);
    EXPECT_THROW(gMsgFrom(2, 1), std::out_of_range);
    EXPECT_THROW(gTmpMsgUid[2], std::out_of_range);
    EXPECT_NO_THROW(gMsgFrom(1, 1));
}

TEST_F(MessageStore, RawTextIsBodyBlankLinePlainText) {
    Setup({1}, 1);
    EXPECT_EQ(RawMessageText(1, 1), "a1m1body\r\n\r\na1m1plain");
}

}  // namespace
