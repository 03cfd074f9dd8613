// The Options page's navigation and its place in the window: the panel tree,
// the title and the panels' help, the page's Save and Cancel state, and what
// the options drive in the rest of the window.
#include "app/forms/options/options_page.h"

#include "app/forms/common/help_topics.h"
#include "app/forms/main_window/frm_main_design.h"
#include "app/forms/main_window/window_slots.h"
#include "app/forms/options/options_panels.h"
#include "platform/desktop/help.h"
#include "platform/ui/app_info.h"

OptionsPage::OptionsPage(frmMainDesign& design, forms::CommandKeys& commands, Host& host)
    : c_(design), commands_(commands), host_(host) {
    WireOptionsControls();
    WireOptionFields();
    WireTools();
}

void OptionsPage::RegisterViews() {
    optionsView_ = modOptions::gOptionsView.Register(*this);
    startupEntry_ = modOptions::gStartupEntry.Register(sessionEntry_);
}

void OptionsPage::ReleaseViews() {
    optionsView_.Reset();
    startupEntry_.Reset();
}

void OptionsPage::BuildOptionsTree() {
    c_.TreeView.ClearNodes();
    for (int i = 0; i < forms::kOptionsPanels; ++i) c_.TreeView.AddNode(forms::kOptionsPanelNames[i], i + 1);
    c_.TreeView.Select(1);
    TreeView_Click();
}

void OptionsPage::TreeView_Click() {
    const int node = c_.TreeView.SelectedItem();
    if (node < 1 || node > forms::kOptionsPanels) return;
    mOptionsPage = static_cast<int16_t>(node);
    c_.lblOptionsTitle.SetCaption(c_.TreeView.NodeText(node));
    c_.imgOptTitleLeft.SetPicture(node <= c_.imlOptions.Count() ? c_.imlOptions.Picture(node) : QPixmap());
    for (int i = 1; i <= forms::kOptionsPanels; ++i) c_.fraOptions(i).SetVisible(false);
    c_.fraOptions(node).SetVisible(true);
}

void OptionsPage::ShowOptionsHelp() {
    const int node = c_.TreeView.SelectedItem();
    if (node < 1) return;
    const QString text = c_.TreeView.NodeText(node);
    for (int i = 0; i < forms::kOptionsPanels; ++i) {
        // A help page that cannot be shown is ignored: the page stays usable.
        if (text == forms::kOptionsPanelNames[i])
            platform::desktop::ShowHelp(vb::App::DataPath(), forms::OptionsHelpContext(i + 1));
    }
}

void OptionsPage::EnableOptionsSave(bool changed) {
    c_.tbrButtons(forms::bar::kSaveOptions).Buttons(1).SetEnabled(changed);
    c_.tbrButtons(forms::bar::kCancelOptions).Buttons(1).SetEnabled(changed);
    host_.UpdatePageBar();
}

void OptionsPage::FocusOptionsTree() { c_.TreeView.SetFocus(); }
