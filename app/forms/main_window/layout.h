#pragma once
// The main window's layout: once at load from absolute rules, then by the
// change in size at each resize; the message list's column widths.
#include "app/common/view_slot.h"
#include "app/forms/main_window/frm_main_design.h"
#include "app/options/options_view.h"
#include "platform/ui/form.h"

namespace forms {
class CommandKeys;
}  // namespace forms

class MainLayout final : private modOptions::ToolbarStyleView {
public:
    // The controls the window's description marks "for MainLayout".
    using Controls = frmMainDesign::MainLayoutControls;

    // Binds the controls of design, which sit in window, and registers the
    // Options page's button that resets the column widths into commands.
    MainLayout(vb::Form& window, frmMainDesign& design, forms::CommandKeys& commands);
    MainLayout(const MainLayout&) = delete;
    MainLayout& operator=(const MainLayout&) = delete;

    // The options style the tool bars while the window is loaded.
    void RegisterViews() { toolbarStyle_ = modOptions::gToolbarStyleView.Register(*this); }
    void ReleaseViews() { toolbarStyle_.Reset(); }

    // The one-off layout at load: tool bars sized to their buttons as drawn,
    // the pages stacked under the page buttons and widened by the layout
    // offset, the button bars placed from the right, the list's columns.
    void ArrangeControls();
    // Sizes the window around the Email tab strip and centres it on the
    // screen; the size becomes the minimum width and the Size command's size.
    void SizeAndCentre();
    void CentreOnScreen();
    // The Size command: the size the load gave the window, centred.
    void RestoreStartSize();
    // Normal or maximised: keeps the minimum size and moves the controls by
    // the change in size since the last pass.
    void Resize();
    void ShareColumnWidths(int dW);
    // The outer size in twips, counting the frame measured at load, so that a
    // frame the desktop reports only once the window shows changes nothing.
    int OuterWidth() const;
    int OuterHeight() const;
    void SetOuterSize(int width, int height);

    // The list's five columns back to the widths computed from the list's width.
    void ResetColumnWidths();
    // The column widths as they are at the size the next start opens the
    // window with, into the settings (the shutdown).
    void SaveColumnWidths();

    // Window sizes in twips: at load (the narrowest width allowed, the height
    // the Size command restores) and at the last layout pass.
    int mMinWidth = 0;
    int mStartHeight = 0;
    int mLastWidth = 0;
    int mLastHeight = 0;
    // The base column width (a 4.5th of the width the list's columns can
    // fill) and the widths given at load.
    int mColBaseWidth = 0;
    int mColFromWidth = 0;
    int mColToWidth = 0;
    int mColSubjectWidth = 0;
    int mColDateWidth = 0;
    int mColSizeWidth = 0;
    // The "RestoreColWidth" setting as the layout read it (1 = default widths).
    int mRestoreColWidth = 1;

    static constexpr int kMinHeight = 3500;

private:
    // The steps of ArrangeControls, in the order it takes them.
    void FitToolBars();
    void StackPages();
    void ArrangeEmailPage();
    void ArrangeButtonBars();
    void ArrangeColumns();
    void ArrangeAccountsPage();
    void ArrangeRulesPage();
    void ArrangeBanner();
    // The column widths the layout holds, given to the list's columns.
    void ShowColumnWidths();
    void LayoutPass(int dW, int dH);
    void GrowOptionsPage(int dW, int dH);
    // The tool bars of a style group, 1 = flat, 0 = raised; groups A and B
    // move to top 138 twips when flat, 120 when raised.
    void SetToolbarStyle(modOptions::ToolbarGroup group, int16_t flat) override;

    vb::Form& window_;
    Controls controls_;
    // Outer size less client size, in twips, as measured at load.
    int frameWidth_ = 0;
    int frameHeight_ = 0;
    ViewSlot<modOptions::ToolbarStyleView>::Registration toolbarStyle_;
};
