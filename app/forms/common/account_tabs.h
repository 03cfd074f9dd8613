#pragma once
// The current account and the account tab strips that show it.
#include <cstdint>

#include "platform/ui/tab_strip.h"

namespace forms {

// account (0 for none) becomes the current one. The program changes the
// current account only here; which tabs show it is the caller's.
void MakeAccountCurrent(int16_t account);

// account becomes the current one and, when tabs has its tab, the chosen tab:
// a tab chosen anew runs the strip's click, and one chosen already still
// leaves account current.
void ChooseAccountTab(vb::TabStrip& tabs, int16_t account);

}  // namespace forms
