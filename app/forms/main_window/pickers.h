#pragma once
// The mail-client and sound pickers, shared by the Options page (the
// defaults) and the Accounts page (the shown account's own): browse for a
// file, try the client or sound in force, start the client from the main
// window.
#include <QString>
#include <cstdint>
#include <functional>

#include "app/forms/main_window/frm_main_design.h"

class QWidget;

namespace forms {
class CommandKeys;
}

class Pickers {
public:
    // What the pickers ask of the main window.
    class Host {
    public:
        // Runs dialog, owned by the window, with no check starting meanwhile.
        virtual void RunDialogWithChecksPaused(const std::function<void(QWidget* owner)>& dialog) = 0;

    protected:
        ~Host() = default;
    };

    // The path boxes of both pages and the tray's Start Email Client entry,
    // which the window's description marks "for Pickers"; the pickers' tool
    // bars and the start button are wired into commands.
    using Boxes = frmMainDesign::PickersControls;
    Pickers(frmMainDesign& design, forms::CommandKeys& commands, Host& host);
    Pickers(const Pickers&) = delete;
    Pickers& operator=(const Pickers&) = delete;

    // Which page's client or sound tool bar was pressed: 0 the Options
    // page's defaults, 1 the shown account's own; any other value makes the
    // pickers do nothing.
    int16_t mPickerIndex = 0;
    // The file dialog for the picker's client (sound); a chosen file goes into
    // the picker's box, whose change handler follows as for a typed path. A
    // cancel changes nothing. No check starts while the dialog is open.
    void BrowseClient();
    void BrowseSound();
    // Starts (plays) the client (sound) in force for the picker's page: on
    // the Options page the pending default; on the Accounts page the saved
    // default when usable, else the account's pending one. Else the error box.
    void TestEmailClient();
    void TestSound();
    // Starts the client in force for the current account: the saved default
    // when usable, else the account's own saved client; else the error box.
    void RunEmailClient();
    void ShowClientError();
    void ShowSoundError();

private:
    void WirePickers(forms::CommandKeys& commands);
    // Browse for the file of the pending value path, shown in box; the box
    // shows the choice, which runs its change handler as the user's typing
    // would.
    void Browse(QString& path, vb::TextBox& box, const QString& fallbackFolder, const QString& filter);

    Boxes boxes_;
    Host& host_;
};
