#pragma once
// The main window's numbered controls by name: the one-button bars of its
// tbrButtons array and its pages (the fraMain frames and gCurrentPane), as
// its description names them, and the panels of its status bar.
#include <cstdint>

#include "app/forms/main_window/frm_main_design.h"

namespace forms {

// tbrButtons(bar::kClose): each bar holds one button; the description
// names the bars.
namespace bar = frmMainElements::tbrButtons;

// StatusBar's panels, left to right, by the names the description gives them.
namespace panel = frmMainElements::StatusBar;

// The pages, in the order of their buttons: fraMain(page::kRules), fraButtons
// of the same number, gCurrentPane.
namespace page = frmMainElements::fraMain;

}  // namespace forms
