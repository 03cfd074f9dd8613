#include "app/common/date_text.h"

#include "platform/text/vb_format.h"

QString FormatDate(const QDateTime& moment, std::string_view pattern) {
    const text::LocalTime local{std::chrono::seconds(moment.toSecsSinceEpoch() + moment.offsetFromUtc())};
    return QString::fromStdString(text::FormatDate(local, pattern));
}
