#include "platform/desktop/sound_player.h"

#include <QCoreApplication>
#include <QFile>

#include <canberra.h>

namespace platform::desktop {
namespace {

// Every sound uses one id: only one plays at a time.
constexpr uint32_t kSoundId = 1;
// The library tells completion from a thread of its own; asking it whether
// the sound still plays keeps all of this on the caller's thread.
constexpr int kPollMs = 50;

}  // namespace

void SoundPlayer::ContextDeleter::operator()(ca_context* context) const { ca_context_destroy(context); }

SoundPlayer::SoundPlayer(QObject* parent) : QObject(parent) {
  poll_.setInterval(kPollMs);
  connect(&poll_, &QTimer::timeout, this, &SoundPlayer::poll);
}

SoundPlayer::~SoundPlayer() = default;

void SoundPlayer::playWav(const QString& path) {
  queue_.push_back(path);
  if (!playing_) startNext();
}

bool SoundPlayer::busy() const { return playing_ || !queue_.empty(); }

ca_context* SoundPlayer::context() {
  // Opened on first use: a program that never plays a sound pays nothing.
  if (context_ || contextFailed_) return context_.get();
  ca_context* created = nullptr;
  if (ca_context_create(&created) != CA_SUCCESS) {
    contextFailed_ = true;
    return nullptr;
  }
  context_.reset(created);
  const QByteArray name = QCoreApplication::applicationName().toUtf8();
  ca_context_change_props(created, CA_PROP_APPLICATION_NAME, name.constData(), nullptr);
  if (ca_context_open(created) != CA_SUCCESS) {
    context_.reset();
    contextFailed_ = true;
  }
  return context_.get();
}

void SoundPlayer::startNext() {
  playing_ = false;
  while (!queue_.empty()) {
    const QByteArray file = QFile::encodeName(queue_.front());
    queue_.pop_front();
    ca_context* const c = context();
    if (c == nullptr) {
      queue_.clear();
      break;
    }
    if (ca_context_play(c, kSoundId, CA_PROP_MEDIA_FILENAME, file.constData(),
                        CA_PROP_CANBERRA_CACHE_CONTROL, "never", nullptr) == CA_SUCCESS) {
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
  if (ca_context_playing(context_.get(), kSoundId, &playing) != CA_SUCCESS || playing == 0) startNext();
}

}  // namespace platform::desktop
