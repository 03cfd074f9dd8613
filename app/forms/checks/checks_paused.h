#pragma once
// No check may start while a dialog or a child window of the main window
// waits for the user: the automatic check, and with it the start-up
// countdown where asked, pause for the object's lifetime and resume when it
// ends, whichever way the dialog ends or the window goes, a failure included.
#include <QPointer>

namespace forms {

class MainWindowLink;

// A call of the checks' nested pauses: Suspend holds a check back, Restore
// gives back one Suspend.
enum class PauseAction { Suspend, Restore };

// What a pause holds back.
enum class PausedChecks { Automatic, AutomaticAndStartUp };

// The nested pauses of the checks' schedule.
class CheckPauses {
public:
    // Stops the automatic check until as many Restore calls have come.
    virtual void SuspendAutoCheck(PauseAction action) = 0;
    // Pauses the start-up countdown the same way.
    virtual void SuspendStartUpCheck(PauseAction action) = 0;

protected:
    ~CheckPauses() = default;
};

class ChecksPaused {
public:
    // For a dialog or an operation that ends before the checks do.
    explicit ChecksPaused(CheckPauses& checks, PausedChecks which = PausedChecks::AutomaticAndStartUp);
    // For a child window: the checks of the main window it was given, none
    // without one (a window shown alone).
    ChecksPaused(MainWindowLink* main, PausedChecks which);
    ~ChecksPaused();
    ChecksPaused(const ChecksPaused&) = delete;
    ChecksPaused& operator=(const ChecksPaused&) = delete;

private:
    void Take();
    void GiveBack() noexcept;
    void Apply(PauseAction action) const;

    CheckPauses* checks_ = nullptr;
    // A child window's main window may go first: what it held went with it.
    bool fromChild_ = false;
    QPointer<MainWindowLink> main_;
    const PausedChecks which_;
};

}  // namespace forms
