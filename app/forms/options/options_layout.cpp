// The Options page's one-off layout at load: the panels widened by the layout
// offset and stacked in the border, the panels' tool bars fitted, the
// no-check fields and the About texts filled.
#include <QDate>
#include <algorithm>
#include <cmath>

#include "app/forms/common/help_topics.h"
#include "app/forms/main_window/frm_main_design.h"
#include "app/forms/main_window/layout_offset.h"
#include "app/forms/main_window/window_slots.h"
#include "app/forms/options/options_page.h"
#include "app/forms/options/options_panels.h"
#include "app/general/check_status.h"
#include "app/options/option_values.h"
#include "platform/ui/app_info.h"

using namespace frmMainElements;  // tbrClient(tbrClient::kAccount)

namespace {

// Panel frames inside the border, in twips.
constexpr int kPanelLeft = 36;
constexpr int kPanelTop = 670;
constexpr int kPanelHeight = 3914;
// A path's Browse and Test bar ends this far beyond the title's width (its
// panel's right margin); the path box fills the room before it, less a gap.
constexpr int kPathBarEndBeyondTitle = 1008;
constexpr int kPathBarGap = 120;

int Half(int twips) { return static_cast<int>(std::nearbyint(twips / 2.0)); }
void Widen(vb::ControlBase& c, int by) { c.SetWidth(c.Width() + by); }
void Shift(vb::ControlBase& c, int by) { c.SetLeft(c.Left() + by); }

// "hh:mm" to its hour (part 0) or minute (part 1); 0 when not a number, so
// a damaged stored time cannot stop the load.
int TimePart(const QString& time, int part, int max) {
    bool ok = false;
    const int value = time.mid(part == 0 ? 0 : 3, 2).toInt(&ok);
    return ok && value >= 0 && value <= max ? value : 0;
}

}  // namespace

void OptionsPage::LayoutOptionsPages() {
    WidenForLayoutOffset();
    StackPanels();
    FitPanelToolBars();
    FillNoCheckTimes();
    FillAboutTexts();
}

void OptionsPage::WidenForLayoutOffset() {
    using forms::gLayoutOffset;
    const int half = Half(gLayoutOffset);
    // The border and title take the extra width; the wide texts grow with
    // them, the controls in a panel's middle keep to its middle.
    for (vb::ControlBase* c : std::initializer_list<vb::ControlBase*>{
             &c_.fraOptionsBorder, &c_.lblOptionsTitle, &c_.lblStartUp(0), &c_.lblStartUp(1),
             &c_.lblStartUp(4), &c_.lblInterval(0), &c_.lblInterval(5), &c_.lblInterval(8), &c_.lblDefault(3),
             &c_.lblAboutEmail, &c_.lblAbout(6)})
        Widen(*c, gLayoutOffset);
    Shift(c_.imgOptTitleRight, gLayoutOffset);
    for (vb::ControlBase* c : std::initializer_list<vb::ControlBase*>{
             &c_.fra3DPreset, &c_.lblMenuColours(3), &c_.lblMenuColours(4), &c_.lblMenuColours(5),
             &c_.lblMenuColours(6), &c_.lbl3DTopColour, &c_.lbl3DMiddleColour, &c_.lbl3DBottomColour,
             &c_.fraSort(0), &c_.fraSort(1), &c_.imgSort, &c_.lblAbout(0), &c_.lblAbout(1), &c_.lblAbout(2),
             &c_.lblAbout(3), &c_.lblAboutWebSite})
        Shift(*c, half);
}

void OptionsPage::StackPanels() {
    // The panels lie on top of each other; only the shown one is seen.
    for (int i = 1; i <= forms::kOptionsPanels; ++i) {
        vb::Frame& panel = c_.fraOptions(i);
        panel.SetCaption(QString());
        panel.SetBorderStyle(0);
        panel.Move(kPanelLeft, kPanelTop, c_.fraOptionsBorder.Width() - 2 * kPanelLeft, kPanelHeight);
    }
    // The tab strip is only the pane's background.
    c_.TabStripOptions.ClearTabs();
    c_.TabStripOptions.Move(0, 0, c_.fraMain(forms::page::kOptions).Width(), c_.TabStripOptions.Height());
}

void OptionsPage::FitPanelToolBars() {
    for (auto* bars : {&c_.tbrClient, &c_.tbrSound, &c_.tbrOptMisc, &c_.tbrOptAbout})
        bars->ForEach([](int, vb::ToolBar& t) {
            if (t.ButtonCount() > 0) t.SetWidth(t.ButtonWidth() * t.ButtonCount());
        });
    for (int i = 0; i <= 2; ++i) {
        c_.lblMenuColours(i).SetLeft(c_.lblOptionsTitle.Left());
        c_.lblMenuColours(i).SetWidth(c_.lblOptionsTitle.Width());
    }
    const auto placePath = [this](vb::TextBox& box, vb::ToolBar& bar) {
        bar.SetLeft(c_.lblOptionsTitle.Width() + kPathBarEndBeyondTitle - bar.Width());
        box.SetWidth(std::max(0, bar.Left() - kPathBarGap - box.Left()));
    };
    placePath(c_.txtDefaultClient, c_.tbrClient(tbrClient::kDefault));
    placePath(c_.txtDefaultSound, c_.tbrSound(tbrSound::kDefault));
}

void OptionsPage::FillNoCheckTimes() {
    // Each field's hour and minute arrows share a place, the hour arrows
    // shown first.
    for (int i = 0; i <= 1; ++i) {
        const QString& time = modOptions::gOpt.NoCheckTime[i];
        c_.txtNoCheckTime(i).SetText(time);
        c_.updNoCheck(i).SetValue(TimePart(time, 0, c_.updNoCheck(i).Max()));
        c_.updNoCheck(i + 2).SetValue(TimePart(time, 1, c_.updNoCheck(i + 2).Max()));
        c_.updNoCheck(i + 2).Move(c_.updNoCheck(i).Left(), c_.updNoCheck(i).Top());
        c_.updNoCheck(i + 2).SetVisible(false);
    }
}

void OptionsPage::FillAboutTexts() {
    c_.lblAbout(0).SetCaption(modGeneral::gAppName);
    c_.lblAbout(1).SetCaption(QStringLiteral("Version %1.%2").arg(vb::App::Major()).arg(vb::App::Minor()));
    c_.lblAbout(2).SetCaption(vb::App::CompanyName());
    c_.lblAbout(3).SetCaption(QStringLiteral("Copyright \u00A9 %1").arg(QDate::currentDate().year()));
    c_.lblAboutEmail.SetCaption(QStringLiteral("Email: ") + vb::App::SupportAddress() +
                                QStringLiteral("     Subject: Veltrane"));
    c_.lblAboutWebSite.SetCaption(QStringLiteral("WebSite HomePage"));
    c_.lblAbout(6).SetCaption(
        QStringLiteral("Please report any problems or ideas for"
                       " new features to the email address shown above.\n"
                       "Thank you for your consideration."));
}
