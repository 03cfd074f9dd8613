#pragma once
// Modal windows: message boxes, common dialogs and forms shown modal each
// hold the program in a loop of their own until they close.

namespace vb {

// True while any modal window is open.
bool ModalWindowOpen();

// Closes every modal window unanswered, the newest first, as a person
// closing it would: a common dialog is cancelled, a message box gives the
// answer that does least (see MsgBox), a modal form unloads through its own
// handlers (which may refuse). Each window's loop returns once control is
// back in it.
void CloseModalWindows();

}  // namespace vb
