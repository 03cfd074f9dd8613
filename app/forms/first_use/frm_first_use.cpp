#include "app/forms/first_use/frm_first_use.h"

#include <QDate>
#include <algorithm>

#include "app/forms/common/child_ok_button.h"
#include "app/forms/common/child_tool_bar_style.h"
#include "app/forms/common/child_windows.h"
#include "app/forms/common/pictures.h"
#include "app/general/check_status.h"
#include "app/options/option_values.h"
#include "platform/ui/app_info.h"
#include "platform/ui/twips.h"

namespace {

// The twips a wrapping label needs for its text at its width.
int NeededHeight(vb::Label& label) { return vb::PixelsToTwipsY(label.heightForWidth(label.width())); }

}  // namespace

frmFirstUse::frmFirstUse(forms::MainWindowLink* main) : frmFirstUseDesign(this), main_(main) {
    forms::SetUpOkWindow(*this, imlButtons, tbrButtons);
    imgTitle.SetPicture(forms::Picture(QStringLiteral("Logo"), 32));
}

void frmFirstUse::Form_Load() {
    shownSlot_ = forms::gFirstUseWindow.Register(*this);
    checksPaused_.emplace(main_.data(), forms::PausedChecks::Automatic);

    Move((vb::ScreenWidth() - Width()) / 2, (vb::ScreenHeight() - Height()) / 2);

    forms::PlaceOkButton(tbrButtons, fraButtons, fraIntro.Width());

    const QString& name = modGeneral::gAppName;
    SetCaption(name + QStringLiteral(" - First Time Use"));
    lblTitle.SetCaption(name);
    lblVersion.SetCaption(QStringLiteral("Version %1.%2").arg(vb::App::Major()).arg(vb::App::Minor()));
    lblCopyRight1.SetCaption(QStringLiteral("Copyright \u00A9 ") + vb::App::CompanyName());
    lblCopyRight2.SetCaption(QStringLiteral("All rights reserved ") + QDate::currentDate().toString(u"yyyy"));
    fraIntro.SetCaption(QStringLiteral("Welcome to ") + name);

    lblDescription.SetCaption(
        QStringLiteral("Veltrane must be set up with a least"
                       " one Email Account before you can actually use it to monitor"
                       " your messages. Please follow these steps."));
    lblDescription1.SetCaption(
        QStringLiteral("After you start Veltrane, click"
                       " 'Accounts' just under the Title Bar."));
    lblDescription2.SetCaption(
        QStringLiteral("Click 'Add Account' and enter all"
                       " the appropriate information into the textboxes."));
    lblDescription3.SetCaption(
        QStringLiteral("Click 'Save Account' when you are done"
                       " and then click 'Test Account.'"));
    lblDescription4.SetCaption(
        QStringLiteral("If you entered all your information"
                       " correctly you should receive a 'Connection Successfull' message."
                       " If not, you will need to try re-entering your information"
                       " or check with someone who knows the proper connection settings."));
    lblDescription5.SetCaption(
        QStringLiteral("Once an Account is setup you can make"
                       " changes to control Veltrane. To do this click"
                       " 'Options' and browse through the various settings."));

    FitSteps();
    tbrButtons.SetStyle(forms::ChildToolBarStyle(modOptions::gOpt.ButtonStyle, modOptions::gOpt.ApplyStyle,
                                                 tbrButtons.Style()));
}

void frmFirstUse::FitSteps() {
    // The designed places fit a narrow dialog font. With a wider one a step
    // may need another line: it then grows, and the steps below it move down
    // with their numbers, so that no text is cut.
    constexpr int kGap = 60;
    struct Step {
        vb::Label* number;
        vb::Label* text;
    };
    const Step steps[] = {{&Label1, &lblDescription1}, {&Label2, &lblDescription2},
                          {&Label3, &lblDescription3}, {&Label4, &lblDescription4},
                          {&Label5, &lblDescription5}, {nullptr, &Label6}};
    int below = 0;
    for (const Step& step : steps) {
        const int top = std::max(step.text->Top(), below);
        const int needed = NeededHeight(*step.text);
        step.text->Move(step.text->Left(), top, -1, std::max(step.text->Height(), needed));
        if (step.number) step.number->SetTop(top);
        below = top + needed + kGap;
    }
}

void frmFirstUse::Form_Unload(int& Cancel) {
    (void)Cancel;
    shownSlot_.Reset();
    checksPaused_.reset();
}
