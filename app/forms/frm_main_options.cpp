// The main window's share of the option values: the page's colour boxes and
// Save/Cancel state, and what the options drive in the rest of the window.
#include <functional>
#include <map>
#include <string>

#include "app/forms/checks_paused.h"
#include "app/forms/frm_main.h"

#include "app/accounts/account_table.h"
#include "app/check/schedule.h"
#include "app/forms/menu_xp.h"
#include "app/general/check_status.h"
#include "app/options/menu_theme.h"
#include "app/options/option_values.h"
#include "app/options/options_page.h"
#include "platform/desktop/program_file.h"
#include "platform/ui/image_list.h"
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

// How the page shows one option, from its stored text.
using ShowOption = std::function<void(frmMain&, const QString&)>;

ShowOption Check(vb::CheckBox frmMainDesign::*box) {
    return [box](frmMain& f, const QString& value) { (f.*box).SetValue(value.toInt()); };
}
ShowOption Text(vb::TextBox frmMainDesign::*box) {
    return [box](frmMain& f, const QString& value) { (f.*box).SetText(value); };
}
ShowOption TimeText(int index) {
    return [index](frmMain& f, const QString& value) { f.txtNoCheckTime(index).SetText(value); };
}
ShowOption Choice(vb::ControlArray<vb::OptionButton> frmMainDesign::*group) {
    return [group](frmMain& f, const QString& value) {
        const int index = value.toInt();
        if ((f.*group).Exists(index)) (f.*group)(index).SetValue(true);
    };
}
ShowOption Colour(vb::Label frmMainDesign::*box) {
    return [box](frmMain& f, const QString& value) { (f.*box).SetBackColor(value.toUInt()); };
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

void frmMain::WireOptionsControls() {
    // The boxes hold the pending menu colours from the start, so a save never
    // takes a box's designed colour for a chosen one.
    PaintMenuColourBoxes(LiveMenuColours());
    lbl3DTopColour.Click = [this] { MenuColourBox_Click(lbl3DTopColour, gEditOptTopColour); };
    lbl3DMiddleColour.Click = [this] { MenuColourBox_Click(lbl3DMiddleColour, gEditOptMiddleColour); };
    lbl3DBottomColour.Click = [this] { MenuColourBox_Click(lbl3DBottomColour, gEditOptBottomColour); };
}

void frmMain::ShowOptionValues() {
    // In table order: setting a control runs its handler, which may read
    // the controls set before it.
    for (const OptionField& field : OptionFields()) {
        const auto control = PageControls().find(field.key);
        if (field.saved && control != PageControls().end()) control->second(*this, StoredText(field));
    }
}

void frmMain::EnableOptionsSave(bool changed) {
    tbrButtons(12).Buttons(1).SetEnabled(changed);
    tbrButtons(13).Buttons(1).SetEnabled(changed);
    UpdatePageBar();
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

// A dialog open now keeps the check paused until it closes.
void frmMain::SetAutoCheckTimers(bool) { ApplyCheckTimers(); }

void frmMain::SetNextAutoCheckTime() { modCheck::SetNextAutoCheckTime(0); }

void frmMain::ShowAutoCheckText(const QString& text) { StatusBar.SetPanelText(4, text); }

void frmMain::ShowSortColumnIcon(const QString& key, const QString& icon) {
    // A picture that could not be drawn leaves the header without one
    // rather than failing the save.
    const auto show = [this](const QString& column, const QString& picture) {
        const vb::ImageList* pictures = lvwEmail.ColumnHeaderIcons();
        lvwEmail.Column(column).SetIcon(pictures && pictures->Exists(picture) ? picture : QString());
    };
    for (const char* column : {"From", "To", "Subject", "Date", "Size"})
        show(QString::fromLatin1(column), QStringLiteral("Blank"));
    if (!key.isEmpty()) show(key, icon);
}

void frmMain::SortAndFillMessageList() {
    const int16_t account = modAccounts::gCurrentAccount;
    if (account < 1 || account > modAccounts::gAccountCount) return;
    SortMessageList(account, modGeneral::gSortKey);
    FillMessageList(account);
}

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
    const forms::ChecksPaused paused(*this);
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
