#include "app/check/schedule.h"

#include "app/common/date_text.h"
#include "app/general/check_status.h"
#include "app/options/option_values.h"

namespace modCheck {

namespace {

const QString kStampFormat = QStringLiteral("dd/MM/yy-HH:mm");

// "hh:mm" as a time of day; a text of another form reads as midnight, which
// the Options page never stores.
QTime WindowTime(const QString& text) {
    const QTime t = QTime::fromString(text.left(5), QStringLiteral("hh:mm"));
    return t.isValid() ? t : QTime(0, 0);
}

QDateTime Minute(const QDateTime& t) {
    return QDateTime(t.date(), QTime(t.time().hour(), t.time().minute()));
}

}  // namespace

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

void SetNextAutoCheckTime(int16_t extra) { SetNextAutoCheckTime(extra, QDateTime::currentDateTime()); }

void SetNextAutoCheckTime(int16_t extra, const QDateTime& now) {
    using namespace modGeneral;
    const QDateTime candidate = now.addSecs(60LL * (gIntervalMinutes + extra));
    QDateTime next = candidate;
    if (modOptions::gOptNoCheck != 0) {
        const QTime beginTime = WindowTime(modOptions::gEditOptNoCheckTime[0]);
        const QTime endTime = WindowTime(modOptions::gEditOptNoCheckTime[1]);
        const QDateTime begin(candidate.date(), beginTime);
        QDateTime end(candidate.date(), endTime);
        if (begin > end) end = end.addDays(1);  // the window crosses midnight
        const QDateTime minute = Minute(candidate);
        // A check that was deferred once is not deferred again.
        const bool deferred = begin <= minute && minute <= end && begin != end && !gNoCheckDeferred;
        if (deferred) next = end;
        gNoCheckDeferred = deferred;
    }
    gAutoCheckText = QStringLiteral("Auto Check at ") + FormatDate(next, "h:mm AM/PM");
    gNextCheckStamp = CheckStamp(next);
    gAutoCheckTextSaved = gAutoCheckText;
    gNextCheckStampSaved = gNextCheckStamp;
}

}  // namespace modCheck
