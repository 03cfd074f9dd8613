#pragma once
// No check may start while a dialog of the main window waits for the user:
// the start-up countdown and the automatic check pause for the object's
// lifetime and resume when it ends, whichever way the dialog ends, a failure
// included.
class frmMain;

namespace forms {

class ChecksPaused {
public:
    explicit ChecksPaused(frmMain& main);
    ~ChecksPaused();
    ChecksPaused(const ChecksPaused&) = delete;
    ChecksPaused& operator=(const ChecksPaused&) = delete;

private:
    frmMain& main_;
};

}  // namespace forms
