// The Options page's explanations: each says in words what its box as it
// stands will do, drawn in the "on" colour or, for what is switched off, in
// dark red; and the fields that only matter while another box is ticked.
#include "app/forms/frm_main.h"

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

void frmMain::ShowOptionDescriptions() {
    const QString title = vb::App::Title();

    if (chkRunStartUp.Value() == 1)
        Explain(lblStartUp(0), true, "Start " + title + " automatically when you logon to your computer.");
    else
        Explain(lblStartUp(0), false, "(Off)  Start " + title + " manually from the Start Menu.");

    const bool checkAtStart = chkEmailCheckStartUp.Value() == 1;
    if (checkAtStart)
        Explain(lblStartUp(1), true, "Automatically check for messages when " + title + " starts.");
    else
        Explain(lblStartUp(1), false, "(Off)  Manually check for messages after starting " + title + ".");
    EnableAll({&lblStartUp(2), &lblStartUp(3), &txtStartUpDelay}, checkAtStart);

    if (chkMinimizeStartUp.Value() == 1)
        Explain(lblStartUp(4), true, title + " will start Minimized to the System Tray.");
    else
        Explain(lblStartUp(4), false, "(Off)  " + title + " will start with a Normal Window.");

    const bool interval = chkUseInterval.Value() == 1;
    if (interval)
        Explain(lblInterval(0), true,
                QStringLiteral("Set the Timing Interval below to Auto Check for messages in all Enabled Accounts."));
    else
        Explain(lblInterval(0), false,
                QStringLiteral("(Off)  Do not use an Auto Check Timing Interval. "
                               "Checking for messages must be done manually."));
    EnableAll({&lblInterval(1), &lblInterval(2), &lblInterval(3), &txtHours, &txtMinutes, &updHours, &updMinutes,
               &chkNoCheck, &lblInterval(4)},
              interval);
    EnableAll({&txtNoCheckTime(0), &txtNoCheckTime(1), &updNoCheck(0), &updNoCheck(1), &updNoCheck(2),
               &updNoCheck(3)},
              interval && chkNoCheck.Value() == 1);
    ShowNumber(txtHours, gEditOptHours);
    ShowNumber(txtMinutes, gEditOptMinutes);

    // The three choices of when the message shows belong to it, as its time does.
    EnableAll({&lblInterval(6), &lblInterval(7), &txtMsgBoxTime, &updMsgBoxTime, &optShowEmail(0), &optShowEmail(1),
               &optShowEmail(2)},
              chkShowEmailMsgBox.Value() == 1);

    // Only a default client that can be started has a window size to choose;
    // the Accounts page tells of the saved default, the one in force.
    EnableAll({&optRunSize(1), &optRunSize(3)}, gEditDefaultClientValid);
    lblAcntRunSize.SetVisible(gDefaultClientValid);

    if (chkPlaySound.Value() == 1) {
        Explain(lblDefault(3), true,
                gEditDefaultSoundValid ? QStringLiteral("The Default Sound will Play for all Enabled Accounts.")
                                   : QStringLiteral("Sound Controlled by Individual Accounts."));
        Explain(lblInterval(5), true,
                QStringLiteral("Sound Files will play based on these settings even if the Auto Check Message is "
                               "not displayed."));
    } else {
        Explain(lblDefault(3), false, QStringLiteral("No Sound will Play for any Accounts."));
        Explain(lblInterval(5), false,
                QStringLiteral("No Sound will play for these settings since Sound has been turned off.\n"
                               "See Defaults/Sound On."));
    }

    // The colour boxes show colour only.
    for (vb::Label* box : {&lbl3DTopColour, &lbl3DMiddleColour, &lbl3DBottomColour}) box->SetCaption(QString());
    lblMenuColours(0).SetCaption("3D Effect Menu Colours are visible by Right Clicking the " + modGeneral::gAppName +
                                 " icon in the System Tray or in the Email Messages window.");
    lblMenuColours(1).SetCaption(QStringLiteral("You may choose one of the six preset colours below."));
    lblMenuColours(2).SetCaption(
        QStringLiteral("To set your own colours select 'User Colours', then click one of the 3 colour boxes below."));

    EnableApplyStyle(chkButtonStyle.Value() == 1);

    const bool sorting = chkMessageSort.Value() == 1;
    fraSort(0).SetEnabled(sorting);
    fraSort(1).SetEnabled(sorting);
    optSortColumn.ForEach([sorting](int, vb::OptionButton& b) { b.SetEnabled(sorting); });
    optSortOrder.ForEach([sorting](int, vb::OptionButton& b) { b.SetEnabled(sorting); });
}

void frmMain::EnableApplyStyle(bool raised) {
    fraApplyStyle.SetEnabled(raised);
    optApplyStyle.ForEach([raised](int, vb::OptionButton& b) { b.SetEnabled(raised); });
}
