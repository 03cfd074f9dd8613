#include "app/options/menu_theme.h"

#include <array>

#include "app/common/ini_file.h"
#include "app/options/option_values.h"
#include "platform/store/program_folder.h"

namespace modOptions {

namespace {

constexpr std::array<MenuColours, 6> kPresets{{
    {0xFFD7AE, 0xFFFFFF, 0xFF8000},  // "Blue"
    {0xEAE5E3, 0xFFFFFF, 0xBEA3A4},  // "Gray"
    {0xB8E7E0, 0xD5FFFF, 0x7FB2A3},  // "Green"
    {0xF0CAA6, 0xFFFFFF, 0x6A240A},  // "Classic Windows"
    {0xDCB4B4, 0xFFFFFF, 0x984545},  // "Classic Windows XP"
    {0x99B1BF, 0xEFEFEF, 0x577C91},  // "Veltrane Default", the options' defaults
}};
const QString kMenuSection = QStringLiteral("Menu");
const QString kColourSection = QStringLiteral("New3D");

}  // namespace

std::optional<MenuColours> PresetMenuColours(int16_t theme) {
    if (theme < 0 || theme >= static_cast<int16_t>(kPresets.size())) return std::nullopt;
    return kPresets[static_cast<size_t>(theme)];
}

MenuColours LiveMenuColours() { return {gOpt.TopColour, gOpt.MiddleColour, gOpt.BottomColour}; }

QString MenuIniPath() {
    return QString::fromStdString((platform::store::UserDataFolder() / "frmMain.ini").string());
}

bool LoadMenuTheme() {
    LoadOptions(ReadBy::MenuTheme);
    return ApplyMenuStyle();
}

bool ApplyMenuStyle() {
    gIniFileName = MenuIniPath();
    IniFile ini;
    ini.StartNewFile();
    ini.KeySave(QStringLiteral("4"), kMenuSection, QStringLiteral("MenuStyle"));
    ini.KeySave(QString::number(gOpt.TopColour), kColourSection, QStringLiteral("New3DColor1"));
    ini.KeySave(QString::number(gOpt.MiddleColour), QStringLiteral("NA"), QStringLiteral("New3DColor2"));
    ini.KeySave(QString::number(gOpt.BottomColour), QStringLiteral("NA"), QStringLiteral("New3DColor3"));
    const bool written = ini.Commit();
    if (TrayMenuView* menus = gTrayMenuView.Get()) menus->RefreshMenus();
    MainWindowView* window = gMainWindowView.Get();
    if (window && !written)
        window->ReportOptionsFailure(QStringLiteral("Menu Colours"),
                                     QStringLiteral("The menu colours could not be written to ") +
                                         gIniFileName + QStringLiteral(".\nThe menus keep their colours."));
    return written;
}

void SetPresetMenuColours() {
    std::optional<MenuColours> boxes = PresetMenuColours(gEditOpt.DTheme);
    if (gEditOpt.DTheme == kUserColoursTheme) boxes = LiveMenuColours();
    if (boxes)
        if (OptionsView* view = gOptionsView.Get()) view->PaintMenuColourBoxes(*boxes);
    gEditOpt.TopColour = gOpt.TopColour;
    gEditOpt.MiddleColour = gOpt.MiddleColour;
    gEditOpt.BottomColour = gOpt.BottomColour;
}

}  // namespace modOptions
