#pragma once
// The main window's Options page: the panel tree and its six panels, the
// fields that record the pending options, their explanations, the menu
// colours and the page's tools. It is the options module's view of the page;
// what the options drive elsewhere in the window is done by the owners of
// those controls, through views of their own.
#include <QString>
#include <cstdint>
#include <functional>

#include "app/common/view_slot.h"
#include "app/forms/main_window/frm_main_design.h"
#include "app/forms/options/session_startup_entry.h"
#include "app/options/options_view.h"
#include "app/options/run_at_startup.h"

class QWidget;

namespace forms {
class CommandKeys;
}

class OptionsPage final : private modOptions::OptionsView {
public:
    // What the page asks of the main window.
    class Host {
    public:
        // Save and Cancel changed: the page bar follows the pending edits.
        virtual void UpdatePageBar() = 0;
        // Runs dialog, owned by the window, with no check starting meanwhile.
        virtual void RunDialogWithChecksPaused(const std::function<void(QWidget* owner)>& dialog) = 0;
        // Closes the window, to the tray when the close button minimises.
        virtual void UnloadWindow() = 0;

    protected:
        ~Host() = default;
    };

    // The controls the window's description marks "for OptionsPage".
    using Controls = frmMainDesign::OptionsPageControls;

    // Binds the page's controls of design; registers the page's commands and
    // wires its fields and tools.
    OptionsPage(frmMainDesign& design, forms::CommandKeys& commands, Host& host);
    OptionsPage(const OptionsPage&) = delete;
    OptionsPage& operator=(const OptionsPage&) = delete;

    // The options module reaches the page, and the autostart entry, while
    // the window is loaded.
    void RegisterViews();
    void ReleaseViews();

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
    // The panel shown (1..6), kept for the whole run.
    int16_t ShownPanel() const { return mOptionsPage; }

    // mode 1 ticks, 2 clears the three list tooltip boxes; then the change check.
    void SetAllToolTips(int16_t mode);
    // The program's read-me (the data folder's ReadMe.txt) and its home page,
    // each opened by the desktop's application for it.
    void ShowReadMe();
    void OpenHomePage();

private:
    // modOptions::OptionsView: the page.
    void ShowOptionValues() override;
    void ShowOptionDescriptions() override;
    void EnableOptionsSave(bool changed) override;
    modOptions::MenuColours MenuColourBoxes() const override;
    void PaintMenuColourBoxes(const modOptions::MenuColours& colours) override;
    void FocusOptionsTree() override;
    void ShowSortOrder(int16_t order) override;

    // ---- wiring (the page's construction) ----
    void WireOptionsControls();
    void WireOptionFields();
    void WirePageCommands();
    void WireCheckFields();
    void WireChoiceFields();
    void WireNumberFields();
    void WireNoCheckTimes();
    void WirePathFields();
    void WireTools();

    // ---- layout steps ----
    void WidenForLayoutOffset();
    void StackPanels();
    void FitPanelToolBars();
    void FillNoCheckTimes();
    void FillAboutTexts();

    // ---- explanation steps ----
    void DescribeStartUp(const QString& title);
    void DescribeInterval();
    void DescribeDefaults();
    void DescribeMenuColours();
    void EnableSortChoices();
    // The "Apply to" choices matter only with raised buttons.
    void EnableApplyStyle(bool raised);

    // ---- fields ----
    // The minutes' range follows the hours: at least 1 with hours 0, only 0
    // with hours 12.
    void KeepIntervalInRange();
    // A click in a no-check time selects its hours or minutes and shows the
    // arrows that step that part; the arrows write the part back.
    void NoCheckTime_Click(int i);
    void NoCheck_Change(int k);

    // ---- menu colours ----
    // The colour dialog, from gPickedColour back into gPickedColour.
    void PickMenuColour();
    // A menu colour box was clicked: its colour and the edit colour follow the pick.
    void MenuColourBox_Click(vb::Label& box, int32_t& editColour);

    // false, after telling the user, when nothing could open the page.
    bool OpenHomePageOrReport();

    Controls c_;
    forms::CommandKeys& commands_;
    Host& host_;
    int16_t mOptionsPage = 1;
    bool syncingNoCheck_ = false;
    forms::SessionStartupEntry sessionEntry_;
    ViewSlot<modOptions::OptionsView>::Registration optionsView_;
    ViewSlot<modOptions::StartupEntry>::Registration startupEntry_;
};
