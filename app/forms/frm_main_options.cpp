// The main window's share of the option values: the page's colour boxes and
// Save/Cancel state, and what the options drive in the rest of the window.
#include <array>

#include "app/forms/frm_main.h"
#include "app/forms/menu_xp.h"
#include "app/general/check_status.h"
#include "app/options/menu_theme.h"
#include "app/options/option_values.h"
#include "app/options/options_page.h"
#include "platform/desktop/program_file.h"
#include "platform/ui/msg_box.h"

using namespace modOptions;

namespace {

constexpr int kTopFlat = 138;
constexpr int kTopRaised = 120;

// A tool bar takes the style; the bars of groups A and B also move.
void Style(vb::ToolBar& bar, int16_t flat, bool moves) {
    bar.SetStyle(flat);
    if (moves) bar.SetTop(flat == 1 ? kTopFlat : kTopRaised);
}

void StyleAll(const vb::ControlArray<vb::ToolBar>& bars, int16_t flat) {
    bars.ForEach([flat](int, vb::ToolBar& bar) { Style(bar, flat, false); });
}

}  // namespace

void frmMain::WireOptionsControls() {
    // The boxes hold the pending menu colours from the start, so a save never
    // takes a box's designed colour for a chosen one.
    PaintMenuColourBoxes(LiveMenuColours());
    lbl3DTopColour.Click = [this] { MenuColourBox_Click(lbl3DTopColour, gEditOptTopColour); };
    lbl3DMiddleColour.Click = [this] { MenuColourBox_Click(lbl3DMiddleColour, gEditOptMiddleColour); };
    lbl3DBottomColour.Click = [this] { MenuColourBox_Click(lbl3DBottomColour, gEditOptBottomColour); };
}

void frmMain::ShowOptionValues() {
    opt3DTheme(gOptDTheme).SetValue(true);
    PaintMenuColourBoxes(LiveMenuColours());
}

void frmMain::ShowOptionDescriptions() {}

void frmMain::EnableOptionsSave(bool changed) {
    tbrButtons(12).Buttons(1).SetEnabled(changed);
    tbrButtons(13).Buttons(1).SetEnabled(changed);
    fraMainButtons.SetEnabled(!changed);
}

MenuColours frmMain::MenuColourBoxes() const {
    return {static_cast<int32_t>(lbl3DTopColour.BackColor()), static_cast<int32_t>(lbl3DMiddleColour.BackColor()),
            static_cast<int32_t>(lbl3DBottomColour.BackColor())};
}

void frmMain::PaintMenuColourBoxes(const MenuColours& colours) {
    lbl3DTopColour.SetBackColor(static_cast<vb::OleColor>(colours.top));
    lbl3DMiddleColour.SetBackColor(static_cast<vb::OleColor>(colours.middle));
    lbl3DBottomColour.SetBackColor(static_cast<vb::OleColor>(colours.bottom));
}

void frmMain::FocusOptionsTree() { TreeView.SetFocus(); }

bool frmMain::IsUsableProgram(const QString& path) const { return platform::desktop::IsUsableProgram(path); }

void frmMain::SetTrayAutoCheckCaption(const QString& caption) { mnuTrayAutoCheck.SetCaption(caption); }

void frmMain::SetTraySoundsCaption(const QString& caption) { mnuTraySounds.SetCaption(caption); }

void frmMain::SetAutoCheckTimers(bool useInterval) {
    tmrMailTime.SetEnabled(useInterval);
    tmrStatusBar.SetEnabled(!useInterval);
}

void frmMain::SetNextAutoCheckTime() {}

void frmMain::ShowAutoCheckText(const QString& text) { StatusBar.SetPanelText(4, text); }

void frmMain::ShowSortColumnIcon(const QString& key, const QString& icon) {
    for (const char* column : {"From", "To", "Subject", "Date", "Size"})
        lvwEmail.Column(QString::fromLatin1(column)).SetIcon(QStringLiteral("Blank"));
    if (!key.isEmpty()) lvwEmail.Column(key).SetIcon(icon);
}

void frmMain::SortAndFillMessageList() {}

void frmMain::LoadMailClientIcon(const QString& path, int16_t index) {
    (void)path;
    (void)index;
}

void frmMain::SetMailClientButton(int16_t index) { (void)index; }

void frmMain::RefreshMenus() {
    if (forms::gMenuXP) forms::gMenuXP->Refresh();
}

void frmMain::SetToolbarStyle(ToolbarGroup group, int16_t flat) {
    switch (group) {
        case ToolbarGroup::A:
            return SetToolbarStyleA(flat);
        case ToolbarGroup::B:
            return SetToolbarStyleB(flat);
        case ToolbarGroup::C:
            return SetToolbarStyleC(flat);
    }
}

void frmMain::SetToolbarStyleA(int16_t flat) {
    for (int i = 0; i <= 14; ++i) Style(tbrButtons(i), flat, true);
}

void frmMain::SetToolbarStyleB(int16_t flat) {
    for (vb::ToolBar* bar : {&tbrMainButtons, &tbrEmail, &tbrAcnts, &tbrRules}) Style(*bar, flat, true);
}

void frmMain::SetToolbarStyleC(int16_t flat) {
    Style(tbrColour, flat, false);
    for (const auto* bars : {&tbrMoveButtons, &tbrClient, &tbrSound, &tbrRuleUpdate, &tbrOptMisc, &tbrOptAbout})
        StyleAll(*bars, flat);
}

void frmMain::ReportOptionsFailure(const QString& title, const QString& text) {
    vb::MsgBox(text, vb::vbExclamation, modGeneral::gAppName + QStringLiteral(" - ") + title);
}

void frmMain::PickMenuColour() {
    CommonDialog.Flags = vb::cdlCCRGBInit | vb::cdlCCFullOpen;
    CommonDialog.Color = static_cast<vb::OleColor>(forms::gPickedColour);
    CommonDialog.ShowColor(this);
    forms::gPickedColour = static_cast<int32_t>(CommonDialog.Color);
}

void frmMain::MenuColourBox_Click(vb::Label& box, int32_t& editColour) {
    forms::gPickedColour = static_cast<int32_t>(box.BackColor());
    PickMenuColour();
    box.SetBackColor(static_cast<vb::OleColor>(forms::gPickedColour));
    editColour = forms::gPickedColour;
    CheckOptionsChanged();
}
