// The program's start and end as a user meets them: each test starts
// Veltrane on its own fresh profile, off screen, and ends it.
#include "app/main/start_procedure.h"

#include <sys/stat.h>

#include <csignal>
#include <functional>

#include <gtest/gtest.h>

#include <QApplication>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QEvent>
#include <QFile>
#include <QFileInfo>

#include "app/accounts/account_table.h"
#include "app/common/app_settings.h"
#include "app/forms/checks/component_object.h"
#include "app/forms/common/child_windows.h"
#include "app/forms/common/pictures.h"
#include "app/forms/first_use/frm_first_use.h"
#include "app/forms/main_window/frm_main.h"
#include "app/forms/main_window/window_slots.h"
#include "app/forms/tray/tray_icon_record.h"
#include "app/general/check_status.h"
#include "app/main/session_end.h"
#include "app/options/option_values.h"
#include "app/rules/rule_set.h"
#include "platform/desktop/single_instance.h"
#include "platform/store/program_folder.h"
#include "platform/ui/forms.h"
#include "platform/ui/msg_box.h"

using namespace frmMainElements;  // tbrClient(tbrClient::kAccount)

namespace {

const QString kOptions = QStringLiteral("Settings\\Options");
const QString kSettings = QStringLiteral("Settings");

void Store(const QString& section, const QString& key, const QString& value) {
    ASSERT_TRUE(SaveSetting(kAppKey, section, key, value)) << key.toStdString();
}

void StoreAccount(int i, const QString& name, bool enabled) {
    const QString n = QString::number(i);
    Store(kSettings, QStringLiteral("AcntName") + n, name);
    Store(kSettings, QStringLiteral("AcntEnabled") + n, enabled ? QStringLiteral("1") : QStringLiteral("0"));
    Store(kSettings, QStringLiteral("AcntServer") + n, QStringLiteral("127.0.0.1"));
}

QString Stored(const QString& section, const QString& key) {
    return GetSetting(kAppKey, section, key, QStringLiteral("<missing>"));
}

QString AutostartEntry() {
    return QDir(QString::fromLocal8Bit(qgetenv("XDG_CONFIG_HOME")))
        .filePath(QStringLiteral("autostart/Veltrane.desktop"));
}

class StartProcedure : public testing::Test {
protected:
    void TearDown() override {
        if (vb::Forms::IsLoaded<frmMain>()) {
            vb::Forms::Get<frmMain>().mQuitting = true;
            EXPECT_TRUE(vb::Forms::Unload<frmMain>());
        }
        vb::Forms::End();
    }

    frmMain& Start() {
        instance_ = std::make_unique<platform::desktop::SingleInstance>(QStringLiteral("VeltraneTest"));
        EXPECT_TRUE(start::Main(*instance_));
        return vb::Forms::Get<frmMain>();
    }

    std::unique_ptr<platform::desktop::SingleInstance> instance_;
};

TEST_F(StartProcedure, AFirstStartOnAnEmptyProfileGreetsTheUserWithEverythingAtItsDefault) {
    frmMain& main = Start();
    EXPECT_EQ(main.Caption(), QStringLiteral("Veltrane"));
    EXPECT_EQ(main.controls().StatusBar.PanelText(forms::panel::kResult),
              QStringLiteral("No Accounts have been created..."));
    EXPECT_EQ(main.controls().StatusBar.PanelText(forms::panel::kAutoCheck),
              QStringLiteral("Auto Check Off"));
    EXPECT_TRUE(main.controls().tmrStatusBar.Enabled());
    EXPECT_FALSE(main.controls().tmrMailTime.Enabled());
    EXPECT_FALSE(main.controls().tmrMailStartUp.Enabled());
    EXPECT_EQ(main.controls().mnuTrayAutoCheck.Caption(), QStringLiteral("&Auto Check - Off|#AutoCheckOff"));
    EXPECT_EQ(main.controls().TabStripEmail.TabCount(), 0);
    EXPECT_EQ(modAccounts::gCurrentAccount, 0);
    EXPECT_TRUE(main.checks().Record().StartUpDone);
    EXPECT_TRUE(main.controls().tbrButtons(tbrButtons::kPauseStartUp).isHidden());
    // The no-account state: only adding an account is left to do.
    EXPECT_FALSE(main.controls().tbrEmail.Buttons(QStringLiteral("EmailCheck")).Enabled());
    EXPECT_FALSE(main.controls().tbrButtons(tbrButtons::kCheckAll).Buttons(1).Enabled());
    EXPECT_TRUE(main.controls().tbrAcnts.Buttons(QStringLiteral("AcntAdd")).Enabled());
    EXPECT_FALSE(main.controls().lvwEmail.Enabled());
    EXPECT_FALSE(main.controls().mnuTrayCheckAll.Enabled());
    EXPECT_TRUE(main.controls().fraNoAcntsBanner.Visible());
    // The greeting, and what the first start stores.
    EXPECT_TRUE(vb::Forms::IsLoaded<frmFirstUse>());
    EXPECT_EQ(vb::Forms::Get<frmFirstUse>().windowIcon().pixmap(16).toImage(),
              forms::Picture(QStringLiteral("TrayNormal"), 16).toImage())
        << "every window carries the program's icon";
    EXPECT_TRUE(forms::FirstUseShown());
    EXPECT_EQ(Stored(kSettings, QStringLiteral("FirstUse")), QStringLiteral("1"));
    EXPECT_EQ(Stored(kOptions, QStringLiteral("RunStartUp")), QStringLiteral("1"));
    EXPECT_TRUE(QFile::exists(AutostartEntry()));
    EXPECT_TRUE(main.checks().Record().NextCheckStamp.isValid()) << "the first automatic check is scheduled";
}

TEST_F(StartProcedure, ALaterStartShowsNoGreetingAndWritesNoAutostartEntry) {
    Store(kSettings, QStringLiteral("FirstUse"), QStringLiteral("1"));
    Start();
    EXPECT_FALSE(vb::Forms::IsLoaded<frmFirstUse>());
    EXPECT_FALSE(QFile::exists(AutostartEntry()));
}

TEST_F(StartProcedure, StoredAccountsRulesAndOptionsShapeTheWindow) {
    Store(kSettings, QStringLiteral("FirstUse"), QStringLiteral("1"));
    Store(kSettings, QStringLiteral("AcntNum"), QStringLiteral("3"));
    StoreAccount(1, QStringLiteral("Home"), true);
    StoreAccount(2, QStringLiteral("Old & Work"), false);
    StoreAccount(3, QStringLiteral("List"), true);
    Store(kOptions, QStringLiteral("UseInterval"), QStringLiteral("1"));
    Store(kOptions, QStringLiteral("EmailCheckStartUp"), QStringLiteral("1"));
    Store(kOptions, QStringLiteral("Hours"), QStringLiteral("1"));
    Store(kOptions, QStringLiteral("Minutes"), QStringLiteral("30"));
    QFile rules(QDir(QFile::decodeName(platform::store::UserDataFolder().c_str()))
                    .filePath(QStringLiteral("Rules.ini")));
    ASSERT_TRUE(rules.open(QIODevice::WriteOnly));
    rules.write("[Rules]\r\nRuleCount=1\r\nRuleName1=Spam\r\n");
    rules.close();

    frmMain& main = Start();
    ASSERT_EQ(main.controls().TabStripEmail.TabCount(), 3);
    ASSERT_EQ(main.controls().TabStripAcnts.TabCount(), 3);
    const struct {
        int tab;
        const char16_t* caption;
        const char16_t* image;
    } tabs[] = {{1, u"Home", u"MailNo"}, {2, u"Old & Work", u"MailNoDisabled"}, {3, u"List", u"MailNo"}};
    for (const auto& t : tabs) {
        EXPECT_EQ(main.controls().TabStripEmail.TabCaption(t.tab), QString::fromUtf16(t.caption));
        EXPECT_EQ(main.controls().TabStripAcnts.TabImage(t.tab), QString::fromUtf16(t.image));
        EXPECT_EQ(modAccounts::gAccounts[t.tab].Status, QStringLiteral("Not Checked"));
        EXPECT_EQ(modAccounts::gAccounts[t.tab].Result, QString::fromUtf16(t.caption));
    }
    EXPECT_EQ(modAccounts::gCurrentAccount, 1);
    EXPECT_EQ(modOptions::CheckIntervalMinutes(), 90);
    EXPECT_TRUE(main.controls().tbrEmail.Buttons(QStringLiteral("EmailCheck")).Enabled());
    EXPECT_FALSE(main.controls().fraNoAcntsBanner.Visible());
    EXPECT_EQ(main.controls().lblRulesFileName.Caption(), QStringLiteral("FileName: Rules.ini"));
    EXPECT_EQ(modRules::gRules.Count, 1);
    // Automatic checking on: the check timer runs, not the clock.
    EXPECT_TRUE(main.controls().tmrMailTime.Enabled());
    EXPECT_FALSE(main.controls().tmrStatusBar.Enabled());
    EXPECT_EQ(main.controls().mnuTrayAutoCheck.Caption(), QStringLiteral("&Auto Check - On|#AutoCheckOn"));
    EXPECT_TRUE(main.controls()
                    .StatusBar.PanelText(forms::panel::kAutoCheck)
                    .startsWith(QStringLiteral("Auto Check at ")));
    // A start-up check is pending, with its pause button.
    EXPECT_FALSE(main.checks().Record().StartUpDone);
    EXPECT_TRUE(main.controls().tmrMailStartUp.Enabled());
    EXPECT_FALSE(main.controls().tbrButtons(tbrButtons::kPauseStartUp).isHidden());
    EXPECT_EQ(main.controls().tbrButtons(tbrButtons::kPauseStartUp).Buttons(1).Caption(),
              QStringLiteral("StartUp: Pause       "));
}

// (The real program meets such files in tests/process; here the case of an
// autostart entry the user had.)
TEST_F(StartProcedure, ASettingsFileThatIsNoSettingsIsKeptTheUserToldAndItIsNoFirstUse) {
    const QDir folder(QFile::decodeName(platform::store::UserDataFolder().c_str()));
    QDir().mkpath(QFileInfo(AutostartEntry()).path());
    QFile entry(AutostartEntry());
    ASSERT_TRUE(entry.open(QIODevice::WriteOnly));
    entry.write("[Desktop Entry]\nType=Application\nName=Veltrane\nExec=/usr/bin/veltrane\n");
    entry.close();
    QFile settings(folder.filePath(QStringLiteral("settings.ini")));
    ASSERT_TRUE(settings.open(QIODevice::WriteOnly));
    settings.write(QByteArray(4096, '\0'));  // as a crash can leave a file
    settings.close();
    vb::ScriptedMsgBoxes boxes;
    frmMain& main = Start();
    const QStringList copies = folder.entryList({QStringLiteral("settings.ini.damaged-*")}, QDir::Files);
    ASSERT_EQ(copies.size(), 1);
    ASSERT_EQ(boxes.Calls().size(), 1U);
    EXPECT_EQ(boxes.Calls()[0].title, QStringLiteral("Veltrane - Settings Not Read"));
    EXPECT_TRUE(boxes.Calls()[0].prompt.contains(folder.filePath(copies[0])));
    EXPECT_FALSE(vb::Forms::IsLoaded<frmFirstUse>());
    EXPECT_EQ(Stored(kOptions, QStringLiteral("RunStartUp")), QStringLiteral("1")) << "as the session does";
    EXPECT_EQ(main.controls().chkRunStartUp.Value(), vb::vbChecked);
}

// Something other than a file at the settings file's path: the user is told
// which file and why, no first use runs, nothing is saved over it, and the
// autostart entry is left as it was.
struct NoFileCase {
    const char* name;
    void (*make)(const QString& path);
    const char* why;
};

void PrintTo(const NoFileCase& c, std::ostream* os) { *os << c.name; }

class SettingsPathThatIsNoFile : public StartProcedure, public testing::WithParamInterface<NoFileCase> {};

TEST_P(SettingsPathThatIsNoFile, IsNamedWithWhatItIsAndNoFirstUseRuns) {
    const QDir folder(QFile::decodeName(platform::store::UserDataFolder().c_str()));
    const QString path = folder.filePath(QStringLiteral("settings.ini"));
    folder.mkpath(QStringLiteral("."));
    GetParam().make(path);
    vb::ScriptedMsgBoxes boxes;
    frmMain& main = Start();
    ASSERT_EQ(boxes.Calls().size(), 1U);
    EXPECT_EQ(boxes.Calls()[0].title, QStringLiteral("Veltrane - Settings Not Read"));
    EXPECT_TRUE(boxes.Calls()[0].prompt.startsWith(
        QStringLiteral("Your settings file cannot be used:\r\n") + path +
        QStringLiteral("\r\n\r\nIt cannot be read as settings: ") + QString::fromUtf8(GetParam().why)))
        << boxes.Calls()[0].prompt.toStdString();
    EXPECT_FALSE(vb::Forms::IsLoaded<frmFirstUse>());
    EXPECT_FALSE(QFile::exists(AutostartEntry()));
    EXPECT_EQ(main.controls().chkRunStartUp.Value(), vb::vbUnchecked) << "as the session does: off";
    EXPECT_EQ(folder.entryList({QStringLiteral("settings.ini*")}, QDir::AllEntries | QDir::System),
              QStringList{QStringLiteral("settings.ini")});
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, SettingsPathThatIsNoFile,
    testing::Values(
        NoFileCase{"Folder", [](const QString& p) { QDir().mkpath(p); }, "it is a folder, not a file."},
        NoFileCase{"Fifo", [](const QString& p) { ::mkfifo(QFile::encodeName(p).constData(), 0600); },
                   "it is a pipe (FIFO), not a file."},
        NoFileCase{"DeviceLink", [](const QString& p) { QFile::link(QStringLiteral("/dev/null"), p); },
                   "it is a link to a device, not a file."}),
    [](const auto& info) { return std::string(info.param.name); });

// "AcntNum" beyond the stored accounts: the stored ones are loaded at once,
// the user is told once, and the number is put right.
TEST_F(StartProcedure, AnAccountNumberBeyondTheStoredAccountsLoadsTheStoredOnesAndIsToldOnce) {
    Store(kSettings, QStringLiteral("FirstUse"), QStringLiteral("1"));
    Store(kSettings, QStringLiteral("AcntNum"), QStringLiteral("32767"));
    StoreAccount(1, QStringLiteral("Home"), true);
    Store(kSettings, QStringLiteral("AcntPassword3"), QStringLiteral("gap"));
    vb::ScriptedMsgBoxes boxes;
    QDeadlineTimer quick(30000);
    frmMain& main = Start();
    EXPECT_FALSE(quick.hasExpired());
    EXPECT_EQ(main.controls().TabStripEmail.TabCount(), 3) << "up to the highest account stored";
    EXPECT_EQ(main.controls().TabStripAcnts.TabCount(), 3);
    ASSERT_EQ(boxes.Calls().size(), 1U);
    EXPECT_EQ(boxes.Calls()[0].title, QStringLiteral("Veltrane - Accounts"));
    EXPECT_TRUE(boxes.Calls()[0].prompt.startsWith(QStringLiteral(
        "Your settings file gives the number of accounts as 32767,\r\nbut holds the settings of 3:")))
        << boxes.Calls()[0].prompt.toStdString();
    EXPECT_TRUE(boxes.Calls()[0].prompt.contains(
        QStringLiteral("The 3 stored accounts are loaded, and the number is set to 3.")));
    EXPECT_EQ(Stored(kSettings, QStringLiteral("AcntNum")), QStringLiteral("3"));
    EXPECT_EQ(Stored(kSettings, QStringLiteral("AcntPassword3")), QStringLiteral("gap"));
}

TEST_F(StartProcedure, AnAutostartEntryThatCannotBeWrittenAtFirstUseIsToldAndNotStoredAsOn) {
    // A file where the autostart folder belongs: no entry can be written.
    QFile blocker(QFileInfo(AutostartEntry()).path());
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    vb::ScriptedMsgBoxes boxes;
    frmMain& main = Start();
    EXPECT_TRUE(vb::Forms::IsLoaded<frmFirstUse>());
    ASSERT_EQ(boxes.Calls().size(), 1U);
    EXPECT_EQ(boxes.Calls()[0].title, QStringLiteral("Veltrane - Run at StartUp"));
    EXPECT_EQ(modOptions::gOpt.RunStartUp, 0);
    EXPECT_EQ(Stored(kOptions, QStringLiteral("RunStartUp")), QStringLiteral("0"));
    EXPECT_EQ(main.controls().chkRunStartUp.Value(), vb::vbUnchecked);
}

TEST_F(StartProcedure, ASecondInstanceEndsAtOnceAndLeavesTheFirstAlone) {
    Store(kSettings, QStringLiteral("FirstUse"), QStringLiteral("1"));
    frmMain& first = Start();
    platform::desktop::SingleInstance second(QStringLiteral("VeltraneTest"));
    EXPECT_FALSE(start::Main(second));
    EXPECT_TRUE(vb::Forms::IsLoaded<frmMain>());
    EXPECT_EQ(&vb::Forms::Get<frmMain>(), &first);
}

TEST_F(StartProcedure, MinimisedAtStartUpOnlyTheTrayIconShowsOrWithoutATrayTheTaskbarEntry) {
    const auto trayAvailable = forms::gTrayAvailable;
    for (const bool tray : {true, false}) {
        SCOPED_TRACE(tray ? "with a tray" : "without a tray");
        forms::gTrayAvailable = [tray] { return tray; };
        Store(kSettings, QStringLiteral("FirstUse"), QStringLiteral("1"));
        Store(kOptions, QStringLiteral("MinimizeStartUp"), QStringLiteral("1"));
        frmMain& main = Start();
        QApplication::processEvents();
        EXPECT_EQ(main.WindowState(), vb::vbMinimized);
        EXPECT_EQ(main.isHidden(), tray);
        forms::gTrayIcon.MouseMessage(513);  // a left click on the icon
        EXPECT_EQ(main.WindowState(), vb::vbNormal);
        EXPECT_FALSE(main.isHidden());
        TearDown();
    }
    forms::gTrayAvailable = trayAvailable;
}

TEST_F(StartProcedure, TheCloseBoxGoesToTheTrayOrQuitsAndQuittingSavesTheListSettings) {
    struct Row {
        const char* name;
        const char* closeButton;
        const char* restoreColWidth;
        bool quitting;
        bool ends;
        bool widthsSaved;
    };
    const Row rows[] = {
        {"close box, CloseButton on", "1", "1", false, false, false},
        {"close box, CloseButton off", "0", "1", false, true, false},
        {"quit command, default widths", "1", "1", true, true, false},
        {"quit command, kept widths", "1", "0", true, true, true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Store(kSettings, QStringLiteral("FirstUse"), QStringLiteral("1"));
        Store(kOptions, QStringLiteral("CloseButton"), QString::fromLatin1(row.closeButton));
        Store(kOptions, QStringLiteral("RestoreColWidth"), QString::fromLatin1(row.restoreColWidth));
        for (const char* key : {"ColFromWidth", "SortColumnLastUsed", "SortOrder"})
            DeleteSetting(kAppKey, kOptions, QString::fromLatin1(key));
        frmMain& main = Start();
        main.mQuitting = row.quitting;
        EXPECT_EQ(vb::Forms::Unload<frmMain>(), row.ends);
        EXPECT_EQ(vb::Forms::IsLoaded<frmMain>(), !row.ends);
        EXPECT_EQ(Stored(kOptions, QStringLiteral("SortOrder")) != QStringLiteral("<missing>"), row.ends);
        EXPECT_EQ(Stored(kOptions, QStringLiteral("ColFromWidth")) != QStringLiteral("<missing>"),
                  row.widthsSaved);
        if (!row.ends) {
            // Without a tray the window stays where the user can reach it.
            EXPECT_EQ(main.WindowState(), vb::vbMinimized);
            EXPECT_FALSE(main.isHidden());
        }
        TearDown();
    }
}

TEST_F(StartProcedure, TheSessionsEndRunsTheShutdownFromTheLoopEvenWithCloseButtonOn) {
    struct Row {
        const char* name;
        std::function<void()> end;
    };
    const Row rows[] = {
        {"SIGTERM", [] { std::raise(SIGTERM); }},
        {"SIGINT", [] { std::raise(SIGINT); }},
        {"SIGHUP", [] { std::raise(SIGHUP); }},
        {"the session manager's end",
         [] { QCoreApplication::postEvent(QCoreApplication::instance(), new QEvent(QEvent::Quit)); }},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Store(kSettings, QStringLiteral("FirstUse"), QStringLiteral("1"));
        Store(kOptions, QStringLiteral("CloseButton"), QStringLiteral("1"));
        DeleteSetting(kAppKey, kOptions, QStringLiteral("SortColumnLastUsed"));
        Start();
        modOptions::gOpt.SortColumnLastUsed = QStringLiteral("Subject");
        {
            start::SessionEnd sessionEnd;
            sessionEnd.Started();
            row.end();
            EXPECT_TRUE(vb::Forms::IsLoaded<frmMain>()) << "the shutdown runs from the loop";
            QDeadlineTimer deadline(2000);
            while (vb::Forms::IsLoaded<frmMain>() && !deadline.hasExpired())
                QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
        }
        EXPECT_FALSE(vb::Forms::IsLoaded<frmMain>());
        EXPECT_EQ(Stored(kOptions, QStringLiteral("SortColumnLastUsed")), QStringLiteral("Subject"));
        TearDown();
    }
}

TEST_F(StartProcedure, AMissingComponentLibraryIsNamedAndTheStartFails) {
    Store(kSettings, QStringLiteral("FirstUse"), QStringLiteral("1"));
    const QString saved = forms::ComponentLibraryPath();
    forms::SetComponentLibraryPath(QStringLiteral("/nowhere/libqelpop3.so"));
    vb::ScriptedMsgBoxes boxes;
    boxes.Answer(vb::vbOK);
    platform::desktop::SingleInstance instance(QStringLiteral("VeltraneTest"));
    EXPECT_THROW(start::Main(instance), forms::StartupFailure);
    forms::SetComponentLibraryPath(saved);
    ASSERT_EQ(boxes.Calls().size(), 1U);
    EXPECT_TRUE(boxes.Calls()[0].prompt.contains(QStringLiteral("/nowhere/libqelpop3.so")));
    EXPECT_FALSE(vb::Forms::IsLoaded<frmMain>()) << "no half-loaded window is left";
}

}  // namespace
