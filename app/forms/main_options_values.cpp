// The Options page's values and menu colours: the page's controls from the
// live options, the colour boxes and their colour dialog, and the tool-bar
// styles the options choose for the whole window.
#include <functional>
#include <map>
#include <string>

#include "app/forms/frm_main_design.h"
#include "app/forms/main_options_page.h"
#include "app/forms/main_window_slots.h"
#include "app/forms/menu_xp.h"
#include "app/options/menu_theme.h"
#include "app/options/option_values.h"
#include "app/options/options_page.h"

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

// How the page shows one option, from its stored text.
using ShowOption = std::function<void(frmMainDesign&, const QString&)>;

ShowOption Check(vb::CheckBox frmMainDesign::*box) {
    return [box](frmMainDesign& f, const QString& value) { (f.*box).SetValue(value.toInt()); };
}
ShowOption Text(vb::TextBox frmMainDesign::*box) {
    return [box](frmMainDesign& f, const QString& value) { (f.*box).SetText(value); };
}
ShowOption TimeText(int index) {
    return [index](frmMainDesign& f, const QString& value) { f.txtNoCheckTime(index).SetText(value); };
}
ShowOption Choice(vb::ControlArray<vb::OptionButton> frmMainDesign::*group) {
    return [group](frmMainDesign& f, const QString& value) {
        const int index = value.toInt();
        if ((f.*group).Exists(index)) (f.*group)(index).SetValue(true);
    };
}
ShowOption Colour(vb::Label frmMainDesign::*box) {
    return [box](frmMainDesign& f, const QString& value) { (f.*box).SetBackColor(value.toUInt()); };
}

// The control of every option the page edits.
const std::map<std::string, ShowOption>& PageControls() {
    using D = frmMainDesign;
    static const std::map<std::string, ShowOption> controls{
        {"RunStartUp", Check(&D::chkRunStartUp)},
        {"EmailCheckStartUp", Check(&D::chkEmailCheckStartUp)},
        {"StartUpDelay", Text(&D::txtStartUpDelay)},
        {"MinimizeStartUp", Check(&D::chkMinimizeStartUp)},
        {"UseInterval", Check(&D::chkUseInterval)},
        {"NoCheck", Check(&D::chkNoCheck)},
        {"NoCheckTimeBegin", TimeText(0)},
        {"NoCheckTimeEnd", TimeText(1)},
        {"ShowEmailMsgBox", Check(&D::chkShowEmailMsgBox)},
        {"MsgBoxTime", Text(&D::txtMsgBoxTime)},
        {"ShowEmail", Choice(&D::optShowEmail)},
        {"Hours", Text(&D::txtHours)},
        {"Minutes", Text(&D::txtMinutes)},
        {"DefaultClient", Text(&D::txtDefaultClient)},
        {"DefaultSound", Text(&D::txtDefaultSound)},
        {"RunSize", Choice(&D::optRunSize)},
        {"PlaySound", Check(&D::chkPlaySound)},
        {"DTheme", Choice(&D::opt3DTheme)},
        {"TopColour", Colour(&D::lbl3DTopColour)},
        {"MiddleColour", Colour(&D::lbl3DMiddleColour)},
        {"BottomColour", Colour(&D::lbl3DBottomColour)},
        {"ShowNewOnly", Check(&D::chkShowNewOnly)},
        {"RestoreColWidth", Check(&D::chkRestoreColWidth)},
        {"ButtonStyle", Check(&D::chkButtonStyle)},
        {"ApplyStyle", Choice(&D::optApplyStyle)},
        {"FromToolTips", Check(&D::chkFromToolTips)},
        {"ToToolTips", Check(&D::chkToToolTips)},
        {"SubjectToolTips", Check(&D::chkSubjectToolTips)},
        {"MessageSort", Check(&D::chkMessageSort)},
        {"SortColumn", Choice(&D::optSortColumn)},
        {"SortOrder", Choice(&D::optSortOrder)},
        {"CloseButton", Check(&D::chkCloseButton)},
        {"QuickCheck", Check(&D::chkQuickCheck)},
        {"DeleteConfirmation", Check(&D::chkDeleteConfirmation)},
        {"SuppressConnectErrors", Check(&D::chkSuppressConnectErrors)},
        {"SuppressRetrieveErrors", Check(&D::chkSuppressRetrieveErrors)},
        {"ConnectTimeOut", Text(&D::txtConnectTimeOut)},
    };
    return controls;
}

}  // namespace

void OptionsPage::WireOptionsControls() {
    // The boxes hold the pending menu colours from the start, so a save never
    // takes a box's designed colour for a chosen one.
    PaintMenuColourBoxes(LiveMenuColours());
    c_.lbl3DTopColour.Click = [this] { MenuColourBox_Click(c_.lbl3DTopColour, gEditOpt.TopColour); };
    c_.lbl3DMiddleColour.Click = [this] { MenuColourBox_Click(c_.lbl3DMiddleColour, gEditOpt.MiddleColour); };
    c_.lbl3DBottomColour.Click = [this] { MenuColourBox_Click(c_.lbl3DBottomColour, gEditOpt.BottomColour); };
}

void OptionsPage::ShowOptionValues() {
    // In table order: setting a control runs its handler, which may read
    // the controls set before it.
    for (const OptionField& field : OptionFields()) {
        const auto control = PageControls().find(field.key);
        if (field.saved && control != PageControls().end()) control->second(c_, StoredText(field));
    }
}

MenuColours OptionsPage::MenuColourBoxes() const {
    return {static_cast<int32_t>(c_.lbl3DTopColour.BackColor()),
            static_cast<int32_t>(c_.lbl3DMiddleColour.BackColor()),
            static_cast<int32_t>(c_.lbl3DBottomColour.BackColor())};
}

void OptionsPage::PaintMenuColourBoxes(const MenuColours& colours) {
    c_.lbl3DTopColour.SetBackColor(static_cast<vb::OleColor>(colours.top));
    c_.lbl3DMiddleColour.SetBackColor(static_cast<vb::OleColor>(colours.middle));
    c_.lbl3DBottomColour.SetBackColor(static_cast<vb::OleColor>(colours.bottom));
}

void OptionsPage::PickMenuColour() {
    host_.RunDialogWithChecksPaused([this](QWidget* owner) {
        c_.CommonDialog.Flags = vb::cdlCCRGBInit | vb::cdlCCFullOpen;
        c_.CommonDialog.Color = static_cast<vb::OleColor>(forms::gPickedColour);
        c_.CommonDialog.ShowColor(owner);
        forms::gPickedColour = static_cast<int32_t>(c_.CommonDialog.Color);
    });
}

void OptionsPage::MenuColourBox_Click(vb::Label& box, int32_t& editColour) {
    forms::gPickedColour = static_cast<int32_t>(box.BackColor());
    PickMenuColour();
    box.SetBackColor(static_cast<vb::OleColor>(forms::gPickedColour));
    editColour = forms::gPickedColour;
    CheckOptionsChanged();
}

void OptionsPage::SetToolbarStyle(ToolbarGroup group, int16_t flat) {
    switch (group) {
        case ToolbarGroup::A:
            return SetToolbarStyleA(flat);
        case ToolbarGroup::B:
            return SetToolbarStyleB(flat);
        case ToolbarGroup::C:
            return SetToolbarStyleC(flat);
    }
}

void OptionsPage::SetToolbarStyleA(int16_t flat) {
    for (int16_t i = 0; i <= forms::bar::kLast; ++i) Style(c_.tbrButtons(i), flat, true);
}

void OptionsPage::SetToolbarStyleB(int16_t flat) {
    for (vb::ToolBar* bar : {&c_.tbrMainButtons, &c_.tbrEmail, &c_.tbrAcnts, &c_.tbrRules})
        Style(*bar, flat, true);
}

void OptionsPage::SetToolbarStyleC(int16_t flat) {
    Style(c_.tbrColour, flat, false);
    for (const auto* bars : {&c_.tbrMoveButtons, &c_.tbrClient, &c_.tbrSound, &c_.tbrRuleUpdate,
                             &c_.tbrOptMisc, &c_.tbrOptAbout})
        StyleAll(*bars, flat);
}
