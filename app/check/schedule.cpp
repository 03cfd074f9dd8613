#include "app/check/schedule.h"

#include "app/common/date_text.h"
#include "app/general/check_status.h"
#include "app/options/option_values.h"

namespace modCheck {

namespace {

const QString kStampFormat = QStringLiteral("dd/MM/yy-HH:mm");

// "hh:mm" as a time of day; nullopt for a text of another form.
std::optional<QTime> WindowTime(const QString& text) {
    const QTime t = QTime::fromString(text.left(5), QStringLiteral("hh:mm"));
    if (!t.isValid()) return std::nullopt;
    return t;
}

QDateTime Minute(const QDateTime& t) {
    return QDateTime(t.date(), QTime(t.time().hour(), t.time().minute()));
}

// The end of the no-check window that holds minute, if one does. A window
// that crosses midnight holds the minutes from its begin to midnight and from
// midnight to its end; equal times make no window.
std::optional<QDateTime> WindowEndHolding(const QDateTime& minute, QTime begin, QTime end) {
    if (begin == end) return std::nullopt;
    const QTime t = minute.time();
    const QDate day = minute.date();
    if (begin < end) {
        if (begin <= t && t <= end) return QDateTime(day, end);
        return std::nullopt;
    }
    if (t >= begin) return QDateTime(day.addDays(1), end);
    if (t <= end) return QDateTime(day, end);
    return std::nullopt;
}

}  // namespace

std::function<QDateTime()> gClock = [] { return QDateTime::currentDateTime(); };

QString CheckStamp(const QDateTime& t) { return t.toString(kStampFormat); }

std::optional<QDateTime> ParseCheckStamp(const QString& stamp) {
    QDateTime t = QDateTime::fromString(stamp, kStampFormat);
    if (!t.isValid()) return std::nullopt;
    // Two-digit years are of this century.
    if (t.date().year() < 2000) t = t.addYears(100);
    return t;
}

bool StampNotLater(const QString& a, const QString& b) {
    const auto ta = ParseCheckStamp(a);
    const auto tb = ParseCheckStamp(b);
    return ta && tb && *ta <= *tb;
}

QString ClockPanelText(const QDateTime& now) {
    return QStringLiteral(" ") + FormatDate(now, "mmm d/yy") + QStringLiteral(" ") + FormatDate(now, "h:mm AM/PM") +
           QStringLiteral(" ");
}

void SetNextAutoCheckTime(int16_t extra) { SetNextAutoCheckTime(extra, gClock()); }

void SetNextAutoCheckTime(int16_t extra, const QDateTime& now) {
    using namespace modGeneral;
    const QDateTime candidate = now.addSecs(60LL * (gIntervalMinutes + extra));
    QDateTime next = candidate;
    if (modOptions::gOptNoCheck != 0) {
        // The saved window: a half-typed time on the Options page moves nothing.
        const auto begin = WindowTime(modOptions::gOptNoCheckTime[0]);
        const auto end = WindowTime(modOptions::gOptNoCheckTime[1]);
        const auto windowEnd = begin && end ? WindowEndHolding(Minute(candidate), *begin, *end) : std::nullopt;
        // A check that was deferred once is not deferred again; the same
        // deferral computed again (after each account of one run) stands.
        const bool deferred =
            windowEnd && (!gNoCheckDeferred || ParseCheckStamp(gNextCheckStamp) == *windowEnd);
        if (deferred) next = *windowEnd;
        gNoCheckDeferred = deferred;
    }
    gAutoCheckText = QStringLiteral("Auto Check at ") + FormatDate(next, "h:mm AM/PM");
    gNextCheckStamp = CheckStamp(next);
    gAutoCheckTextSaved = gAutoCheckText;
    gNextCheckStampSaved = gNextCheckStamp;
}

}  // namespace modCheck
