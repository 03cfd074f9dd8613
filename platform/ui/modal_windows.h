#pragma once
// Modal windows: message boxes, common dialogs and forms shown modal each
// hold the program in a loop of their own until they close.

namespace vb {

// True while any modal window is open.
bool ModalWindowOpen();

// Closes every open pop-up menu, then every modal window unanswered, the
// newest first, as a person closing it would: a common dialog is cancelled, a message box gives the
// answer that does least (see MsgBox), a modal form unloads through its own
// handlers (which may refuse). Each window's loop returns once control is
// back in it.
void CloseModalWindows();

// While one lives the program is ending and nobody is there to answer: the
// modal windows open when it is made are closed unanswered (as by
// CloseModalWindows), and each message box or common dialog asked for later
// gives at once, without being shown, what one closed unanswered gives.
class ProgramEnding {
public:
    ProgramEnding();
    ~ProgramEnding();
    ProgramEnding(const ProgramEnding&) = delete;
    ProgramEnding& operator=(const ProgramEnding&) = delete;

    static bool Active();
};

}  // namespace vb
