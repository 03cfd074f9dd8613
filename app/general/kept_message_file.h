#pragma once
// A large message's own file, kept open after the mail component lets it go:
// the record holds only the message's header block, and its bytes are read
// from here where they are shown or written. The descriptor keeps the file's
// content whatever happens to its name, and closes with the last record that
// shares it.
#include <sys/types.h>

#include <QByteArray>
#include <QString>
#include <ctime>
#include <memory>
#include <optional>

namespace modGeneral {

class KeptMessageFile {
public:
    // The file at path, kept open; none when it is not a regular file of this
    // user's with a single name, or when the kept files hold their share of
    // the process's descriptors already (the caller then reads the bytes into
    // memory).
    static std::shared_ptr<const KeptMessageFile> Keep(const QString& path);
    // How many files are kept now, and how many may be at once.
    static int KeptCount();
    static int KeptLimit();

    ~KeptMessageFile();
    KeptMessageFile(const KeptMessageFile&) = delete;
    KeptMessageFile& operator=(const KeptMessageFile&) = delete;

    // The message's length in bytes, as kept.
    qint64 Size() const { return size_; }
    // The first length bytes (all for a negative length); none when the file
    // no longer holds what it held when it was kept.
    std::optional<QByteArray> Read(qint64 length = -1) const;
    // The bytes up to and including the first empty line (all of them when
    // there is none); none as for Read.
    std::optional<QByteArray> HeaderBlock() const;

private:
    struct Token {};

public:
    KeptMessageFile(Token, int fd, qint64 size, timespec modified);

private:
    // Whether the file still has the length and time of change it had when kept.
    bool Unchanged() const;
    bool ReadAt(qint64 offset, char* into, qint64 length) const;

    int fd_;
    qint64 size_;
    timespec modified_;
};

}  // namespace modGeneral
