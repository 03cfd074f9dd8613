#include "app/forms/main_window/status_bar_tips.h"

#include <QTime>

#include "app/common/date_text.h"

namespace forms {

namespace {

QString LongDate(const QDateTime& moment) { return FormatDate(moment, "mmmm dd, yyyy"); }
QString ShortTime(const QDateTime& moment) { return FormatDate(moment, "h:mm AM/PM"); }

// " Message" for a count below 2, else " Messages".
QString Word(int16_t count) { return count < 2 ? QStringLiteral(" Message") : QStringLiteral(" Messages"); }

}  // namespace

QString CountPanelTip(const QString& t, const CountPanelCounts& c) {
    if (c.spam > 0) return t + Word(c.spam) + QStringLiteral(" Marked as Spam");
    if (c.marked > 0) return t + Word(c.marked) + QStringLiteral(" for Deletion");
    if (c.messages >= 1 && c.attachment) return t + Word(c.messages) + QStringLiteral(" with an Attachment");
    if (c.fresh < 1) return t.isEmpty() ? QString() : t + Word(c.messages);
    return t + QStringLiteral(" New") + Word(c.fresh);
}

QString CheckedPanelTip(const QString& panelText, const QDateTime& now) {
    const QString prefix = QStringLiteral("Checked at:");
    if (!panelText.startsWith(prefix)) return panelText;
    const QTime time = QTime::fromString(panelText.mid(prefix.size()).trimmed(), QStringLiteral("h:mm AP"));
    if (!time.isValid()) return panelText;
    // The panel keeps only the time: a check whose time of day is later
    // than now was made the day before (a check run across midnight).
    QDateTime moment(now.date(), time);
    if (moment > now) moment = moment.addDays(-1);
    return QStringLiteral("Last Check: ") + LongDate(moment) + QStringLiteral(" at ") + ShortTime(moment);
}

QString AutoCheckPanelTip(const QString& panelText, const QDateTime& nextCheck) {
    if (panelText.startsWith(QLatin1String("Auto Check at"))) {
        if (!nextCheck.isValid()) return panelText;
        const QDateTime next = nextCheck.toLocalTime();
        return QStringLiteral("Next Auto Check: ") + LongDate(next) + QStringLiteral(" at ") +
               ShortTime(next);
    }
    if (panelText.startsWith(QLatin1String("Retrieving"))) return panelText;
    return QStringLiteral("Auto Check is Off");
}

QString ClockPanelTip(const QDateTime& now) {
    return QStringLiteral("Current: ") + LongDate(now) + QStringLiteral(" ") + ShortTime(now);
}

}  // namespace forms
