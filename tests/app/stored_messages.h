#pragma once
// Messages put into the message store as a check would leave them, for the
// tests of what reads the store.
#include <QString>
#include <vector>

#include "app/accounts/account_table.h"
#include "app/general/message_store.h"

namespace test_store {

struct Message {
    QString uid;
    QString from;
    QString subject;
    QString plain = {};
    QString body = {};  // the 8-bit text as the component gives it
    QString to = QStringLiteral("me@example.org");
    QString date = QStringLiteral("Mar 05, 2024 03:07:09 PM");
};

// accounts accounts, the store large enough for bound messages each.
inline void MakeAccounts(int16_t accounts, int16_t bound) {
    modAccounts::gAccountCount = accounts;
    modAccounts::ResizeAccountArrays(accounts);
    modGeneral::gMaxMsgCount = bound;
    modGeneral::ResizeMessageStoreAccounts(accounts, 0);
    modGeneral::ResizeMessageArrays(bound);
}

// Account a holds exactly messages, in this order.
inline void Store(int16_t a, const std::vector<Message>& messages) {
    using namespace modGeneral;
    modAccounts::gAcntMsgCount[a] = static_cast<int16_t>(messages.size());
    int16_t m = 0;
    for (const Message& msg : messages) {
        ++m;
        gMsgUid(a, m) = msg.uid;
        gMsgFrom(a, m) = msg.from;
        gMsgTo(a, m) = msg.to;
        gMsgSubject(a, m) = msg.subject;
        gMsgDate(a, m) = msg.date;
        gMsgSize(a, m) = QString::number((msg.body.size() + 500) / 1000);
        gMsgPlainText(a, m) = msg.plain;
        gMsgBody(a, m) = msg.body;
    }
}

}  // namespace test_store
