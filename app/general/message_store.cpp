#include "app/general/message_store.h"

#include <algorithm>
#include <stdexcept>
#include <string>
#include <utility>

#include "app/accounts/account_table.h"
#include "app/common/date_text.h"
#include "platform/text/code_page.h"

namespace modGeneral {

std::vector<AccountMessages> gMessageStore;

void ResizeMessageStoreAccounts(int16_t accountCount) {
    gMessageStore.resize(accountCount < 0 ? 0 : static_cast<size_t>(accountCount) + 1);
}

void RemoveAccountRows(int16_t d) {
    if (d < 1 || static_cast<size_t>(d) >= gMessageStore.size()) return;
    gMessageStore.erase(gMessageStore.begin() + d);
}

void ExchangeAccountRows(int16_t a, int16_t b) { std::swap(AccountRow(a), AccountRow(b)); }

AccountMessages& AccountRow(int16_t a) {
    // Every account of the table has its row, from its first use on.
    if (a >= 0 && a <= modAccounts::gAccountCount && static_cast<size_t>(a) >= gMessageStore.size())
        ResizeMessageStoreAccounts(modAccounts::gAccountCount);
    if (a < 0 || static_cast<size_t>(a) >= gMessageStore.size())
        throw std::out_of_range("account " + std::to_string(a) + " is not in the message store");
    return gMessageStore[static_cast<size_t>(a)];
}

StoredMessage& Msg(int16_t account, int16_t msg) {
    std::vector<StoredMessage>& messages = AccountRow(account).Messages;
    if (msg < 1 || static_cast<size_t>(msg) > messages.size())
        throw std::out_of_range("message " + std::to_string(msg) + " of account " + std::to_string(account) +
                                " is not in the message store");
    return messages[static_cast<size_t>(msg - 1)];
}

namespace {

const QString kUnreadableRest =
    QStringLiteral("\r\n[The rest of this message could not be read: its file changed after the check.]");

// The text of the Date header of message (its bytes as received), unfolded,
// with runs of white space made one blank; empty when it has none.
QString DateHeaderText(const QByteArray& message) {
    QByteArray value;
    bool inDate = false;
    for (qsizetype at = 0; at < message.size();) {
        qsizetype end = message.indexOf('\n', at);
        if (end < 0) end = message.size();
        QByteArray line = message.mid(at, end - at);
        at = end + 1;
        if (line.endsWith('\r')) line.chop(1);
        // The header block ends at the first empty line.
        if (line.isEmpty()) break;
        const bool continued = line.front() == ' ' || line.front() == '\t';
        if (inDate && continued) {
            value += line;
            continue;
        }
        if (inDate) break;
        inDate = qstrnicmp(line.constData(), "Date:", 5) == 0;
        if (inDate) value = line.mid(5);
    }
    return QString::fromLatin1(value).simplified();
}

}  // namespace

QString SeenKey(const StoredMessage& message) {
    if (!message.Uid.isEmpty()) return message.Uid;
    // A UID is printable text, so a key that starts with a control
    // character is never one. The date is the header's own text: the stored
    // one is the time of reading when there is no header, and a local time
    // that moves with the clock's offset when there is.
    static const QChar kApart(0x1F);
    return kApart + message.From + kApart + message.Subject + kApart + DateHeaderText(message.Body) + kApart +
           QString::number(message.Size);
}

qint64 MessageByteCount(const StoredMessage& message) {
    return message.File ? message.File->Size() : message.Body.size();
}

std::optional<QByteArray> MessageBytes(const StoredMessage& message, qint64 limit) {
    if (message.File) return message.File->Read(limit);
    return limit < 0 ? message.Body : message.Body.left(static_cast<qsizetype>(limit));
}

QByteArrayView PlainTextBytes(const StoredMessage& message) {
    if (message.PlainTextFrom >= 0 && message.PlainTextFrom <= message.Body.size())
        return QByteArrayView(message.Body).sliced(message.PlainTextFrom);
    return message.PlainText;
}

QString PlainTextOf(const StoredMessage& message) { return QString::fromUtf8(PlainTextBytes(message)); }

void SetPlainText(StoredMessage& message, QByteArray bytes) {
    // A simple message's plain text is the end of its own bytes, when they
    // are held whole.
    if (!message.File && !bytes.isEmpty() && message.Body.endsWith(bytes)) {
        message.PlainText.clear();
        message.PlainTextFrom = message.Body.size() - bytes.size();
        return;
    }
    // Made for the worst case: the record keeps only what the text needs.
    bytes.squeeze();
    message.PlainText = std::move(bytes);
    message.PlainTextFrom = -1;
}

QString ListDateText(const std::optional<QDateTime>& date) {
    return date ? FormatDate(*date, "MMM dd, yyyy hh:mm:ss AM/PM") : QString();
}

QString DateText(const StoredMessage& message) { return ListDateText(message.Date); }

QString RawMessageText(const StoredMessage& message, qsizetype limit) {
    // One character per byte: no more bytes than characters are read.
    const std::optional<QByteArray> bytes = MessageBytes(message, limit);
    const QByteArray& shown = bytes ? *bytes : message.Body;
    QString text = QString::fromStdU16String(
        text::FromAnsi(std::string_view(shown.constData(), static_cast<size_t>(shown.size()))));
    if (!bytes) return text + kUnreadableRest;
    if (limit >= 0 && bytes->size() < MessageByteCount(message)) return text;
    text += QStringLiteral("\r\n\r\n");
    text += PlainTextOf(message);
    return limit < 0 ? text : text.left(limit);
}

}  // namespace modGeneral
