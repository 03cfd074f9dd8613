#include "platform/store/program_folder.h"

#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <optional>
#include <stdexcept>
#include <string_view>

#include "platform/store/atomic_file.h"
#include "platform/store/settings_store.h"

namespace platform::store {
namespace {

std::mutex gIdentityLock;
std::optional<AppIdentity> gIdentity;

bool IsFolderName(std::string_view part) {
    return !part.empty() && part != "." && part != ".." && part.find('/') == std::string_view::npos;
}

bool IsKey(std::string_view key) {
    while (true) {
        const size_t cut = key.find('\\');
        if (!IsFolderName(key.substr(0, cut))) return false;
        if (cut == std::string_view::npos) return true;
        key.remove_prefix(cut + 1);
    }
}

}  // namespace

void SetAppIdentity(const AppIdentity& identity) {
    if (!IsKey(identity.key)) throw std::invalid_argument("application key names no folder: " + identity.key);
    if (!IsFolderName(identity.dataFolder))
        throw std::invalid_argument("data folder is not one folder name: " + identity.dataFolder);
    if (identity.title.empty()) throw std::invalid_argument("application title is empty");
    const std::lock_guard lock(gIdentityLock);
    gIdentity = identity;
}

AppIdentity CurrentAppIdentity() {
    const std::lock_guard lock(gIdentityLock);
    if (!gIdentity) {
        std::fputs("application identity read before the program set it (SetAppIdentity)\n", stderr);
        std::abort();
    }
    return *gIdentity;
}

std::filesystem::path UserDataFolder(std::error_code& ec) {
    const std::filesystem::path folder = SettingsFilePath(CurrentAppIdentity().key).parent_path();
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
    if (auto installed = BesideExecutable("../share/" + CurrentAppIdentity().dataFolder); !installed.empty())
        return installed;
    if (const char* source = std::getenv("VELTRANE_SOURCE_DIR"); source && *source)
        return std::filesystem::path(source) / "data";
    return std::filesystem::path(VELTRANE_SOURCE_TREE) / "data";
}

std::filesystem::path InstallLibraryFolder() {
    // Only an install holds both folders; a build tree has neither beside it.
    if (BesideExecutable("../share/" + CurrentAppIdentity().dataFolder).empty()) return {};
    return BesideExecutable(VELTRANE_BIN_TO_LIBRARIES);
}

}  // namespace platform::store
