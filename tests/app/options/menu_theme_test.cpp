// frmMain.ini, the preset themes and the colour boxes.
#include "app/options/menu_theme.h"

#include <fstream>

#include "app/common/ini_file.h"
#include "platform/store/atomic_file.h"
#include "tests/app/options/fake_options_view.h"
#include "tests/app/options/options_fixture.h"

using namespace modOptions;

namespace {

std::string FileText(const QString& path) {
    std::ifstream in(path.toStdString(), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void WriteText(const QString& path, const std::string& text) {
    std::ofstream(path.toStdString(), std::ios::binary) << text;
}

}  // namespace

TEST_F(OptionsTest, WithNoStoredOptionsTheMenuFileHoldsTheDefaultTheme) {
    ASSERT_TRUE(LoadMenuTheme());
    EXPECT_EQ(gIniFileName, MenuIniPath());
    EXPECT_EQ(
        FileText(MenuIniPath()),
        "[Menu]\nMenuStyle=4\n[New3D]\nNew3DColor1=10072511\nNew3DColor2=15724527\nNew3DColor3=5733521\n");
}

TEST_F(OptionsTest, TheMenuFileIsRewrittenWholeFromTheStoredTheme) {
    WriteText(MenuIniPath(), "[Menu]\nMenuStyle=9\nOther=1\n[New3D]\nNew3DColor1=1\n[Extra]\nx=y\n");
    Store("DTheme", "0");
    Store("TopColour", "16766894");
    Store("MiddleColour", "16777215");
    Store("BottomColour", "16744448");
    ASSERT_TRUE(LoadMenuTheme());
    EXPECT_EQ(gOpt.DTheme, 0);
    EXPECT_EQ(FileColours(), (MenuColours{16766894, 16777215, 16744448}));
    IniFile ini;
    ini.ConfigName(MenuIniPath());
    EXPECT_EQ(ini.KeyGet("Menu", "MenuStyle", ""), "4");
    EXPECT_EQ(FileText(MenuIniPath()).find("Extra"), std::string::npos) << "nothing of the old file remains";
}

TEST_F(OptionsTest, AMenuFileThatCannotBeWrittenStaysAsItWasAndIsReported) {
    FakeOptionsView view;
    WriteText(MenuIniPath(), "[New3D]\nNew3DColor1=1\n");
    platform::store::SetWriteFaultHook([](platform::store::WriteStep step) {
        return step == platform::store::WriteStep::Rename
                   ? std::make_error_code(std::errc::no_space_on_device)
                   : std::error_code();
    });
    EXPECT_FALSE(ApplyMenuStyle());
    platform::store::SetWriteFaultHook(nullptr);
    EXPECT_EQ(FileText(MenuIniPath()), "[New3D]\nNew3DColor1=1\n");
    EXPECT_EQ(view.Calls("Report Menu Colours").size(), 1);
    EXPECT_EQ(view.Calls("RefreshMenus").size(), 1) << "the menus are told either way";
}

TEST_F(OptionsTest, PresetsPaintTheBoxesAndDropPickedColours) {
    FakeOptionsView view;
    gOpt.TopColour = 1;
    gOpt.MiddleColour = 2;
    gOpt.BottomColour = 3;
    struct Case {
        int16_t theme;
        std::optional<MenuColours> painted;
    };
    const Case cases[] = {
        {0, MenuColours{0xFFD7AE, 0xFFFFFF, 0xFF8000}},
        {1, MenuColours{0xEAE5E3, 0xFFFFFF, 0xBEA3A4}},
        {2, MenuColours{0xB8E7E0, 0xD5FFFF, 0x7FB2A3}},
        {3, MenuColours{0xF0CAA6, 0xFFFFFF, 0x6A240A}},
        {4, MenuColours{0xDCB4B4, 0xFFFFFF, 0x984545}},
        {5, MenuColours{10072511, 15724527, 5733521}},
        {6, MenuColours{1, 2, 3}},
        {7, std::nullopt},
    };
    for (const Case& c : cases) {
        view.boxes = {9, 9, 9};
        gEditOpt.TopColour = 42;  // a colour picked before the theme was chosen
        gEditOpt.DTheme = c.theme;
        SetPresetMenuColours();
        EXPECT_EQ(view.boxes, c.painted.value_or(MenuColours{9, 9, 9})) << c.theme;
        EXPECT_EQ(gEditOpt.TopColour, 1) << c.theme;
    }
}
