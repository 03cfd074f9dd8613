#include <gio/gio.h>

#include "platform/desktop/shell.h"

#include "platform/desktop/gobject_ptr.h"

#include <QFileInfo>
#include <QMimeDatabase>
#include <QProcess>
#include <QStringList>
#include <QUrl>

namespace platform::desktop {
namespace {

Opener& CurrentOpener() {
    static Opener opener;
    return opener;
}

bool RunOpener(const QString& target) {
    if (const Opener& opener = CurrentOpener()) return opener(target);
    return QProcess::startDetached(QStringLiteral("xdg-open"), {target});
}

// RFC 3986: ALPHA *( ALPHA / DIGIT / "+" / "-" / "." ) before the first ":".
QString SchemeOf(const QString& url) {
    const qsizetype colon = url.indexOf(QLatin1Char(':'));
    if (colon <= 0) return {};
    const QString scheme = url.left(colon);
    if (!scheme.front().isLetter() || scheme.front().unicode() > 0x7f) return {};
    for (const QChar c : scheme) {
        const bool ok = (c.unicode() < 0x80 && c.isLetterOrNumber()) || c == QLatin1Char('+') ||
                        c == QLatin1Char('-') || c == QLatin1Char('.');
        if (!ok) return {};
    }
    return scheme.toLower();
}

}  // namespace

bool HasDefaultApplication(const QString& mimeType) {
    if (mimeType.isEmpty()) return false;
    const QByteArray type = mimeType.toUtf8();
    const GObjectPtr<GAppInfo> app(g_app_info_get_default_for_type(type.constData(), FALSE));
    return app != nullptr;
}

bool OpenFile(const QString& path) {
    const QFileInfo file(path);
    if (!file.isFile()) return false;
    const QMimeType type = QMimeDatabase().mimeTypeForFile(file);
    if (!HasDefaultApplication(type.name())) return false;
    return RunOpener(file.absoluteFilePath());
}

bool OpenUrl(const QString& url) {
    const QString scheme = SchemeOf(url);
    if (scheme.isEmpty()) return false;
    if (scheme == QLatin1String("file")) return OpenFile(QUrl(url).toLocalFile());
    if (!HasDefaultApplication(QStringLiteral("x-scheme-handler/") + scheme)) return false;
    return RunOpener(url);
}

void SetOpener(Opener opener) { CurrentOpener() = std::move(opener); }

}  // namespace platform::desktop
