#include "app/common/date_text.h"

#include "platform/text/vb_format.h"

namespace {

constexpr qint64 kJulianDayOf1970 = 2440588;

// The moment's local wall-clock time as seconds from 1970-01-01 00:00.
qint64 LocalSeconds(const QDateTime& moment) {
    // A valid local time is its own date and time: no time-zone lookup.
    if (moment.timeSpec() == Qt::LocalTime && moment.isValid())
        return (moment.date().toJulianDay() - kJulianDayOf1970) * 86400 +
               moment.time().msecsSinceStartOfDay() / 1000;
    return moment.toSecsSinceEpoch() + moment.offsetFromUtc();
}

}  // namespace

QString FormatDate(const QDateTime& moment, std::string_view pattern) {
    const text::LocalTime local{std::chrono::seconds(LocalSeconds(moment))};
    return QString::fromStdString(text::FormatDate(local, pattern));
}
