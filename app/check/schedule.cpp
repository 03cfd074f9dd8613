#include "app/check/schedule.h"

#include <QList>
#include <QTimeZone>
#include <optional>

#include "app/common/date_text.h"
#include "app/general/check_status.h"
#include "app/options/option_values.h"

namespace modCheck {

namespace {

// "hh:mm" as a time of day; nullopt for a text of another form.
std::optional<QTime> WindowTime(const QString& text) {
    const QTime t = QTime::fromString(text.left(5), QStringLiteral("hh:mm"));
    if (!t.isValid()) return std::nullopt;
    return t;
}

// The start of the minute that holds t.
QDateTime MinuteOf(const QDateTime& t) {
    const qint64 seconds = t.toSecsSinceEpoch();
    return QDateTime::fromSecsSinceEpoch(seconds - (seconds % 60 + 60) % 60, Qt::UTC);
}

// What the wall clock reads at t, as a plain date and time (held in UTC only
// so that readings compare as dates and times do).
QDateTime Reading(const QDateTime& t) {
    const QDateTime local = t.toLocalTime();
    return QDateTime(local.date(), local.time(), Qt::UTC);
}

// The wall-clock end of the no-check window that holds the reading, if one
// does. A window that crosses midnight holds the minutes from its begin to
// midnight and from midnight to its end; equal times make no window.
std::optional<QDateTime> WindowEndHolding(const QDateTime& reading, QTime begin, QTime end) {
    if (begin == end) return std::nullopt;
    const QTime t = reading.time();
    const QDate day = reading.date();
    if (begin < end) {
        if (begin <= t && t <= end) return QDateTime(day, end, Qt::UTC);
        return std::nullopt;
    }
    if (t >= begin) return QDateTime(day.addDays(1), end, Qt::UTC);
    if (t <= end) return QDateTime(day, end, Qt::UTC);
    return std::nullopt;
}

// The first moment, not before from, at which the wall clock reads wall or
// later. The clock reads wall at the moment wall less one of its offsets, or
// it jumps past wall at one of its changes: the earliest of those that reads
// late enough. So a window end the clock skips ends at the jump, and in the
// hour the clock repeats the end is the reading that follows from.
QDateTime FirstMomentReading(const QDateTime& from, const QDateTime& wall) {
    const QTimeZone zone = QTimeZone::systemTimeZone();
    QDateTime first;
    const auto consider = [&](const QDateTime& t) {
        if (t >= from && Reading(t) >= wall && (!first.isValid() || t < first)) first = t;
    };
    consider(from);
    QList<int> offsets{zone.offsetFromUtc(from)};
    // The window's end is at most two days after from.
    for (const QTimeZone::OffsetData& change : zone.transitions(from, from.addDays(3))) {
        consider(change.atUtc);
        offsets.append(change.offsetFromUtc);
    }
    for (const int offset : offsets) consider(wall.addSecs(-offset));
    return first;
}

}  // namespace

std::function<QDateTime()> gClock = [] { return QDateTime::currentDateTime(); };

QString ClockPanelText(const QDateTime& now) {
    return QStringLiteral(" ") + FormatDate(now, "mmm d/yy") + QStringLiteral(" ") +
           FormatDate(now, "h:mm AM/PM") + QStringLiteral(" ");
}

bool CheckDue(const modGeneral::CheckRunState& run, const QDateTime& now) {
    return run.NextCheckStamp.isValid() && run.NextCheckStamp <= now;
}

void SetNextAutoCheckTime(modGeneral::CheckRunState& run, int16_t extra) {
    SetNextAutoCheckTime(run, extra, gClock());
}

void SetNextAutoCheckTime(modGeneral::CheckRunState& run, int16_t extra, const QDateTime& now) {
    // Due from the start of the candidate's minute.
    const QDateTime candidate = MinuteOf(now.addSecs(60LL * (modOptions::CheckIntervalMinutes() + extra)));
    QDateTime next = candidate;
    if (modOptions::gOpt.NoCheck != 0) {
        // The saved window: a half-typed time on the Options page moves nothing.
        const auto begin = WindowTime(modOptions::gOpt.NoCheckTime[0]);
        const auto end = WindowTime(modOptions::gOpt.NoCheckTime[1]);
        const auto wallEnd = begin && end ? WindowEndHolding(Reading(candidate), *begin, *end) : std::nullopt;
        const QDateTime windowEnd = wallEnd ? FirstMomentReading(candidate, *wallEnd) : QDateTime();
        // A check that was deferred once is not deferred again; the same
        // deferral computed again (after each account of one run) stands.
        const bool deferred =
            windowEnd.isValid() && (!run.NoCheckDeferred || run.NextCheckStamp == windowEnd);
        if (deferred) next = windowEnd;
        run.NoCheckDeferred = deferred;
    }
    run.AutoCheckText = QStringLiteral("Auto Check at ") + FormatDate(next.toLocalTime(), "h:mm AM/PM");
    run.NextCheckStamp = next;
    run.AutoCheckTextSaved = run.AutoCheckText;
    run.NextCheckStampSaved = run.NextCheckStamp;
}

}  // namespace modCheck
