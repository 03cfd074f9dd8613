// What the options ask of the main window: the views each of its parts
// registers, the failure boxes, dialogs with no check starting meanwhile,
// and the window's close.
#include "app/forms/checks/checks_paused.h"
#include "app/forms/main_window/frm_main.h"
#include "app/general/check_status.h"
#include "platform/ui/msg_box.h"

void frmMain::RegisterViews() {
    options_.RegisterViews();
    email_.RegisterViews();
    checks_.RegisterViews();
    tray_.RegisterViews();
    layout_.RegisterViews();
    windowView_ = modOptions::gMainWindowView.Register(*this);
}

void frmMain::ReleaseViews() {
    options_.ReleaseViews();
    email_.ReleaseViews();
    checks_.ReleaseViews();
    tray_.ReleaseViews();
    layout_.ReleaseViews();
    windowView_.Reset();
}

void frmMain::ReportOptionsFailure(const QString& title, const QString& text) {
    vb::MsgBox(text, vb::vbExclamation, modGeneral::gAppName + QStringLiteral(" - ") + title);
}

// A dialog open now keeps the check paused until it closes.
void frmMain::RunDialogWithChecksPaused(const std::function<void(QWidget* owner)>& dialog) {
    const forms::ChecksPaused paused(checks_);
    dialog(this);
}

void frmMain::UnloadWindow() { Unload(); }
