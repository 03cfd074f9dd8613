// Downloaded messages as the store keeps them, which are new, and the rows a
// deletion on the server leaves.
#include <gtest/gtest.h>

#include "app/accounts/account_table.h"
#include "app/check/server_deletion.h"
#include "app/check/stored_message.h"
#include "app/general/message_store.h"

using namespace modCheck;
using namespace modGeneral;
using modAccounts::gAccounts;

namespace {

// One account, nothing stored.
class Store : public ::testing::Test {
protected:
    void SetUp() override {
        modAccounts::gAccountCount = 1;
        modAccounts::ResizeAccountArrays(1);
        gMessageStore.clear();
        ResizeMessageStoreAccounts(1);
    }
    // The account now holds these UIDs, each message's From its UID; a UID
    // written "-subject" stands for a message without one, of that subject.
    static void Hold(const QStringList& uids) {
        std::vector<StoredMessage> messages;
        for (const QString& uid : uids) {
            StoredMessage m;
            if (uid.startsWith('-'))
                m.Subject = uid.mid(1);
            else
                m.Uid = uid;
            m.From = "from " + uid;
            messages.push_back(m);
        }
        AccountRow(1).Messages = messages;
        gAccounts[1].MsgCount = static_cast<int16_t>(uids.size());
    }
    static QString NewFlags() {
        QString flags;
        for (int16_t m = 1; m <= gAccounts[1].MsgCount; ++m) flags += Msg(1, m).New ? 'N' : '.';
        return flags;
    }
};

TEST_F(Store, FieldsAreCleanedUpAsTheListShowsThem) {
    struct Row {
        int32_t size;
        const char* from;
        const char* to;
        int64_t kb;
        const char* storedFrom;
        const char* storedTo;
        bool incomplete;
    };
    for (const Row& r : {
             Row{1500, "\"Tom & Jerry\" <t@x>", "b@x", 2, "Tom and Jerry <t@x>", "b@x", false},
             Row{2500, "AT&T", "\"Bob\" <b@x>", 2, "ATandT", "Bob <b@x>", false},
             Row{3500, "a", "", 4, "a", "Undisclosed-Recipient", false},
             Row{499, "", "\"\"", 0, "", "Undisclosed-Recipient", false},  // a To of quotes was received
             Row{1499, "", "", 1, "", "Undisclosed-Recipient", true},
             Row{1501, "", "", 2, "", "Undisclosed-Recipient", false},
         }) {
        SCOPED_TRACE(r.size);
        DownloadedMessage message;
        message.size = r.size;
        message.from = QString::fromUtf8(r.from);
        message.to = QString::fromUtf8(r.to);
        message.subject = QStringLiteral("\"Hi\" & bye");
        message.uid = QStringLiteral("u1");
        message.attachments = r.size > 2000 ? 1 : 0;
        message.body = QByteArray("bytes\xe9");
        EXPECT_EQ(LooksCutShort(message), r.incomplete);
        const StoredMessage stored = ToStoredMessage(message);
        EXPECT_EQ(stored.Size, r.kb);
        EXPECT_EQ(stored.From, QString::fromUtf8(r.storedFrom));
        EXPECT_EQ(stored.To, QString::fromUtf8(r.storedTo));
        EXPECT_EQ(stored.Subject, message.subject) << "the subject is kept as received";
        EXPECT_EQ(stored.Attach, r.size > 2000);
        EXPECT_EQ(stored.Body, message.body) << "the bytes as received";
        EXPECT_EQ(stored.Uid, message.uid);
    }
}

TEST_F(Store, DatesAreShownInEnglishTwelveHourTime) {
    struct Row {
        QDateTime date;
        const char* text;
    };
    for (const Row& r : {Row{QDateTime(QDate(2026, 12, 8), QTime(21, 5, 0)), "Dec 08, 2026 09:05:00 PM"},
                         Row{QDateTime(QDate(2027, 1, 31), QTime(0, 30, 7)), "Jan 31, 2027 12:30:07 AM"},
                         Row{QDateTime(QDate(2027, 5, 1), QTime(12, 0, 0)), "May 01, 2027 12:00:00 PM"}}) {
        EXPECT_EQ(ListDateText(r.date), QString::fromLatin1(r.text));
    }
    EXPECT_EQ(ListDateText(std::nullopt), QString()) << "an unreadable date shows none";
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
        // Without a UID a message is known by its sender, subject, date and
        // size: new once, and one more of two alike is new.
        {{"g", "-x", "h"}, ".N."},
        {{"g", "-x", "h"}, "..."},
        {{"-x", "-x", "-y"}, ".NN"},
        {{"-x", "-x", "-y"}, "..."},
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
            Msg(1, m).New = m == 3 || m == 4;
            Msg(1, m).Spam = m == 5;
            Msg(1, m).Delete = m == 1;
        }
        const int16_t left = CompactMessages(1, QSet<QString>(r.chosen.begin(), r.chosen.end()));
        QStringList rows;
        for (int16_t m = 1; m <= left; ++m) {
            EXPECT_EQ(Msg(1, m).From, "from " + Msg(1, m).Uid) << "fields moved apart";
            rows << Msg(1, m).Uid;
        }
        EXPECT_EQ(rows.join(' '), QString::fromLatin1(r.left));
        EXPECT_EQ(gAccounts[1].MsgCount, left);
        EXPECT_EQ(modAccounts::gAccounts[1].PrevMsgCount, left);
        EXPECT_EQ(modAccounts::gAccounts[1].NewCount, rows.contains("3") + rows.contains("4"));
        EXPECT_EQ(modAccounts::gAccounts[1].SpamCount, rows.contains("5") ? 1 : 0);
        EXPECT_EQ(modAccounts::gAccounts[1].DeleteCount, rows.contains("1") ? 1 : 0);
        // A deleted message that came back would be new mail again; the
        // ones kept are not.
        Hold({"1", "2", "3", "4", "5"});
        MarkNewMessages(1);
        QString again;
        for (const char* uid : {"1", "2", "3", "4", "5"}) again += r.chosen.contains(uid) ? 'N' : '.';
        EXPECT_EQ(NewFlags(), again);
    }
}

TEST_F(Store, AnEmptyUidChoosesNothing) {
    Hold({"1", "", "3"});
    const std::vector<bool> chosen = ChosenRows(1, {"", "3"});
    EXPECT_EQ(chosen, (std::vector<bool>{false, false, false, true}));
}

}  // namespace
