#pragma once
// The tool tips of the main window's status-bar panels: what the count, the
// last check, the next automatic check and the clock stand for, in words.
#include <QDateTime>
#include <QString>
#include <cstdint>

namespace forms {

// The counts that decide the tip of the count panel, for the account shown.
struct CountPanelCounts {
    int16_t spam = 0;
    int16_t marked = 0;  // for deletion
    int16_t messages = 0;
    int16_t fresh = 0;        // new
    bool attachment = false;  // a list tally of attachments is 1 or more
};
// panelText is the count the panel shows: "1 Message Marked as Spam",
// "2 New Messages", ...
QString CountPanelTip(const QString& panelText, const CountPanelCounts& counts);

// "Checked at: 3:45 PM" gives "Last Check: " and the date and time of that
// check: the latest such moment not after now. Any other text is its own tip.
QString CheckedPanelTip(const QString& panelText, const QDateTime& now);

// "Auto Check at ..." gives "Next Auto Check: " and the moment of the next
// check; "Retrieving..." is its own tip; anything else means the automatic
// check is off.
QString AutoCheckPanelTip(const QString& panelText, const QDateTime& nextCheck);

// "Current: " and now.
QString ClockPanelTip(const QDateTime& now);

}  // namespace forms
