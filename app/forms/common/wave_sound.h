#pragma once
// Where the program's sounds go: the desktop's player by default; a test
// records them instead.
#include <QString>
#include <functional>

namespace forms {

// Plays a wave file once, to its end, after any that play before it;
// returns at once. A missing file or sound device plays nothing.
extern std::function<void(const QString& path)> gPlayWave;

// Lets pending events run, then plays the wave file once (the new-mail
// sounds and the pickers' test).
void PlayWaveNow(const QString& path);

// The sound of an account whose check did not connect, from the program's
// data folder.
QString ErrorSoundPath();

}  // namespace forms
