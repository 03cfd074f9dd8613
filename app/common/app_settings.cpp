#include "app/common/app_settings.h"

#include <filesystem>

#include "platform/store/settings_store.h"

namespace store = platform::store;

QString GetSetting(const QString& appName, const QString& section, const QString& key,
                   const QString& defaultValue) {
    return QString::fromStdString(store::GetSetting(appName.toStdString(), section.toStdString(),
                                                    key.toStdString(), defaultValue.toStdString()));
}

QString SettingsFilePath(const QString& appName) {
    return QString::fromStdString(store::SettingsFilePath(appName.toStdString()).string());
}

QStringList SettingNames(const QString& appName, const QString& section) {
    QStringList names;
    for (const std::string& name : store::SettingNames(appName.toStdString(), section.toStdString()))
        names.append(QString::fromStdString(name));
    return names;
}

bool SaveSetting(const QString& appName, const QString& section, const QString& key, const QString& value) {
    return !store::SaveSetting(appName.toStdString(), section.toStdString(), key.toStdString(),
                               value.toStdString());
}

namespace {

std::vector<std::pair<std::string, std::string>> Utf8(
    const std::vector<std::pair<QString, QString>>& values) {
    std::vector<std::pair<std::string, std::string>> utf8;
    utf8.reserve(values.size());
    for (const auto& [key, value] : values) utf8.emplace_back(key.toStdString(), value.toStdString());
    return utf8;
}

}  // namespace

bool SaveSettings(const QString& appName, const QString& section,
                  const std::vector<std::pair<QString, QString>>& values) {
    return !store::SaveSettings(appName.toStdString(), section.toStdString(), Utf8(values));
}

bool ReplaceSettings(const QString& appName, const QString& section,
                     const std::vector<std::pair<QString, QString>>& values,
                     const std::vector<QString>& removals) {
    std::vector<std::string> keys;
    keys.reserve(removals.size());
    for (const QString& key : removals) keys.push_back(key.toStdString());
    return !store::ReplaceSettings(appName.toStdString(), section.toStdString(), Utf8(values), keys);
}

bool DeleteSetting(const QString& appName, const QString& section, const QString& key) {
    return !store::DeleteSetting(appName.toStdString(), section.toStdString(), key.toStdString());
}

namespace {

// Why a file could not be used: what stands at its path when that is no
// file, else the error.
QString Reason(const store::SetAsideFile& f) {
    if (!f.unreadable) return f.error ? QString::fromLocal8Bit(f.error.message().c_str()) : QString();
    std::error_code ec;
    const std::filesystem::file_status status = std::filesystem::status(f.file, ec);
    const bool link = std::filesystem::is_symlink(std::filesystem::symlink_status(f.file, ec));
    const QString through = link ? QStringLiteral("it is a link to ") : QStringLiteral("it is ");
    if (std::filesystem::is_directory(status)) return through + QStringLiteral("a folder, not a file");
    if (std::filesystem::is_fifo(status)) return through + QStringLiteral("a pipe (FIFO), not a file");
    if (std::filesystem::is_character_file(status) || std::filesystem::is_block_file(status))
        return through + QStringLiteral("a device, not a file");
    if (std::filesystem::is_socket(status)) return through + QStringLiteral("a socket, not a file");
    return QStringLiteral("it cannot be read: ") + QString::fromLocal8Bit(f.error.message().c_str());
}

}  // namespace

std::vector<SetAsideSettings> TakeSetAsideSettings() {
    std::vector<SetAsideSettings> files;
    for (const store::SetAsideFile& f : store::TakeSetAsideFiles())
        files.push_back({QString::fromStdString(f.file.string()), QString::fromStdString(f.copy.string()),
                         Reason(f), f.unreadable});
    return files;
}
