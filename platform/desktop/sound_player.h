#pragma once
// Wave files played through the desktop's event-sound library.
//
// A call returns at once. Each file plays once, to its end, and files queued
// while one plays follow it in order, as a caller that played them one after
// another would hear them. Where the machine has no sound device, or the file
// is missing or unreadable, nothing is heard and nothing is reported: a
// notification sound is never worth an error.

#include <QObject>
#include <QString>
#include <QTimer>

#include <cstdint>
#include <deque>

namespace platform::desktop {

class SoundPlayer : public QObject {
    Q_OBJECT
public:
    explicit SoundPlayer(QObject* parent = nullptr);
    ~SoundPlayer() override;

    void playWav(const QString& path);

    // A sound plays or waits to play.
    bool busy() const;

private:
    void startNext();
    void poll();

    const uint32_t id_;
    std::deque<QString> queue_;
    bool playing_ = false;
    QTimer poll_;
};

}  // namespace platform::desktop
