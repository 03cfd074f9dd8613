// A message file mapped read-only, so the MIME tree can sit over its bytes
// without copying them. The mapping must be dropped before the file is
// rewritten (a retrieval truncates it), or reads past the new end would fault.
#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

struct _GMappedFile;  // GLib's, kept out of this header

namespace component::mime {

// Opens `path` for reading when it is a regular file, without waiting: a
// FIFO with no writer would block the open, and a device or FIFO has no
// end to read to. -1 otherwise; `size` receives the file's length.
int open_regular_file(const std::string& path, std::size_t& size);

class MappedFile {
public:
    // Nothing when the file cannot be opened or mapped; an empty file maps to no bytes.
    static std::optional<MappedFile> open(const std::string& path);

    std::string_view bytes() const noexcept;

private:
    struct Unmap {
        void operator()(_GMappedFile* mapping) const noexcept;
    };
    explicit MappedFile(_GMappedFile* mapping) noexcept : mapping_(mapping) {}

    std::unique_ptr<_GMappedFile, Unmap> mapping_;
};

}  // namespace component::mime
