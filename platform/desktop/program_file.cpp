#include <gio/gdesktopappinfo.h>
#include <gio/gio.h>

#include "platform/desktop/program_file.h"

#include "platform/desktop/gobject_ptr.h"

#include <QFileInfo>
#include <QProcess>

namespace platform::desktop {
namespace {

bool IsDesktopEntryName(const QString& path) {
    return path.endsWith(QLatin1String(".desktop"), Qt::CaseInsensitive);
}

// Null unless path is a regular file holding an application entry with a
// command whose program exists.
GObjectPtr<GDesktopAppInfo> LoadDesktopEntry(const QString& path) {
    if (!IsDesktopEntryName(path) || !QFileInfo(path).isFile()) return nullptr;
    const QByteArray file = QFile::encodeName(path);
    GObjectPtr<GDesktopAppInfo> entry(g_desktop_app_info_new_from_filename(file.constData()));
    if (!entry) return nullptr;
    const char* const command = g_app_info_get_commandline(G_APP_INFO(entry.get()));
    if (command == nullptr || *command == '\0') return nullptr;
    return entry;
}

QString CanonicalProgram(const char* command) {
    if (command == nullptr) return {};
    const GCharPtr found(g_find_program_in_path(command));
    return found ? QFileInfo(QFile::decodeName(found.get())).canonicalFilePath() : QString();
}

// An installed application entry whose command runs the program at path.
GObjectPtr<GDesktopAppInfo> FindEntryFor(const QString& path) {
    const QString wanted = QFileInfo(path).canonicalFilePath();
    if (wanted.isEmpty()) return nullptr;
    GList* const all = g_app_info_get_all();
    GObjectPtr<GDesktopAppInfo> match;
    for (GList* item = all; item != nullptr; item = item->next) {
        auto* const app = static_cast<GAppInfo*>(item->data);
        if (!match && G_IS_DESKTOP_APP_INFO(app) &&
            CanonicalProgram(g_app_info_get_executable(app)) == wanted)
            match.reset(G_DESKTOP_APP_INFO(g_object_ref(app)));
    }
    g_list_free_full(all, g_object_unref);
    return match;
}

QIcon IconNamed(const QString& name) {
    if (name.isEmpty()) return {};
    if (QFileInfo(name).isAbsolute()) return QFileInfo(name).isFile() ? QIcon(name) : QIcon();
    return QIcon::hasThemeIcon(name) ? QIcon::fromTheme(name) : QIcon();
}

QIcon EntryIcon(GDesktopAppInfo* entry) {
    if (entry == nullptr) return {};
    const GCharPtr icon(g_desktop_app_info_get_string(entry, "Icon"));
    return icon ? IconNamed(QString::fromUtf8(icon.get())) : QIcon();
}

}  // namespace

bool IsUsableProgram(const QString& path) {
    if (IsDesktopEntryName(path)) return LoadDesktopEntry(path) != nullptr;
    const QFileInfo file(path);
    return file.isFile() && file.isExecutable();
}

QIcon ProgramIcon(const QString& path) {
    if (IsDesktopEntryName(path)) return EntryIcon(LoadDesktopEntry(path).get());
    if (!QFileInfo(path).isFile()) return {};
    if (QIcon icon = EntryIcon(FindEntryFor(path).get()); !icon.isNull()) return icon;
    return IconNamed(QFileInfo(path).fileName());
}

bool StartProgram(const QString& path) {
    if (IsDesktopEntryName(path)) {
        const GObjectPtr<GDesktopAppInfo> entry = LoadDesktopEntry(path);
        return entry && g_app_info_launch(G_APP_INFO(entry.get()), nullptr, nullptr, nullptr);
    }
    if (!IsUsableProgram(path)) return false;
    return QProcess::startDetached(QFileInfo(path).absoluteFilePath(), {});
}

}  // namespace platform::desktop
