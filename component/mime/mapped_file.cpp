#include "component/mime/mapped_file.h"

#include <fcntl.h>
#include <glib.h>
#include <sys/stat.h>
#include <unistd.h>

namespace component::mime {

int open_regular_file(const std::string& path, std::size_t& size) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) return -1;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return -1;
    }
    size = static_cast<std::size_t>(st.st_size);
    return fd;
}

std::optional<MappedFile> MappedFile::open(const std::string& path) {
    // Opened here, not by name, so a FIFO or device is refused without blocking.
    std::size_t size = 0;
    const int fd = open_regular_file(path, size);
    if (fd < 0) return std::nullopt;
    GMappedFile* const mapping = g_mapped_file_new_from_fd(fd, FALSE, nullptr);
    ::close(fd);
    if (mapping == nullptr) return std::nullopt;
    return MappedFile(mapping);
}

std::string_view MappedFile::bytes() const noexcept {
    return {g_mapped_file_get_contents(mapping_.get()), g_mapped_file_get_length(mapping_.get())};
}

void MappedFile::Unmap::operator()(GMappedFile* mapping) const noexcept { g_mapped_file_unref(mapping); }

}  // namespace component::mime
