#pragma once
// A folder in which no file can be created, renamed or removed while the
// object lives: mode 0500, and for root, whom modes do not stop, the file
// system's immutable flag where it has one.

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <string>

class ReadOnlyFolder {
public:
    explicit ReadOnlyFolder(std::filesystem::path folder) : folder_(std::move(folder)) {
        ::chmod(folder_.c_str(), 0500);
        if (::geteuid() == 0) SetImmutable(true);
    }
    ~ReadOnlyFolder() {
        if (::geteuid() == 0) SetImmutable(false);
        ::chmod(folder_.c_str(), 0700);
    }
    ReadOnlyFolder(const ReadOnlyFolder&) = delete;
    ReadOnlyFolder& operator=(const ReadOnlyFolder&) = delete;

    // False where neither means works (root on a file system without the flag).
    [[nodiscard]] bool Effective() const {
        const std::string probe = (folder_ / ".probe").string();
        const int fd = ::open(probe.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0600);
        if (fd < 0) return true;
        ::close(fd);
        ::unlink(probe.c_str());
        return false;
    }

private:
    void SetImmutable(bool on) const {
        const int fd = ::open(folder_.c_str(), O_RDONLY | O_DIRECTORY);
        if (fd < 0) return;
        int flags = 0;
        if (::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0) {
            flags = on ? flags | FS_IMMUTABLE_FL : flags & ~FS_IMMUTABLE_FL;
            ::ioctl(fd, FS_IOC_SETFLAGS, &flags);
        }
        ::close(fd);
    }

    std::filesystem::path folder_;
};
