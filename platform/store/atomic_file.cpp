#include "platform/store/atomic_file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <utility>

namespace platform::store {
namespace {

constexpr std::string_view kTempMark = ".tmp-";
constexpr size_t kTempRandomChars = 6;  // mkostemp's XXXXXX
constexpr int kMaxLinks = 40;           // as the kernel allows in one path

WriteFaultHook& FaultHook() {
    static WriteFaultHook hook;
    return hook;
}

std::error_code LastError() { return {errno, std::generic_category()}; }

class FileErrorCategory : public std::error_category {
public:
    const char* name() const noexcept override { return "stored file"; }
    std::string message(int code) const override {
        switch (static_cast<FileError>(code)) {
            case FileError::NotARegularFile:
                return "not a regular file (a folder, pipe or device is neither read nor replaced)";
            case FileError::TooLarge:
                return "larger than the 16 MiB a stored file may hold";
            case FileError::NotText:
                return "binary data, not a text file";
        }
        return "unknown error";
    }
};

// Closes a descriptor on scope exit.
class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor() {
        if (fd_ >= 0) ::close(fd_);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return fd_; }

private:
    int fd_;
};

// A temporary of ours, locked while it lives so that no other writer takes
// it for a leftover; removed on scope exit unless kept.
class TempFile {
public:
    TempFile(int fd, std::string path) : fd_(fd), path_(std::move(path)) {}
    ~TempFile() {
        if (!path_.empty()) ::unlink(path_.c_str());  // still under our lock
        ::close(fd_);
    }
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;
    int fd() const { return fd_; }
    const std::string& path() const { return path_; }
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

FileIdentity IdentityFrom(const struct stat& st) {
    return FileIdentity{st.st_dev, st.st_ino, st.st_size, st.st_mtim.tv_sec, st.st_mtim.tv_nsec};
}

std::filesystem::path FolderOf(const std::filesystem::path& path) {
    return path.has_parent_path() ? path.parent_path() : ".";
}

// "." name ".tmp-": the start of every temporary written for name.
std::string TempPrefix(const std::filesystem::path& target) {
    return "." + target.filename().string() + std::string(kTempMark);
}

bool IsTempName(std::string_view entry, std::string_view prefix) {
    if (entry.size() != prefix.size() + kTempRandomChars || !entry.starts_with(prefix)) return false;
    entry.remove_prefix(prefix.size());
    return std::all_of(entry.begin(), entry.end(),
                       [](char c) { return std::isalnum(static_cast<unsigned char>(c)); });
}

// Removes the temporaries for prefix that no writer holds: a live writer
// keeps its temporary locked until its rename, and the lock of a killed one
// went with its process. Only our own regular files are touched.
void RemoveStaleTemporaries(const std::filesystem::path& folder, const std::string& prefix) {
    std::error_code ec;
    for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        const std::filesystem::path& name = it->path();
        if (!IsTempName(name.filename().string(), prefix)) continue;
        const Descriptor fd(::open(name.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
        struct stat held {
        }, named{};
        if (fd.get() < 0 || ::fstat(fd.get(), &held) != 0 || !S_ISREG(held.st_mode) ||
            held.st_uid != ::geteuid())
            continue;
        if (::flock(fd.get(), LOCK_EX | LOCK_NB) != 0) continue;  // a live writer's
        if (::lstat(name.c_str(), &named) == 0 && named.st_dev == held.st_dev && named.st_ino == held.st_ino)
            ::unlink(name.c_str());
    }
}

}  // namespace

std::error_code make_error_code(FileError error) {
    static const FileErrorCategory category;
    return {static_cast<int>(error), category};
}

void SetWriteFaultHook(WriteFaultHook hook) { FaultHook() = std::move(hook); }

std::error_code InjectedFault(WriteStep step) {
    if (const auto& hook = FaultHook()) return hook(step);
    return {};
}

std::filesystem::path FinalTarget(const std::filesystem::path& path, std::error_code& ec) {
    ec.clear();
    std::filesystem::path current = path;
    for (int links = 0; links <= kMaxLinks; ++links) {
        struct stat st {};
        if (::lstat(current.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return current;
        const std::filesystem::path target = std::filesystem::read_symlink(current, ec);
        if (ec) return {};
        current = target.is_absolute() ? target : current.parent_path() / target;
    }
    ec = std::make_error_code(std::errc::too_many_symbolic_link_levels);
    return {};
}

std::error_code WriteFileAtomically(const std::filesystem::path& path, std::string_view content,
                                    unsigned mode) {
    std::error_code ec;
    const std::filesystem::path target = FinalTarget(path, ec);
    if (ec) return ec;
    struct stat st {};
    if (::stat(target.c_str(), &st) == 0 && !S_ISREG(st.st_mode)) return FileError::NotARegularFile;
    const std::filesystem::path folder = FolderOf(target);
    const std::string prefix = TempPrefix(target);
    RemoveStaleTemporaries(folder, prefix);
    std::string pattern = (folder / (prefix + std::string(kTempRandomChars, 'X'))).string();
    if (auto injected = InjectedFault(WriteStep::Create)) return injected;
    const int fd = ::mkostemp(pattern.data(), O_CLOEXEC);
    if (fd < 0) return LastError();
    TempFile temp(fd, pattern);
    if (::flock(temp.fd(), LOCK_EX | LOCK_NB) != 0) return LastError();
    if (::fchmod(temp.fd(), static_cast<mode_t>(mode)) != 0) return LastError();
    if (auto injected = InjectedFault(WriteStep::Write)) return injected;
    if (auto written = WriteAll(temp.fd(), content)) return written;
    if (auto injected = InjectedFault(WriteStep::Sync)) return injected;
    // fsync reports any failed write-back, so the close after the rename
    // (which keeps the temporary locked until then) has nothing left to say.
    if (::fsync(temp.fd()) != 0) return LastError();
    if (auto injected = InjectedFault(WriteStep::Rename)) return injected;
    if (::rename(temp.path().c_str(), target.c_str()) != 0) return LastError();
    temp.Keep();
    SyncFolder(folder);
    return {};
}

std::optional<FileVersion> ReadFileVersion(const std::filesystem::path& path, std::error_code& ec) {
    ec.clear();
    // O_NONBLOCK: opening a FIFO must not wait for a writer; O_NOCTTY: a
    // terminal must not become ours. Neither changes how a regular file reads.
    const Descriptor fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    struct stat st {};
    if (fd.get() < 0 || ::fstat(fd.get(), &st) != 0) {
        ec = LastError();
        return std::nullopt;
    }
    if (!S_ISREG(st.st_mode)) {
        ec = FileError::NotARegularFile;
        return std::nullopt;
    }
    if (st.st_size > kMaxFileSize) {
        ec = FileError::TooLarge;
        return std::nullopt;
    }
    FileVersion version{{}, IdentityFrom(st)};
    version.content.reserve(static_cast<size_t>(st.st_size));
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(fd.get(), buffer, sizeof buffer);
        if (n < 0) {
            if (errno == EINTR) continue;
            ec = LastError();
            return std::nullopt;
        }
        if (n == 0) return version;
        version.content.append(buffer, static_cast<size_t>(n));
        if (std::ssize(version.content) > kMaxFileSize) {  // it grew while being read
            ec = FileError::TooLarge;
            return std::nullopt;
        }
    }
}

std::optional<FileIdentity> IdentityOf(const std::filesystem::path& path, std::error_code& ec) {
    ec.clear();
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) {
        if (errno != ENOENT && errno != ENOTDIR) ec = LastError();
        return std::nullopt;
    }
    return IdentityFrom(st);
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
    const std::filesystem::path target = FinalTarget(path, error_);
    if (error_) return;
    fd_ = ::open(FolderOf(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
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
