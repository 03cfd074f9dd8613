// The mail-client and sound pickers of both pages, the start of the mail
// client from the window, and the Options page's tools: tooltip switches,
// column widths, read-me and home page.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "app/accounts/account_table.h"
#include "app/common/app_settings.h"
#include "app/general/check_status.h"
#include "app/options/option_values.h"
#include "app/forms/wave_sound.h"
#include "app/options/options_page.h"
#include "desktop_files.h"
#include "laid_out_main_window.h"
#include "platform/desktop/shell.h"
#include "platform/ui/app_info.h"
#include "platform/ui/common_dialog.h"
#include "platform/ui/msg_box.h"
#include "tests/platform/pump_until.h"

using namespace modOptions;
using modAccounts::gAcntClient;
using modAccounts::gAcntClientValid;
using modAccounts::gEditAcntClient;
using modAccounts::gEditAcntSound;

namespace {

void Click(vb::ToolBar& bar, const char* key) { bar.Buttons(QString::fromLatin1(key)).QtButton().click(); }

const QString kClientErrorText = QStringLiteral(
    "The Email Client Program failed!\r\n\r\n"
    "It appears the path and/or filename                    \r\n"
    "do not exist or have changed location.\r\n\r\n"
    "The FileName must be a program\r\n"
    "or a '.desktop' entry to work properly.\r\n\r\n");

class Pickers : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        SaveSetting(kAppKey, QStringLiteral("Settings"), QStringLiteral("AcntNum"), QStringLiteral("1"));
        SaveSetting(kAppKey, QStringLiteral("Settings"), QStringLiteral("AcntName1"), QStringLiteral("Home"));
        // Before the first lookup, which the desktop library keeps: nothing
        // opens mail addresses.
        testdesktop::InstallViewer("text/plain;x-scheme-handler/https");
        form_ = &LaidOutMainWindow();
        ASSERT_EQ(modAccounts::gCurrentAccount, 1);
    }
    void TearDown() override {
        platform::desktop::SetOpener({});
        gOptCloseButton = 0;
        if (vb::Forms::IsLoaded<frmMain>()) vb::Forms::Get<frmMain>().mQuitting = true;
        vb::Forms::Unload<frmMain>();
    }

    QString Path(const QString& name) const { return dir_.filePath(name); }
    QString Write(const QString& name, const QByteArray& text, bool executable) const {
        return testdesktop::WriteFile(Path(name), text, executable);
    }
    // A program that leaves its marker file behind when it runs.
    QString MarkingProgram(const QString& name) const {
        return Write(name, "#!/bin/sh\necho ran > '" + Marker(name).toUtf8() + "'\n", true);
    }
    QString Marker(const QString& name) const { return Path(name + ".ran"); }
    static bool Ran(const QString& marker) {
        return testsupport::PumpUntil([&marker] { return QFile::exists(marker); }, std::chrono::seconds(5));
    }
    int ClientErrors() const {
        int n = 0;
        for (const vb::MsgBoxCall& call : boxes_.Calls())
            n += call.title == modGeneral::gAppName + QStringLiteral(" - Email Client Error");
        return n;
    }

    QTemporaryDir dir_;
    vb::ScriptedMsgBoxes boxes_;
    vb::ScriptedDialogs dialogs_;
    frmMain* form_ = nullptr;
};

// Either page's Browse puts the chosen path into its box; Test starts what
// the box names when it can be started, and otherwise shows the error box.
TEST_F(Pickers, ClientPathsOfEveryKindOnBothPages) {
    frmMain& form = *form_;
    const QString entryProgram = MarkingProgram(QStringLiteral("by-entry"));
    Write(QStringLiteral("client.desktop"),
          "[Desktop Entry]\nType=Application\nName=Client\nExec=" + entryProgram.toUtf8() + "\n", false);
    struct Case {
        const char* what;
        QString path;
        QString marker;  // empty: the error box instead
    };
    const Case cases[] = {
        {"missing file", Path(QStringLiteral("absent")), QString()},
        {"folder", dir_.path(), QString()},
        {"file that is not executable", Write(QStringLiteral("notes"), "#!/bin/sh\n", false), QString()},
        {"desktop entry", Path(QStringLiteral("client.desktop")), Marker(QStringLiteral("by-entry"))},
        {"executable", MarkingProgram(QStringLiteral("mailer")), Marker(QStringLiteral("mailer"))},
    };
    for (int picker : {0, 1}) {
        vb::TextBox& box = picker == 0 ? form.txtDefaultClient : form.txtAcntClient;
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(c.what) + (picker == 0 ? " on the Options page" : " on the Accounts page"));
            QFile::remove(c.marker);
            const int errors = ClientErrors();
            dialogs_.ChooseFile(c.path);
            Click(form.tbrClient(picker), "Browse");
            EXPECT_EQ(form.mPickerIndex, picker);
            EXPECT_EQ(box.Text(), c.path);
            EXPECT_EQ(picker == 0 ? gEditOptDefaultClient : gEditAcntClient[1], c.path);

            Click(form.tbrClient(picker), "Test");
            if (c.marker.isEmpty()) {
                EXPECT_EQ(ClientErrors(), errors + 1);
                EXPECT_EQ(boxes_.Calls().back().prompt, kClientErrorText);
                EXPECT_EQ(boxes_.Calls().back().buttons, vb::vbInformation | vb::vbOKOnly);
            } else {
                EXPECT_TRUE(Ran(c.marker));
                EXPECT_EQ(ClientErrors(), errors);
            }
        }
    }
}

// Sounds play whether or not sounds are switched on; a path that is not an
// existing ".wav" file shows the error box instead.
TEST_F(Pickers, SoundPathsOfEveryKindOnBothPages) {
    frmMain& form = *form_;
    QStringList played;
    const auto saved = forms::gPlayWave;
    forms::gPlayWave = [&played](const QString& path) { played << path; };
    form.chkPlaySound.SetValue(0);
    ASSERT_FALSE(modGeneral::gSoundsOn);
    const QString chime = QDir(vb::App::DataPath()).filePath(QStringLiteral("Sounds/Chime.wav"));
    const QString capitals = Path(QStringLiteral("Ding.WAV"));
    ASSERT_TRUE(QFile::copy(chime, capitals));
    ASSERT_TRUE(QDir(dir_.path()).mkdir(QStringLiteral("folder.wav")));
    struct Case {
        const char* what;
        QString path;
        bool plays;
    };
    const Case cases[] = {
        {"missing file", Path(QStringLiteral("absent.wav")), false},
        {"not a wave file", Write(QStringLiteral("tune.mp3"), "ID3", false), false},
        {"folder", Path(QStringLiteral("folder.wav")), false},
        {"wave file", chime, true},
        {"wave file in capitals", capitals, true},
    };
    for (int picker : {0, 1}) {
        vb::TextBox& box = picker == 0 ? form.txtDefaultSound : form.txtAcntSound;
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(c.what) + (picker == 0 ? " on the Options page" : " on the Accounts page"));
            played.clear();
            const std::size_t shown = boxes_.Calls().size();
            dialogs_.ChooseFile(c.path);
            Click(form.tbrSound(picker), "Browse");
            EXPECT_EQ(box.Text(), c.path);
            EXPECT_EQ(picker == 0 ? gEditOptDefaultSound : gEditAcntSound[1], c.path);
            Click(form.tbrSound(picker), "Test");
            EXPECT_EQ(played, c.plays ? QStringList{c.path} : QStringList{});
            ASSERT_EQ(boxes_.Calls().size(), shown + (c.plays ? 0 : 1));
            if (!c.plays) {
                EXPECT_EQ(boxes_.Calls().back().title, modGeneral::gAppName + QStringLiteral(" - Sound Error"));
                EXPECT_EQ(boxes_.Calls().back().prompt,
                          QStringLiteral("The Sound File failed!\r\n\r\n"
                                         "It appears the path and/or sound file                    \r\n"
                                         "do not exist or have changed location.\r\n\r\n"
                                         "The Sound File must have a file extension\r\n"
                                         "that ends with '.wav' to work properly.\r\n\r\n"));
            }
        }
    }
    // On the Accounts page a usable saved default plays instead of the
    // account's own sound.
    gOptDefaultSound = capitals;
    gEditAcntSound[1] = chime;
    played.clear();
    Click(form.tbrSound(1), "Test");
    EXPECT_EQ(played, QStringList{capitals});
    forms::gPlayWave = saved;
}

TEST_F(Pickers, BrowseStartsBesideTheBoxesPathAndACancelChangesNothing) {
    frmMain& form = *form_;
    const QString sounds = QDir(vb::App::DataPath()).filePath(QStringLiteral("Sounds")) + QLatin1Char('/');
    const QString chime = QDir(sounds).filePath(QStringLiteral("Chime.wav"));
    struct Case {
        const char* what;
        vb::ToolBar& bar;
        vb::TextBox& box;
        QString start;  // the box's text before
        QString initDir;
        QString filter;
    };
    const Case cases[] = {
        {"empty default sound", form.tbrSound(0), form.txtDefaultSound, QString(), sounds, "(*.wav)|*.wav|"},
        {"account's sound", form.tbrSound(1), form.txtAcntSound, chime, QDir(sounds).absolutePath(),
         "(*.wav)|*.wav|"},
        {"default client in a folder", form.tbrClient(0), form.txtDefaultClient, Path(QStringLiteral("a/b")),
         dir_.path() + QStringLiteral("/a"), "All Files (*)|*|"},
        {"account's client is a folder", form.tbrClient(1), form.txtAcntClient, dir_.path(), dir_.path(),
         "All Files (*)|*|"},
    };
    // Automatic checking on: the check timer runs again after each dialog.
    gOptUseInterval = 1;
    form.SuspendAutoCheck(QStringLiteral("Suspend"));
    form.SuspendAutoCheck(QStringLiteral("Restore"));
    ASSERT_TRUE(form.tmrMailTime.Enabled());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        c.box.SetText(c.start);
        if (&c.box == &form.txtAcntSound) gEditAcntSound[1] = c.start;
        if (&c.box == &form.txtAcntClient) gEditAcntClient[1] = c.start;
        const std::size_t before = dialogs_.Calls().size();
        dialogs_.Cancel();
        Click(c.bar, "Browse");
        ASSERT_EQ(dialogs_.Calls().size(), before + 1);
        const vb::DialogCall& call = dialogs_.Calls().back();
        EXPECT_EQ(call.kind, vb::DialogCall::Open);
        EXPECT_EQ(call.initDir, c.initDir);
        EXPECT_EQ(call.filter, c.filter);
        EXPECT_EQ(c.box.Text(), c.start) << "a cancel keeps the path";
        EXPECT_TRUE(form.tmrMailTime.Enabled());
        EXPECT_FALSE(form.tmrStatusBar.Enabled());
    }
    // A picker index of neither page opens nothing.
    const std::size_t before = dialogs_.Calls().size();
    form.mPickerIndex = 2;
    form.BrowseClient();
    form.BrowseSound();
    form.TestEmailClient();
    EXPECT_EQ(dialogs_.Calls().size(), before);
    EXPECT_TRUE(boxes_.Calls().empty());
}

// The saved default wins over the account's own; the window's start button
// trusts no switch older than the file it names, and never a pending path.
TEST_F(Pickers, TheClientInForceIsTheSavedDefaultThenTheAccountsOwn) {
    frmMain& form = *form_;
    const QString defaultClient = MarkingProgram(QStringLiteral("default"));
    const QString ownClient = MarkingProgram(QStringLiteral("own"));
    const QString pendingClient = MarkingProgram(QStringLiteral("pending"));
    form.txtDefaultClient.SetText(defaultClient);
    SaveOptions();
    ASSERT_TRUE(gDefaultClientValid);
    gAcntClient[1] = ownClient;
    gAcntClientValid[1] = true;
    gEditAcntClient[1] = ownClient;

    form.txtDefaultClient.SetText(pendingClient);
    EXPECT_TRUE(gEditDefaultClientValid);
    struct Step {
        const char* what;
        vb::ToolBar& bar;
        const char* key;
        QString ran;  // marker name; empty: the error box
    };
    const Step steps[] = {
        {"the window's button with a pending default", form.tbrButtons(2), "StartEmailClient", "default"},
        {"the Options page tries the pending one", form.tbrClient(0), "Test", "pending"},
        {"the Accounts page tries the saved default", form.tbrClient(1), "Test", "default"},
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(s.what);
        QFile::remove(Marker(s.ran));
        Click(s.bar, s.key);
        EXPECT_TRUE(Ran(Marker(s.ran)));
    }
    EXPECT_EQ(ClientErrors(), 0);

    // The saved default's file goes away: the account's own takes over, then
    // nothing is left to start.
    ASSERT_TRUE(QFile::remove(defaultClient));
    ASSERT_TRUE(gDefaultClientValid) << "the switch is older than the removal";
    QFile::remove(Marker(QStringLiteral("own")));
    Click(form.tbrButtons(2), "StartEmailClient");
    EXPECT_TRUE(Ran(Marker(QStringLiteral("own"))));
    Click(form.tbrClient(1), "Test");
    EXPECT_EQ(ClientErrors(), 0);

    gAcntClientValid[1] = false;
    Click(form.tbrButtons(2), "StartEmailClient");
    EXPECT_EQ(ClientErrors(), 1);
    EXPECT_EQ(boxes_.Calls().back().prompt, kClientErrorText);
}

TEST_F(Pickers, ToolTipSwitchesTickOrClearAllThreeAndFollowTheLiveValues) {
    frmMain& form = *form_;
    vb::CheckBox* boxes[] = {&form.chkFromToolTips, &form.chkToToolTips, &form.chkSubjectToolTips};
    const int16_t* edits[] = {&gEditOptFromToolTips, &gEditOptToToolTips, &gEditOptSubjectToolTips};
    struct Case {
        int live;  // all three saved values
        int16_t mode;
        int shown;  // all three boxes after
        bool changed;
    };
    const Case cases[] = {{0, 1, 1, true}, {1, 1, 1, false}, {1, 2, 0, true}, {0, 2, 0, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "live " << c.live << " mode " << c.mode);
        gOptFromToolTips = gOptToToolTips = gOptSubjectToolTips = static_cast<int16_t>(c.live);
        // A box the user left the other way round before the click.
        form.chkToToolTips.SetValue(1 - c.shown);
        form.SetAllToolTips(c.mode);
        for (int i = 0; i < 3; ++i) {
            EXPECT_EQ(boxes[i]->Value(), c.shown) << i;
            EXPECT_EQ(*edits[i], c.shown) << i;
        }
        EXPECT_EQ(gOptionsChanged, c.changed);
        EXPECT_EQ(form.tbrButtons(12).Buttons(1).Enabled(), c.changed);
    }
    form.chkFromToolTips.SetValue(1);
    form.SetAllToolTips(3);
    EXPECT_EQ(form.chkFromToolTips.Value(), 1);
    EXPECT_EQ(form.chkToToolTips.Value(), 0) << "any other mode changes no box";

    Click(form.tbrOptMisc(2), "SelectAll");
    for (vb::CheckBox* box : boxes) EXPECT_EQ(box->Value(), 1);
    Click(form.tbrOptMisc(2), "SelectNone");
    for (vb::CheckBox* box : boxes) EXPECT_EQ(box->Value(), 0);
}

TEST_F(Pickers, ColumnWidthsComeBackToTheListsDefaults) {
    frmMain& form = *form_;
    const char* columns[] = {"From", "To", "Subject", "Date", "Size"};
    struct Case {
        int base;
        int size;
    };
    for (const Case& c : {Case{1000, 465}, Case{form.mColBaseWidth, static_cast<int>(std::nearbyint(form.mColBaseWidth / 2.15))}}) {
        SCOPED_TRACE(c.base);
        for (const char* column : columns) form.lvwEmail.Column(QString::fromLatin1(column)).SetWidth(300);
        form.mColBaseWidth = c.base;
        Click(form.tbrOptMisc(1), "RestoreColWidth");
        for (const char* column : columns) {
            const int expected = QLatin1String(column) == QLatin1String("Size") ? c.size : c.base;
            EXPECT_NEAR(form.lvwEmail.Column(QString::fromLatin1(column)).Width(), expected, 15) << column;
        }
        EXPECT_EQ(form.mColSizeWidth, c.size);
        EXPECT_EQ(form.mColFromWidth, c.base);
        EXPECT_EQ(form.mColDateWidth, c.base);
    }
}

TEST_F(Pickers, AboutLinksOpenTheReadMeTheHomePageAndTheMailProgram) {
    frmMain& form = *form_;
    QStringList opened;
    platform::desktop::SetOpener([&opened](const QString& target) {
        opened << target;
        return true;
    });
    gOptCloseButton = 1;
    // Without an application for mail addresses nothing opens, the user is
    // told, and the window stays.
    const QString mail = QStringLiteral("mailto:") + vb::App::SupportAddress();
    form.lblAboutEmail.Click();
    EXPECT_TRUE(opened.isEmpty());
    ASSERT_EQ(boxes_.Calls().size(), 1u);
    EXPECT_TRUE(boxes_.Calls()[0].prompt.contains(mail));
    EXPECT_NE(form.WindowState(), vb::vbMinimized);

    Click(form.tbrOptAbout(0), "ReadMe");
    Click(form.tbrOptAbout(1), "Update");
    ASSERT_EQ(opened.size(), 2);
    EXPECT_EQ(opened[0], QDir(vb::App::DataPath()).filePath(QStringLiteral("ReadMe.txt")));
    EXPECT_TRUE(QFile::exists(opened[0]));
    EXPECT_EQ(opened[1], vb::App::HomePage());
    EXPECT_NE(form.WindowState(), vb::vbMinimized) << "the buttons leave the window";

    // The web link closes the window afterwards: to the tray with the close
    // button minimising, for good without.
    form.lblAboutWebSite.Click();
    EXPECT_EQ(opened.last(), vb::App::HomePage());
    EXPECT_TRUE(form.IsLoaded());
    EXPECT_EQ(form.WindowState(), vb::vbMinimized);
    gOptCloseButton = 0;
    form.lblAboutWebSite.Click();
    EXPECT_EQ(opened.size(), 4);
    EXPECT_FALSE(vb::Forms::IsLoaded<frmMain>());
    EXPECT_EQ(boxes_.Calls().size(), 1u);
}

}  // namespace
