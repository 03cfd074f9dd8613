#include "platform/store/profile.h"

#include <sys/stat.h>

#include <cerrno>
#include <mutex>
#include <optional>

#include "platform/store/atomic_file.h"

namespace platform::store {
namespace {

// Readers ask for one key at a time; the last file parsed is kept while its
// identity on disk (inode, size, modification time) stays the same.
struct Cached {
    std::string path;
    FileIdentity identity;
    std::shared_ptr<const IniDocument> doc;
};

std::mutex gCacheMutex;
std::optional<Cached> gCache;

mode_t ExistingMode(const std::filesystem::path& file) {
    struct stat st {};
    if (::stat(file.c_str(), &st) == 0) return st.st_mode & 07777;
    return 0600;
}

}  // namespace

std::shared_ptr<const IniDocument> ReadProfileFile(const std::filesystem::path& file, std::error_code& ec) {
    ec.clear();
    const std::string path = file.string();
    const auto identity = IdentityOf(file, ec);
    if (!identity) return std::make_shared<const IniDocument>();
    {
        const std::lock_guard lock(gCacheMutex);
        if (gCache && gCache->path == path && gCache->identity == *identity) return gCache->doc;
    }
    const auto version = ReadFileVersion(file, ec);
    if (version && version->content.find('\0') != std::string::npos) ec = FileError::NotText;
    if (!version || ec) {
        if (ec == std::errc::no_such_file_or_directory) ec.clear();
        return std::make_shared<const IniDocument>();
    }
    auto doc = std::make_shared<const IniDocument>(IniDocument::Parse(version->content));
    const std::lock_guard lock(gCacheMutex);
    gCache = Cached{path, version->identity, doc};
    return doc;
}

std::string GetPrivateProfileString(std::string_view section, std::string_view key,
                                    std::string_view defaultValue, const std::filesystem::path& file) {
    std::error_code ec;
    if (auto value = ReadProfileFile(file, ec)->Value(section, key)) return *value;
    return std::string(defaultValue);
}

std::error_code WritePrivateProfileString(std::string_view section, std::string_view key,
                                          std::string_view value, const std::filesystem::path& file) {
    const FileLock lock(file);
    if (lock.error()) return lock.error();
    std::error_code ec;
    IniDocument doc = *ReadProfileFile(file, ec);
    if (ec) return ec;  // never replace a file that exists but could not be read
    if (auto bad = doc.Set(section, key, value)) return bad;
    return WriteFileAtomically(file, doc.Serialize(), ExistingMode(file));
}

std::error_code WriteProfileFile(const std::filesystem::path& file, const IniDocument& doc) {
    const FileLock lock(file);
    if (lock.error()) return lock.error();
    // A file that exists but cannot be read may hold what its owner keeps:
    // it is never replaced by what was made without it.
    std::error_code ec;
    ReadProfileFile(file, ec);
    if (ec) return ec;
    return WriteFileAtomically(file, doc.Serialize(), ExistingMode(file));
}

}  // namespace platform::store
