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
        while (!found && std::fgets(line, sizeof line, f) != nullptr) found = std::sscanf(line, "Umask: %o", &mask) == 1;
        std::fclose(f);
        if (found) return static_cast<mode_t>(mask & 0777);
    }
    return 022;
}

// Owns the temporary file until it is renamed into place.
class PendingFile {
public:
    explicit PendingFile(const std::string& destination) {
        const std::size_t slash = destination.rfind('/');
        const std::string dir = slash == std::string::npos ? std::string(".") : destination.substr(0, slash + 1);
        const std::string base = slash == std::string::npos ? destination : destination.substr(slash + 1);
        std::string tmpl = (slash == std::string::npos ? std::string() : dir) + "." + base + ".XXXXXX";
        std::vector<char> buf(tmpl.begin(), tmpl.end());
        buf.push_back('\0');
        fd_ = ::mkostemp(buf.data(), O_CLOEXEC);
        if (fd_ >= 0) path_.assign(buf.data());
    }
    PendingFile(const PendingFile&) = delete;
    PendingFile& operator=(const PendingFile&) = delete;
    ~PendingFile() {
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

    // Gives the file the mode a plain create would, then puts it in place.
    bool commit(const std::string& destination) {
        if (!ok()) return false;
        const bool done = ::fchmod(fd_, 0666 & ~current_umask()) == 0 && ::close(fd_) == 0;
        fd_ = -1;
        if (!done || ::rename(path_.c_str(), destination.c_str()) != 0) return false;
        path_.clear();
        return true;
    }

private:
    int fd_ = -1;
    bool failed_ = false;
    std::string path_;
};

}  // namespace

SaveResult decode_to_file(std::string_view range, AttachmentEncodingsEnum encoding, const std::string& destination) {
    SaveResult result;
    if (destination.empty()) {
        result.status = SaveStatus::no_destination;
        return result;
    }
    if (!make_decoder(encoding)) {
        result.status = SaveStatus::unknown_encoding;
        return result;
    }
    PendingFile out(destination);
    // Output is gathered into large writes; decode_stream bounds it per slice.
    result.decode = decode_stream(encoding, range, [&out](std::string_view s) { out.write(s); });
    if (!out.commit(destination)) result.status = SaveStatus::output_failed;
    return result;
}

}  // namespace component::mime
