#pragma once
// The menu colour theme: a theme number and three colours among the options,
// the six preset themes, and frmMain.ini, the file the menus take their
// colours from. The file is rewritten whole from the live values at start
// and after every save that changes the theme or a colour.

#include <QString>
#include <cstdint>
#include <optional>

#include "app/options/options_view.h"

namespace modOptions {

// Theme 6 "User Colours" starts from the live colours.
inline constexpr int16_t kUserColoursTheme = 6;

// The colours of preset theme 0 to 5; nullopt for any other theme. Theme 5
// holds the options' default colours.
std::optional<MenuColours> PresetMenuColours(int16_t theme);
MenuColours LiveMenuColours();

// frmMain.ini in the user's data folder.
QString MenuIniPath();

// Reads "DTheme" and the three colours, then ApplyMenuStyle. Runs before the
// main window exists.
bool LoadMenuTheme();
// Writes frmMain.ini whole from the live colours (leaving gIniFileName on
// it) and has the window's menus take it up. False when the file could not
// be written; the old file then stays as it was and the menus keep their
// colours.
bool ApplyMenuStyle();

// The colour boxes show the pending theme's colours (the live ones for
// "User Colours"); the edit colours return to the live ones, so colours
// picked before a preset is chosen are dropped.
void SetPresetMenuColours();

}  // namespace modOptions
