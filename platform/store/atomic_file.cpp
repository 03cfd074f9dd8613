#include "platform/store/atomic_file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <utility>

namespace platform::store {
namespace {

WriteFaultHook& FaultHook() {
    static WriteFaultHook hook;
    return hook;
}

std::error_code Injected(WriteStep step) {
    if (const auto& hook = FaultHook()) return hook(step);
    return {};
}

std::error_code LastError() { return {errno, std::generic_category()}; }

// Closes a descriptor on scope exit and removes the temporary unless released.
class TempFile {
public:
    TempFile(int fd, std::string path) : fd_(fd), path_(std::move(path)) {}
    ~TempFile() {
        if (fd_ >= 0) ::close(fd_);
        if (!path_.empty()) ::unlink(path_.c_str());
    }
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;
    int fd() const { return fd_; }
    const std::string& path() const { return path_; }
    std::error_code Close() {
        const int fd = std::exchange(fd_, -1);
        return ::close(fd) == 0 ? std::error_code{} : LastError();
    }
    void Keep() { path_.clear(); }

private:
    int fd_;
    std::string path_;
};

std::error_code WriteAll(int fd, std::string_view content) {
    while (!content.empty()) {
        const ssize_t n = ::write(fd, content.data(), content.size());
        if (n < 0) {
            if (errno == EINTR) continue;
            return LastError();
        }
        content.remove_prefix(static_cast<size_t>(n));
    }
    return {};
}

void SyncFolder(const std::filesystem::path& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);  // best effort: the rename itself already happened
    ::close(fd);
}

}  // namespace

void SetWriteFaultHook(WriteFaultHook hook) { FaultHook() = std::move(hook); }

std::error_code WriteFileAtomically(const std::filesystem::path& path, std::string_view content,
                                    unsigned mode) {
    const std::filesystem::path folder = path.has_parent_path() ? path.parent_path() : ".";
    std::string name = ".";
    name.append(path.filename().string()).append(".XXXXXX");
    std::string pattern = (folder / name).string();
    if (auto ec = Injected(WriteStep::Create)) return ec;
    const int fd = ::mkostemp(pattern.data(), O_CLOEXEC);
    if (fd < 0) return LastError();
    TempFile temp(fd, pattern);
    if (::fchmod(temp.fd(), static_cast<mode_t>(mode)) != 0) return LastError();
    if (auto ec = Injected(WriteStep::Write)) return ec;
    if (auto ec = WriteAll(temp.fd(), content)) return ec;
    if (auto ec = Injected(WriteStep::Sync)) return ec;
    if (::fsync(temp.fd()) != 0) return LastError();
    if (auto ec = temp.Close()) return ec;
    if (auto ec = Injected(WriteStep::Rename)) return ec;
    if (::rename(temp.path().c_str(), path.c_str()) != 0) return LastError();
    temp.Keep();
    SyncFolder(folder);
    return {};
}

std::optional<std::string> ReadWholeFile(const std::filesystem::path& path, std::error_code& ec) {
    ec.clear();
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        ec = LastError();
        return std::nullopt;
    }
    std::string content;
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0) {
            if (errno == EINTR) continue;
            ec = LastError();
            ::close(fd);
            return std::nullopt;
        }
        if (n == 0) break;
        content.append(buffer, static_cast<size_t>(n));
    }
    ::close(fd);
    return content;
}

std::optional<FileIdentity> IdentityOf(const std::filesystem::path& path, std::error_code& ec) {
    ec.clear();
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) {
        if (errno != ENOENT && errno != ENOTDIR) ec = LastError();
        return std::nullopt;
    }
    return FileIdentity{st.st_dev, st.st_ino, st.st_size, st.st_mtim.tv_sec, st.st_mtim.tv_nsec};
}

std::error_code CreateFolders(const std::filesystem::path& folder) {
    std::error_code ec;
    if (std::filesystem::is_directory(folder, ec)) return {};
    if (folder.has_parent_path() && folder.parent_path() != folder) {
        if (auto parent = CreateFolders(folder.parent_path())) return parent;
    }
    if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) return LastError();
    return {};
}

FileLock::FileLock(const std::filesystem::path& path) {
    const std::filesystem::path folder = path.has_parent_path() ? path.parent_path() : ".";
    fd_ = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd_ < 0) {
        error_ = LastError();
        return;
    }
    while (::flock(fd_, LOCK_EX) != 0) {
        if (errno == EINTR) continue;
        error_ = LastError();
        break;
    }
}

FileLock::~FileLock() {
    if (fd_ >= 0) ::close(fd_);  // closing releases the flock
}

}  // namespace platform::store
