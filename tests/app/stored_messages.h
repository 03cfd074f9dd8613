#pragma once
// Messages put into the message store as a check would leave them, for the
// tests of what reads the store.
#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <optional>
#include <vector>

#include "app/accounts/account_table.h"
#include "app/general/message_store.h"
#include "platform/text/code_page.h"

namespace test_store {

struct Message {
    QString uid;
    QString from;
    QString subject;
    QString plain = {};
    QString body = {};  // the 8-bit text as the component gives it
    QString to = QStringLiteral("me@example.org");
    std::optional<QDateTime> date =
        QDateTime(QDate(2024, 3, 5), QTime(15, 7, 9));  // "Mar 05, 2024 03:07:09 PM"
};

// accounts accounts, none holding a message.
inline void MakeAccounts(int16_t accounts) {
    modAccounts::gAccountCount = accounts;
    modAccounts::ResizeAccountArrays(accounts);
    modGeneral::gMessageStore.clear();
    modGeneral::ResizeMessageStoreAccounts(accounts);
}

// Account a holds exactly messages, in this order.
inline void Store(int16_t a, const std::vector<Message>& messages) {
    std::vector<modGeneral::StoredMessage> stored;
    for (const Message& msg : messages) {
        modGeneral::StoredMessage m;
        m.Uid = msg.uid;
        m.From = msg.from;
        m.To = msg.to;
        m.Subject = msg.subject;
        m.Date = msg.date;
        m.Size = (msg.body.size() + 500) / 1000;
        m.PlainText = msg.plain.toUtf8();
        m.Body = QByteArray::fromStdString(text::ToAnsi(msg.body.toStdU16String()));
        stored.push_back(m);
    }
    modGeneral::AccountRow(a).Messages = std::move(stored);
    modAccounts::gAccounts[a].MsgCount = static_cast<int16_t>(messages.size());
}

}  // namespace test_store
