#pragma once
// The help topics the windows open: one page per topic number in the data
// folder's "help" folder (see platform/desktop/help.h).

#include <array>

namespace forms {

inline constexpr int kHelpTray = 100;
inline constexpr int kHelpEmail = 130;
inline constexpr int kHelpAccounts = 140;
inline constexpr int kHelpRules = 150;
// The six Options panels, StartUp ... About, are topics 210, 220, ... 260.
inline constexpr int kHelpOptionsFirst = 210;
inline constexpr int kOptionsPanels = 6;

// The topic of Options panel `panel` (1 = StartUp ... 6 = About); a panel
// outside that range opens the first panel's topic rather than a missing page.
constexpr int OptionsHelpContext(int panel) {
    return (panel < 1 || panel > kOptionsPanels) ? kHelpOptionsFirst : kHelpOptionsFirst + 10 * (panel - 1);
}

// Every topic the program opens.
inline constexpr std::array<int, 10> kHelpContexts{kHelpTray, kHelpEmail, kHelpAccounts, kHelpRules, 210,
                                                   220,       230,        240,           250,        260};

}  // namespace forms
