#include "platform/desktop/single_instance.h"

#include <QDir>
#include <QFile>
#include <QLocalSocket>
#include <QStandardPaths>

#include <cerrno>
#include <utility>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform::desktop {
namespace {

constexpr int kTellTimeoutMs = 2000;
constexpr int kLockAttempts = 5;

// The open file is still the one the path names.
bool StillNamed(int fd, const QByteArray& path) {
    struct stat open {
    }, named{};
    return ::fstat(fd, &open) == 0 && ::lstat(path.constData(), &named) == 0 && open.st_dev == named.st_dev &&
           open.st_ino == named.st_ino;
}

QString RuntimeFolder() {
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty()) return runtime;
    return QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
}

}  // namespace

SingleInstance::SingleInstance(QString name, QObject* parent) : QObject(parent), name_(std::move(name)) {
    connect(&server_, &QLocalServer::newConnection, this, &SingleInstance::acceptConnections);
}

SingleInstance::~SingleInstance() {
    server_.close();
    if (lockFd_ < 0) return;
    // Removed while still held: a start that opened the old file finds it
    // gone once it holds the lock, and tries again (acquire).
    ::unlink(QFile::encodeName(lockPath()).constData());
    ::close(lockFd_);
}

QString SingleInstance::lockPath() const {
    return QDir(RuntimeFolder()).filePath(name_ + QStringLiteral(".lock"));
}

QString SingleInstance::socketPath() const {
    return QDir(RuntimeFolder()).filePath(name_ + QStringLiteral(".socket"));
}

bool SingleInstance::acquire() {
    if (lockFd_ >= 0) return true;
    const QByteArray lock = QFile::encodeName(lockPath());
    int fd = -1;
    for (int attempt = 0; attempt < kLockAttempts && fd < 0; ++attempt) {
        fd = ::open(lock.constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
        if (fd < 0) return true;
        if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
            const bool taken = errno == EWOULDBLOCK;
            ::close(fd);
            if (!taken) return true;
            tellFirstInstance();
            return false;
        }
        if (!StillNamed(fd, lock)) {  // the instance before ours removed it meanwhile
            ::close(fd);
            fd = -1;
        }
    }
    if (fd < 0) return true;
    lockFd_ = fd;
    // Whatever socket is left holds no listener: its owner held the lock.
    QLocalServer::removeServer(socketPath());
    server_.setSocketOptions(QLocalServer::UserAccessOption);
    server_.listen(socketPath());
    return true;
}

void SingleInstance::tellFirstInstance() const {
    QLocalSocket socket;
    socket.connectToServer(socketPath());
    if (socket.waitForConnected(kTellTimeoutMs)) socket.disconnectFromServer();
}

void SingleInstance::acceptConnections() {
    while (QLocalSocket* const peer = server_.nextPendingConnection()) {
        peer->deleteLater();
        emit anotherInstanceStarted();
    }
}

}  // namespace platform::desktop
