#pragma once
// One running instance of the program per user: the first holds a lock in
// the user's runtime folder for its whole life; a later start finds the lock
// taken, tells the first through a local socket beside it, and ends.
//
// The lock is an flock, so the kernel drops it when its holder dies: a
// crashed instance never keeps the program from starting again. An instance
// that ends normally removes its lock file and its socket.

#include <QLocalServer>
#include <QObject>
#include <QString>

namespace platform::desktop {

class SingleInstance : public QObject {
    Q_OBJECT
public:
    // name: the program's name; it names the lock and the socket.
    explicit SingleInstance(QString name, QObject* parent = nullptr);
    ~SingleInstance() override;

    // True when this is the only instance (or the lock cannot be made at all:
    // a broken runtime folder must not keep the program from running). False
    // when another instance holds it; that one has been told.
    bool acquire();

    // $XDG_RUNTIME_DIR (or Qt's private fallback) and the file names in it.
    QString lockPath() const;
    QString socketPath() const;

signals:
    // In the first instance: a later start was refused.
    void anotherInstanceStarted();

private:
    void tellFirstInstance() const;
    void acceptConnections();

    QString name_;
    int lockFd_ = -1;
    QLocalServer server_;
};

}  // namespace platform::desktop
