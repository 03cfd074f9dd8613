#include "app/general/reply_text.h"

#include "app/general/message_store.h"
#include "platform/text/vb_format.h"

namespace modGeneral {

ReplyText ReplyToStored(int16_t account, int16_t msg) {
    const StoredMessage& m = Msg(account, msg);
    return {ReplyAddress(m.From), QStringLiteral("Re: ") + m.Subject,
            ReplyNoteText(m.From, m.To, DateText(m), m.Subject, PlainTextOf(m))};
}

QString ReplyAddress(const QString& from) {
    const qsizetype open = from.lastIndexOf(QLatin1Char('<'));
    const qsizetype close = from.indexOf(QLatin1Char('>'), open + 1);
    if (open >= 0 && close > open + 1) return from.mid(open + 1, close - open - 1).trimmed();
    return from.trimmed();
}

QString ReplyNoteText(const QString& from, const QString& to, const QString& date, const QString& subject,
                      const QString& plainText) {
    const QString crlf = QStringLiteral("\r\n");
    // Lines broken by a lone LF or CR are quoted too.
    QString quoted = crlf + plainText;
    quoted.replace(crlf, QStringLiteral("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n'));
    quoted.replace(QLatin1Char('\n'), QStringLiteral("\r\n>"));
    return QStringLiteral("-----Original Message-----") + crlf + QStringLiteral("From: ") + from + crlf +
           QStringLiteral("To: ") + to + crlf + QStringLiteral("Sent: ") + SentDateText(date) + crlf +
           QStringLiteral("Subject: ") + subject + crlf + crlf + quoted;
}

QString SentDateText(const QString& listDate) {
    // Read with fixed English names, whatever the user's locale.
    const auto time = text::ParseFormattedDate(listDate.trimmed().toStdString(), "mmm d, yyyy h:mm:ss AM/PM");
    if (!time) return listDate;
    return QString::fromStdString(text::FormatDate(*time, "dddd, mmmm d, yyyy at h:mm AM/PM"));
}

}  // namespace modGeneral
