// The Options page's explanations: each says in words what its box as it
// stands will do, drawn in the "on" colour or, for what is switched off, in
// dark red; and the fields that only matter while another box is ticked.
#include "app/forms/main_window/frm_main_design.h"
#include "app/forms/options/options_page.h"
#include "app/general/check_status.h"
#include "app/options/option_values.h"
#include "platform/ui/app_info.h"
#include "platform/ui/ole_color.h"

using namespace modOptions;

namespace {

constexpr vb::OleColor kOnColour = vb::kSysActiveTitleBar;
constexpr vb::OleColor kOffColour = vb::RGB(192, 0, 0);

void Explain(vb::Label& label, bool on, const QString& text) {
    label.SetForeColor(on ? kOnColour : kOffColour);
    label.SetCaption(text);
}

void EnableAll(std::initializer_list<vb::ControlBase*> controls, bool on) {
    for (vb::ControlBase* c : controls) c->SetEnabled(on);
}

// Writing a field runs its change handler; an unchanged text runs nothing.
void ShowNumber(vb::TextBox& box, int value) {
    if (box.Text() != QString::number(value)) box.SetText(QString::number(value));
}

}  // namespace

void OptionsPage::ShowOptionDescriptions() {
    DescribeStartUp(vb::App::Title());
    DescribeInterval();
    DescribeDefaults();
    DescribeMenuColours();
    EnableApplyStyle(c_.chkButtonStyle.Value() == 1);
    EnableSortChoices();
}

void OptionsPage::DescribeStartUp(const QString& title) {
    if (c_.chkRunStartUp.Value() == 1)
        Explain(c_.lblStartUp(0), true, "Start " + title + " automatically when you logon to your computer.");
    else
        Explain(c_.lblStartUp(0), false, "(Off)  Start " + title + " manually from the Start Menu.");

    const bool checkAtStart = c_.chkEmailCheckStartUp.Value() == 1;
    if (checkAtStart)
        Explain(c_.lblStartUp(1), true, "Automatically check for messages when " + title + " starts.");
    else
        Explain(c_.lblStartUp(1), false, "(Off)  Manually check for messages after starting " + title + ".");
    EnableAll({&c_.lblStartUp(2), &c_.lblStartUp(3), &c_.txtStartUpDelay}, checkAtStart);

    if (c_.chkMinimizeStartUp.Value() == 1)
        Explain(c_.lblStartUp(4), true, title + " will start Minimized to the System Tray.");
    else
        Explain(c_.lblStartUp(4), false, "(Off)  " + title + " will start with a Normal Window.");
}

void OptionsPage::DescribeInterval() {
    const bool interval = c_.chkUseInterval.Value() == 1;
    if (interval)
        Explain(c_.lblInterval(0), true,
                QStringLiteral(
                    "Set the Timing Interval below to Auto Check for messages in all Enabled Accounts."));
    else
        Explain(c_.lblInterval(0), false,
                QStringLiteral("(Off)  Do not use an Auto Check Timing Interval. "
                               "Checking for messages must be done manually."));
    EnableAll({&c_.lblInterval(1), &c_.lblInterval(2), &c_.lblInterval(3), &c_.txtHours, &c_.txtMinutes,
               &c_.updHours, &c_.updMinutes, &c_.chkNoCheck, &c_.lblInterval(4)},
              interval);
    EnableAll({&c_.txtNoCheckTime(0), &c_.txtNoCheckTime(1), &c_.updNoCheck(0), &c_.updNoCheck(1),
               &c_.updNoCheck(2), &c_.updNoCheck(3)},
              interval && c_.chkNoCheck.Value() == 1);
    ShowNumber(c_.txtHours, gEditOpt.Hours);
    ShowNumber(c_.txtMinutes, gEditOpt.Minutes);

    // The three choices of when the message shows belong to it, as its time does.
    EnableAll({&c_.lblInterval(6), &c_.lblInterval(7), &c_.txtMsgBoxTime, &c_.updMsgBoxTime,
               &c_.optShowEmail(0), &c_.optShowEmail(1), &c_.optShowEmail(2)},
              c_.chkShowEmailMsgBox.Value() == 1);
}

void OptionsPage::DescribeDefaults() {
    // Only a default client that can be started has a window size to choose;
    // the Accounts page tells of the saved default, the one in force.
    EnableAll({&c_.optRunSize(1), &c_.optRunSize(3)}, gEditDefaultClientValid);
    c_.lblAcntRunSize.SetVisible(gDefaultClientValid);

    if (c_.chkPlaySound.Value() == 1) {
        Explain(c_.lblDefault(3), true,
                gEditDefaultSoundValid
                    ? QStringLiteral("The Default Sound will Play for all Enabled Accounts.")
                    : QStringLiteral("Sound Controlled by Individual Accounts."));
        Explain(
            c_.lblInterval(5), true,
            QStringLiteral("Sound Files will play based on these settings even if the Auto Check Message is "
                           "not displayed."));
    } else {
        Explain(c_.lblDefault(3), false, QStringLiteral("No Sound will Play for any Accounts."));
        Explain(c_.lblInterval(5), false,
                QStringLiteral("No Sound will play for these settings since Sound has been turned off.\n"
                               "See Defaults/Sound On."));
    }
}

void OptionsPage::DescribeMenuColours() {
    // The colour boxes show colour only.
    for (vb::Label* box : {&c_.lbl3DTopColour, &c_.lbl3DMiddleColour, &c_.lbl3DBottomColour})
        box->SetCaption(QString());
    c_.lblMenuColours(0).SetCaption("3D Effect Menu Colours are visible by Right Clicking the " +
                                    modGeneral::gAppName +
                                    " icon in the System Tray or in the Email Messages window.");
    c_.lblMenuColours(1).SetCaption(QStringLiteral("You may choose one of the six preset colours below."));
    c_.lblMenuColours(2).SetCaption(QStringLiteral(
        "To set your own colours select 'User Colours', then click one of the 3 colour boxes below."));
}

void OptionsPage::EnableSortChoices() {
    const bool sorting = c_.chkMessageSort.Value() == 1;
    c_.fraSort(0).SetEnabled(sorting);
    c_.fraSort(1).SetEnabled(sorting);
    c_.optSortColumn.ForEach([sorting](int, vb::OptionButton& b) { b.SetEnabled(sorting); });
    c_.optSortOrder.ForEach([sorting](int, vb::OptionButton& b) { b.SetEnabled(sorting); });
}

void OptionsPage::EnableApplyStyle(bool raised) {
    c_.fraApplyStyle.SetEnabled(raised);
    c_.optApplyStyle.ForEach([raised](int, vb::OptionButton& b) { b.SetEnabled(raised); });
}
