// Reordering accounts by dragging their tabs: a press selects the tab and
// arms the drag timer; held until its tick, the strip follows the pointer;
// dropped on another tab of either strip, the two accounts exchange places.
#include <algorithm>

#include "app/accounts/account_operations.h"
#include "app/accounts/account_table.h"
#include "app/forms/accounts/accounts_page.h"
#include "app/forms/common/account_tabs.h"
#include "app/forms/main_window/frm_main_design.h"

using namespace modAccounts;

int16_t AccountsPage::TabFromX(const vb::TabStrip& strip, int x) {
    // The edges are read from the row as it is drawn now: a rename or an
    // added tab since the last click has moved them.
    const int count = std::min<int>(gAccountCount, strip.TabCount());
    for (int i = 1; i <= count; ++i)
        if (x <= strip.TabLeft(i) + strip.TabWidth(i)) return static_cast<int16_t>(i);
    return 0;
}

void AccountsPage::WireTabDrag(vb::TabStrip& strip, int16_t dragState) {
    const bool accountsStrip = dragState == 3;
    strip.MouseDown = [this, &strip, dragState, accountsStrip](int button, int, int x, int) {
        if (button == vb::vbRightButton) return;
        // With unsaved edits the strip's own click asks about them instead.
        if (accountsStrip && gAccountChanged) return;
        const int16_t t = TabFromX(strip, x);
        if (t < 1 || t > gAccountCount) return;
        if (t != gCurrentAccount) forms::ChooseAccountTab(strip, t);
        mTabDragState = dragState;
        c_.tmrDragTab.SetEnabled(true);
    };
    strip.MouseUp = [this, &strip](int, int, int, int) {
        c_.tmrDragTab.SetEnabled(false);
        strip.Drag(vb::vbEndDrag);
    };
    strip.DragOver = [this, &strip](QWidget* source, int x, int y, int) {
        auto* dragged = dynamic_cast<vb::TabStrip*>(source);
        if (!dragged || strip.TabCount() == 0) return;
        const int rowRight = strip.TabLeft(strip.TabCount()) + strip.TabWidth(strip.TabCount());
        const bool overRow = x > 0 && x < rowRight && y > 0 && y < strip.TabHeight(1);
        dragged->SetDragIcon(c_.imlDragIcons.Picture(overRow ? 1 : 2));
    };
    strip.DragDrop = [this, &strip, accountsStrip](QWidget* source, int x, int) {
        c_.tmrDragTab.SetEnabled(false);
        if (auto* dragged = dynamic_cast<vb::TabStrip*>(source)) dragged->Drag(vb::vbEndDrag);
        if (accountsStrip && gAccountChanged) return;
        const int16_t t = TabFromX(strip, x);
        if (t < 1 || t > gAccountCount || t == gCurrentAccount) return;
        MoveAccount(gCurrentAccount, static_cast<int16_t>(t - gCurrentAccount));
        forms::ChooseAccountTab(strip, t);
    };
}
