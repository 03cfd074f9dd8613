// The Options page: its panel tree, its layout at load, its help, and the
// fields that record pending option values.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QStringList>

#include "app/common/app_settings.h"
#include "app/forms/main_window/frm_main.h"
#include "app/forms/options/options_panels.h"
#include "app/general/check_status.h"
#include "app/options/option_values.h"
#include "platform/desktop/shell.h"
#include "platform/ui/forms.h"
#include "platform/ui/ole_color.h"
#include "tests/app/forms/desktop_files.h"
#include "tests/app/forms/layout_faults.h"

using namespace frmMainElements;  // tbrClient(tbrClient::kAccount)

using namespace modOptions;

namespace {

class OptionsPageWindow : public ::testing::Test {
protected:
    void TearDown() override {
        platform::desktop::SetOpener({});
        form.mQuitting = true;
        vb::Forms::Unload<frmMain>();
    }
    bool SaveEnabled() {
        return form.controls().tbrButtons(tbrButtons::kSaveOptions).Buttons(1).Enabled() &&
               form.controls().tbrButtons(tbrButtons::kCancelOptions).Buttons(1).Enabled();
    }
    void ShowPanel(int node) {
        form.controls().TreeView.Select(node);
        form.controls().TreeView.Click();
    }
    frmMain& form = vb::Forms::Get<frmMain>();  // runs the whole load
};

}  // namespace

TEST_F(OptionsPageWindow, EachNodeShowsItsPanelAloneWithItsTitleAndPicture) {
    ASSERT_EQ(form.controls().TreeView.NodeCount(), 6);
    EXPECT_EQ(form.options().ShownPanel(), 1) << "the load shows the first panel";
    EXPECT_TRUE(
        form.controls().fraOptions(fraOptions::kStartUp).isVisibleTo(&form.controls().fraOptionsBorder));
    const char* names[] = {"StartUp", "Auto Check", "Defaults", "Menu Colours", "Miscellaneous", "About"};
    for (int node : {3, 6, 1, 5, 2, 4}) {
        SCOPED_TRACE(node);
        ShowPanel(node);
        EXPECT_EQ(form.controls().TreeView.NodeText(node), QString::fromLatin1(names[node - 1]));
        EXPECT_EQ(form.controls().TreeView.NodeImage(node), node);
        EXPECT_EQ(form.options().ShownPanel(), node);
        EXPECT_EQ(form.controls().lblOptionsTitle.Caption(), QString::fromLatin1(names[node - 1]));
        EXPECT_EQ(form.controls().imgOptTitleLeft.Picture().toImage(),
                  form.controls().imlOptions.Picture(node).toImage());
        for (int panel = 1; panel <= 6; ++panel)
            EXPECT_EQ(form.controls().fraOptions(panel).isVisibleTo(&form.controls().fraOptionsBorder),
                      panel == node)
                << panel;
    }
}

// Each panel takes the one place inside the border, without a title of its
// own, and shows its controls whole at the opening size and maximised.
TEST_F(OptionsPageWindow, EveryPanelTakesTheSamePlaceAndShowsWholeAtEverySize) {
    form.Show();
    form.controls().tbrMainButtons.Buttons(QStringLiteral("Options")).QtButton().click();
    EXPECT_EQ(form.controls().TabStripOptions.TabCount(), 0);
    for (const bool maximised : {false, true}) {
        if (maximised) form.layout().SetOuterSize(vb::PixelsToTwipsX(1920), vb::PixelsToTwipsY(1050));
        const QRect border = form.controls().fraOptionsBorder.rect();
        const QRect place = form.controls().fraOptions(fraOptions::kStartUp).geometry();
        EXPECT_TRUE(border.contains(place)) << maximised;
        for (int node = 1; node <= form.controls().TreeView.NodeCount(); ++node) {
            SCOPED_TRACE(node);
            ShowPanel(node);
            QApplication::processEvents();
            const vb::Frame& panel = form.controls().fraOptions(node);
            EXPECT_EQ(panel.geometry(), place);
            EXPECT_TRUE(panel.Caption().isEmpty());
            EXPECT_EQ(LayoutFaults(form), "") << (maximised ? "maximised" : "opening size");
        }
    }
}

TEST_F(OptionsPageWindow, NoCheckTimesAndAboutTextsAreFilledAtLoad) {
    for (int i = 0; i <= 1; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(form.controls().txtNoCheckTime(i).Text(), gOpt.NoCheckTime[i]);
        EXPECT_EQ(form.controls().updNoCheck(i).Value(), gOpt.NoCheckTime[i].left(2).toInt());
        EXPECT_EQ(form.controls().updNoCheck(i + 2).Value(), gOpt.NoCheckTime[i].mid(3, 2).toInt());
        EXPECT_EQ(form.controls().updNoCheck(i + 2).Left(), form.controls().updNoCheck(i).Left());
        EXPECT_FALSE(form.controls().updNoCheck(i + 2).isVisibleTo(
            &form.controls().fraOptions(fraOptions::kAutoCheck)));
    }
    EXPECT_EQ(form.controls().lblAbout(0).Caption(), modGeneral::gAppName);
    EXPECT_TRUE(form.controls().lblAbout(1).Caption().startsWith(QStringLiteral("Version ")));
    EXPECT_TRUE(form.controls().lblAboutEmail.Caption().endsWith(QStringLiteral("     Subject: Veltrane")));
    EXPECT_EQ(form.controls().lblAboutWebSite.Caption(), QStringLiteral("WebSite HomePage"));
}

TEST_F(OptionsPageWindow, HelpOpensTheTopicOfTheSelectedPanel) {
    testdesktop::InstallViewer("text/html");
    QStringList opened;
    platform::desktop::SetOpener([&opened](const QString& target) {
        opened << target;
        return true;
    });
    for (int node = 1; node <= 6; ++node) {
        ShowPanel(node);
        form.controls()
            .tbrButtons(tbrButtons::kOptionsHelp)
            .ButtonClick(form.controls().tbrButtons(tbrButtons::kOptionsHelp).Buttons(1));
    }
    ASSERT_EQ(opened.size(), 6);
    for (int node = 1; node <= 6; ++node)
        EXPECT_TRUE(opened[node - 1].endsWith(QStringLiteral("/help/%1.html").arg(200 + 10 * node)))
            << opened[node - 1].toStdString();
    form.controls().TreeView.SetNodeText(2, QStringLiteral("Elsewhere"));
    ShowPanel(2);
    form.options().ShowOptionsHelp();
    EXPECT_EQ(opened.size(), 6) << "a node that names no panel opens nothing";
}

TEST_F(OptionsPageWindow, EachBoxAndChoiceRecordsItsValueAndSaveFollowsTheDifference) {
    struct Box {
        vb::CheckBox& box;
        int16_t& edit;
    };
    const Box boxes[] = {
        {form.controls().chkRunStartUp, gEditOpt.RunStartUp},
        {form.controls().chkEmailCheckStartUp, gEditOpt.EmailCheckStartUp},
        {form.controls().chkMinimizeStartUp, gEditOpt.MinimizeStartUp},
        {form.controls().chkUseInterval, gEditOpt.UseInterval},
        {form.controls().chkNoCheck, gEditOpt.NoCheck},
        {form.controls().chkShowEmailMsgBox, gEditOpt.ShowEmailMsgBox},
        {form.controls().chkShowNewOnly, gEditOpt.ShowNewOnly},
        {form.controls().chkRestoreColWidth, gEditOpt.RestoreColWidth},
        {form.controls().chkButtonStyle, gEditOpt.ButtonStyle},
        {form.controls().chkFromToolTips, gEditOpt.FromToolTips},
        {form.controls().chkToToolTips, gEditOpt.ToToolTips},
        {form.controls().chkSubjectToolTips, gEditOpt.SubjectToolTips},
        {form.controls().chkMessageSort, gEditOpt.MessageSort},
        {form.controls().chkCloseButton, gEditOpt.CloseButton},
        {form.controls().chkQuickCheck, gEditOpt.QuickCheck},
        {form.controls().chkDeleteConfirmation, gEditOpt.DeleteConfirmation},
        {form.controls().chkSuppressConnectErrors, gEditOpt.SuppressConnectErrors},
        {form.controls().chkSuppressRetrieveErrors, gEditOpt.SuppressRetrieveErrors},
        {form.controls().chkPlaySound, gEditOpt.PlaySound},
    };
    ASSERT_FALSE(SaveEnabled());
    for (const Box& b : boxes) {
        SCOPED_TRACE(b.box.Caption().toStdString());
        const int was = b.box.Value();
        b.box.SetValue(1 - was);
        EXPECT_EQ(b.edit, 1 - was);
        EXPECT_TRUE(SaveEnabled());
        b.box.SetValue(was);
        EXPECT_EQ(b.edit, was);
        EXPECT_FALSE(SaveEnabled());
    }

    struct Choice {
        vb::ControlArray<vb::OptionButton>& group;
        int16_t& edit;
    };
    const Choice choices[] = {{form.controls().optShowEmail, gEditOpt.ShowEmail},
                              {form.controls().optRunSize, gEditOpt.RunSize},
                              {form.controls().opt3DTheme, gEditOpt.DTheme},
                              {form.controls().optApplyStyle, gEditOpt.ApplyStyle},
                              {form.controls().optSortColumn, gEditOpt.SortColumn},
                              {form.controls().optSortOrder, gEditOpt.SortOrder}};
    for (const Choice& c : choices) {
        const int was = c.edit;
        c.group.ForEach([&](int index, vb::OptionButton& b) {
            SCOPED_TRACE(b.Caption().toStdString());
            b.SetValue(true);
            EXPECT_EQ(c.edit, index);
            EXPECT_EQ(SaveEnabled(), index != was);
        });
        c.group(was).SetValue(true);
        EXPECT_FALSE(SaveEnabled());
    }
}

TEST_F(OptionsPageWindow, SaveStoresTheEditsAndCancelShowsTheLiveValuesAgain) {
    const int16_t was = gOpt.MinimizeStartUp;
    form.controls().chkMinimizeStartUp.SetValue(1 - was);
    form.controls().tbrButtons(tbrButtons::kCancelOptions).Buttons(1).QtButton().click();  // Cancel
    EXPECT_EQ(form.controls().chkMinimizeStartUp.Value(), was);
    EXPECT_FALSE(SaveEnabled());
    form.controls().chkMinimizeStartUp.SetValue(1 - was);
    form.controls().tbrButtons(tbrButtons::kSaveOptions).Buttons(1).QtButton().click();  // Save
    EXPECT_EQ(gOpt.MinimizeStartUp, 1 - was);
    EXPECT_EQ(GetSetting(kAppKey, QStringLiteral("Settings\\Options"), QStringLiteral("MinimizeStartUp")),
              QString::number(1 - was));
    EXPECT_FALSE(SaveEnabled());
}

TEST_F(OptionsPageWindow, NumberFieldsCorrectWhatIsTyped) {
    struct Case {
        vb::TextBox& box;
        const char* typed;
        const char* shown;
        int16_t& edit;
    };
    form.controls().txtHours.SetText(QStringLiteral("1"));
    const Case cases[] = {
        {form.controls().txtMsgBoxTime, "", "0", gEditOpt.MsgBoxTime},
        {form.controls().txtMsgBoxTime, "75", "59", gEditOpt.MsgBoxTime},
        {form.controls().txtMsgBoxTime, "3x", "3", gEditOpt.MsgBoxTime},
        {form.controls().txtStartUpDelay, "", "0", gEditOpt.StartUpDelay},
        {form.controls().txtStartUpDelay, "12", "12", gEditOpt.StartUpDelay},
        {form.controls().txtConnectTimeOut, "", "1", gEditOpt.ConnectTimeOut},
        {form.controls().txtConnectTimeOut, "150", "120", gEditOpt.ConnectTimeOut},
        {form.controls().txtConnectTimeOut, "0", "1", gEditOpt.ConnectTimeOut},
        {form.controls().txtConnectTimeOut, "-5", "5", gEditOpt.ConnectTimeOut},
        {form.controls().txtHours, "13", "12", gEditOpt.Hours},
        {form.controls().txtHours, "", "0", gEditOpt.Hours},
        {form.controls().txtMinutes, "", "1", gEditOpt.Minutes},  // hours 0 from the case before
        {form.controls().txtMinutes, "99", "59", gEditOpt.Minutes},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        c.box.SetText(QString::fromLatin1(c.typed));
        EXPECT_EQ(c.box.Text(), QString::fromLatin1(c.shown));
        EXPECT_EQ(c.edit, QString::fromLatin1(c.shown).toInt());
    }
}

TEST_F(OptionsPageWindow, TheIntervalStaysBetweenOneMinuteAndTwelveHours) {
    form.controls().txtHours.SetText(QStringLiteral("5"));
    form.controls().txtMinutes.SetText(QStringLiteral("30"));
    form.controls().txtHours.SetText(QStringLiteral("12"));
    EXPECT_EQ(form.controls().txtMinutes.Text(), QStringLiteral("0"));
    EXPECT_EQ(gEditOpt.Minutes, 0);
    EXPECT_EQ(form.controls().updMinutes.Max(), 0);
    form.controls().txtHours.SetText(QStringLiteral("11"));
    EXPECT_EQ(form.controls().updMinutes.Min(), 0);
    EXPECT_EQ(form.controls().updMinutes.Max(), 59);
    EXPECT_EQ(form.controls().txtMinutes.Text(), QStringLiteral("0")) << "going back keeps the minutes";
    form.controls().txtHours.SetText(QStringLiteral("0"));
    EXPECT_EQ(form.controls().txtMinutes.Text(), QStringLiteral("1"));
    EXPECT_EQ(gEditOpt.Minutes, 1);
    form.controls().updMinutes.StepDown();
    EXPECT_EQ(form.controls().txtMinutes.Text(), QStringLiteral("1"))
        << "the arrows cannot go below a minute";
}

TEST_F(OptionsPageWindow, NoCheckArrowsStepThePartClickedIn) {
    vb::TextBox& begin = form.controls().txtNoCheckTime(0);
    begin.SetText(QStringLiteral("07:30"));
    EXPECT_EQ(gEditOpt.NoCheckTime[0], QStringLiteral("07:30"));
    begin.SetSelStart(1);
    begin.Click();
    EXPECT_EQ(begin.SelText(), QStringLiteral("07"));
    EXPECT_TRUE(
        form.controls().updNoCheck(0).isVisibleTo(&form.controls().fraOptions(fraOptions::kAutoCheck)));
    EXPECT_FALSE(
        form.controls().updNoCheck(2).isVisibleTo(&form.controls().fraOptions(fraOptions::kAutoCheck)));
    form.controls().updNoCheck(0).StepUp();
    EXPECT_EQ(begin.Text(), QStringLiteral("08:30"));
    EXPECT_EQ(begin.SelText(), QStringLiteral("08"));
    EXPECT_EQ(gEditOpt.NoCheckTime[0], QStringLiteral("08:30"));

    begin.SetSelStart(4);
    begin.Click();
    EXPECT_EQ(begin.SelText(), QStringLiteral("30"));
    EXPECT_TRUE(
        form.controls().updNoCheck(2).isVisibleTo(&form.controls().fraOptions(fraOptions::kAutoCheck)));
    form.controls().updNoCheck(2).StepUp();
    EXPECT_EQ(begin.Text(), QStringLiteral("08:31"));

    begin.SetText(QStringLiteral("8:3"));
    EXPECT_EQ(gEditOpt.NoCheckTime[0], QStringLiteral("08:31")) << "a half-typed time is not taken";
    begin.SetText(QStringLiteral("25:00"));
    EXPECT_EQ(gEditOpt.NoCheckTime[0], QStringLiteral("08:31"));
}

TEST_F(OptionsPageWindow, StyleAndThemeChoicesEnableTheirDependentControls) {
    for (int on : {0, 1, 0}) {
        form.controls().chkButtonStyle.SetValue(on);
        EXPECT_EQ(form.controls().fraApplyStyle.Enabled(), on == 1);
        form.controls().optApplyStyle.ForEach(
            [on](int, vb::OptionButton& b) { EXPECT_EQ(b.Enabled(), on == 1); });
    }
    // When the check message shows and for how long belong to its box.
    for (int on : {1, 0, 1}) {
        form.controls().chkShowEmailMsgBox.SetValue(on);
        form.controls().optShowEmail.ForEach(
            [on](int, vb::OptionButton& b) { EXPECT_EQ(b.Enabled(), on == 1); });
        EXPECT_EQ(form.controls().txtMsgBoxTime.Enabled(), on == 1);
    }
    for (int theme : {6, 0, 6, 3}) {
        form.controls().opt3DTheme(theme).SetValue(true);
        for (vb::Label* box : {&form.controls().lbl3DTopColour, &form.controls().lbl3DMiddleColour,
                               &form.controls().lbl3DBottomColour})
            EXPECT_EQ(box->Enabled(), theme == 6) << theme;
        EXPECT_EQ(form.controls().lblMenuColours(6).isVisibleTo(
                      &form.controls().fraOptions(fraOptions::kMenuColours)),
                  theme == 6);
    }
}

TEST_F(OptionsPageWindow, TheDefaultClientIsValidOnlyWhenItCanBeStarted) {
    form.controls().txtDefaultClient.SetText(QStringLiteral("/nonexistent/mailer"));
    EXPECT_FALSE(gEditDefaultClientValid);
    EXPECT_FALSE(form.controls().optRunSize(1).Enabled());
    EXPECT_EQ(gEditOpt.DefaultClient, QStringLiteral("/nonexistent/mailer"));
    form.controls().txtDefaultClient.SetText(QStringLiteral("/bin/sh"));
    EXPECT_TRUE(gEditDefaultClientValid);
    EXPECT_TRUE(form.controls().optRunSize(3).Enabled());
    EXPECT_FALSE(gDefaultClientValid) << "the saved default is still none";
    EXPECT_EQ(form.controls().tbrButtons(tbrButtons::kStartEmailClient).Buttons(1).Image(),
              QStringLiteral("Folder"))
        << "the start button shows the saved default until the new one is saved";
    form.controls().txtDefaultSound.SetText(QStringLiteral("/tmp/x.wav"));
    EXPECT_EQ(gEditOpt.DefaultSound, QStringLiteral("/tmp/x.wav"));
    EXPECT_TRUE(SaveEnabled());
}

TEST_F(OptionsPageWindow, ExplanationsFollowTheBoxesInWordsAndColour) {
    const vb::OleColor on = vb::kSysActiveTitleBar;
    const vb::OleColor off = vb::RGB(192, 0, 0);
    struct Case {
        vb::CheckBox& box;
        int value;
        vb::Label& label;
        const char* text;
        vb::OleColor colour;
    };
    const Case cases[] = {
        {form.controls().chkRunStartUp, 1, form.controls().lblStartUp(0),
         "Start Veltrane automatically when you logon to your computer.", on},
        {form.controls().chkRunStartUp, 0, form.controls().lblStartUp(0),
         "(Off)  Start Veltrane manually from the Start Menu.", off},
        {form.controls().chkEmailCheckStartUp, 0, form.controls().lblStartUp(1),
         "(Off)  Manually check for messages after starting Veltrane.", off},
        {form.controls().chkMinimizeStartUp, 1, form.controls().lblStartUp(4),
         "Veltrane will start Minimized to the System Tray.", on},
        {form.controls().chkUseInterval, 0, form.controls().lblInterval(0),
         "(Off)  Do not use an Auto Check Timing Interval. Checking for messages must be done manually.",
         off},
        {form.controls().chkPlaySound, 0, form.controls().lblDefault(3),
         "No Sound will Play for any Accounts.", off},
        {form.controls().chkPlaySound, 1, form.controls().lblDefault(3),
         "Sound Controlled by Individual Accounts.", on},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        c.box.SetValue(1 - c.value);
        c.box.SetValue(c.value);
        EXPECT_EQ(c.label.Caption(), QString::fromLatin1(c.text));
        EXPECT_EQ(c.label.ForeColor(), c.colour);
    }
    form.controls().chkEmailCheckStartUp.SetValue(0);
    EXPECT_FALSE(form.controls().txtStartUpDelay.Enabled());
    form.controls().chkEmailCheckStartUp.SetValue(1);
    EXPECT_TRUE(form.controls().txtStartUpDelay.Enabled());
}

TEST_F(OptionsPageWindow, NoCheckTimesCountOnlyWithTheIntervalOnAndTheirBoxTicked) {
    struct Case {
        int useInterval;
        int noCheck;
        bool enabled;
    };
    for (const Case c :
         {Case{1, 1, true}, Case{0, 1, false}, Case{1, 1, true}, Case{1, 0, false}, Case{0, 0, false}}) {
        form.controls().chkUseInterval.SetValue(c.useInterval);
        form.controls().chkNoCheck.SetValue(c.noCheck);
        EXPECT_EQ(form.controls().chkNoCheck.Enabled(), c.useInterval == 1);
        for (int i = 0; i <= 1; ++i) EXPECT_EQ(form.controls().txtNoCheckTime(i).Enabled(), c.enabled);
        for (int k = 0; k <= 3; ++k) EXPECT_EQ(form.controls().updNoCheck(k).Enabled(), c.enabled);
    }
    for (int sorting : {0, 1}) {
        form.controls().chkMessageSort.SetValue(sorting);
        EXPECT_EQ(form.controls().fraSort(0).Enabled(), sorting == 1);
        EXPECT_EQ(form.controls().optSortOrder(1).Enabled(), sorting == 1);
    }
}
