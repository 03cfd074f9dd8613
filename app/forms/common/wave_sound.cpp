#include "app/forms/common/wave_sound.h"

#include <QDir>

#include "platform/desktop/sound_player.h"
#include "platform/loop/message_loop.h"
#include "platform/ui/app_info.h"

namespace forms {

std::function<void(const QString& path)> gPlayWave = [](const QString& path) {
    // One player for the program's life, so queued sounds keep their order.
    static auto* const player = new platform::desktop::SoundPlayer;
    player->playWav(path);
};

void PlayWaveNow(const QString& path) {
    platform::loop::PumpPending();
    gPlayWave(path);
}

QString ErrorSoundPath() { return QDir(vb::App::DataPath()).filePath(QStringLiteral("Sounds/Error.wav")); }

}  // namespace forms
