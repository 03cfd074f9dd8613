#include "component/transport/debug_trace.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <vector>

namespace component::transport {

void LogRaw(const std::string& path, const void* bytes, std::size_t size) {
    if (path.empty()) return;
    const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0600);
    if (fd < 0) return;
    const auto* at = static_cast<const char*>(bytes);
    while (size > 0) {
        const ssize_t n = write(fd, at, size);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        at += n;
        size -= static_cast<std::size_t>(n);
    }
    close(fd);
}

void LogFormat(const std::string& path, const char* format, ...) {
    if (path.empty()) return;
    va_list args;
    va_start(args, format);
    va_list again;
    va_copy(again, args);
    const int length = std::vsnprintf(nullptr, 0, format, args);
    va_end(args);
    if (length > 0) {
        std::vector<char> text(static_cast<std::size_t>(length) + 1);
        std::vsnprintf(text.data(), text.size(), format, again);
        LogRaw(path, text.data(), static_cast<std::size_t>(length));
    }
    va_end(again);
}

}  // namespace component::transport
