// The Options page's navigation and layout: the panel tree, the title, the
// stacked panels, the About texts and the panels' help.
#include <QDate>
#include <cmath>

#include "app/forms/frm_main.h"

#include "app/forms/help_topics.h"
#include "app/forms/layout_offset.h"
#include "app/forms/options_panels.h"
#include "app/general/check_status.h"
#include "app/options/option_values.h"
#include "platform/desktop/help.h"
#include "platform/ui/app_info.h"

namespace forms {

int16_t gOptionsPage = 1;

}  // namespace forms

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

void frmMain::BuildOptionsTree() {
    TreeView.ClearNodes();
    for (int i = 0; i < forms::kOptionsPanels; ++i) TreeView.AddNode(forms::kOptionsPanelNames[i], i + 1);
    TreeView.Select(1);
    TreeView_Click();
}

void frmMain::TreeView_Click() {
    const int node = TreeView.SelectedItem();
    if (node < 1 || node > forms::kOptionsPanels) return;
    forms::gOptionsPage = static_cast<int16_t>(node);
    lblOptionsTitle.SetCaption(TreeView.NodeText(node));
    imgOptTitleLeft.SetPicture(node <= imlOptions.Count() ? imlOptions.Picture(node) : QPixmap());
    for (int i = 1; i <= forms::kOptionsPanels; ++i) fraOptions(i).SetVisible(false);
    fraOptions(node).SetVisible(true);
}

void frmMain::LayoutOptionsPages() {
    using forms::gLayoutOffset;
    const int half = Half(gLayoutOffset);

    // The border and title take the extra width; the wide texts grow with
    // them, the controls in a panel's middle keep to its middle.
    for (vb::ControlBase* c : std::initializer_list<vb::ControlBase*>{
             &fraOptionsBorder, &lblOptionsTitle, &lblStartUp(0), &lblStartUp(1), &lblStartUp(4), &lblInterval(0),
             &lblInterval(5), &lblInterval(8), &lblDefault(3), &lblAboutEmail, &lblAbout(6)})
        Widen(*c, gLayoutOffset);
    Shift(imgOptTitleRight, gLayoutOffset);
    for (vb::ControlBase* c : std::initializer_list<vb::ControlBase*>{
             &fra3DPreset, &lblMenuColours(3), &lblMenuColours(4), &lblMenuColours(5), &lblMenuColours(6),
             &lbl3DTopColour, &lbl3DMiddleColour, &lbl3DBottomColour, &fraSort(0), &fraSort(1), &imgSort,
             &lblAbout(0), &lblAbout(1), &lblAbout(2), &lblAbout(3), &lblAboutWebSite})
        Shift(*c, half);

    // The panels lie on top of each other; only the shown one is seen.
    for (int i = 1; i <= forms::kOptionsPanels; ++i) {
        vb::Frame& panel = fraOptions(i);
        panel.SetCaption(QString());
        panel.SetBorderStyle(0);
        panel.Move(kPanelLeft, kPanelTop, fraOptionsBorder.Width() - 2 * kPanelLeft, kPanelHeight);
    }

    // The tab strip is only the pane's background.
    TabStripOptions.ClearTabs();
    TabStripOptions.Move(0, 0, fraMain(3).Width(), TabStripOptions.Height());
    for (auto* bars : {&tbrClient, &tbrSound, &tbrOptMisc, &tbrOptAbout})
        bars->ForEach([](int, vb::ToolBar& t) {
            if (t.ButtonCount() > 0) t.SetWidth(t.ButtonWidth() * t.ButtonCount());
        });
    for (int i = 0; i <= 2; ++i) {
        lblMenuColours(i).SetLeft(lblOptionsTitle.Left());
        lblMenuColours(i).SetWidth(lblOptionsTitle.Width());
    }
    const auto placePath = [this](vb::TextBox& box, vb::ToolBar& bar) {
        bar.SetLeft(lblOptionsTitle.Width() + kPathBarEndBeyondTitle - bar.Width());
        box.SetWidth(std::max(0, bar.Left() - kPathBarGap - box.Left()));
    };
    placePath(txtDefaultClient, tbrClient(0));
    placePath(txtDefaultSound, tbrSound(0));

    // The no-check times: each field's hour and minute arrows share a place,
    // the hour arrows shown first.
    for (int i = 0; i <= 1; ++i) {
        const QString& time = modOptions::gOptNoCheckTime[i];
        txtNoCheckTime(i).SetText(time);
        updNoCheck(i).SetValue(TimePart(time, 0, updNoCheck(i).Max()));
        updNoCheck(i + 2).SetValue(TimePart(time, 1, updNoCheck(i + 2).Max()));
        updNoCheck(i + 2).Move(updNoCheck(i).Left(), updNoCheck(i).Top());
        updNoCheck(i + 2).SetVisible(false);
    }

    lblAbout(0).SetCaption(modGeneral::gAppName);
    lblAbout(1).SetCaption(QStringLiteral("Version %1.%2").arg(vb::App::Major()).arg(vb::App::Minor()));
    lblAbout(2).SetCaption(vb::App::CompanyName());
    lblAbout(3).SetCaption(QStringLiteral("Copyright \u00A9 %1").arg(QDate::currentDate().year()));
    lblAboutEmail.SetCaption(QStringLiteral("Email: ") + vb::App::SupportAddress() +
                             QStringLiteral("     Subject: Veltrane"));
    lblAboutWebSite.SetCaption(QStringLiteral("WebSite HomePage"));
    lblAbout(6).SetCaption(QStringLiteral("Please report any problems or ideas for"
                                          " new features to the email address shown above.\n"
                                          "Thank you for your consideration."));
}

void frmMain::ShowOptionsHelp() {
    const int node = TreeView.SelectedItem();
    if (node < 1) return;
    const QString text = TreeView.NodeText(node);
    for (int i = 0; i < forms::kOptionsPanels; ++i) {
        // A help page that cannot be shown is ignored: the page stays usable.
        if (text == forms::kOptionsPanelNames[i])
            platform::desktop::ShowHelp(vb::App::DataPath(), forms::OptionsHelpContext(i + 1));
    }
}
