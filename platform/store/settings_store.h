#pragma once
// The per-user settings store (GetSetting / SaveSetting / DeleteSetting): one
// file per application key, $XDG_CONFIG_HOME/<key with "\" as "/">/settings.ini,
// sections as named ("Settings", "Settings\Options"). Texts are UTF-8 and come
// back byte for byte: blanks at either end, "=", "[", line breaks and every
// control character are %-escaped in the file. Names match without regard to
// ASCII case, as in the registry.
//
// Every change is a locked read-modify-write of the whole file, replaced
// atomically with mode 0600, so two processes never lose each other's values
// or leave a torn file. A file edited by hand reads as its writer meant it:
// a byte-order mark, CR LF, blanks and tabs around names and "=", a "%" that
// starts no escape, no line end at the end; a line that is no setting is
// kept, unread, as it stands. A file of which no line is a setting, or one
// larger than kMaxFileSize, reads as empty (every setting at its default)
// and is renamed aside to settings.ini.damaged-<time> rather than ever being
// overwritten; a file that is not empty and holds no setting (comments
// only, say) is such a file. A folder, FIFO or device at the path, or a file
// that cannot be read, reads as empty, is never replaced, and changes fail.
// TakeSetAsideFiles tells of both kinds. Through a symbolic link the link's
// target is read and replaced; the link stays.

#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>
#include <utility>
#include <vector>

namespace platform::store {

// The settings file of an application key such as "Maker\Program".
std::filesystem::path SettingsFilePath(std::string_view appKey);

std::string GetSetting(std::string_view appKey, std::string_view section, std::string_view key,
                       std::string_view defaultValue = {});

// The names of a section's values, in the file's order; empty when the
// section is missing.
std::vector<std::string> SettingNames(std::string_view appKey, std::string_view section);

std::error_code SaveSetting(std::string_view appKey, std::string_view section, std::string_view key,
                            std::string_view value);

// Several values of one section in one atomic replacement, in the given order.
std::error_code SaveSettings(std::string_view appKey, std::string_view section,
                             const std::vector<std::pair<std::string, std::string>>& values);

// Writes values and removes the values named by removals, in one atomic
// replacement: either every change is stored or none is.
std::error_code ReplaceSettings(std::string_view appKey, std::string_view section,
                                const std::vector<std::pair<std::string, std::string>>& values,
                                const std::vector<std::string>& removals);

// Removes one value; removing a missing value is not an error.
std::error_code DeleteSetting(std::string_view appKey, std::string_view section, std::string_view key);
// Removes a whole section.
std::error_code DeleteSetting(std::string_view appKey, std::string_view section);

// A settings file the store cannot use. One that was read and held no
// settings is moved: copy is where it went, or empty when it could not be
// moved (error says why). One that could not be read (unreadable: a folder,
// FIFO or device, or no permission; error says why) is never moved. A file
// left in place reads as defaults and no change can be stored.
struct SetAsideFile {
    std::filesystem::path file;
    std::filesystem::path copy;
    std::error_code error;
    bool unreadable = false;
};
// The files met since the last call, in the order they were met.
std::vector<SetAsideFile> TakeSetAsideFiles();

}  // namespace platform::store
