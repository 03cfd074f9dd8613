// A message's file kept open: which files are kept, the header block read
// from one, and reads that stop at a limit or find the file changed.
#include "app/general/kept_message_file.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <algorithm>
#include <functional>
#include <vector>

#include "app/general/message_store.h"

using modGeneral::KeptMessageFile;

namespace {

class KeptFile : public testing::Test {
protected:
    QString Write(const QByteArray& bytes, const QString& name = QStringLiteral("message.eml")) const {
        const QString path = folder_.filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
                    file.write(bytes) == bytes.size());
        return path;
    }
    QTemporaryDir folder_;
};

TEST_F(KeptFile, TheHeaderBlockEndsAtTheFirstEmptyLine) {
    const QByteArray pad(70000, 'x');  // past the first piece read
    struct Row {
        const char* name;
        QByteArray message;
        QByteArray block;
    };
    for (const Row& r : {
             Row{"CR LF", "Subject: a\r\nDate: b\r\n\r\nbody\r\n\r\nmore", "Subject: a\r\nDate: b\r\n\r\n"},
             Row{"LF", "Subject: a\nDate: b\n\nbody\n", "Subject: a\nDate: b\n\n"},
             Row{"empty first line", "\r\nbody", "\r\n"},
             Row{"CR alone is no line end", "Subject: a\r\r\nX: b\r\n\r\nbody",
                 "Subject: a\r\r\nX: b\r\n\r\n"},
             Row{"no empty line", "Subject: a\r\nDate: b", "Subject: a\r\nDate: b"},
             Row{"a long header", "X-Pad: " + pad + "\r\nDate: b\r\n\r\nbody",
                 "X-Pad: " + pad + "\r\nDate: b\r\n\r\n"},
             Row{"the empty line across two pieces", QByteArray(65534, 'h') + "\r\n\r\nbody",
                 QByteArray(65534, 'h') + "\r\n\r\n"},
         }) {
        SCOPED_TRACE(r.name);
        const std::shared_ptr<const KeptMessageFile> kept = KeptMessageFile::Keep(Write(r.message));
        ASSERT_TRUE(kept);
        EXPECT_EQ(kept->HeaderBlock(), r.block);
        EXPECT_EQ(kept->Size(), r.message.size());
        EXPECT_EQ(kept->Read(), r.message);
        EXPECT_EQ(kept->Read(3), r.message.left(3));
    }
}

// A record that keeps the file holds the header block alone, and tells the
// message from others by the same key as a record of the whole bytes.
TEST_F(KeptFile, ARecordOfAKeptFileReadsAsOneOfItsBytes) {
    const QByteArray message = "Subject: s\r\nDate: Tue, 08 Dec 2026\r\n\t21:05:00 +0000\r\n\r\nplain";
    modGeneral::StoredMessage whole;
    whole.Body = message;
    modGeneral::StoredMessage kept;
    kept.File = KeptMessageFile::Keep(Write(message));
    ASSERT_TRUE(kept.File);
    kept.Body = *kept.File->HeaderBlock();
    for (modGeneral::StoredMessage* m : {&whole, &kept}) {
        m->Size = 1;
        modGeneral::SetPlainText(*m, "plain");
    }
    EXPECT_EQ(modGeneral::SeenKey(kept), modGeneral::SeenKey(whole));
    EXPECT_EQ(modGeneral::PlainTextOf(kept), QStringLiteral("plain")) << "kept whole, not as the end of Body";
    EXPECT_EQ(modGeneral::MessageBytes(kept), message);
    EXPECT_EQ(modGeneral::RawMessageText(kept), modGeneral::RawMessageText(whole));
    EXPECT_EQ(modGeneral::RawMessageText(kept, 12), QStringLiteral("Subject: s\r\n"));
}

TEST_F(KeptFile, OnlyARegularFileOfOneNameIsKept) {
    struct Row {
        const char* name;
        std::function<QString(const QString& path)> make;  // from a written file
        bool kept;
    };
    for (const Row& r : {
             Row{"a regular file", [](const QString& path) { return path; }, true},
             Row{"a second name",
                 [](const QString& path) {
                     EXPECT_EQ(link(QFile::encodeName(path).constData(),
                                    QFile::encodeName(path + ".2").constData()),
                               0);
                     return path;
                 },
                 false},
             Row{"a symbolic link",
                 [](const QString& path) {
                     QFile::link(path, path + ".link");
                     return path + ".link";
                 },
                 false},
             Row{"a FIFO",
                 [](const QString& path) {
                     EXPECT_EQ(mkfifo(QFile::encodeName(path + ".fifo").constData(), 0600), 0);
                     return path + ".fifo";
                 },
                 false},
             Row{"a folder", [](const QString& path) { return QFileInfo(path).path(); }, false},
             Row{"no file", [](const QString& path) { return path + ".none"; }, false},
             Row{"no name", [](const QString&) { return QString(); }, false},
         }) {
        SCOPED_TRACE(r.name);
        const QString path = Write("Subject: a\r\n\r\nb", QString::fromLatin1(r.name));
        EXPECT_EQ(KeptMessageFile::Keep(r.make(path)) != nullptr, r.kept);
    }
}

// A file changed after it was kept gives no bytes at all: neither the new
// ones nor a mixture.
TEST_F(KeptFile, AChangedFileGivesNoBytes) {
    struct Row {
        const char* name;
        QByteArray rewritten;
    };
    for (const Row& r : {Row{"shorter", "Subject: a\r\n"}, Row{"longer", "Subject: a\r\n\r\nbody and more"},
                         Row{"other bytes, same length", "Subject: b\r\n\r\nbody"}}) {
        SCOPED_TRACE(r.name);
        const QString path = Write("Subject: a\r\n\r\nbody");
        const std::shared_ptr<const KeptMessageFile> kept = KeptMessageFile::Keep(path);
        ASSERT_TRUE(kept);
        // A time of change that differs, however fast the rewrite.
        const timespec later[2] = {{0, UTIME_OMIT}, {1, 0}};
        Write(r.rewritten);
        ASSERT_EQ(utimensat(AT_FDCWD, QFile::encodeName(path).constData(), later, 0), 0);
        EXPECT_EQ(kept->Read(), std::nullopt);
        EXPECT_EQ(kept->Read(4), std::nullopt);
        EXPECT_EQ(kept->HeaderBlock(), std::nullopt);
        QFile::remove(path);
    }
}

// Every kept file counts until its last holder lets it go, and none is kept
// past the limit.
TEST_F(KeptFile, KeptFilesAreCountedUpToTheirLimit) {
    const QString path = Write("Subject: a\r\n\r\nb");
    const int before = KeptMessageFile::KeptCount();
    std::shared_ptr<const KeptMessageFile> one = KeptMessageFile::Keep(path);
    std::shared_ptr<const KeptMessageFile> shared = one;
    EXPECT_EQ(KeptMessageFile::KeptCount(), before + 1);
    one.reset();
    EXPECT_EQ(KeptMessageFile::KeptCount(), before + 1);
    shared.reset();
    EXPECT_EQ(KeptMessageFile::KeptCount(), before);

    // A limit of open files that a test reaches soon.
    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_NOFILE, &saved), 0);
    rlimit lower = saved;
    lower.rlim_cur = std::min<rlim_t>(saved.rlim_cur, 256);
    ASSERT_EQ(setrlimit(RLIMIT_NOFILE, &lower), 0);
    EXPECT_EQ(KeptMessageFile::KeptLimit(), static_cast<int>(lower.rlim_cur / 4));
    std::vector<std::shared_ptr<const KeptMessageFile>> held;
    while (held.size() < 1000) {
        held.push_back(KeptMessageFile::Keep(path));
        if (!held.back()) break;
    }
    EXPECT_EQ(held.back(), nullptr);
    EXPECT_EQ(KeptMessageFile::KeptCount(), KeptMessageFile::KeptLimit());
    held.clear();
    setrlimit(RLIMIT_NOFILE, &saved);
}

}  // namespace
