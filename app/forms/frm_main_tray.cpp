// The tray icon's clicks and the tray menu: restore the window, the page
// jumps, the Auto Check and Sounds switches, new message, help and quit.
#include <QTimer>

#include "app/forms/child_windows.h"
#include "app/forms/frm_main.h"
#include "app/forms/help_topics.h"
#include "app/forms/pictures.h"
#include "app/forms/tray_icon_record.h"
#include "app/general/check_status.h"
#include "app/general/server_operation.h"
#include "app/options/option_values.h"
#include "app/options/options_page.h"
#include "platform/desktop/help.h"
#include "platform/loop/handler_barrier.h"
#include "platform/desktop/shell.h"
#include "platform/ui/app_info.h"
#include "platform/ui/forms.h"
#include "platform/ui/modal_windows.h"

namespace {

// The tray's mouse messages the program answers.
constexpr int kLeftPressed = 513;
constexpr int kRightReleased = 517;

// Options tree nodes the page jumps select.
constexpr int kNodeStartUp = 1;
constexpr int kNodeMenuColours = 4;
constexpr int kNodeAbout = 6;

// How often a quit waiting for a server operation or a modal window looks again.
constexpr int kQuitRetryMs = 100;

}  // namespace

void frmMain::WireTrayMenu() {
    mnuTrayShow.Click = [this] { mnuTrayShow_Click(); };
    mnuTrayNewMessage.Click = [this] { mnuTrayNewMessage_Click(); };
    mnuTrayCheckAll.Click = [this] { CheckAll(); };
    mnuTrayRunClient.Click = [this] { RunEmailClient(); };
    mnuTrayUpdates.Click = [this] { options_.OpenHomePage(); };
    mnuTrayAutoCheck.Click = [this] { mnuTrayAutoCheck_Click(); };
    mnuTraySounds.Click = [this] { mnuTraySounds_Click(); };
    mnuTrayOptions.Click = [this] { JumpToOptionsPanel(kNodeStartUp); };
    mnuTrayMenuColours.Click = [this] { JumpToOptionsPanel(kNodeMenuColours); };
    mnuTrayAbout.Click = [this] { JumpToOptionsPanel(kNodeAbout); };
    mnuTrayHelp.Click = [] { platform::desktop::ShowHelp(vb::App::DataPath(), forms::kHelpTray); };
    mnuTrayQuitApplication.Click = [this] { mnuTrayQuitApplication_Click(); };
    mCommands.Add(u"tbrMainButtons", u"Quit", [this](int16_t) { mnuTrayQuitApplication_Click(); });
    mCommands.Add(u"tbrEmail", u"EmailNew", [this](int16_t) { mnuTrayNewMessage_Click(); });
}

void frmMain::TrayMouseMessage(int message) {
    // The tray answers only while the window is down in it.
    if (WindowState() != vb::vbMinimized) return;
    if (message == kLeftPressed) {
        mnuTrayShow_Click();
    } else if (message == kRightReleased) {
        SetForeground();
        PopupMenu(mnuTrayPopMenu, vb::vbPopupMenuLeftAlign);
    }
}

void frmMain::mnuTrayShow_Click() {
    forms::gTrayIcon.Modify(imlTrayIcons.Picture(forms::kTrayNormal), modGeneral::gAppName);
    SetWindowState(vb::vbNormal);
    SetForeground();
    Show();
    forms::ForEachShownChild([](vb::Form& child) { child.Show(); });
}

void frmMain::mnuTrayNewMessage_Click() {
    // No mail program for "mailto:" is the desktop's to report; the program goes on.
    platform::desktop::OpenUrl(QStringLiteral("mailto:"));
}

void frmMain::mnuTrayAutoCheck_Click() {
    if (modOptions::gOptUseInterval != 1) {
        chkUseInterval.SetValue(1);
    } else {
        chkUseInterval.SetValue(0);
        forms::gTrayIcon.ModifyIcon(imlTrayIcons.Picture(forms::kTrayAutoCheckOff));
    }
    modGeneral::gNoCheckDeferred = false;
    modOptions::SaveOptions();
}

void frmMain::mnuTraySounds_Click() {
    chkPlaySound.SetValue(modOptions::gOptPlaySound != 1 ? 1 : 0);
    modOptions::SaveOptions();
}

void frmMain::JumpToOptionsPanel(int node) {
    mnuTrayShow_Click();
    // While the page bar is locked (unsaved account or rule edits, or a
    // server operation) the user's page stays: leaving it could cost edits.
    if (!fraMainButtons.Enabled()) return;
    modGeneral::gCurrentPane = 3;
    ShowPage(3);
    TreeView.Select(node);
    options_.TreeView_Click();
}

void frmMain::mnuTrayQuitApplication_Click() { QuitWhenIdle(); }

void frmMain::EndSession() {
    mEndingSession = true;
    QuitWhenIdle();
}

void frmMain::QuitWhenIdle() {
    if (mEndingSession) vb::CloseModalWindows();
    // A server operation pumps the loop while it waits, and a modal window
    // runs a loop of its own: the quit asks the operation to stop and ends the
    // program once both have unwound, never under their feet.
    const bool busy = modGeneral::ServerOperation::Running();
    if (busy || vb::ModalWindowOpen()) {
        if (busy) modGeneral::gUserStop = true;
        if (!mQuitPending) {
            mQuitPending = true;
            QTimer::singleShot(kQuitRetryMs, this, [this] {
                mQuitPending = false;
                platform::loop::RunHandler("quitting", [this] { QuitWhenIdle(); });
            });
        }
        return;
    }
    mQuitting = true;
    vb::Forms::Unload<frmMain>();
}
