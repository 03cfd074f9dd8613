#pragma once
// The program's main window. Its designed controls come from frm_main.form;
// the data modules reach it only through the views it registers.
#include <cstdint>

#include "app/forms/command_keys.h"
#include "app/forms/component_events.h"
#include "app/forms/frm_main_design.h"
#include "app/forms/tool_tip.h"
#include "app/forms/session_startup_entry.h"
#include "app/options/options_view.h"
#include "app/options/run_at_startup.h"
#include "app/rules/rule_set.h"
#include "platform/com/com_ptr.h"
#include "platform/ui/form.h"
#include "platform/ui/list_view.h"

class frmMain : public vb::Form,
                public frmMainDesign,
                private modRules::RulesView,
                private modOptions::OptionsView,
                private forms::ComponentEventsView {
public:
    frmMain();

    // ---- load and shutdown ----
    // Set by the tray menu's quit command; a close with "CloseButton" on
    // then ends the program instead of going to the tray.
    bool mQuitting = false;

    // ---- control enabling ----
    // The working state with at least one account, else the "no account" state.
    void EnableMainControls();
    void DisableEmailControls();

    // ---- check timers ----
    // While automatic checking is on, "Suspend" swaps the check timer for the
    // clock timer and "Restore" swaps back; anything else does nothing.
    void SuspendAutoCheck(const QString& action);

    // ---- retrieval mode ----
    // enable false enters retrieval mode (the Email page in front, page
    // buttons, tool bars, tab strips and tray commands disabled, the Stop
    // button shown when showStop); true leaves it and brings the user's page
    // back. Every server operation calls it before and after, with the same
    // showStop.
    void SetRetrievalMode(bool enable, bool showStop);
    // Brings pane to the front, re-selecting the current account's tab; does
    // nothing while the Email page is the user's page or a connection test runs.
    void ShowCurrentPane(int16_t pane);

    // ---- command dispatch ----
    // The commands of every tool bar by (tool bar, element index, key); each
    // page registers its own where it wires its controls.
    forms::CommandKeys mCommands;
    // The page switch of the main tool bar: the page, its account tab and
    // banner, and the "no account" banner over the first three pages.
    void SwitchPane(int16_t pane);
    // pane in front with its banner, every other page hidden.
    void ShowPage(int16_t pane);
    // The Email tab strip chose an account: its client button and its list,
    // unless it is the account the list shows already.
    void TabStripEmail_Click();

    // ---- menus ----
    // The tray and message menus get their captions, pictures and colours
    // (the first step of the load).
    void SubClassMenuXP();
    // The menus let go of their pictures and colours (the unload, when
    // gMenuHooked is set).
    void ReleaseMenuXP();

    // ---- options ----
    // The tool bars of the three style groups, 1 = flat, 0 = raised; groups
    // A and B move to top 138 twips when flat, 120 when raised.
    void SetToolbarStyleA(int16_t flat);
    void SetToolbarStyleB(int16_t flat);
    void SetToolbarStyleC(int16_t flat);

    // ---- mail-client button ----
    // Stores the icon of the program at path under "MailClient" & number in
    // imlPopMenu and imlClientButtons, replacing an older one: the program's
    // own icon at 16 by 16, or the "FolderX" picture when it has none.
    // Number 0 is the default client, 1 and up the accounts' own.
    void LoadMailClientIcon(const QString& path, int16_t number) override;
    // Points the start button, the tray entry and the Test buttons at the
    // picture of number, or at the "no client" pictures for -1.
    void SetMailClientButton(int16_t number) override;

protected:
    void Form_Load() override;
    void Form_Unload(int& Cancel) override;

private:
    // Every tool bar's click runs mCommands (the window's construction).
    void WireCommandKeys();
    void ShowRulesFileName(const QString& caption) override;
    void OnConnected() override;
    void OnReceived() override;
    // Shutdown: everything the load set up is undone, each step whatever
    // the one before it did.
    void ShutDown();
    void SetTrayEntriesEnabled(bool on);
    // Every image list filled with its pictures (the window's construction).
    void FillPictures();
    void CreateListToolTip();
    com::ComPtr<forms::ComponentEvents> events_;
    // The message list's tooltip, for the window's lifetime.
    ToolTip mListToolTip;

    // ---- options ----
    void ShowOptionValues() override;
    void ShowOptionDescriptions() override;
    void EnableOptionsSave(bool changed) override;
    modOptions::MenuColours MenuColourBoxes() const override;
    void PaintMenuColourBoxes(const modOptions::MenuColours& colours) override;
    void FocusOptionsTree() override;
    bool IsUsableProgram(const QString& path) const override;
    void SetTrayAutoCheckCaption(const QString& caption) override;
    void SetTraySoundsCaption(const QString& caption) override;
    void SetAutoCheckTimers(bool useInterval) override;
    void SetNextAutoCheckTime() override;
    void ShowAutoCheckText(const QString& text) override;
    void ShowSortColumnIcon(const QString& key, const QString& icon) override;
    void SortAndFillMessageList() override;
    void RefreshMenus() override;
    void SetToolbarStyle(modOptions::ToolbarGroup group, int16_t flat) override;
    void ReportOptionsFailure(const QString& title, const QString& text) override;
    // The colour dialog, from gPickedColour back into gPickedColour.
    void PickMenuColour();
    // A menu colour box was clicked: its colour and the edit colour follow the pick.
    void MenuColourBox_Click(vb::Label& box, int32_t& editColour);
    void WireOptionsControls();

    forms::SessionStartupEntry sessionEntry_;
    ViewSlot<modOptions::OptionsView>::Registration optionsView_;
    ViewSlot<modOptions::StartupEntry>::Registration startupEntry_;

    // Held while the window is loaded; a window destroyed without its Unload
    // (the application ending) drops it with its members.
    ViewSlot<modRules::RulesView>::Registration rulesView_;

    // ---- message list ----
public:
    // Rebuilds the whole list from the message store for account (1 to the
    // account count; any other number changes nothing): rows with their
    // icons, new mail in bold, the account's tab captions and icons, the
    // message buttons and menu entries disabled until a row is chosen, and
    // status-bar panels 1 to 4.
    void FillMessageList(int16_t account);
    // The account's tab icon on both tab strips: error, mail or no mail,
    // and "Disabled" for an account switched off.
    void SetAccountTabIcon(int16_t account);
    // The hidden columns 6 to 9 kept at width 0.
    void HideExtraColumns();
    // Marks column in the header and sorts the account's messages by it in
    // the order gOptSortOrder names; a column that is not one of the five
    // visible ones changes nothing.
    void SortMessageList(int16_t account, const QString& column);

private:
    void WireMessageList();
    void lvwEmail_ColumnClick(const vb::ColumnHeader& header);

    // ---- options page ----
public:
    // The six panel nodes of the tree; the first panel is shown.
    void BuildOptionsTree();
    // The panel of the selected node, with its name and picture as the title.
    void TreeView_Click();
    // Once at load: the panels widened by the layout offset and stacked in
    // the border, the tool bars fitted, the no-check fields and the About
    // texts filled.
    void LayoutOptionsPages();
    // The help topic of the panel whose node is selected.
    void ShowOptionsHelp();

private:
    void WireOptionFields();
    // The minutes' range follows the hours: at least 1 with hours 0, only 0
    // with hours 12.
    void KeepIntervalInRange();
    // A click in a no-check time selects its hours or minutes and shows the
    // arrows that step that part; the arrows write the part back.
    void NoCheckTime_Click(int i);
    void NoCheck_Change(int k);
    // The "Apply to" choices matter only with raised buttons.
    void EnableApplyStyle(bool raised);
    bool syncingNoCheck_ = false;

    // ---- layout ----
public:
    // The one-off layout at load: tool bars sized to their buttons as drawn,
    // the pages stacked under the page buttons and widened by the layout
    // offset, the button bars placed from the right, the list's columns.
    void ArrangeControls();
    // Sizes the window around the Email tab strip and centres it on the
    // screen; the size becomes the minimum width and the Size command's size.
    void SizeAndCentre();
    // The outer size in twips, counting the frame measured at load, so that a
    // frame the desktop reports only once the window shows changes nothing.
    int OuterWidth() const;
    int OuterHeight() const;
    void SetOuterSize(int width, int height);

    // Window sizes in twips: at load (the narrowest width allowed, the height
    // the Size command restores) and at the last layout pass.
    int mMinWidth = 0;
    int mStartHeight = 0;
    int mLastWidth = 0;
    int mLastHeight = 0;
    // The base column width (list width / 4.5) and the widths given at load.
    int mColBaseWidth = 0;
    int mColFromWidth = 0;
    int mColToWidth = 0;
    int mColSubjectWidth = 0;
    int mColDateWidth = 0;
    int mColSizeWidth = 0;
    // The "RestoreColWidth" setting as the layout read it (1 = default widths).
    int mRestoreColWidth = 1;

    static constexpr int kMinHeight = 3500;

protected:
    // Minimised: hides the open child windows and the window into the tray,
    // when the desktop has one. Normal or maximised: keeps the minimum size
    // and moves the controls by the change in size since the last pass.
    void Form_Resize() override;

private:
    void LayoutPass(int dW, int dH);
    void MinimiseToTray();
    // Outer size less client size, in twips, as measured at load.
    int frameWidth_ = 0;
    int frameHeight_ = 0;

    // ---- pointer events and tray tip ----
public:
    // While the window is minimised: the tray tip sums the messages (or the
    // new ones) of the checked and connected accounts, and the icon shows
    // the count of one enabled, checked account in its colour, the next one
    // on the next call. With automatic checking off the icon and tip say so
    // instead. Called every second by the clock and the check timers.
    void UpdateTrayIcon();

    // The list's pointer events: the current message, the message buttons
    // and menu entries enabled only for a chosen row, the pop-up menu on a
    // right click, the preview on a double click, the keyboard focus kept
    // off the list, and the tips of cells too narrow for their text.
    void lvwEmail_ItemClick();
    void lvwEmail_Click();
    void lvwEmail_DblClick();
    void lvwEmail_MouseDown(int Button, int Shift, int x, int y);
    void lvwEmail_MouseUp(int Button, int Shift, int x, int y);
    void lvwEmail_GotFocus();
    void lvwEmail_MouseMove(int Button, int Shift, int x, int y);
    // The tip of the status-bar panel under the pointer.
    void StatusBar_MouseMove(int Button, int Shift, int x, int y);

    // The list row under the pointer (0 = none) and whether the user chose one.
    int16_t mHoverItem = 0;
    bool mItemSelected = false;

private:
    void WirePointerEvents();
    // Enables or disables the four message buttons and menu entries.
    void EnableMessageCommands(bool on);
    // The pointer left the From, To and Subject cells: no row, no tip.
    void ForgetListHover();
    // The account whose count the tray icon shows next (1 to the count).
    int16_t mTrayRotation = 1;
    // The row and column whose tip was set last.
    int16_t mTipRow = 0;
    int16_t mTipColumn = 0;
};
