// The tray icon's clicks and the tray menu's entries.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <functional>

#include "app/accounts/account_operations.h"
#include "app/common/app_settings.h"
#include "app/forms/common/child_windows.h"
#include "app/forms/first_use/frm_first_use.h"
#include "app/forms/new_mail/frm_message.h"
#include "app/forms/tray/tray_icon_record.h"
#include "app/general/check_status.h"
#include "app/general/server_operation.h"
#include "app/options/option_values.h"
#include "platform/desktop/shell.h"
#include "platform/ui/msg_box.h"
#include "tests/app/forms/laid_out_main_window.h"

using namespace frmMainElements;  // tbrClient(tbrClient::kAccount)

using namespace modGeneral;

namespace {

class TrayCommands : public ::testing::Test {
protected:
    void SetUp() override {
        SaveSetting(kAppKey, QStringLiteral("Settings"), QStringLiteral("AcntNum"), QStringLiteral("1"));
        SaveSetting(kAppKey, QStringLiteral("Settings"), QStringLiteral("AcntName1"), QStringLiteral("Home"));
        gAppName = QStringLiteral("Veltrane");
        form_ = &LaidOutMainWindow();
        form_->Show();
    }
    void TearDown() override {
        forms::gTrayAvailable = trayAvailable_;
        if (!vb::Forms::IsLoaded<frmMain>()) return;
        form_->mQuitting = true;
        vb::Forms::Unload<frmMain>();
    }
    frmMain* form_ = nullptr;
    const std::function<bool()> trayAvailable_ = forms::gTrayAvailable;
    // The checks' record of the window under test.
    modGeneral::CheckRunState& Run() { return form_->checks().Record(); }
};

TEST_F(TrayCommands, ALeftPressRestoresOnlyAMinimisedWindow) {
    frmMain& form = *form_;
    struct Row {
        int state;
        int message;
        bool restored;
    };
    for (const Row& row :
         {Row{vb::vbNormal, 513, false}, Row{vb::vbMaximized, 513, false}, Row{vb::vbMinimized, 515, false},
          Row{vb::vbMinimized, 514, false}, Row{vb::vbMinimized, 513, true}}) {
        SCOPED_TRACE(testing::Message() << row.state << " " << row.message);
        form.SetWindowState(row.state);
        forms::gTrayIcon.Modify(form.controls().imlTrayIcons.Picture(9), QStringLiteral("3 new"));
        forms::gTrayIcon.MouseMessage(row.message);
        EXPECT_EQ(form.WindowState() == vb::vbNormal, row.restored || row.state == vb::vbNormal);
        EXPECT_EQ(forms::gTrayIcon.Tip(), row.restored ? gAppName : QStringLiteral("3 new"));
    }
    EXPECT_TRUE(form.isVisible());
}

// Down into the tray and back: a child window that is open goes with the
// main window, stays loaded, and the tray's Show brings it back with it.
TEST_F(TrayCommands, OpenChildWindowsGoIntoTheTrayWithTheWindowAndComeBackWithIt) {
    frmMain& form = *form_;
    forms::gTrayAvailable = [] { return true; };
    struct Row {
        const char* name;
        std::function<vb::Form&()> open;
        bool (*shown)();
    };
    const Row rows[] = {
        {"the first-use window",
         [&form]() -> vb::Form& { return vb::Forms::Get<frmFirstUse>(&form.childWindows()); },
         forms::FirstUseShown},
        {"the pop-up",
         [&form]() -> vb::Form& {
             frmMessage::ShowReport(QStringLiteral("No Message(s) found at 10:00 AM"), form.checks().Record(),
                                    &form.childWindows());
             return vb::Forms::Get<frmMessage>();
         },
         forms::MessageShown},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        vb::Form& child = row.open();
        child.Show();
        QCoreApplication::processEvents();
        ASSERT_TRUE(child.isVisible());

        form.SetWindowState(vb::vbMinimized);
        QCoreApplication::processEvents();
        EXPECT_TRUE(form.isHidden());
        EXPECT_TRUE(child.isHidden()) << "it goes into the tray with the main window";
        EXPECT_TRUE(row.shown()) << "a hidden window stays open";

        forms::gTrayIcon.MouseMessage(513);  // a left press on the tray icon: Show
        QCoreApplication::processEvents();
        EXPECT_EQ(form.WindowState(), vb::vbNormal);
        EXPECT_TRUE(child.isVisible()) << "the tray's Show brings it back";
        child.Unload();
        EXPECT_FALSE(row.shown());
    }
}

TEST_F(TrayCommands, PageJumpsShowTheirOptionsPanelUnlessThePageBarIsLocked) {
    frmMain& form = *form_;
    struct Row {
        vb::Menu* entry;
        const char* panel;
    };
    for (const Row& row : {Row{&form.controls().mnuTrayAbout, "About"},
                           Row{&form.controls().mnuTrayMenuColours, "Menu Colours"},
                           Row{&form.controls().mnuTrayOptions, "StartUp"}}) {
        SCOPED_TRACE(row.panel);
        form.SwitchPane(0);
        form.SetWindowState(vb::vbMinimized);
        row.entry->Click();
        EXPECT_EQ(form.WindowState(), vb::vbNormal);
        EXPECT_EQ(gCurrentPane, 3);
        EXPECT_TRUE(form.controls().fraMain(fraMain::kOptions).Visible());
        EXPECT_FALSE(form.controls().fraMain(fraMain::kEmail).Visible());
        EXPECT_EQ(form.controls().TreeView.NodeText(form.controls().TreeView.SelectedItem()),
                  QString::fromUtf8(row.panel));
    }
    // A jump within the Options page being edited loses nothing: it goes,
    // and the edit stays pending.
    form.SwitchPane(3);
    form.controls().chkPlaySound.SetValue(1 - modOptions::gOpt.PlaySound);
    ASSERT_TRUE(modOptions::gOptionsChanged);
    ASSERT_FALSE(form.controls().fraMainButtons.Enabled());
    form.SetWindowState(vb::vbMinimized);
    vb::ScriptedMsgBoxes boxes;
    form.controls().mnuTrayMenuColours.Click();
    EXPECT_TRUE(boxes.Calls().empty());
    EXPECT_EQ(form.controls().TreeView.NodeText(form.controls().TreeView.SelectedItem()),
              QStringLiteral("Menu Colours"));
    EXPECT_TRUE(modOptions::gOptionsChanged);
}

TEST_F(TrayCommands, TheSwitchesCommitTheOptionsAndAutoCheckIsLockedDuringAnOperation) {
    frmMain& form = *form_;
    for (int16_t before : {int16_t(1), int16_t(0)}) {
        modOptions::gOpt.UseInterval = before;
        form.controls().mnuTrayAutoCheck.Click();
        EXPECT_EQ(modOptions::gOpt.UseInterval, 1 - before);
        EXPECT_EQ(GetSetting(kAppKey, QStringLiteral("Settings\\Options"), QStringLiteral("UseInterval")),
                  QString::number(1 - before));
    }
    const int16_t sound = modOptions::gOpt.PlaySound;
    form.controls().mnuTraySounds.Click();
    EXPECT_EQ(modOptions::gOpt.PlaySound, 1 - sound);

    form.SetRetrievalMode(false, true);
    EXPECT_FALSE(form.controls().mnuTrayAutoCheck.Enabled());
    form.SetRetrievalMode(true, true);
    EXPECT_TRUE(form.controls().mnuTrayAutoCheck.Enabled());
}

TEST_F(TrayCommands, TheTraySwitchesKeepUnsavedAccountEdits) {
    frmMain& form = *form_;
    form.SwitchPane(1);
    form.controls().txtAcntName.SetText(QStringLiteral("Home mail"));
    ASSERT_TRUE(modAccounts::gAccountChanged);
    form.SetWindowState(vb::vbMinimized);
    form.controls().mnuTrayAutoCheck.Click();
    form.controls().mnuTraySounds.Click();
    vb::ScriptedMsgBoxes boxes;
    form.controls().mnuTrayAbout.Click();
    EXPECT_TRUE(modAccounts::gAccountChanged);
    EXPECT_EQ(form.controls().txtAcntName.Text(), QStringLiteral("Home mail"));
    EXPECT_EQ(gCurrentPane, 1) << "the page with the edits stays in front";
    ASSERT_EQ(boxes.Calls().size(), 1U) << "the refusal says why";
    EXPECT_TRUE(
        boxes.Calls()[0].prompt.contains(QStringLiteral("changes on the Accounts page are not saved")));
    EXPECT_EQ(boxes.Calls()[0].title, QStringLiteral("Veltrane - Options"));
    EXPECT_EQ(GetSetting(kAppKey, QStringLiteral("Settings"), QStringLiteral("AcntName1")),
              QStringLiteral("Home"));
}

TEST_F(TrayCommands, QuitWaitsForTheRunningOperationAndThenEndsTheProgram) {
    frmMain& form = *form_;
    modOptions::gOpt.CloseButton = 1;  // a close alone would go to the tray
    {
        ServerOperation check;
        Run().UserStop = false;
        form.controls().tbrMainButtons.Buttons(QStringLiteral("Quit")).QtButton().click();
        EXPECT_TRUE(Run().UserStop) << "the running check is asked to stop";
        QElapsedTimer waited;
        waited.start();
        while (waited.elapsed() < 300) QCoreApplication::processEvents();
        EXPECT_TRUE(vb::Forms::IsLoaded<frmMain>()) << "the window went while the check ran";
    }
    QElapsedTimer waited;
    waited.start();
    while (vb::Forms::IsLoaded<frmMain>() && waited.elapsed() < 2000) QCoreApplication::processEvents();
    EXPECT_FALSE(vb::Forms::IsLoaded<frmMain>());
    Run().UserStop = false;
}

// The tray's Check All, Start Email Client and Updates do what their tool-bar
// buttons do, whichever part of the window owns the command: the same boxes
// and the same page opened.
TEST_F(TrayCommands, EntriesThatRepeatAToolBarButtonDoWhatTheButtonDoes) {
    frmMain& form = *form_;
    QStringList opened;
    platform::desktop::SetOpener([&opened](const QString& target) {
        opened << target;
        return true;
    });
    // Each effect as text: the boxes shown and the targets opened.
    const auto effect = [&opened](const std::function<void()>& action) {
        opened.clear();
        vb::ScriptedMsgBoxes boxes;
        action();
        QStringList seen;
        for (const vb::MsgBoxCall& call : boxes.Calls())
            seen << call.title + QStringLiteral(": ") + call.prompt;
        return (seen + opened).join(QStringLiteral(" | ")).toStdString();
    };
    const auto button = [](vb::ToolBar& bar) { return [&bar] { bar.ButtonClick(bar.Buttons(1)); }; };
    struct Row {
        const char* entry;
        vb::Menu& menu;
        std::function<void()> press;
    };
    const Row rows[] = {
        {"Check All", form.controls().mnuTrayCheckAll,
         button(form.controls().tbrButtons(tbrButtons::kCheckAll))},
        {"Start Email Client", form.controls().mnuTrayRunClient,
         button(form.controls().tbrButtons(tbrButtons::kStartEmailClient))},
        {"Updates", form.controls().mnuTrayUpdates,
         button(form.controls().tbrOptAbout(tbrOptAbout::kUpdates))},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.entry);
        const std::string pressed = effect(row.press);
        EXPECT_NE(pressed, "") << "the button shows or opens something";
        EXPECT_EQ(effect([&row] { row.menu.Click(); }), pressed);
    }
    platform::desktop::SetOpener({});
}

}  // namespace
