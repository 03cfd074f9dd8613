#pragma once
// Whole-file replacement that never leaves a half-written file behind, the
// bounded reading of one version of a stored file, and the lock that
// serialises read-modify-write cycles between processes.

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <type_traits>

namespace platform::store {

// The most a settings, INI or rules file may hold. Real ones hold a few KiB
// (a rules file of a thousand rules is about 100 KiB), so 16 MiB is far above
// any of them while a stray huge file or an endless device costs at most
// that much memory and a few milliseconds, never the whole memory.
inline constexpr long long kMaxFileSize = 16LL << 20;

// Why a path could not be read or replaced as a stored file.
enum class FileError {
    NotARegularFile = 1,  // a folder, FIFO or device: never read, never replaced
    TooLarge,             // more than kMaxFileSize bytes: never read
    NotText,              // holds NUL bytes: binary data, no text file of ours
};
std::error_code make_error_code(FileError error);

}  // namespace platform::store

template <>
struct std::is_error_code_enum<platform::store::FileError> : std::true_type {};

namespace platform::store {

// The path a write replaces: path with every symbolic link of its last part
// followed, so that the link's target is replaced in the target's folder and
// the link stays a link. A link to a missing file gives that missing target;
// ELOOP when links lead on for ever.
std::filesystem::path FinalTarget(const std::filesystem::path& path, std::error_code& ec);

// Writes content to a temporary file in the folder of path's final target,
// syncs it and renames it over the target. On failure the old file is
// untouched and the temporary removed. The new file gets the given mode
// whatever the umask says. A target that exists and is no regular file is
// refused. Temporaries that writers killed before their rename left behind
// are removed first; callers hold the path's FileLock, so no live writer's
// temporary is ever taken for such a leftover.
std::error_code WriteFileAtomically(const std::filesystem::path& path, std::string_view content,
                                    unsigned mode = 0600);

// What identifies one version of a file on disk: an atomic replacement always
// changes it, so a parsed copy stays valid while the identity is the same.
struct FileIdentity {
    unsigned long dev = 0, ino = 0;
    long long size = -1, mtimeSec = 0, mtimeNsec = 0;
    bool operator==(const FileIdentity&) const = default;
};

// One version of a file, read whole through one descriptor.
struct FileVersion {
    std::string content;
    FileIdentity identity;
};

// The file at path (links followed) if it is a regular file of at most
// kMaxFileSize bytes; a FIFO or device is opened without blocking and not
// read. nullopt with ec set (ENOENT when it does not exist).
std::optional<FileVersion> ReadFileVersion(const std::filesystem::path& path, std::error_code& ec);

// The identity of path; nullopt with ec cleared when it does not exist.
std::optional<FileIdentity> IdentityOf(const std::filesystem::path& path, std::error_code& ec);

// Creates folder and its missing parents with mode 0700.
std::error_code CreateFolders(const std::filesystem::path& folder);

// Holds an exclusive flock on the folder of path's final target for its
// lifetime. The folder, not the file, carries the lock because the file is
// replaced by rename, and this way no lock files are left beside the user's
// files.
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

// Test seam: the steps of a write at which a failure can be injected (a full
// disk, a failing device) without root rights or special file systems.
// KeepAside is the settings store's move of a damaged file out of the way.
enum class WriteStep { Create, Write, Sync, Rename, KeepAside };
using WriteFaultHook = std::function<std::error_code(WriteStep)>;
void SetWriteFaultHook(WriteFaultHook hook);
// The injected failure for step, if any (for the steps other modules take).
std::error_code InjectedFault(WriteStep step);

}  // namespace platform::store
