#pragma once
// The message store: for every account, the messages its last check
// downloaded, one record each in list order, and what that check saw so that
// the next one can tell new mail. Row 0 is the blank placeholder account and
// holds no message; the messages of account a are 1 to gAccounts[a].MsgCount.
// Values are kept typed (a time point, a number, the message's own bytes);
// display texts are made where they are shown.

#include <QByteArray>
#include <QByteArrayView>
#include <QDateTime>
#include <QHash>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "app/general/kept_message_file.h"

namespace modGeneral {

struct StoredMessage {
    bool New = false;     // not among the account's messages of its last check
    bool Spam = false;    // a rule marked it as spam
    bool Delete = false;  // a rule marked it for deletion from the server
    bool Attach = false;  // it has at least one attachment
    QString From;         // "and" for every "&", no double quotes
    QString To;           // no double quotes; "Undisclosed-Recipient" when empty
    QString Subject;
    std::optional<QDateTime> Date;  // local wall-clock time; none when unreadable
    int64_t Size = 0;               // KB
    // The decoded text/plain part in UTF-8 (read it with PlainTextOf); kept
    // once: when it is the end of a whole Body, PlainText is empty and
    // PlainTextFrom says where in Body it starts.
    QByteArray PlainText;
    qsizetype PlainTextFrom = -1;
    QString Uid;  // the server's unique identifier
    // The whole message as received, headers included (read it with
    // MessageBytes); with File its header block alone.
    QByteArray Body;
    // The file that holds a large message's bytes, shared by the copies of
    // the record; none for a message held whole in Body.
    std::shared_ptr<const KeptMessageFile> File;
    // The attachments' names as the check read them (the preview lists
    // them); none when they were not read.
    std::optional<QStringList> AttachNames;
};

// The messages an account's last check found, by Seen key, each with how
// many times it was there.
using SeenMessages = QHash<QString, int>;

struct AccountMessages {
    std::vector<StoredMessage> Messages;  // message m is Messages[m - 1]
    SeenMessages LastSeen;
};

// Accounts 0 to gAccountCount, in tab order.
extern std::vector<AccountMessages> gMessageStore;

// The store holds accounts 0 to accountCount: an account added at the end
// starts with no message and nothing seen; the others keep theirs whole.
void ResizeMessageStoreAccounts(int16_t accountCount);
// Account d leaves the store with its messages and what it saw; the accounts
// after it move to the number before theirs, each with its own.
void RemoveAccountRows(int16_t d);
// Accounts a and b exchange everything the store holds of them.
void ExchangeAccountRows(int16_t a, int16_t b);

// Account a's row, made empty at its first use for an account of the table
// (0 to gAccountCount); throws std::out_of_range for any other number.
AccountMessages& AccountRow(int16_t a);
// Message msg (1-based) of account a as stored, within its row (a reader
// looks only at 1 to gAccounts[a].MsgCount); throws std::out_of_range otherwise.
StoredMessage& Msg(int16_t account, int16_t msg);

// What tells a message from the others of its account across checks: its
// UID, or for a message without one its sender, subject, the text of its
// Date header (none when it has none) and size.
QString SeenKey(const StoredMessage& message);

// The message's length in bytes, and its bytes: all of them, or with limit
// no more than its first limit; none when its file can no longer be read as
// it was kept.
qint64 MessageByteCount(const StoredMessage& message);
std::optional<QByteArray> MessageBytes(const StoredMessage& message, qint64 limit = -1);

// The plain text, as its UTF-8 bytes and as text.
QByteArrayView PlainTextBytes(const StoredMessage& message);
QString PlainTextOf(const StoredMessage& message);
// Gives message its plain text, kept once.
void SetPlainText(StoredMessage& message, QByteArray utf8);

// The date as the list, the preview and a reply show it:
// "MMM dd, yyyy hh:mm:ss AM/PM" with English month names; empty for none.
QString ListDateText(const std::optional<QDateTime>& date);
QString DateText(const StoredMessage& message);
// The raw text of a message: its bytes as text, a blank line, its plain
// text; with limit, no more than its first limit characters. When its file
// can no longer be read, the header block held and a line that says so.
QString RawMessageText(const StoredMessage& message, qsizetype limit = -1);

}  // namespace modGeneral
