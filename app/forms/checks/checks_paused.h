#pragma once
// No check may start while a dialog or a child window of the main window
// waits for the user: the automatic check, and with it the start-up
// countdown where asked, pause for the object's lifetime and resume when it
// ends, whichever way the dialog ends or the window goes, a failure included.
#include <QPointer>

class frmMain;

namespace forms {

// A call of the main window's nested pauses: Suspend holds a check back,
// Restore gives back one Suspend.
enum class PauseAction { Suspend, Restore };

// What a pause holds back.
enum class PausedChecks { Automatic, AutomaticAndStartUp };

class ChecksPaused {
public:
    explicit ChecksPaused(frmMain& main, PausedChecks which = PausedChecks::AutomaticAndStartUp);
    // For a child window: the checks of the main window while one is loaded,
    // none without it (a window shown alone, or the program's end).
    explicit ChecksPaused(PausedChecks which);
    ~ChecksPaused();
    ChecksPaused(const ChecksPaused&) = delete;
    ChecksPaused& operator=(const ChecksPaused&) = delete;

private:
    void Take();
    void GiveBack() noexcept;
    void Apply(PauseAction action) const;

    // Gone with the main window: what it held went with it.
    QPointer<frmMain> main_;
    const PausedChecks which_;
};

}  // namespace forms
