#pragma once
// One downloaded message as the message store keeps it: the fields read from
// the component, cleaned up for the list (sizes in KB, no double quotes in
// the addresses, "and" for "&" in the sender, a fixed English date text), and
// which of the account's messages are new since its last check.
#include <QDateTime>
#include <QString>
#include <cstdint>
#include <optional>

namespace modCheck {

// The fields of one message as the component returns them.
struct DownloadedMessage {
    int32_t size = 0;  // bytes
    QString from;
    QString to;
    QString subject;
    std::optional<QDateTime> date;  // none when the message's date could not be read
    QString body;
    QString plainText;
    QString uid;
    int32_t attachments = 0;
};

// Bytes in KB: divided by 1000, rounded half to even ("2" for 1500 and 2500).
QString SizeInKb(int32_t bytes);
// Every "&" becomes "and" (a list shows no mnemonics), then every double quote goes.
QString CleanFrom(const QString& from);
// Every double quote goes; nothing left becomes "Undisclosed-Recipient".
QString CleanTo(const QString& to);
// "MMM dd, yyyy hh:mm:ss AM/PM" with English month names; empty for no date.
QString ListDateText(const std::optional<QDateTime>& date);

// Writes message into row (account, row) of the store: every field but the
// new, spam and delete flags and the last UID. True when the message looks
// cut short by a lost connection: no sender, no recipient (as received,
// before the clean-up fills one in) and under 2 KB.
bool StoreMessage(int16_t account, int16_t row, const DownloadedMessage& message);

// Marks rows 1 to gAcntMsgCount(account) new when their UID was not among
// the account's UIDs of its last check, then keeps this check's UIDs as the
// last ones (rows above the count keep none). A row without a UID is always
// new. Returns the number of new rows.
int16_t MarkNewMessages(int16_t account);

}  // namespace modCheck
