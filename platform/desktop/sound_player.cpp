#include "platform/desktop/sound_player.h"

#include <QCoreApplication>
#include <QFile>

#include <canberra.h>

#include <atomic>

namespace platform::desktop {
namespace {

// The library tells completion from a thread of its own; asking it whether
// the sound still plays keeps all of this on the caller's thread.
constexpr int kPollMs = 50;

// One context for the process, opened on first use and never destroyed:
// destroying it unloads the library's output driver while the driver's
// threads may still be finishing a sound.
ca_context* SharedContext() {
    static ca_context* const context = []() -> ca_context* {
        ca_context* created = nullptr;
        if (ca_context_create(&created) != CA_SUCCESS) return nullptr;
        const QByteArray name = QCoreApplication::applicationName().toUtf8();
        ca_context_change_props(created, CA_PROP_APPLICATION_NAME, name.constData(), nullptr);
        if (ca_context_open(created) != CA_SUCCESS) {
            ca_context_destroy(created);
            return nullptr;
        }
        return created;
    }();
    return context;
}

uint32_t NextId() {
    static std::atomic<uint32_t> next{0};
    return ++next;
}

}  // namespace

SoundPlayer::SoundPlayer(QObject* parent) : QObject(parent), id_(NextId()) {
    poll_.setInterval(kPollMs);
    connect(&poll_, &QTimer::timeout, this, &SoundPlayer::poll);
}

SoundPlayer::~SoundPlayer() {
    if (playing_) ca_context_cancel(SharedContext(), id_);
}

void SoundPlayer::playWav(const QString& path) {
    queue_.push_back(path);
    if (!playing_) startNext();
}

bool SoundPlayer::busy() const { return playing_ || !queue_.empty(); }

void SoundPlayer::startNext() {
    playing_ = false;
    while (!queue_.empty()) {
        const QByteArray file = QFile::encodeName(queue_.front());
        queue_.pop_front();
        ca_context* const c = SharedContext();
        if (c == nullptr) {
            queue_.clear();
            break;
        }
        if (ca_context_play(c, id_, CA_PROP_MEDIA_FILENAME, file.constData(), CA_PROP_CANBERRA_CACHE_CONTROL,
                            "never", nullptr) == CA_SUCCESS) {
            playing_ = true;
            break;
        }
    }
    if (playing_) {
        poll_.start();
    } else {
        poll_.stop();
    }
}

void SoundPlayer::poll() {
    int playing = 0;
    if (ca_context_playing(SharedContext(), id_, &playing) != CA_SUCCESS || playing == 0) startNext();
}

}  // namespace platform::desktop
