#pragma once
// The program-wide run state that the check cycle, the windows and the start
// procedure share: page names and the window's flags; and the form of the check runs' record (their flags,
// the schedule's stamps and texts, the last run's totals), which the checks own.
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
extern bool gSoundsOn;
// The owner-drawn menus are installed (set at load, tested at unload).
extern bool gMenuHooked;

// What the check runs keep between one run and the next, in one record. The
// main window's checks (CheckRuns) hold it; the data modules are handed it.
struct CheckRunState {
    // The user stopped the session in progress.
    bool UserStop = false;
    // The start-up check has run (or will not); its countdown is paused.
    bool StartUpDone = false;
    bool StartUpPaused = false;
    // A connection test, not a check, holds the component.
    bool TestingAccount = false;
    // A check fell due in the no-check hours and waits for their end.
    bool NoCheckDeferred = false;
    // The session in progress has connected.
    bool Connected = false;

    // The schedule: the moment the next automatic check falls due (none when
    // nothing is scheduled) and the status text, with the copies the
    // options' save restores.
    QDateTime NextCheckStamp;
    QDateTime NextCheckStampSaved;
    QString AutoCheckText;
    QString AutoCheckTextSaved;

    // The last check run: its totals, its summary and the accounts whose
    // download may be incomplete.
    int16_t TotalMsgCount = 0;
    int16_t TotalNewCount = 0;
    int32_t ReceivedCount = 0;
    QString CheckSummary;
    int16_t SummaryLines = 0;
    QString IncompleteList;
};

// The current message of the list and the account shown before the last switch.
extern int16_t gCurrentMsg;
extern int16_t gPrevAccount;
// The list's sort column key ("From" … "Size") and the one before it.
extern QString gSortKey;
extern QString gSortKeyPrev;

}  // namespace modGeneral
