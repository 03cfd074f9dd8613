#include "platform/desktop/mail_compose.h"

#include "platform/desktop/shell.h"

#include <QByteArray>
#include <QStringList>
#include <QUrl>

namespace platform::desktop {
namespace {

QByteArray Encode(const QString& text, const QByteArray& keep = {}) {
    return QUrl::toPercentEncoding(text, keep);
}

// The most of text, from its start, whose encoding fits into room
// characters; never half a character.
QByteArray EncodedStart(const QString& text, qsizetype room) {
    qsizetype low = 0, high = text.size();  // the length sought lies in [low, high]
    while (low < high) {
        const qsizetype mid = low + (high - low + 1) / 2;
        if (Encode(text.left(mid)).size() <= room)
            low = mid;
        else
            high = mid - 1;
    }
    if (low > 0 && text[low - 1].isHighSurrogate()) --low;
    return Encode(text.left(low));
}

// The body's lines, encoded and joined by CR LF: all of them when they fit
// into budget characters, else what fits before the cut mark's line: whole
// lines, and of a line too long for the room left the start that fits, when
// more than kWholeLineSlack characters would stay unused otherwise.
QByteArray EncodeBody(QString body, qsizetype budget, const QString& cutMark) {
    constexpr qsizetype kWholeLineSlack = 1024;
    body.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    body.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    const QStringList lines = body.split(QLatin1Char('\n'));
    QList<QByteArray> encodedLines;
    qsizetype whole = 0;
    for (const QString& line : lines) {
        encodedLines.append((encodedLines.isEmpty() ? QByteArray() : QByteArray("%0D%0A")) + Encode(line));
        whole += encodedLines.back().size();
    }
    if (whole <= budget) return encodedLines.join();

    const QByteArray mark = cutMark.isEmpty() ? QByteArray() : "%0D%0A" + Encode(cutMark);
    QByteArray encoded;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const qsizetype room = budget - mark.size() - encoded.size();
        if (encodedLines[i].size() <= room) {
            encoded += encodedLines[i];
            continue;
        }
        const QByteArray breakBefore = i > 0 ? QByteArray("%0D%0A") : QByteArray();
        if (room - breakBefore.size() > kWholeLineSlack)
            encoded += breakBefore + EncodedStart(lines[i], room - breakBefore.size());
        break;
    }
    return encoded + mark;
}

}  // namespace

QString MailtoUrl(const QString& to, const QString& subject, const QString& body, const QString& cutMark) {
    QByteArray url = "mailto:" + Encode(to, "@");
    char separator = '?';
    if (!subject.isEmpty()) {
        url += separator + QByteArray("subject=") + Encode(subject);
        separator = '&';
    }
    if (!body.isEmpty()) {
        url += separator + QByteArray("body=");
        url += EncodeBody(body, kMaxMailtoLength - url.size(), cutMark);
    }
    return QString::fromLatin1(url);
}

bool ComposeMail(const QString& to, const QString& subject, const QString& body, const QString& cutMark) {
    return OpenUrl(MailtoUrl(to, subject, body, cutMark));
}

}  // namespace platform::desktop
