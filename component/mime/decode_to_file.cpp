#include "component/mime/decode_to_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <vector>

namespace component::mime {
namespace {

// The process's umask, read without changing it (setting it to read it back
// would briefly affect files other threads create).
mode_t current_umask() {
    if (std::FILE* f = std::fopen("/proc/self/status", "re")) {
        char line[256];
        unsigned mask = 0;
        bool found = false;
        while (!found && std::fgets(line, sizeof line, f) != nullptr)
            found = std::sscanf(line, "Umask: %o", &mask) == 1;
        std::fclose(f);
        if (found) return static_cast<mode_t>(mask & 0777);
    }
    return 022;
}

// The file a destination finally names: symbolic links are followed (up to
// the usual limit), also to a target that does not exist yet, so a save
// replaces the target and leaves the link a link.
std::string final_target(std::string path) {
    for (int hops = 0; hops < 40; ++hops) {
        struct stat st {};
        if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return path;
        std::vector<char> buf(static_cast<std::size_t>(st.st_size > 0 ? st.st_size : 4095) + 1);
        const ssize_t n = ::readlink(path.c_str(), buf.data(), buf.size());
        if (n <= 0 || static_cast<std::size_t>(n) >= buf.size()) return path;
        const std::string target(buf.data(), static_cast<std::size_t>(n));
        const std::size_t slash = path.rfind('/');
        path =
            target.front() == '/' || slash == std::string::npos ? target : path.substr(0, slash + 1) + target;
    }
    return path;
}

// The output of one save. A regular (or new) file is written to a temporary
// file beside it and renamed into place only when complete. A destination
// that is not a regular file (a device, a FIFO) cannot be replaced that way
// without destroying it: the bytes go straight into it.
class OutputFile {
public:
    explicit OutputFile(const std::string& destination) : target_(final_target(destination)) {
        struct stat st {};
        if (::stat(target_.c_str(), &st) == 0 && !S_ISREG(st.st_mode)) {
            openDirect(st);
            return;
        }
        const std::size_t slash = target_.rfind('/');
        const std::string dir = slash == std::string::npos ? std::string() : target_.substr(0, slash + 1);
        const std::string base = slash == std::string::npos ? target_ : target_.substr(slash + 1);
        std::string tmpl = dir + "." + base + ".XXXXXX";
        std::vector<char> buf(tmpl.begin(), tmpl.end());
        buf.push_back('\0');
        fd_ = ::mkostemp(buf.data(), O_CLOEXEC);
        if (fd_ >= 0) path_.assign(buf.data());
    }
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;
    ~OutputFile() {
        if (fd_ >= 0) ::close(fd_);
        if (!path_.empty()) ::unlink(path_.c_str());
    }

    bool ok() const { return fd_ >= 0 && !failed_; }

    void write(std::string_view s) {
        while (ok() && !s.empty()) {
            const ssize_t n = ::write(fd_, s.data(), s.size());
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) {
                failed_ = true;
                return;
            }
            s.remove_prefix(static_cast<std::size_t>(n));
        }
    }

    // Gives a new file the mode a plain create would, then puts it in place.
    bool commit() {
        if (!ok()) return false;
        if (path_.empty()) {
            const bool closed = ::close(fd_) == 0;
            fd_ = -1;
            return closed;
        }
        const bool done = ::fchmod(fd_, 0666 & ~current_umask()) == 0 && ::close(fd_) == 0;
        fd_ = -1;
        if (!done || ::rename(path_.c_str(), target_.c_str()) != 0) return false;
        path_.clear();
        return true;
    }

private:
    void openDirect(const struct stat& st) {
        if (S_ISDIR(st.st_mode)) return;
        // A FIFO nobody reads would block the open: without a reader the
        // save fails instead of hanging.
        fd_ = ::open(target_.c_str(), O_WRONLY | O_CLOEXEC | O_NONBLOCK);
        if (fd_ < 0) return;
        const int flags = ::fcntl(fd_, F_GETFL);
        if (flags < 0 || ::fcntl(fd_, F_SETFL, flags & ~O_NONBLOCK) != 0) failed_ = true;
    }

    std::string target_;
    int fd_ = -1;
    bool failed_ = false;
    std::string path_;  // the temporary file, empty when writing straight into the target
};

}  // namespace

SaveResult decode_to_file(std::string_view range, AttachmentEncodingsEnum encoding,
                          const std::string& destination) {
    SaveResult result;
    if (destination.empty()) {
        result.status = SaveStatus::no_destination;
        return result;
    }
    if (!make_decoder(encoding)) {
        result.status = SaveStatus::unknown_encoding;
        return result;
    }
    OutputFile out(destination);
    // Output is gathered into large writes; decode_stream bounds it per slice.
    result.decode = decode_stream(encoding, range, [&out](std::string_view s) { out.write(s); });
    if (!out.commit()) result.status = SaveStatus::output_failed;
    return result;
}

}  // namespace component::mime
