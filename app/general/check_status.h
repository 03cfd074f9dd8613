#pragma once
// The program-wide run state that the check cycle, the windows and the start
// procedure share: page names, the run flags, the schedule's stamps and texts,
// the run totals and the window-shown flags.
#include <QDateTime>
#include <QString>
#include <array>
#include <cstdint>

namespace modGeneral {

// The program's own name: every message-box title, the tray tip, the
// autostart entry.
extern QString gAppName;
// "Email", "Accounts", "Rules", "Options", by pane number.
extern std::array<QString, 4> gPaneName;
// The page shown: 0 Email, 1 Accounts, 2 Rules, 3 Options.
extern int16_t gCurrentPane;

// True while the main window loads: change handlers of the pages do nothing.
extern bool gLoading;
extern bool gUserStop;
extern bool gStartUpDone;
extern bool gStartUpPaused;
extern bool gTestingAccount;
extern bool gNoCheckDeferred;
extern bool gSoundsOn;
extern bool gConnected;
// The owner-drawn menus are installed (set at load, tested at unload).
extern bool gMenuHooked;

// The schedule: the moment the next automatic check falls due (none when
// nothing is scheduled) and the status text, with the copies the options'
// save restores.
extern QDateTime gNextCheckStamp;
extern QDateTime gNextCheckStampSaved;
extern QString gAutoCheckText;
extern QString gAutoCheckTextSaved;
extern int16_t gIntervalMinutes;

// The current message of the list and the account shown before the last switch.
extern int16_t gCurrentMsg;
extern int16_t gPrevAccount;
// The list's sort column key ("From" … "Size") and the one before it.
extern QString gSortKey;
extern QString gSortKeyPrev;

// The last check run.
extern int16_t gTotalMsgCount;
extern int16_t gTotalNewCount;
extern int32_t gReceivedCount;
extern QString gCheckSummary;
extern int16_t gSummaryLines;
extern QString gIncompleteList;

// Which child windows are open; the pop-up and the preview say it by their
// registration (forms::MessageShown, forms::PreviewShown).
extern bool gShowingFirstUse;
extern bool gShowingRuleReport;

}  // namespace modGeneral
