// What the Options page asks of the main window: the check timers, the sort
// column's icon and the list sorted anew, dialogs with no check starting
// meanwhile, and the window's close.
#include "app/forms/checks/checks_paused.h"
#include "app/forms/main_window/frm_main.h"

void frmMain::ApplyCheckTimers() { checks_.ApplyCheckTimers(); }

void frmMain::ShowSortColumnIcon(const QString& key, const QString& icon) {
    email_.ShowSortColumnIcon(key, icon);
}

void frmMain::SortAndFillMessageList() { email_.SortAndFillMessageList(); }

// A dialog open now keeps the check paused until it closes.
void frmMain::RunDialogWithChecksPaused(const std::function<void(QWidget* owner)>& dialog) {
    const forms::ChecksPaused paused(checks_);
    dialog(this);
}

void frmMain::UnloadWindow() { Unload(); }
