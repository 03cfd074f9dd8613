// Downloaded messages as the store keeps them, which are new, and the rows a
// deletion on the server leaves.
#include <gtest/gtest.h>

#include "app/accounts/account_table.h"
#include "app/check/server_deletion.h"
#include "app/check/stored_message.h"
#include "app/general/message_store.h"

using namespace modCheck;
using namespace modGeneral;
using modAccounts::gAcntMsgCount;

namespace {

// One account with room for 10 messages, none stored.
class Store : public ::testing::Test {
protected:
    void SetUp() override {
        modAccounts::gAccountCount = 1;
        modAccounts::ResizeAccountArrays(1);
        gMaxMsgCount = 0;
        ResizeMessageStoreAccounts(1, 0);
        gMaxMsgCount = 10;
        ResizeMessageArrays(10);
    }
    // The account now holds these UIDs, each message's From its UID.
    static void Hold(const QStringList& uids) {
        gAcntMsgCount[1] = static_cast<int16_t>(uids.size());
        for (int16_t m = 1; m <= uids.size(); ++m) {
            gMsgUid(1, m) = uids[m - 1];
            gMsgFrom(1, m) = "from " + uids[m - 1];
        }
    }
    static QString NewFlags() {
        QString flags;
        for (int16_t m = 1; m <= gAcntMsgCount[1]; ++m) flags += gMsgNew(1, m) ? 'N' : '.';
        return flags;
    }
};

TEST_F(Store, FieldsAreCleanedUpAsTheListShowsThem) {
    struct Row {
        int32_t size;
        const char* from;
        const char* to;
        const char* kb;
        const char* storedFrom;
        const char* storedTo;
        bool incomplete;
    };
    for (const Row& r : {
             Row{1500, "\"Tom & Jerry\" <t@x>", "b@x", "2", "Tom and Jerry <t@x>", "b@x", false},
             Row{2500, "AT&T", "\"Bob\" <b@x>", "2", "ATandT", "Bob <b@x>", false},
             Row{3500, "a", "", "4", "a", "Undisclosed-Recipient", false},
             Row{499, "", "\"\"", "0", "", "Undisclosed-Recipient", false},  // a To of quotes was received
             Row{1499, "", "", "1", "", "Undisclosed-Recipient", true},
             Row{1501, "", "", "2", "", "Undisclosed-Recipient", false},
         }) {
        SCOPED_TRACE(r.size);
        DownloadedMessage message;
        message.size = r.size;
        message.from = QString::fromUtf8(r.from);
        message.to = QString::fromUtf8(r.to);
        message.subject = QStringLiteral("\"Hi\" & bye");
        message.uid = QStringLiteral("u1");
        message.attachments = r.size > 2000 ? 1 : 0;
        EXPECT_EQ(StoreMessage(1, 3, message), r.incomplete);
        EXPECT_EQ(gMsgSize(1, 3), QString::fromLatin1(r.kb));
        EXPECT_EQ(gMsgFrom(1, 3), QString::fromUtf8(r.storedFrom));
        EXPECT_EQ(gMsgTo(1, 3), QString::fromUtf8(r.storedTo));
        EXPECT_EQ(gMsgSubject(1, 3), message.subject) << "the subject is kept as received";
        EXPECT_EQ(gMsgAttach(1, 3), r.size > 2000);
    }
}

TEST_F(Store, DatesAreWrittenInEnglishTwelveHourTime) {
    struct Row {
        QDateTime date;
        const char* text;
    };
    for (const Row& r : {Row{QDateTime(QDate(2026, 12, 8), QTime(21, 5, 0)), "Dec 08, 2026 09:05:00 PM"},
                         Row{QDateTime(QDate(2027, 1, 31), QTime(0, 30, 7)), "Jan 31, 2027 12:30:07 AM"},
                         Row{QDateTime(QDate(2027, 5, 1), QTime(12, 0, 0)), "May 01, 2027 12:00:00 PM"}}) {
        EXPECT_EQ(ListDateText(r.date), QString::fromLatin1(r.text));
    }
    EXPECT_EQ(ListDateText(std::nullopt), QString()) << "an unreadable date stores none";
}

TEST_F(Store, NewMailIsTheUidsTheLastCheckDidNotSee) {
    struct Check {
        QStringList uids;
        const char* flags;
    };
    // The count falling and rising again, and a mailbox emptied by another
    // client, must neither hide new mail nor show old mail as new.
    const std::vector<Check> checks = {
        {{"a", "b", "c", "d", "e"}, "NNNNN"},
        {{"a", "b", "c", "d", "e"}, "....."},
        {{"a", "b"}, ".."},
        {{"a", "b", "f"}, "..N"},
        {{}, ""},
        {{"g", "h"}, "NN"},
        {{"g", "", "h"}, ".N."},
        {{"g", "", "h"}, ".N."},
    };
    for (size_t i = 0; i < checks.size(); ++i) {
        SCOPED_TRACE(i);
        Hold(checks[i].uids);
        const int16_t fresh = MarkNewMessages(1);
        EXPECT_EQ(NewFlags(), QString::fromLatin1(checks[i].flags));
        EXPECT_EQ(fresh, NewFlags().count('N'));
    }
}

TEST_F(Store, DeletedRowsLeaveAndTheOthersMoveUpWithAllTheirFields) {
    struct Row {
        QStringList chosen;
        const char* left;  // the From texts' UIDs in order
    };
    for (const Row& r : {Row{{"2", "4"}, "1 3 5"}, Row{{"1", "2", "3", "4", "5"}, ""},
                         Row{{"9", ""}, "1 2 3 4 5"}, Row{{"5", "1"}, "2 3 4"}}) {
        SCOPED_TRACE(r.left);
        Hold({"1", "2", "3", "4", "5"});
        MarkNewMessages(1);
        for (int16_t m = 1; m <= 5; ++m) {
            gMsgNew(1, m) = m == 3 || m == 4;
            gMsgSpam(1, m) = m == 5;
            gMsgDelete(1, m) = m == 1;
        }
        const int16_t left = CompactMessages(1, ChosenRows(1, r.chosen));
        QStringList rows;
        for (int16_t m = 1; m <= left; ++m) {
            EXPECT_EQ(gMsgFrom(1, m), "from " + gMsgUid(1, m)) << "fields moved apart";
            EXPECT_EQ(gMsgLastUid(1, m), gMsgUid(1, m));
            rows << gMsgUid(1, m);
        }
        EXPECT_EQ(rows.join(' '), QString::fromLatin1(r.left));
        EXPECT_EQ(gAcntMsgCount[1], left);
        EXPECT_EQ(modAccounts::gAcntPrevMsgCount[1], left);
        EXPECT_EQ(modAccounts::gAcntNewCount[1], rows.contains("3") + rows.contains("4"));
        EXPECT_EQ(modAccounts::gAcntSpamCount[1], rows.contains("5") ? 1 : 0);
        EXPECT_EQ(modAccounts::gAcntDeleteCount[1], rows.contains("1") ? 1 : 0);
        // A deleted message that came back would be new mail again.
        for (int m = left + 1; m <= gMaxMsgCount; ++m) EXPECT_TRUE(gMsgLastUid(1, m).isEmpty());
    }
}

TEST_F(Store, AnEmptyUidChoosesNothing) {
    Hold({"1", "", "3"});
    const std::vector<bool> chosen = ChosenRows(1, {"", "3"});
    EXPECT_EQ(chosen, (std::vector<bool>{false, false, false, true}));
}

}  // namespace
