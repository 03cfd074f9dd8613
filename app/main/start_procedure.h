#pragma once
// The program's start: one instance per user, the main window loaded and
// shown (or left in the tray), the schedule, the first-use greeting and the
// start-up check armed.
#include <QDateTime>
#include <QString>

namespace platform::desktop {
class SingleInstance;
}

namespace start {

// Runs the start procedure. False when another instance runs: nothing was
// read, shown or written, and the program ends at once. Throws
// forms::StartupFailure when the program cannot run; the user was told.
bool Main(platform::desktop::SingleInstance& instance, const QDateTime& now = QDateTime::currentDateTime());

}  // namespace start
