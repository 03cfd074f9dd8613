// The mail-client and sound pickers of both pages, the start of the mail
// client from the window, and the Options page's tools: tooltip switches,
// column widths, read-me and home page.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "app/accounts/account_table.h"
#include "app/common/app_settings.h"
#include "app/forms/common/wave_sound.h"
#include "app/general/check_status.h"
#include "app/options/option_values.h"
#include "app/options/options_edit.h"
#include "platform/desktop/shell.h"
#include "platform/ui/app_info.h"
#include "platform/ui/common_dialog.h"
#include "platform/ui/msg_box.h"
#include "tests/app/forms/desktop_files.h"
#include "tests/app/forms/laid_out_main_window.h"
#include "tests/platform/pump_until.h"

using namespace frmMainElements;  // tbrClient(tbrClient::kAccount)

using namespace modOptions;
using modAccounts::gAccounts;

namespace {

void Click(vb::ToolBar& bar, const char* key) { bar.Buttons(QString::fromLatin1(key)).QtButton().click(); }

const QString kClientError = QStringLiteral(
    "The Email Client Program failed!\r\n\r\nIt appears the path and/or filename                    \r\n"
    "do not exist or have changed location.\r\n\r\n"
    "The FileName must be a program\r\nor a '.desktop' entry to work properly.\r\n\r\n");
const QString kSoundError = QStringLiteral(
    "The Sound File failed!\r\n\r\nIt appears the path and/or sound file                    \r\n"
    "do not exist or have changed location.\r\n\r\n"
    "The Sound File must have a file extension\r\nthat ends with '.wav' to work properly.\r\n\r\n");

class Pickers : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        SaveSettings(kAppKey, QStringLiteral("Settings"),
                     {{QStringLiteral("AcntNum"), QStringLiteral("1")},
                      {QStringLiteral("AcntName1"), QStringLiteral("New Account")}});
        // Nothing opens mail addresses.
        testdesktop::InstallViewer("text/plain;x-scheme-handler/https");
        form_ = &LaidOutMainWindow();
        ASSERT_EQ(modAccounts::gCurrentAccount, 1);
        savedPlayer_ = forms::gPlayWave;
        forms::gPlayWave = [this](const QString& path) { played_ << path; };
    }
    void TearDown() override {
        forms::gPlayWave = savedPlayer_;
        platform::desktop::SetOpener({});
        gOpt.CloseButton = 0;
        if (vb::Forms::IsLoaded<frmMain>()) vb::Forms::Get<frmMain>().mQuitting = true;
        vb::Forms::Unload<frmMain>();
    }

    QString Path(const QString& name) const { return dir_.filePath(name); }
    QString Write(const QString& name, const QByteArray& text, bool executable) const {
        return testdesktop::WriteFile(Path(name), text, executable);
    }
    // A program that leaves the file name + ".ran" behind when it runs.
    QString MarkingProgram(const QString& name) const {
        return Write(name, "#!/bin/sh\necho ran > '" + Path(name + ".ran").toUtf8() + "'\n", true);
    }
    bool Ran(const QString& name) const {
        const QString marker = Path(name + ".ran");
        const bool ran = testsupport::PumpUntil([&marker] { return QFile::exists(marker); });
        QFile::remove(marker);
        return ran;
    }

    QTemporaryDir dir_;
    vb::ScriptedMsgBoxes boxes_;
    vb::ScriptedDialogs dialogs_;
    QStringList played_;
    std::function<void(const QString&)> savedPlayer_;
    frmMain* form_ = nullptr;
};

// Either page's Browse puts the chosen path into its box; Test starts the
// client (plays the sound, sounds on or off) the box names when it can, and
// otherwise shows the error box.
TEST_F(Pickers, EveryKindOfPathOnBothPages) {
    frmMain& form = *form_;
    form.controls().chkPlaySound.SetValue(0);
    MarkingProgram(QStringLiteral("by-entry"));
    const QString entry = Write(QStringLiteral("client.desktop"),
                                "[Desktop Entry]\nType=Application\nName=Client\nExec=" +
                                    Path(QStringLiteral("by-entry")).toUtf8() + "\n",
                                false);
    const QString chime = QDir(vb::App::DataPath()).filePath(QStringLiteral("Sounds/Chime.wav"));
    ASSERT_TRUE(QFile::copy(chime, Path(QStringLiteral("Ding.WAV"))));
    struct Case {
        const char* what;
        bool sound;
        QString path;
        QString ran;  // the program that runs, or the sound that plays; empty: the error box
    };
    const Case cases[] = {
        {"missing client", false, Path(QStringLiteral("absent")), {}},
        {"folder as client", false, dir_.path(), {}},
        {"client not executable", false, Write(QStringLiteral("notes"), "#!/bin/sh\n", false), {}},
        {"desktop entry", false, entry, QStringLiteral("by-entry")},
        {"executable", false, MarkingProgram(QStringLiteral("mailer")), QStringLiteral("mailer")},
        {"missing sound", true, Path(QStringLiteral("absent.wav")), {}},
        {"not a wave file", true, Write(QStringLiteral("tune.mp3"), "ID3", false), {}},
        {"wave file", true, chime, chime},
        {"wave file in capitals", true, Path(QStringLiteral("Ding.WAV")), Path(QStringLiteral("Ding.WAV"))},
    };
    for (int picker : {0, 1}) {
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(c.what) +
                         (picker == 0 ? " on the Options page" : " on the Accounts page"));
            vb::ToolBar& bar = c.sound ? form.controls().tbrSound(picker) : form.controls().tbrClient(picker);
            vb::TextBox* boxes[2][2] = {{&form.controls().txtDefaultClient, &form.controls().txtDefaultSound},
                                        {&form.controls().txtAcntClient, &form.controls().txtAcntSound}};
            const QString* pending[2][2] = {{&gEditOpt.DefaultClient, &gEditOpt.DefaultSound},
                                            {&gAccounts[1].Edit.Client, &gAccounts[1].Edit.Sound}};
            dialogs_.ChooseFile(c.path);
            Click(bar, "Browse");
            EXPECT_EQ(form.pickers().mPickerIndex, picker);
            EXPECT_EQ(boxes[picker][c.sound]->Text(), c.path);
            EXPECT_EQ(*pending[picker][c.sound], c.path);

            played_.clear();
            const std::size_t shown = boxes_.Calls().size();
            Click(bar, "Test");
            ASSERT_EQ(boxes_.Calls().size(), shown + (c.ran.isEmpty() ? 1 : 0));
            if (c.ran.isEmpty()) {
                const vb::MsgBoxCall& box = boxes_.Calls().back();
                EXPECT_EQ(box.prompt, c.sound ? kSoundError : kClientError);
                EXPECT_EQ(box.title,
                          modGeneral::gAppName + (c.sound ? " - Sound Error" : " - Email Client Error"));
                EXPECT_EQ(box.buttons, vb::vbExclamation | vb::vbOKOnly) << "a failure warns";
            } else if (c.sound) {
                EXPECT_EQ(played_, QStringList{c.ran});
            } else {
                EXPECT_TRUE(Ran(c.ran));
            }
        }
    }
}

TEST_F(Pickers, BrowseStartsBesideTheBoxesPathAndACancelChangesNothing) {
    frmMain& form = *form_;
    const QString sounds = QDir(vb::App::DataPath()).filePath(QStringLiteral("Sounds")) + QLatin1Char('/');
    // Automatic checking on: the check timer runs again after each dialog.
    gOpt.UseInterval = 1;
    form.checks().SuspendAutoCheck(forms::PauseAction::Suspend);
    form.checks().SuspendAutoCheck(forms::PauseAction::Restore);
    ASSERT_TRUE(form.controls().tmrMailTime.Enabled());
    struct Case {
        vb::ToolBar& bar;
        vb::TextBox& box;
        QString start;  // the box's text before
        QString initDir;
        const char* filter;
    };
    const Case cases[] = {
        {form.controls().tbrSound(tbrSound::kDefault), form.controls().txtDefaultSound, QString(), sounds,
         "(*.wav)|*.wav|"},
        {form.controls().tbrSound(tbrSound::kAccount), form.controls().txtAcntSound, sounds + "Chime.wav",
         QDir(sounds).absolutePath(), "(*.wav)|*.wav|"},
        {form.controls().tbrClient(tbrClient::kDefault), form.controls().txtDefaultClient,
         Path(QStringLiteral("a/b")), Path(QStringLiteral("a")), "All Files (*)|*|"},
        {form.controls().tbrClient(tbrClient::kAccount), form.controls().txtAcntClient, dir_.path(),
         dir_.path(), "All Files (*)|*|"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.initDir.toStdString());
        c.box.SetText(c.start);
        dialogs_.Cancel();
        Click(c.bar, "Browse");
        const vb::DialogCall& call = dialogs_.Calls().back();
        EXPECT_EQ(call.kind, vb::DialogCall::Open);
        EXPECT_EQ(call.initDir, c.initDir);
        EXPECT_EQ(call.filter, QString::fromLatin1(c.filter));
        EXPECT_EQ(c.box.Text(), c.start) << "a cancel keeps the path";
        EXPECT_TRUE(form.controls().tmrMailTime.Enabled());
    }
    // A picker index of neither page opens nothing.
    const std::size_t before = dialogs_.Calls().size();
    form.pickers().mPickerIndex = 2;
    form.pickers().BrowseClient();
    form.pickers().TestSound();
    EXPECT_EQ(dialogs_.Calls().size(), before);
    EXPECT_TRUE(boxes_.Calls().empty());
}

// The saved default wins over the account's own; the window's start button
// trusts no switch older than the file it names, and never a pending path.
TEST_F(Pickers, TheClientInForceIsTheSavedDefaultThenTheAccountsOwn) {
    frmMain& form = *form_;
    const QString defaultClient = MarkingProgram(QStringLiteral("default"));
    form.controls().txtDefaultClient.SetText(defaultClient);
    SaveOptions();
    ASSERT_TRUE(gDefaultClientValid);
    gAccounts[1].Client = gAccounts[1].Edit.Client = MarkingProgram(QStringLiteral("own"));
    gAccounts[1].ClientValid = true;
    form.controls().txtDefaultClient.SetText(MarkingProgram(QStringLiteral("pending")));
    EXPECT_TRUE(gEditDefaultClientValid);

    Click(form.controls().tbrButtons(tbrButtons::kStartEmailClient), "StartEmailClient");
    EXPECT_TRUE(Ran(QStringLiteral("default"))) << "a pending default is not in force";
    Click(form.controls().tbrClient(tbrClient::kDefault), "Test");
    EXPECT_TRUE(Ran(QStringLiteral("pending")));
    Click(form.controls().tbrClient(tbrClient::kAccount), "Test");
    EXPECT_TRUE(Ran(QStringLiteral("default")));

    // The saved default's file goes away: the account's own takes over, then
    // nothing is left to start.
    ASSERT_TRUE(QFile::remove(defaultClient));
    ASSERT_TRUE(gDefaultClientValid) << "the switch is older than the removal";
    Click(form.controls().tbrButtons(tbrButtons::kStartEmailClient), "StartEmailClient");
    EXPECT_TRUE(Ran(QStringLiteral("own")));
    EXPECT_TRUE(boxes_.Calls().empty());
    gAccounts[1].ClientValid = false;
    Click(form.controls().tbrButtons(tbrButtons::kStartEmailClient), "StartEmailClient");
    ASSERT_EQ(boxes_.Calls().size(), 1u);
    EXPECT_EQ(boxes_.Calls().back().prompt, kClientError);

    // On the Accounts page a usable saved default sound plays instead of the
    // account's own.
    gOpt.DefaultSound = QDir(vb::App::DataPath()).filePath(QStringLiteral("Sounds/Notify.wav"));
    gAccounts[1].Edit.Sound = QDir(vb::App::DataPath()).filePath(QStringLiteral("Sounds/Chime.wav"));
    Click(form.controls().tbrSound(tbrSound::kAccount), "Test");
    EXPECT_EQ(played_, QStringList{gOpt.DefaultSound});
}

TEST_F(Pickers, ToolTipSwitchesTickOrClearAllThreeAndFollowTheLiveValues) {
    frmMain& form = *form_;
    vb::CheckBox* boxes[] = {&form.controls().chkFromToolTips, &form.controls().chkToToolTips,
                             &form.controls().chkSubjectToolTips};
    const int16_t* edits[] = {&gEditOpt.FromToolTips, &gEditOpt.ToToolTips, &gEditOpt.SubjectToolTips};
    struct Case {
        int live;  // all three saved values
        const char* key;
        int shown;  // all three boxes after
        bool changed;
    };
    const Case cases[] = {{0, "SelectAll", 1, true},
                          {1, "SelectAll", 1, false},
                          {1, "SelectNone", 0, true},
                          {0, "SelectNone", 0, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "live " << c.live << " " << c.key);
        gOpt.FromToolTips = gOpt.ToToolTips = gOpt.SubjectToolTips = static_cast<int16_t>(c.live);
        form.controls().chkToToolTips.SetValue(1 - c.shown);  // one box the other way round before
        Click(form.controls().tbrOptMisc(tbrOptMisc::kToolTips), c.key);
        for (int i = 0; i < 3; ++i) {
            EXPECT_EQ(boxes[i]->Value(), c.shown) << i;
            EXPECT_EQ(*edits[i], c.shown) << i;
        }
        EXPECT_EQ(gOptionsChanged, c.changed);
        EXPECT_EQ(form.controls().tbrButtons(tbrButtons::kSaveOptions).Buttons(1).Enabled(), c.changed);
    }
    form.controls().chkToToolTips.SetValue(1);
    form.options().SetAllToolTips(3);
    EXPECT_EQ(form.controls().chkToToolTips.Value(), 1) << "any other mode changes no box";
    EXPECT_EQ(form.controls().chkFromToolTips.Value(), 0);
}

TEST_F(Pickers, ColumnWidthsComeBackToTheListsDefaults) {
    frmMain& form = *form_;
    const int loaded = form.layout().mColBaseWidth;
    for (const auto& [base, size] : {std::pair{1000, 465}, {loaded, int(std::nearbyint(loaded / 2.15))}}) {
        SCOPED_TRACE(base);
        for (int c = 1; c <= 5; ++c) form.controls().lvwEmail.Column(c).SetWidth(300);
        form.layout().mColBaseWidth = base;
        Click(form.controls().tbrOptMisc(tbrOptMisc::kRestoreColWidth), "RestoreColWidth");
        for (const char* column : {"From", "To", "Subject", "Date"})
            EXPECT_NEAR(form.controls().lvwEmail.Column(QString::fromLatin1(column)).Width(), base, 15)
                << column;
        EXPECT_NEAR(form.controls().lvwEmail.Column(QStringLiteral("Size")).Width(), size, 15);
        EXPECT_EQ(form.layout().mColSizeWidth, size);
        EXPECT_EQ(form.layout().mColFromWidth, base);
    }
}

TEST_F(Pickers, AboutLinksOpenTheReadMeTheHomePageAndTheMailProgram) {
    frmMain& form = *form_;
    QStringList opened;
    platform::desktop::SetOpener([&opened](const QString& target) {
        opened << target;
        return true;
    });
    gOpt.CloseButton = 1;
    // Without an application for mail addresses nothing opens, the user is
    // told, and the window stays.
    form.controls().lblAboutEmail.Click();
    EXPECT_TRUE(opened.isEmpty());
    ASSERT_EQ(boxes_.Calls().size(), 1u);
    EXPECT_TRUE(boxes_.Calls()[0].prompt.contains(QStringLiteral("mailto:") + vb::App::SupportAddress()));
    EXPECT_NE(form.WindowState(), vb::vbMinimized);

    Click(form.controls().tbrOptAbout(tbrOptAbout::kReadMe), "ReadMe");
    Click(form.controls().tbrOptAbout(tbrOptAbout::kUpdates), "Update");
    ASSERT_EQ(opened.size(), 2);
    EXPECT_EQ(opened[0], QDir(vb::App::DataPath()).filePath(QStringLiteral("ReadMe.txt")));
    EXPECT_TRUE(QFile::exists(opened[0]));
    EXPECT_EQ(opened[1], vb::App::HomePage());
    EXPECT_NE(form.WindowState(), vb::vbMinimized) << "the buttons leave the window";

    // The web link closes the window afterwards: to the tray with the close
    // button minimising, for good without.
    form.controls().lblAboutWebSite.Click();
    EXPECT_EQ(opened.last(), vb::App::HomePage());
    EXPECT_EQ(form.WindowState(), vb::vbMinimized);
    EXPECT_TRUE(form.IsLoaded());
    gOpt.CloseButton = 0;
    form.controls().lblAboutWebSite.Click();
    EXPECT_EQ(opened.size(), 4);
    EXPECT_FALSE(vb::Forms::IsLoaded<frmMain>());
    EXPECT_EQ(boxes_.Calls().size(), 1u);
}

}  // namespace
