#include "platform/desktop/sound_player.h"

#include "tests/platform/desktop/desktop_fixture.h"

#include <QDataStream>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

namespace platform::desktop {
namespace {

// A PCM wave file of silence: 8 kHz, mono, 16 bits.
QString WriteSilence(const QString& name, int seconds) {
    const QString path = QDir(desktop_test::Scratch()).filePath(name);
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    const quint32 rate = 8000;
    const quint32 dataSize = rate * 2 * seconds;
    QDataStream out(&file);
    out.setByteOrder(QDataStream::LittleEndian);
    out.writeRawData("RIFF", 4);
    out << quint32(36 + dataSize);
    out.writeRawData("WAVEfmt ", 8);
    out << quint32(16) << quint16(1) << quint16(1) << rate << quint32(rate * 2) << quint16(2) << quint16(16);
    out.writeRawData("data", 4);
    out << dataSize;
    out.writeRawData(QByteArray(static_cast<int>(dataSize), '\0').constData(), static_cast<int>(dataSize));
    return path;
}

TEST(SoundPlayer, ReturnsAtOnceAndFinishesInTime) {
    const QString first = WriteSilence("first.wav", 2);
    const QString second = WriteSilence("second.wav", 1);
    SoundPlayer player;

    QElapsedTimer clock;
    clock.start();
    player.playWav(first);
    player.playWav(second);
    EXPECT_LT(clock.elapsed(), 1000) << "the call must not wait for the sound";

    // With a sound device both play, one after the other; without one nothing
    // plays and the player is idle at once.
    EXPECT_TRUE(QTest::qWaitFor([&] { return !player.busy(); }, 15000));
    EXPECT_LT(clock.elapsed(), 10000);
}

TEST(SoundPlayer, MissingOrBrokenFilesAreSilentlySkipped) {
    const QString broken = QDir(desktop_test::Scratch()).filePath("broken.wav");
    QFile file(broken);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("not a wave file");
    file.close();

    SoundPlayer player;
    player.playWav(QDir(desktop_test::Scratch()).filePath("absent.wav"));
    player.playWav(broken);
    EXPECT_FALSE(player.busy());
}

}  // namespace
}  // namespace platform::desktop

namespace platform::desktop {
namespace {

// ALSA's null device takes the samples and discards them: a machine with a
// sound device, for the library's playback path.
TEST(SoundPlayer, WithADeviceSoundsPlayAndTheQueueDrains) {
    const QString config = QDir(desktop_test::Scratch()).filePath("asound.conf");
    QFile file(config);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("pcm.!default { type null }\n");
    file.close();
    qputenv("ALSA_CONFIG_PATH", QFile::encodeName(config));

    const QString first = WriteSilence("one.wav", 1);
    const QString second = WriteSilence("two.wav", 1);
    SoundPlayer player;
    QElapsedTimer clock;
    clock.start();
    player.playWav(first);
    player.playWav(second);
    EXPECT_LT(clock.elapsed(), 1000);
    EXPECT_TRUE(player.busy()) << "the first sound did not start on the null device";
    EXPECT_TRUE(QTest::qWaitFor([&] { return !player.busy(); }, 15000));

    // A player that goes away while it plays stops cleanly.
    auto leaving = std::make_unique<SoundPlayer>();
    leaving->playWav(first);
    EXPECT_TRUE(leaving->busy());
    leaving.reset();
    qunsetenv("ALSA_CONFIG_PATH");
}

}  // namespace
}  // namespace platform::desktop
