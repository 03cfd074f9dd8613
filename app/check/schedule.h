#pragma once
// When the next automatic check falls due: now plus the interval, moved to
// the end of the user's no-check window when it falls inside it. The moment is
// kept in absolute time, so the clock's yearly changes neither repeat checks
// nor stop them; the window's times are read on the wall clock.
#include <QDateTime>
#include <QString>
#include <cstdint>
#include <functional>

#include "app/general/check_status.h"

namespace modCheck {

// The clock the schedule and the check timers read; tests set their own.
extern std::function<QDateTime()> gClock;

// The status bar's clock: " mmm d/yy h:mm AM/PM ".
QString ClockPanelText(const QDateTime& now);

// Whether the next automatic check of run is due at now: its minute has
// begun. No scheduled check is never due.
bool CheckDue(const modGeneral::CheckRunState& run, const QDateTime& now);

// Sets run's NextCheckStamp, AutoCheckText, NoCheckDeferred and the saved
// copies from the interval option, extra minutes and the saved no-check
// window.
void SetNextAutoCheckTime(modGeneral::CheckRunState& run, int16_t extra);
void SetNextAutoCheckTime(modGeneral::CheckRunState& run, int16_t extra, const QDateTime& now);

}  // namespace modCheck
