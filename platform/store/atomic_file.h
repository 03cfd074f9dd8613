#pragma once
// Whole-file replacement that never leaves a half-written file behind, and the
// lock that serialises read-modify-write cycles between processes.

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>

namespace platform::store {

// Writes content to a temporary file in path's folder, syncs it and renames it
// over path. On failure the old file is untouched and the temporary removed.
// The new file gets the given mode whatever the umask says.
std::error_code WriteFileAtomically(const std::filesystem::path& path, std::string_view content,
                                    unsigned mode = 0600);

// The whole file, or nullopt with ec set (ENOENT when it does not exist).
std::optional<std::string> ReadWholeFile(const std::filesystem::path& path, std::error_code& ec);

// What identifies one version of a file on disk: an atomic replacement always
// changes it, so a parsed copy stays valid while the identity is the same.
struct FileIdentity {
    unsigned long dev = 0, ino = 0;
    long long size = -1, mtimeSec = 0, mtimeNsec = 0;
    bool operator==(const FileIdentity&) const = default;
};
// The identity of path; nullopt with ec cleared when it does not exist.
std::optional<FileIdentity> IdentityOf(const std::filesystem::path& path, std::error_code& ec);

// Creates folder and its missing parents with mode 0700.
std::error_code CreateFolders(const std::filesystem::path& folder);

// Holds an exclusive flock on the folder of path for its lifetime. The folder,
// not the file, carries the lock because the file is replaced by rename, and
// this way no lock files are left beside the user's files.
class FileLock {
public:
    explicit FileLock(const std::filesystem::path& path);
    ~FileLock();
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;
    [[nodiscard]] std::error_code error() const { return error_; }

private:
    int fd_ = -1;
    std::error_code error_;
};

// Test seam: the steps of an atomic write at which a failure can be injected
// (a full disk, a failing device) without root rights or special file systems.
enum class WriteStep { Create, Write, Sync, Rename };
using WriteFaultHook = std::function<std::error_code(WriteStep)>;
void SetWriteFaultHook(WriteFaultHook hook);

}  // namespace platform::store
