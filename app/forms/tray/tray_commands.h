#pragma once
// The main window's tray icon and tray menu, its command keys with the
// tool-bar wiring every page registers into, and its owner-drawn menus.
#include <QString>
#include <cstdint>

#include "app/common/view_slot.h"
#include "app/forms/main_window/command_keys.h"
#include "app/forms/main_window/frm_main_design.h"
#include "app/forms/tray/tray_status.h"
#include "app/options/options_view.h"
#include "platform/ui/form.h"

class CheckRuns;

class TrayCommands final : private modOptions::TrayMenuView {
public:
    // What the tray and the main tool bar ask of the window and its pages.
    struct Host {
        // The page switch of the main tool bar, with its banners.
        virtual void SwitchPane(int16_t pane) = 0;
        // pane in front, its account tab re-selected, every other page hidden.
        virtual void ShowPage(int16_t pane) = 0;
        // The Options page's panel of tree node node, with its title.
        virtual void ShowOptionsPanel(int node) = 0;
        // The size and place the load gave the window.
        virtual void RestoreStartSize() = 0;
        // Ends the program, after a running server operation has stopped.
        virtual void QuitWhenIdle() = 0;

    protected:
        ~Host() = default;
    };

    // The controls the window's description marks "for TrayCommands".
    using Controls = frmMainDesign::TrayCommandsControls;

    // Binds the controls of design and wires the tray menu and every tool
    // bar to the command keys. checks: the window's checks, whose schedule
    // the auto-check entry resets (reached only once the window is loaded).
    TrayCommands(vb::Form& window, frmMainDesign& design, Host& host, CheckRuns& checks);
    TrayCommands(const TrayCommands&) = delete;
    TrayCommands& operator=(const TrayCommands&) = delete;

    // The options set the tray's captions and the menus' colours while the
    // window is loaded.
    void RegisterViews() { trayMenu_ = modOptions::gTrayMenuView.Register(*this); }
    void ReleaseViews() { trayMenu_.Reset(); }

    // The commands of every tool bar by (tool bar, element index, key); each
    // page registers its own where it wires its controls.
    forms::CommandKeys& Commands() { return commands_; }
    const forms::CommandKeys& Commands() const { return commands_; }

    // The icon goes into the tray at load, answering its mouse messages,
    // and leaves it at shutdown.
    void AddTrayIcon();
    void RemoveTrayIcon();
    // What the icon shows; the checks' timers refresh its counts, and the
    // Accounts page marks automatic checking off when the last account goes.
    forms::TrayStatus& Status() { return status_; }

    // The tray icon's mouse message (513 left press, 517 right release ...):
    // only while the window is minimised or hidden, a left press restores it
    // and a right release pops up the tray menu.
    void TrayMouseMessage(int message);
    // The window back from the tray with the child windows that were open.
    void mnuTrayShow_Click();
    // A new message in the user's mail program.
    void mnuTrayNewMessage_Click();
    // Automatic checking and sounds switched; both commit the Options page.
    void mnuTrayAutoCheck_Click();
    void mnuTraySounds_Click();
    // Restores the window and shows the Options panel of tree node `node`;
    // while the page bar is locked only within the Options page, and a
    // refusal tells why.
    void JumpToOptionsPanel(int node);
    // Ends the program, after a running server operation has stopped.
    void mnuTrayQuitApplication_Click();

    // The tray entries that need an account (the working and the "no
    // account" state).
    void SetTrayEntriesEnabled(bool on);
    // Every tray entry but Show and Quit (retrieval mode).
    void SetTrayCommandsEnabled(bool on);

    // The start with "Minimize Veltrane at StartUp": only the tray icon, as
    // after a minimise; without a tray, the window minimised in the taskbar.
    void StartMinimised();
    // The close box (with "CloseButton" on) and the Email page's Close: the
    // window goes down to the tray, or stays minimised in the taskbar where
    // the desktop has no tray.
    void CloseToTray();
    // Minimised: hides the open child windows and the window into the tray,
    // when the desktop has one.
    void MinimiseToTray();

    // The tray and message menus get their captions, pictures and colours
    // (the first step of the load).
    void SubClassMenuXP();
    // The menus let go of their pictures and colours (the unload, when
    // gMenuHooked is set).
    void ReleaseMenuXP();

private:
    // modOptions::TrayMenuView.
    void SetTrayAutoCheckCaption(const QString& caption) override;
    void SetTraySoundsCaption(const QString& caption) override;
    void RefreshMenus() override;

    // Every tool bar's click runs the command registered for its key.
    void WireCommandKeys();
    void WireWindowCommands();
    void WireTrayMenu();

    vb::Form& window_;
    Controls controls_;
    Host& host_;
    CheckRuns& checks_;
    forms::CommandKeys commands_;
    forms::TrayStatus status_;
    ViewSlot<modOptions::TrayMenuView>::Registration trayMenu_;
};
