// The main window's share of the options and menus, driven through the window.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QPixmap>
#include <QStandardPaths>
#include <functional>
#include <utility>

#include "app/common/program_identity.h"
#include "app/forms/common/menu_xp.h"
#include "app/forms/main_window/frm_main.h"
#include "app/forms/main_window/window_slots.h"
#include "app/general/check_status.h"
#include "app/options/menu_theme.h"
#include "app/options/option_values.h"
#include "app/options/options_edit.h"
#include "app/options/options_view.h"
#include "app/options/run_at_startup.h"
#include "platform/store/atomic_file.h"
#include "platform/ui/common_dialog.h"
#include "platform/ui/forms.h"
#include "platform/ui/image_list.h"
#include "platform/ui/menu.h"
#include "platform/ui/menu_style_file.h"
#include "platform/ui/msg_box.h"
#include "platform/ui/twips.h"

using namespace frmMainElements;  // tbrClient(tbrClient::kAccount)

using namespace modOptions;

namespace {

class FrmMainOptions : public ::testing::Test {
protected:
    void TearDown() override { vb::Forms::End(); }
    frmMain& form = Started();

private:
    static frmMain& Started() {
        SetProgramIdentity();
        modGeneral::gAppName = "Veltrane";
        modGeneral::gLoading = false;
        // As the start does before the window loads: the theme and its
        // colours come from the store (empty here: the defaults), not from
        // what an earlier test left in the live values.
        LoadMenuTheme();
        return vb::Forms::Get<frmMain>();
    }
};

QPixmap Picture() {
    QPixmap p(16, 16);
    p.fill(Qt::blue);
    return p;
}

// The colours frmMain.ini holds, as the menus read them.
MenuColours FileColours() {
    const vb::MenuStyle style = vb::ReadMenuStyleFile(MenuIniPath().toStdString());
    return {static_cast<int32_t>(style.color1), static_cast<int32_t>(style.color2),
            static_cast<int32_t>(style.color3)};
}

void WriteText(const QString& path, const char* text) {
    QFile file(path);
    file.open(QIODevice::WriteOnly | QIODevice::Truncate);
    file.write(text);
}

int Twips(int top) { return vb::PixelsToTwipsY(vb::TwipsToPixelsY(top)); }

}  // namespace

TEST_F(FrmMainOptions, MenusGetTheirCaptionsPicturesAndTheColoursOfTheMenuFile) {
    form.controls().imlPopMenu.Clear();  // only these keys have pictures
    for (const char* key : {"Show", "CheckAll", "AutoCheckOn", "SoundOn", "Quit", "Preview", "MailClient0"})
        form.controls().imlPopMenu.Add(Picture(), key);
    gOpt.TopColour = 0x123456;
    gOpt.UseInterval = 0;  // the captions say "On" right after the install whatever the options say
    gOpt.PlaySound = 0;
    ASSERT_TRUE(ApplyMenuStyle());
    form.tray().SubClassMenuXP();

    struct Entry {
        vb::Menu& menu;
        const char* text;
        bool picture;
    };
    const Entry entries[] = {
        {form.controls().mnuTrayShow, "&Show Veltrane...", true},
        {form.controls().mnuTrayCheckAll, "&Check All", true},
        {form.controls().mnuTrayNewMessage, "&New Message", false},
        {form.controls().mnuTraySep1, "-", false},
        {form.controls().mnuTrayRunClient, "S&tart Email Client", true},
        {form.controls().mnuTrayAutoCheck, "&Auto Check - On", true},
        {form.controls().mnuTraySounds, "Soun&ds - On", true},
        {form.controls().mnuTrayOptions, "&Options...", false},
        {form.controls().mnuTrayMenuColours, "&Menu Colours...", false},
        {form.controls().mnuTrayUpdates, "&Updates", false},
        {form.controls().mnuTrayAbout, "A&bout...", false},
        {form.controls().mnuTrayHelp, "&Help", false},
        {form.controls().mnuTraySep4, "-", false},
        {form.controls().mnuTrayQuitApplication, "&Quit Application", true},
        {form.controls().mnuEmailPreview, "&Preview", true},
        {form.controls().mnuEmailDelete, "&Delete", false},
        {form.controls().mnuEmailReply, "&Reply", false},
        {form.controls().mnuEmailOpen, "&Open", false},
    };
    for (const Entry& e : entries) {
        EXPECT_EQ(e.menu.QtAction()->text(), e.text);
        EXPECT_EQ(!e.menu.QtAction()->icon().isNull(), e.picture) << e.text;
    }
    EXPECT_TRUE(form.controls().mnuTraySep3.QtAction()->isSeparator());
    EXPECT_EQ(form.controls().mnuTrayPopMenu.Caption(), "PopUpMenu");
    EXPECT_EQ(form.controls().mnuEmailPopMenu.Caption(), "PopUpMenu");

    EXPECT_EQ(vb::CurrentMenuStyle().style, 4);
    EXPECT_EQ(vb::CurrentMenuStyle().color1, 0x123456u);
    EXPECT_EQ(vb::CurrentMenuStyle().color3, 5733521u);

    form.tray().ReleaseMenuXP();
    EXPECT_EQ(vb::CurrentMenuStyle().style, 0) << "released menus have the desktop's look";
    EXPECT_TRUE(form.controls().mnuTrayShow.QtAction()->icon().isNull());
    form.tray().ReleaseMenuXP();  // a second release finds nothing to do
}

TEST_F(FrmMainOptions, ADamagedMenuFileGivesTheDefaultThemeWhereItSaysNothingUsable) {
    struct Case {
        const char* text;
        vb::MenuStyle style;
    };
    const Case cases[] = {
        {"", {4, 10072511, 15724527, 5733521}},
        {"\x01\xff garbage\n=\n[[", {4, 10072511, 15724527, 5733521}},
        {"[Menu]\nMenuStyle=x\n[New3D]\nNew3DColor1=red\n", {4, 10072511, 15724527, 5733521}},
        {"[Menu]\nMenuStyle=0\n[New3D]\nNew3DColor2=255\n", {0, 10072511, 255, 5733521}},
    };
    form.tray().SubClassMenuXP();
    for (const Case& c : cases) {
        WriteText(MenuIniPath(), c.text);
        forms::gMenuXP->Refresh();
        EXPECT_EQ(vb::CurrentMenuStyle().style, c.style.style) << c.text;
        EXPECT_EQ(vb::CurrentMenuStyle().color1, c.style.color1) << c.text;
        EXPECT_EQ(vb::CurrentMenuStyle().color2, c.style.color2) << c.text;
        EXPECT_EQ(vb::CurrentMenuStyle().color3, c.style.color3) << c.text;
    }
    form.tray().ReleaseMenuXP();
}

TEST_F(FrmMainOptions, SavingANewThemeRedrawsTheMenusAndTheStoreAndFileAgree) {
    form.tray().SubClassMenuXP();
    DisplayOptions();
    form.controls().opt3DTheme(0).SetValue(true);
    gEditOpt.DTheme = 0;
    SetPresetMenuColours();
    CheckOptionsChanged();
    EXPECT_TRUE(form.controls().tbrButtons(tbrButtons::kSaveOptions).Buttons(1).Enabled());
    EXPECT_FALSE(form.controls().fraMainButtons.Enabled())
        << "the page must be saved or cancelled before leaving it";

    SaveOptions();
    EXPECT_EQ(gOpt.DTheme, 0);
    EXPECT_EQ(vb::CurrentMenuStyle().color1, 0xFFD7AEu);
    EXPECT_EQ(vb::CurrentMenuStyle().color3, 0xFF8000u);
    EXPECT_EQ(FileColours(), (MenuColours{0xFFD7AE, 0xFFFFFF, 0xFF8000}));
    EXPECT_FALSE(form.controls().tbrButtons(tbrButtons::kSaveOptions).Buttons(1).Enabled());
    EXPECT_FALSE(form.controls().tbrButtons(tbrButtons::kCancelOptions).Buttons(1).Enabled());
    EXPECT_TRUE(form.controls().fraMainButtons.Enabled());
    form.tray().ReleaseMenuXP();
}

TEST_F(FrmMainOptions, AColourBoxTakesThePickedColourAndACancelKeepsIt) {
    DisplayOptions();
    vb::ScriptedDialogs dialogs;
    dialogs.ChooseColor(0x00FF00);
    dialogs.Cancel();
    form.controls().lbl3DMiddleColour.Click();
    EXPECT_EQ(form.controls().lbl3DMiddleColour.BackColor(), 0x00FF00u);
    EXPECT_EQ(gEditOpt.MiddleColour, 0x00FF00);
    EXPECT_TRUE(form.controls().tbrButtons(tbrButtons::kCancelOptions).Buttons(1).Enabled());
    ASSERT_EQ(dialogs.Calls().size(), 1u);
    EXPECT_EQ(dialogs.Calls()[0].color, 15724527u) << "the dialog starts from the box's colour";

    form.controls().lbl3DTopColour.Click();
    EXPECT_EQ(form.controls().lbl3DTopColour.BackColor(), 10072511u);
    EXPECT_EQ(gEditOpt.TopColour, 10072511);

    DisplayOptions();  // Cancel
    EXPECT_EQ(form.controls().lbl3DMiddleColour.BackColor(), 15724527u);
    EXPECT_FALSE(form.controls().tbrButtons(tbrButtons::kCancelOptions).Buttons(1).Enabled());
}

TEST_F(FrmMainOptions, ToolBarGroupsTakeTheirStyleAndPlace) {
    struct Case {
        int16_t buttonStyle, applyStyle;
        int a, b, c;  // 1 flat, 0 raised
    };
    const Case cases[] = {
        {0, 3, 1, 1, 1}, {1, 0, 0, 1, 1}, {1, 1, 1, 0, 1}, {1, 2, 1, 1, 0}, {1, 3, 0, 0, 0}};
    for (const Case& c : cases) {
        gOpt.ButtonStyle = c.buttonStyle;
        gOpt.ApplyStyle = c.applyStyle;
        ApplyButtonStyle();
        const int topA = Twips(c.a == 1 ? 138 : 120), topB = Twips(c.b == 1 ? 138 : 120);
        for (int i = 0; i <= 14; ++i) {
            EXPECT_EQ(form.controls().tbrButtons(i).Style(), c.a) << i;
            EXPECT_EQ(form.controls().tbrButtons(i).Top(), topA) << i;
        }
        for (vb::ToolBar* bar : {&form.controls().tbrMainButtons, &form.controls().tbrEmail,
                                 &form.controls().tbrAcnts, &form.controls().tbrRules}) {
            EXPECT_EQ(bar->Style(), c.b);
            EXPECT_EQ(bar->Top(), topB);
        }
        EXPECT_EQ(form.controls().tbrColour.Style(), c.c);
        EXPECT_EQ(form.controls().tbrOptAbout(3).Style(), c.c);
        EXPECT_EQ(form.controls().tbrOptMisc(tbrOptMisc::kExample).Style(), c.c);
        EXPECT_EQ(form.controls().tbrClient(tbrClient::kAccount).Style(), c.c);
    }
    const int before = form.controls().tbrButtons(tbrButtons::kEmailHelp).Top();
    gOpt.ApplyStyle = 5;
    ApplyButtonStyle();
    EXPECT_EQ(form.controls().tbrButtons(tbrButtons::kEmailHelp).Style(), 0)
        << "an unknown group choice changes nothing";
    EXPECT_EQ(form.controls().tbrButtons(tbrButtons::kEmailHelp).Top(), before);
}

TEST_F(FrmMainOptions, AutoCheckSwitchesTheTimersTheTrayCaptionAndTheStatusText) {
    form.tray().SubClassMenuXP();
    DisplayOptions();
    gEditOpt.UseInterval = 1;
    SaveOptions();
    EXPECT_TRUE(form.controls().tmrMailTime.Enabled());
    EXPECT_FALSE(form.controls().tmrStatusBar.Enabled());
    EXPECT_EQ(form.controls().mnuTrayAutoCheck.Caption(), "&Auto Check - On|#AutoCheckOn");

    gEditOpt.UseInterval = 0;
    gEditOpt.PlaySound = 0;
    SaveOptions();
    EXPECT_FALSE(form.controls().tmrMailTime.Enabled());
    EXPECT_TRUE(form.controls().tmrStatusBar.Enabled());
    EXPECT_EQ(form.controls().mnuTrayAutoCheck.Caption(), "&Auto Check - Off|#AutoCheckOff");
    EXPECT_EQ(form.controls().mnuTraySounds.Caption(), "Soun&ds - Off|#SoundOff");
    EXPECT_EQ(form.controls().StatusBar.PanelText(forms::panel::kAutoCheck), "Auto Check Off");
    form.tray().ReleaseMenuXP();
}

TEST_F(FrmMainOptions, SortingShowsOneHeaderIconOrNone) {
    for (const char* key : {"Ascending", "Descending", "Blank"})
        if (!form.controls().imlListViewColumnHeader.Exists(key))
            form.controls().imlListViewColumnHeader.Add(Picture(), key);
    gEditOpt.SortColumn = 2;
    gEditOpt.SortOrder = 0;
    SaveOptions();
    EXPECT_EQ(form.controls().lvwEmail.Column("To").Icon(), "Ascending");
    EXPECT_EQ(form.controls().lvwEmail.Column("Date").Icon(), "Blank");
    gEditOpt.MessageSort = 0;
    SaveOptions();
    EXPECT_EQ(form.controls().lvwEmail.Column("To").Icon(), "Blank");
}

TEST_F(FrmMainOptions, StartWithTheSessionWritesAndRemovesTheAutostartEntry) {
    const QString entry = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
                          "/autostart/Veltrane.desktop";
    ASSERT_TRUE(SetRunAtStartup());
    QFile file(entry);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << entry.toStdString();
    EXPECT_TRUE(file.readAll().contains("Exec="));
    file.close();
    ASSERT_TRUE(RemoveRunAtStartup());
    EXPECT_FALSE(QFile::exists(entry));

    vb::Forms::End();
    EXPECT_FALSE(SetRunAtStartup()) << "without the window nothing writes the entry";
}

TEST_F(FrmMainOptions, AFailureToSaveIsShownInAMessageBox) {
    vb::ScriptedMsgBoxes boxes;
    boxes.Answer(vb::vbOK);
    platform::store::SetWriteFaultHook([](platform::store::WriteStep step) {
        return step == platform::store::WriteStep::Write ? std::make_error_code(std::errc::no_space_on_device)
                                                         : std::error_code();
    });
    gEditOpt.QuickCheck = 0;
    SaveOptions();
    platform::store::SetWriteFaultHook(nullptr);
    ASSERT_EQ(boxes.Calls().size(), 1u);
    EXPECT_EQ(boxes.Calls()[0].title, "Veltrane - Options");
    EXPECT_EQ(boxes.Calls()[0].buttons, vb::vbExclamation);
    EXPECT_EQ(gOpt.QuickCheck, 0) << "the choice applies for this run";
}

TEST_F(FrmMainOptions, ThePageShowsEveryLiveValue) {
    gOpt.RunStartUp = 0;
    gOpt.StartUpDelay = 12;
    gOpt.NoCheckTime[1] = "06:45";
    gOpt.ShowEmail = 2;
    gOpt.DefaultSound = "/snd/ding.wav";
    gOpt.RunSize = 1;
    gOpt.DTheme = 6;
    gOpt.BottomColour = 0x0000FF;
    gOpt.ApplyStyle = 3;
    gOpt.SortOrder = 0;
    gOpt.ConnectTimeOut = 120;
    DisplayOptions();
    EXPECT_EQ(form.controls().chkRunStartUp.Value(), 0);
    EXPECT_EQ(form.controls().chkPlaySound.Value(), 1);
    EXPECT_EQ(form.controls().txtStartUpDelay.Text(), "12");
    EXPECT_EQ(form.controls().txtNoCheckTime(1).Text(), "06:45");
    EXPECT_EQ(form.controls().txtMinutes.Text(), "30");
    EXPECT_TRUE(form.controls().optShowEmail(2).Value());
    EXPECT_EQ(form.controls().txtDefaultSound.Text(), "/snd/ding.wav");
    EXPECT_TRUE(form.controls().optRunSize(1).Value());
    EXPECT_TRUE(form.controls().opt3DTheme(6).Value());
    EXPECT_EQ(form.controls().lbl3DBottomColour.BackColor(), 0x0000FFu);
    EXPECT_TRUE(form.controls().optApplyStyle(3).Value());
    EXPECT_TRUE(form.controls().optSortOrder(0).Value());
    EXPECT_TRUE(form.controls().optSortColumn(4).Value());
    EXPECT_EQ(form.controls().txtConnectTimeOut.Text(), "120");
    EXPECT_EQ(form.controls().lbl3DTopColour.BackColor(), 10072511u);
}

TEST_F(FrmMainOptions, AnUnloadedWindowIsNoLongerReachedBySavingTheOptions) {
    // Whether each part of the window the options drive is registered.
    const std::pair<const char*, std::function<bool()>> views[] = {
        {"the Options page", [] { return gOptionsView.Get() != nullptr; }},
        {"the message list", [] { return gListSortView.Get() != nullptr; }},
        {"the checks", [] { return gAutoCheckView.Get() != nullptr; }},
        {"the tray menu", [] { return gTrayMenuView.Get() != nullptr; }},
        {"the tool bars", [] { return gToolbarStyleView.Get() != nullptr; }},
        {"the window", [] { return gMainWindowView.Get() != nullptr; }},
        {"the autostart entry", [] { return gStartupEntry.Get() != nullptr; }},
    };
    for (const auto& [part, registered] : views) ASSERT_TRUE(registered()) << part;
    vb::Forms::Get<frmMain>().mQuitting = true;
    ASSERT_TRUE(vb::Forms::Unload<frmMain>());
    for (const auto& [part, registered] : views) EXPECT_FALSE(registered()) << part;
    gEditOpt.DTheme = 1;
    gEditOpt.BottomColour = 0x0000FF;
    SaveOptions();  // must not reach the destroyed controls
    EXPECT_EQ(gOpt.DTheme, 1);
    EXPECT_EQ(FileColours(), (MenuColours{10072511, 15724527, 0x0000FF}))
        << "without the window the edit colours stand for the boxes";
}
