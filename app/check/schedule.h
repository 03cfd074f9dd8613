#pragma once
// When the next automatic check falls due: now plus the interval, moved to
// the end of the user's no-check window when it falls inside it. Stamps are
// "dd/mm/yy-hh:mm" texts, compared by the minute they name, never as text.
#include <QDateTime>
#include <QString>
#include <cstdint>
#include <functional>
#include <optional>

namespace modCheck {

// The clock the schedule and the check timers read; tests set their own.
extern std::function<QDateTime()> gClock;

// The stamp of the minute of t.
QString CheckStamp(const QDateTime& t);
// The minute a stamp names; nullopt for a text that is not a stamp.
std::optional<QDateTime> ParseCheckStamp(const QString& stamp);
// Whether stamp a names a minute not later than stamp b; a text that is not
// a stamp is never due.
bool StampNotLater(const QString& a, const QString& b);

// The status bar's clock: " mmm d/yy h:mm AM/PM ".
QString ClockPanelText(const QDateTime& now);

// Sets gNextCheckStamp, gAutoCheckText, gNoCheckDeferred and the saved
// copies from the interval, extra minutes and the saved no-check window.
void SetNextAutoCheckTime(int16_t extra);
void SetNextAutoCheckTime(int16_t extra, const QDateTime& now);

}  // namespace modCheck
