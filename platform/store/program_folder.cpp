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

namespace {

// `relative` from the folder of the running executable, when it is a folder.
std::filesystem::path BesideExecutable(const std::filesystem::path& relative) {
    std::error_code ec;
    const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec) return {};
    const std::filesystem::path folder = (exe.parent_path() / relative).lexically_normal();
    return std::filesystem::is_directory(folder, ec) ? folder : std::filesystem::path();
}

}  // namespace

std::filesystem::path InstallDataFolder() {
    if (auto installed = BesideExecutable("../share/veltrane"); !installed.empty()) return installed;
    if (const char* source = std::getenv("VELTRANE_SOURCE_DIR"); source && *source)
        return std::filesystem::path(source) / "data";
    return std::filesystem::path(VELTRANE_SOURCE_TREE) / "data";
}

std::filesystem::path InstallLibraryFolder() {
    // Only an install holds both folders; a build tree has neither beside it.
    if (BesideExecutable("../share/veltrane").empty()) return {};
    return BesideExecutable(VELTRANE_BIN_TO_LIBRARIES);
}

}  // namespace platform::store
