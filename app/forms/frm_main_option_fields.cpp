// The Options page's field handlers.
#include "app/forms/frm_main.h"

void frmMain::WireOptionFields() {
    TreeView.Click = [this] { TreeView_Click(); };
    tbrButtons(11).ButtonClick = [this](vb::ToolButton&) { ShowOptionsHelp(); };
}
