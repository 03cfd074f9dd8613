#include "app/general/kept_message_file.h"

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <algorithm>
#include <atomic>
#include <cerrno>
#include <climits>
#include <string_view>

#include "platform/text/header_block.h"

namespace modGeneral {

namespace {

std::atomic<int> gKept{0};

}  // namespace

int KeptMessageFile::KeptCount() { return gKept.load(); }

int KeptMessageFile::KeptLimit() {
    // A quarter of the descriptors the process may open: the rest stay for
    // the connections, the component's own files and the toolkit.
    rlimit limit{};
    if (getrlimit(RLIMIT_NOFILE, &limit) != 0) return 0;
    if (limit.rlim_cur == RLIM_INFINITY) return INT_MAX / 4;
    return static_cast<int>(std::min<rlim_t>(limit.rlim_cur, INT_MAX) / 4);
}

std::shared_ptr<const KeptMessageFile> KeptMessageFile::Keep(const QString& path) {
    if (path.isEmpty() || gKept.load() >= KeptLimit()) return nullptr;
    // No link is followed and nothing waits: only a regular file will do.
    const int fd = open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
    if (fd < 0) return nullptr;
    struct stat info {};
    if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || info.st_uid != getuid() || info.st_nlink != 1) {
        close(fd);
        return nullptr;
    }
    return std::make_shared<const KeptMessageFile>(Token{}, fd, static_cast<qint64>(info.st_size),
                                                   info.st_mtim);
}

KeptMessageFile::KeptMessageFile(Token, int fd, qint64 size, timespec modified)
    : fd_(fd), size_(size), modified_(modified) {
    ++gKept;
}

KeptMessageFile::~KeptMessageFile() {
    close(fd_);
    --gKept;
}

bool KeptMessageFile::Unchanged() const {
    struct stat info {};
    return fstat(fd_, &info) == 0 && info.st_size == size_ && info.st_mtim.tv_sec == modified_.tv_sec &&
           info.st_mtim.tv_nsec == modified_.tv_nsec;
}

bool KeptMessageFile::ReadAt(qint64 offset, char* into, qint64 length) const {
    while (length > 0) {
        const ssize_t got = pread(fd_, into, static_cast<size_t>(length), offset);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) return false;
        into += got;
        offset += got;
        length -= got;
    }
    return true;
}

std::optional<QByteArray> KeptMessageFile::Read(qint64 length) const {
    const qint64 wanted = length < 0 ? size_ : std::min(length, size_);
    if (!Unchanged()) return std::nullopt;
    // Exactly the bytes asked for: a large message is held once, with no room to spare.
    QByteArray bytes(static_cast<qsizetype>(wanted), Qt::Uninitialized);
    // A file changed while it was read gives no mixture of old and new bytes.
    if (!ReadAt(0, bytes.data(), wanted) || !Unchanged()) return std::nullopt;
    return bytes;
}

std::optional<QByteArray> KeptMessageFile::HeaderBlock() const {
    constexpr qint64 kPiece = 64 << 10;
    if (!Unchanged()) return std::nullopt;
    QByteArray block;
    while (block.size() < size_) {
        const qsizetype scanned = block.size();
        const qint64 piece = std::min(kPiece, size_ - scanned);
        block.resize(scanned + piece);
        if (!ReadAt(scanned, block.data() + scanned, piece)) return std::nullopt;
        // Only the new piece's line ends are looked at; an empty line that
        // straddles two pieces ends in this one.
        const std::size_t end =
            text::HeaderBlockEnd(std::string_view(block.constData(), static_cast<std::size_t>(block.size())),
                                 static_cast<std::size_t>(scanned));
        if (end != std::string_view::npos) {
            block.truncate(static_cast<qsizetype>(end));
            break;
        }
    }
    block.squeeze();
    return block;
}

}  // namespace modGeneral
