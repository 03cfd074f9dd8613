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

// The body's lines, encoded and joined by CR LF, as many whole lines as fit
// into budget characters.
QByteArray EncodeBody(QString body, qsizetype budget) {
  body.replace(QLatin1String("\r\n"), QLatin1String("\n"));
  body.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  QByteArray encoded;
  const QStringList lines = body.split(QLatin1Char('\n'));
  for (qsizetype i = 0; i < lines.size(); ++i) {
    const QByteArray line = (i > 0 ? QByteArray("%0D%0A") : QByteArray()) + Encode(lines[i]);
    if (encoded.size() + line.size() > budget) break;
    encoded += line;
  }
  return encoded;
}

}  // namespace

QString MailtoUrl(const QString& to, const QString& subject, const QString& body) {
  QByteArray url = "mailto:" + Encode(to, "@");
  char separator = '?';
  if (!subject.isEmpty()) {
    url += separator + QByteArray("subject=") + Encode(subject);
    separator = '&';
  }
  if (!body.isEmpty()) {
    url += separator + QByteArray("body=");
    url += EncodeBody(body, kMaxMailtoLength - url.size());
  }
  return QString::fromLatin1(url);
}

bool ComposeMail(const QString& to, const QString& subject, const QString& body) {
  return OpenUrl(MailtoUrl(to, subject, body));
}

}  // namespace platform::desktop
