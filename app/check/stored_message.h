#pragma once
// One downloaded message made into the record the message store keeps: the
// fields read from the component, cleaned up for the list (sizes in KB, no
// double quotes in the addresses, "and" for "&" in the sender), and which of
// the account's messages are new since its last check.
#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <memory>
#include <optional>

#include "app/general/message_store.h"

namespace modCheck {

// The fields of one message as the component returns them.
struct DownloadedMessage {
    int32_t size = 0;  // bytes
    QString from;
    QString to;
    QString subject;
    std::optional<QDateTime> date;  // none when the message's date could not be read
    QByteArray body;                // the message's bytes; with file its header block
    std::shared_ptr<const modGeneral::KeptMessageFile> file;  // the file that holds a large message
    QByteArray plainText;                                     // UTF-8
    QString uid;
    int32_t attachments = 0;
    QStringList attachmentNames;  // read when it has attachments
};

// Bytes in KB: divided by 1000, rounded half to even (2 for 1500 and 2500).
int64_t SizeInKb(int32_t bytes);
// Every "&" becomes "and" (a list shows no mnemonics), then every double quote goes.
QString CleanFrom(const QString& from);
// Every double quote goes; nothing left becomes "Undisclosed-Recipient".
QString CleanTo(const QString& to);

// The record of message, without the new, spam and delete marks.
modGeneral::StoredMessage ToStoredMessage(DownloadedMessage message);
// Whether message looks cut short by a lost connection: no sender, no
// recipient (as received, before the clean-up fills one in) and under 2 KB.
bool LooksCutShort(const DownloadedMessage& message);

// Marks messages 1 to gAccounts[account].MsgCount new when the account's last
// check did not see them (by UID; a message without one by its sender,
// subject, Date header text and size, so that it too is new once), then keeps this
// check's messages as the seen ones. Returns the number of new messages.
int16_t MarkNewMessages(int16_t account);

}  // namespace modCheck
