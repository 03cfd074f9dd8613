#include "app/common/app_settings.h"

#include "platform/store/settings_store.h"

namespace store = platform::store;

QString GetSetting(const QString& appName, const QString& section, const QString& key,
                   const QString& defaultValue) {
    return QString::fromStdString(store::GetSetting(appName.toStdString(), section.toStdString(),
                                                    key.toStdString(), defaultValue.toStdString()));
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

std::vector<SetAsideSettings> TakeSetAsideSettings() {
    std::vector<SetAsideSettings> files;
    for (const store::SetAsideFile& f : store::TakeSetAsideFiles())
        files.push_back({QString::fromStdString(f.file.string()), QString::fromStdString(f.copy.string()),
                         f.error ? QString::fromLocal8Bit(f.error.message().c_str()) : QString()});
    return files;
}
