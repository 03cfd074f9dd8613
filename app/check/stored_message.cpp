#include "app/check/stored_message.h"

#include <QSet>
#include <cmath>

#include "app/accounts/account_table.h"
#include "app/common/date_text.h"
#include "app/general/message_store.h"

namespace modCheck {

QString SizeInKb(int32_t bytes) {
    // nearbyint rounds half to even under the default rounding mode.
    return QString::number(static_cast<int64_t>(std::nearbyint(bytes / 1000.0)));
}

QString CleanFrom(const QString& from) {
    QString text = from;
    text.replace(QLatin1Char('&'), QLatin1String("and"));
    text.remove(QLatin1Char('"'));
    return text;
}

QString CleanTo(const QString& to) {
    QString text = to;
    text.remove(QLatin1Char('"'));
    return text.isEmpty() ? QStringLiteral("Undisclosed-Recipient") : text;
}

QString ListDateText(const std::optional<QDateTime>& date) {
    return date ? FormatDate(*date, "MMM dd, yyyy hh:mm:ss AM/PM") : QString();
}

bool StoreMessage(int16_t a, int16_t m, const DownloadedMessage& message) {
    using namespace modGeneral;
    gMsgSize(a, m) = SizeInKb(message.size);
    gMsgFrom(a, m) = CleanFrom(message.from);
    gMsgTo(a, m) = CleanTo(message.to);
    gMsgSubject(a, m) = message.subject;
    gMsgDate(a, m) = ListDateText(message.date);
    gMsgBody(a, m) = message.body;
    gMsgPlainText(a, m) = message.plainText;
    gMsgUid(a, m) = message.uid;
    gMsgAttach(a, m) = message.attachments > 0;
    return message.from.isEmpty() && message.to.isEmpty() && gMsgSize(a, m).toInt() < 2;
}

int16_t MarkNewMessages(int16_t a) {
    using namespace modGeneral;
    const int16_t count = modAccounts::gAcntMsgCount[a];
    // Rows above the last check's count hold no last UID, so the whole row
    // range is this account's last list, however its count changed since.
    QSet<QString> last;
    for (int m = 1; m <= gMsgLastUid.UBound2(); ++m)
        if (!gMsgLastUid(a, m).isEmpty()) last.insert(gMsgLastUid(a, m));
    int16_t fresh = 0;
    for (int16_t m = 1; m <= count; ++m) {
        gMsgNew(a, m) = gMsgUid(a, m).isEmpty() || !last.contains(gMsgUid(a, m));
        if (gMsgNew(a, m)) ++fresh;
    }
    for (int m = 1; m <= gMsgLastUid.UBound2(); ++m)
        gMsgLastUid(a, m) = m <= count ? gMsgUid(a, m) : QString();
    return fresh;
}

}  // namespace modCheck
