// What a check run shows and plays, through the main window: the download's
// progress from the component's notifications, the new-mail sounds, the
// warning about incomplete downloads.
#include <gtest/gtest.h>

#include <QThread>

#include "app/accounts/account_table.h"
#include "app/check/schedule.h"
#include "app/common/app_settings.h"
#include "app/forms/checks/component_object.h"
#include "app/forms/common/wave_sound.h"
#include "app/forms/main_window/window_slots.h"
#include "app/forms/new_mail/frm_message.h"
#include "app/general/check_status.h"
#include "app/options/option_values.h"
#include "platform/ui/msg_box.h"
#include "tests/app/forms/laid_out_main_window.h"

using namespace modGeneral;
using namespace modAccounts;

namespace {

class CheckRuns : public ::testing::Test {
protected:
    void SetUp() override {
        SaveSetting(kAppKey, QStringLiteral("Settings"), QStringLiteral("AcntNum"), QStringLiteral("3"));
        for (int i = 1; i <= 3; ++i)
            SaveSetting(kAppKey, QStringLiteral("Settings"), QStringLiteral("AcntName%1").arg(i),
                        QStringLiteral("Box%1").arg(i));
        gAppName = QStringLiteral("Veltrane");
        form_ = &LaidOutMainWindow();
        form_->Show();
        saved_ = forms::gPlayWave;
        forms::gPlayWave = [this](const QString& path) { played_ << path; };
    }
    void TearDown() override {
        forms::gPlayWave = saved_;
        form_->mQuitting = true;
        vb::Forms::Unload<frmMain>();
    }
    frmMain* form_ = nullptr;
    // The checks' record of the window under test.
    modGeneral::CheckRunState& Run() { return form_->checks().Record(); }
    QStringList played_;
    std::function<void(const QString&)> saved_;
};

TEST_F(CheckRuns, ProgressNotificationsFillTheBarAndThePanels) {
    frmMain& form = *form_;
    com::ComPtr<IqelPopClientNotify> notify;
    ASSERT_TRUE(com::SUCCEEDED(forms::gPop3->get_Notification(notify.ReleaseAndGetAddressOf())) && notify);
    Run().ReceivedCount = 1;
    notify->Received(forms::gPop3.Get(), nullptr, com::VARIANT_FALSE);
    notify->Received(forms::gPop3.Get(), nullptr, com::VARIANT_FALSE);
    ASSERT_EQ(Run().ReceivedCount, 3);
    // The window shows a line's progress once the pace allows it (after),
    // and a message's end at once.
    struct Row {
        int32_t position;
        int32_t total;
        bool after;  // past the pace since the last showing
        const char* percent;
        int value;
        int maximum;
    };
    const Row rows[] = {
        {45, 100, true, "45 % Complete", 45, 100},
        {50, 100, false, "45 % Complete", 45, 100},  // too soon: the last showing stands
        {300, 200, false, "100 % Complete", 200, 200},
        {1, 8, true, "12 % Complete", 1, 8},  // 12.5 rounds to the even neighbour
        {3, 8, true, "38 % Complete", 3, 8},
        {0, 0, false, "100 % Complete", 1, 1},  // nothing left to fetch
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << row.position << " of " << row.total);
        if (row.after) QThread::msleep(60);
        ASSERT_EQ(notify->Progress(forms::gPop3.Get(), row.position, row.total), com::S_OK);
        EXPECT_EQ(form.controls().StatusBar.PanelText(forms::panel::kStatus),
                  QString::fromLatin1(row.percent));
        EXPECT_EQ(form.controls().StatusBar.PanelText(forms::panel::kAutoCheck),
                  QStringLiteral("Retrieving... (3 of 0)"));
        EXPECT_EQ(form.controls().ProgressBar.Value(), row.value);
        EXPECT_EQ(form.controls().ProgressBar.Max(), row.maximum);
        EXPECT_EQ(form.controls().ProgressBar.Width(), form.controls().StatusBar.PanelWidth(1));
    }
    // An object that is no longer the program's speaks for nothing.
    QString error;
    com::ComPtr<IqelPop3Com> other = forms::CreateComponent(error);
    ASSERT_TRUE(other) << error.toStdString();
    notify->Progress(other.Get(), 1, 2);
    EXPECT_EQ(form.controls().StatusBar.PanelText(forms::panel::kStatus), QStringLiteral("100 % Complete"));
}

TEST_F(CheckRuns, NewMailSoundsFollowTheOptionsAndTheAccounts) {
    frmMain& form = *form_;
    const QString error = forms::ErrorSoundPath();
    struct Row {
        const char* name;
        int16_t account;  // 0: the whole run
        int16_t showEmail;
        bool defaultValid;
        bool connected[3];
        bool hasNew[3];
        int16_t soundOn[3];
        bool soundValid[3];
        QStringList sounds;
    };
    const Row rows[] = {
        {"DefaultPlaysOncePerRun",
         0,
         0,
         true,
         {true, true, true},
         {true, true, true},
         {0, 1, 1},
         {true, true, true},
         {"default.wav"}},
        {"WithoutDefaultEachAccountPlaysItsOwn",
         0,
         0,
         false,
         {true, true, true},
         {true, false, true},
         {1, 1, 1},
         {true, true, true},
         {"a1.wav", "a3.wav"}},
        {"SoundSwitchOffOrInvalidPlaysNothing",
         0,
         0,
         false,
         {true, true, true},
         {true, true, true},
         {0, 1, 1},
         {true, false, true},
         {"a3.wav"}},
        {"AFailedAccountPlaysTheErrorSound",
         0,
         2,
         false,
         {false, true, false},
         {false, false, false},
         {1, 0, 0},
         {true, true, true},
         {error}},
        {"NewMailOnlyWithNothingNew",
         0,
         0,
         true,
         {true, true, true},
         {false, false, false},
         {1, 1, 1},
         {true, true, true},
         {}},
        {"OneAccountPlaysTheDefault",
         2,
         1,
         true,
         {true, true, true},
         {false, false, false},
         {1, 1, 1},
         {true, true, true},
         {"default.wav"}},
        {"OneAccountWithItsSwitchOff",
         2,
         2,
         true,
         {true, true, true},
         {true, true, true},
         {1, 0, 1},
         {true, true, true},
         {}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        modOptions::gOpt.PlaySound = 1;
        modOptions::gOpt.ShowEmail = row.showEmail;
        modOptions::gDefaultSoundValid = row.defaultValid;
        modOptions::gOpt.DefaultSound = QStringLiteral("default.wav");
        gSoundsOn = true;
        for (int16_t a = 1; a <= 3; ++a) {
            gAccounts[a].Enabled = 1;
            gAccounts[a].Connected = row.connected[a - 1];
            gAccounts[a].HasNewMail = row.hasNew[a - 1];
            gAccounts[a].HasMail = true;
            gAccounts[a].SoundOn = row.soundOn[a - 1];
            gAccounts[a].SoundValid = row.soundValid[a - 1];
            gAccounts[a].Sound = QStringLiteral("a%1.wav").arg(a);
        }
        played_.clear();
        form.checks().NotifyNewMail(row.account);
        EXPECT_EQ(played_, row.sounds);
        // Sounds off, or the option off, silence every case.
        played_.clear();
        gSoundsOn = false;
        form.checks().NotifyNewMail(row.account);
        gSoundsOn = true;
        modOptions::gOpt.PlaySound = 0;
        form.checks().NotifyNewMail(row.account);
        EXPECT_TRUE(played_.isEmpty());
    }
}

TEST_F(CheckRuns, ThePopUpsHeadlineFollowsWhatTheRunFound) {
    frmMain& form = *form_;
    modCheck::gClock = [] {
        return QDateTime::fromString(QStringLiteral("2026-12-08 21:05:00"), Qt::ISODate);
    };
    Run().TotalMsgCount = 7;
    Run().TotalNewCount = 2;
    struct Row {
        int16_t showEmail;
        bool anyNew;
        bool anyMail;
        const char* headline;  // nullptr: no pop-up
    };
    const Row rows[] = {
        {0, true, true, "2 New Message(s) found at 9:05 PM"},
        {0, false, true, nullptr},
        {1, false, true, "7 Message(s) found at 9:05 PM"},
        {1, false, false, nullptr},
        {2, false, true, "7 Message(s) found at 9:05 PM"},
        {2, false, false, "No Message(s) found at 9:05 PM"},
        {3, true, true, nullptr},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << row.showEmail << row.anyNew << row.anyMail);
        modOptions::gOpt.ShowEmail = row.showEmail;
        modOptions::gOpt.ShowEmailMsgBox = 1;
        form.checks().ReportCheckResult(row.anyNew, row.anyMail);
        ASSERT_EQ(vb::Forms::IsLoaded<frmMessage>(), row.headline != nullptr);
        if (!row.headline) continue;
        EXPECT_EQ(vb::Forms::Get<frmMessage>().fraMsg.Caption(), QString::fromLatin1(row.headline));
        vb::Forms::Unload<frmMessage>();
    }
    modCheck::gClock = [] { return QDateTime::currentDateTime(); };
}

TEST_F(CheckRuns, IncompleteDownloadsAreReportedOnce) {
    frmMain& form = *form_;
    struct Row {
        bool incomplete[3];
        const char* word;
    };
    for (const Row& row : {Row{{false, true, false}, "Account"}, Row{{true, false, true}, "Accounts"}}) {
        SCOPED_TRACE(row.word);
        Run().IncompleteList.clear();
        for (int16_t a = 1; a <= 3; ++a) {
            gAccounts[a].Incomplete = row.incomplete[a - 1];
            if (row.incomplete[a - 1]) Run().IncompleteList += gAccounts[a].Name + QStringLiteral("\r\n");
        }
        const QString list = Run().IncompleteList;
        vb::ScriptedMsgBoxes boxes;
        form.checks().ShowDownloadErrors();
        form.checks().ShowDownloadErrors();  // the marks were cleared: nothing more
        ASSERT_EQ(boxes.Calls().size(), 1u);
        const QString prompt = boxes.Calls()[0].prompt;
        EXPECT_EQ(boxes.Calls()[0].title, QStringLiteral("Veltrane - Message DownLoad Error"));
        EXPECT_EQ(boxes.Calls()[0].buttons, vb::vbCritical);
        EXPECT_TRUE(
            prompt.startsWith(QStringLiteral("The following %1 may not have completely").arg(row.word)));
        EXPECT_TRUE(
            prompt.contains(QStringLiteral("downloaded all messages.\r\n") + list + QStringLiteral("\r\n")));
        EXPECT_TRUE(prompt.contains(QStringLiteral("Try checking the %1 again.").arg(row.word)));
        EXPECT_TRUE(prompt.endsWith(QStringLiteral("temporarily turn off 'Allow Quick Checking'.")));
        EXPECT_TRUE(Run().IncompleteList.isEmpty());
    }
}

}  // namespace
