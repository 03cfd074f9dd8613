#include "platform/store/program_folder.h"

#include <cstdlib>

#include "platform/store/atomic_file.h"
#include "platform/store/settings_store.h"

namespace platform::store {

std::filesystem::path UserDataFolder(std::error_code& ec) {
    const std::filesystem::path folder = SettingsFilePath("ZKT\\Veltrane").parent_path();
    ec = CreateFolders(folder);
    return folder;
}

std::filesystem::path UserDataFolder() {
    std::error_code ec;
    return UserDataFolder(ec);
}

std::filesystem::path InstallDataFolder() {
    std::error_code ec;
    const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (!ec) {
        const std::filesystem::path installed = exe.parent_path().parent_path() / "share" / "veltrane";
        if (std::filesystem::is_directory(installed, ec)) return installed;
    }
    if (const char* source = std::getenv("VELTRANE_SOURCE_DIR"); source && *source)
        return std::filesystem::path(source) / "data";
    return std::filesystem::path(VELTRANE_SOURCE_TREE) / "data";
}

}  // namespace platform::store
