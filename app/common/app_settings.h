#pragma once
// The settings store as the program uses it: text values by application key,
// section and value name, with a default when the value is missing.

#include <QString>
#include <QStringList>
#include <utility>
#include <vector>

// The program's application key.
inline const QString kAppKey = QStringLiteral("ZKT\\Veltrane");

QString GetSetting(const QString& appName, const QString& section, const QString& key,
                   const QString& defaultValue = {});
// The full path of the application key's settings file.
QString SettingsFilePath(const QString& appName);
// The names of a section's values; empty when the section is missing.
QStringList SettingNames(const QString& appName, const QString& section);
// False when the value could not be written; the stored values are then unchanged.
bool SaveSetting(const QString& appName, const QString& section, const QString& key, const QString& value);
// Several values of one section in one write, all or none.
bool SaveSettings(const QString& appName, const QString& section,
                  const std::vector<std::pair<QString, QString>>& values);
// Writes values and removes the values named by removals in one write, all or none.
bool ReplaceSettings(const QString& appName, const QString& section,
                     const std::vector<std::pair<QString, QString>>& values,
                     const std::vector<QString>& removals);
bool DeleteSetting(const QString& appName, const QString& section, const QString& key);

// A settings file of which nothing could be read: the file, where it was
// kept (empty when it stays in place, which reason then says why). An
// unreadable one (a folder, say) was never read as settings nor moved.
struct SetAsideSettings {
    QString file;
    QString copy;
    QString reason;
    bool unreadable = false;
};
// Such files met since the last call.
std::vector<SetAsideSettings> TakeSetAsideSettings();
