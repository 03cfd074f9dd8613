#pragma once
// What the option values need of the windows. Each view is registered by the
// owner of the controls it drives, for the main window's lifetime: the
// Options page shows the values, the Email page sorts its list, the checks
// run their timers, the tray holds its captions and the menus, the layout
// styles the tool bars, and the window keeps the mail-client button and the
// failure boxes.

#include <QString>
#include <cstdint>

#include "app/common/view_slot.h"
#include "app/general/check_status.h"

namespace modOptions {

// The three colours of the menus' 3D effect, 0x00BBGGRR.
struct MenuColours {
    int32_t top = 0;
    int32_t middle = 0;
    int32_t bottom = 0;
    bool operator==(const MenuColours&) const = default;
};

// The tool-bar groups that share a button style.
enum class ToolbarGroup {
    A,  // the page command bars
    B,  // the page-switch bar and the page tool bars
    C,  // the small tool bars inside the pages
};

// The Options page.
class OptionsView {
public:
    // Every page control from the live values, in table order.
    virtual void ShowOptionValues() = 0;
    // The page's explanations and the controls that depend on other fields,
    // from the pending values.
    virtual void ShowOptionDescriptions() = 0;
    // Save and Cancel enabled and the page switch locked while changed.
    virtual void EnableOptionsSave(bool changed) = 0;
    virtual MenuColours MenuColourBoxes() const = 0;
    virtual void PaintMenuColourBoxes(const MenuColours& colours) = 0;
    virtual void FocusOptionsTree() = 0;
    // The page's sort order buttons show order, leaving the other pending
    // values as they are.
    virtual void ShowSortOrder(int16_t order) = 0;

protected:
    ~OptionsView() = default;
};

// The Email page's message list.
class ListSortView {
public:
    // Every sort column's header icon "Blank", then icon on column key
    // (none when key is empty).
    virtual void ShowSortColumnIcon(const QString& key, const QString& icon) = 0;
    // Sorts the current account's messages by gSortKey and refills the list.
    virtual void SortAndFillMessageList() = 0;

protected:
    ~ListSortView() = default;
};

// The automatic check's timers and status text.
class AutoCheckView {
public:
    // The auto-check timer runs while the option is on and no pause holds it;
    // the status-bar timer runs otherwise.
    virtual void ApplyCheckTimers() = 0;
    // The schedule computes the next check time anew.
    virtual void SetNextAutoCheckTime() = 0;
    virtual void ShowAutoCheckText(const QString& text) = 0;
    // The check runs' record, whose schedule the options' save sets.
    virtual modGeneral::CheckRunState& Record() = 0;

protected:
    ~AutoCheckView() = default;
};

// The tray menu's captions and the owner-drawn menus.
class TrayMenuView {
public:
    virtual void SetTrayAutoCheckCaption(const QString& caption) = 0;
    virtual void SetTraySoundsCaption(const QString& caption) = 0;
    // The menus take up the colours frmMain.ini holds.
    virtual void RefreshMenus() = 0;

protected:
    ~TrayMenuView() = default;
};

// The window's tool bars.
class ToolbarStyleView {
public:
    // flat: 1 flat buttons, 0 raised.
    virtual void SetToolbarStyle(ToolbarGroup group, int16_t flat) = 0;

protected:
    ~ToolbarStyleView() = default;
};

// The main window itself: the mail-client button and the failure boxes.
class MainWindowView {
public:
    // A path the mail-client button can start.
    virtual bool IsUsableProgram(const QString& path) const = 0;
    virtual void LoadMailClientIcon(const QString& path, int16_t index) = 0;
    virtual void SetMailClientButton(int16_t index) = 0;
    // A failure the user must know of, in a message box titled after title.
    virtual void ReportOptionsFailure(const QString& title, const QString& text) = 0;

protected:
    ~MainWindowView() = default;
};

extern ViewSlot<OptionsView> gOptionsView;
extern ViewSlot<ListSortView> gListSortView;
extern ViewSlot<AutoCheckView> gAutoCheckView;
extern ViewSlot<TrayMenuView> gTrayMenuView;
extern ViewSlot<ToolbarStyleView> gToolbarStyleView;
extern ViewSlot<MainWindowView> gMainWindowView;

}  // namespace modOptions
