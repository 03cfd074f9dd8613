// The Options page's values and menu colours: the page's controls from the
// live options, the colour boxes and their colour dialog, and the tool-bar
// styles the options choose for the whole window.
#include <functional>
#include <map>
#include <string>

#include "app/forms/common/menu_xp.h"
#include "app/forms/main_window/frm_main_design.h"
#include "app/forms/main_window/window_slots.h"
#include "app/forms/options/options_page.h"
#include "app/options/menu_theme.h"
#include "app/options/option_values.h"
#include "app/options/options_edit.h"

using namespace modOptions;

namespace {

// How the page shows one option, from its stored text.
using ShowOption = std::function<void(const QString&)>;

ShowOption Check(vb::CheckBox& box) {
    return [&box](const QString& value) { box.SetValue(value.toInt()); };
}
ShowOption Text(vb::TextBox& box) {
    return [&box](const QString& value) { box.SetText(value); };
}
ShowOption TimeText(vb::ControlArray<vb::TextBox>& times, int index) {
    return [&times, index](const QString& value) { times(index).SetText(value); };
}
ShowOption Choice(vb::ControlArray<vb::OptionButton>& group) {
    return [&group](const QString& value) {
        const int index = value.toInt();
        if (group.Exists(index)) group(index).SetValue(true);
    };
}
ShowOption Colour(vb::Label& box) {
    return [&box](const QString& value) { box.SetBackColor(value.toUInt()); };
}

// The control of every option the page edits.
std::map<std::string, ShowOption> PageControls(OptionsPage::Controls& c) {
    return {
        {"RunStartUp", Check(c.chkRunStartUp)},
        {"EmailCheckStartUp", Check(c.chkEmailCheckStartUp)},
        {"StartUpDelay", Text(c.txtStartUpDelay)},
        {"MinimizeStartUp", Check(c.chkMinimizeStartUp)},
        {"UseInterval", Check(c.chkUseInterval)},
        {"NoCheck", Check(c.chkNoCheck)},
        {"NoCheckTimeBegin", TimeText(c.txtNoCheckTime, 0)},
        {"NoCheckTimeEnd", TimeText(c.txtNoCheckTime, 1)},
        {"ShowEmailMsgBox", Check(c.chkShowEmailMsgBox)},
        {"MsgBoxTime", Text(c.txtMsgBoxTime)},
        {"ShowEmail", Choice(c.optShowEmail)},
        {"Hours", Text(c.txtHours)},
        {"Minutes", Text(c.txtMinutes)},
        {"DefaultClient", Text(c.txtDefaultClient)},
        {"DefaultSound", Text(c.txtDefaultSound)},
        {"RunSize", Choice(c.optRunSize)},
        {"PlaySound", Check(c.chkPlaySound)},
        {"DTheme", Choice(c.opt3DTheme)},
        {"TopColour", Colour(c.lbl3DTopColour)},
        {"MiddleColour", Colour(c.lbl3DMiddleColour)},
        {"BottomColour", Colour(c.lbl3DBottomColour)},
        {"ShowNewOnly", Check(c.chkShowNewOnly)},
        {"RestoreColWidth", Check(c.chkRestoreColWidth)},
        {"ButtonStyle", Check(c.chkButtonStyle)},
        {"ApplyStyle", Choice(c.optApplyStyle)},
        {"FromToolTips", Check(c.chkFromToolTips)},
        {"ToToolTips", Check(c.chkToToolTips)},
        {"SubjectToolTips", Check(c.chkSubjectToolTips)},
        {"MessageSort", Check(c.chkMessageSort)},
        {"SortColumn", Choice(c.optSortColumn)},
        {"SortOrder", Choice(c.optSortOrder)},
        {"CloseButton", Check(c.chkCloseButton)},
        {"QuickCheck", Check(c.chkQuickCheck)},
        {"DeleteConfirmation", Check(c.chkDeleteConfirmation)},
        {"SuppressConnectErrors", Check(c.chkSuppressConnectErrors)},
        {"SuppressRetrieveErrors", Check(c.chkSuppressRetrieveErrors)},
        {"ConnectTimeOut", Text(c.txtConnectTimeOut)},
    };
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
    const auto controls = PageControls(c_);
    for (const OptionField& field : OptionFields()) {
        const auto control = controls.find(field.key);
        if (field.saved && control != controls.end()) control->second(StoredText(field));
    }
}

void OptionsPage::ShowSortOrder(int16_t order) {
    if (order >= 0 && order <= 1) c_.optSortOrder(order).SetValue(true);
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
