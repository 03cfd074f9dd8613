#include "app/general/message_file.h"

#include <QFile>

#include "app/general/message_store.h"
#include "platform/store/atomic_file.h"

namespace modGeneral {

std::optional<QByteArray> MessageFileBytes(int16_t account, int16_t msg) {
    const StoredMessage& m = Msg(account, msg);
    std::optional<QByteArray> bytes = MessageBytes(m);
    if (!bytes) return std::nullopt;
    const QByteArrayView plain = PlainTextBytes(m);
    bytes->reserve(bytes->size() + plain.size() + 6);
    *bytes += "\r\n\r\n";
    *bytes += plain;
    *bytes += "\r\n";
    return bytes;
}

bool WriteTextFile(const QString& path, int16_t account, int16_t msg) {
    if (path.isEmpty()) return false;
    const std::optional<QByteArray> bytes = MessageFileBytes(account, msg);
    if (!bytes) return false;
    // Mail is private: the file is the user's alone, whatever the umask.
    return !platform::store::WriteFileAtomically(QFile::encodeName(path).toStdString(),
                                                 std::string_view(bytes->constData(), bytes->size()), 0600);
}

QString SaveFileName(const QString& subject) {
    static const QString kRemoved = QStringLiteral("/?<>\\:*|\"[],;");
    QString name;
    for (const QChar c : subject)
        if (!kRemoved.contains(c) && c.category() != QChar::Other_Control) name += c;
    bool onlyDots = true;
    for (const QChar c : name) onlyDots = onlyDots && (c == QLatin1Char('.') || c == QLatin1Char(' '));
    if (onlyDots) return {};
    // Whole characters only: a name cut inside one would not be UTF-8.
    while (name.toUtf8().size() > 255) name.chop(name.back().isLowSurrogate() ? 2 : 1);
    return name;
}

}  // namespace modGeneral
