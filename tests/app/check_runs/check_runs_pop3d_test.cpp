// Check runs from the main window against the test Dovecot server: two
// accounts, one refusing the login; new mail between two checks; the user's
// stop inside a download, after which the next check still runs.
#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QTimer>
#include <algorithm>

#include "app/accounts/account_table.h"
#include "app/check/schedule.h"
#include "app/common/app_settings.h"
#include "app/forms/checks/component_object.h"
#include "app/forms/common/child_windows.h"
#include "app/forms/common/wave_sound.h"
#include "app/forms/main_window/window_slots.h"
#include "app/forms/new_mail/frm_message.h"
#include "app/forms/tray/tray_icon_record.h"
#include "app/general/check_status.h"
#include "app/options/option_values.h"
#include "platform/ui/msg_box.h"
#include "tests/app/forms/laid_out_main_window.h"
#include "tests/support/pop3d_mailbox.h"

using namespace frmMainElements;  // tbrClient(tbrClient::kAccount)

using namespace modGeneral;
using namespace modAccounts;
using testsupport::Pop3dMailbox;
using testsupport::Pop3dServer;

namespace {

const QString kOptions = QStringLiteral("Settings\\Options");

std::string Message(const std::string& from, const std::string& subject, std::size_t bodyBytes = 40) {
    std::string body;
    while (body.size() < bodyBytes)
        body += "The quick brown fox jumps over the lazy dog, again and again.\r\n";
    return "From: " + from + "\r\nTo: reader@example.org\r\nSubject: " + subject +
           "\r\nDate: Tue, 08 Dec 2026 21:05:00 +0000\r\nMessage-ID: <" + subject + "@example.org>\r\n\r\n" +
           body;
}

struct Box {
    const Pop3dMailbox* mailbox;
    const char* name;
    bool rightPassword;
};

class CheckRunsPop3d : public ::testing::Test {
protected:
    void Load(const std::vector<Box>& boxes,
              std::initializer_list<std::pair<const char*, const char*>> options) {
        const QString settings = QStringLiteral("Settings");
        SaveSetting(kAppKey, settings, QStringLiteral("AcntNum"), QString::number(boxes.size()));
        for (std::size_t i = 0; i < boxes.size(); ++i) {
            const Box& box = boxes[i];
            const QString n = QString::number(i + 1);
            const auto save = [&](const char* key, const QString& value) {
                SaveSetting(kAppKey, settings, QString::fromLatin1(key) + n, value);
            };
            save("AcntName", QString::fromLatin1(box.name));
            save("AcntServer", QString::fromStdString(server_.host));
            save("AcntPort", QString::number(server_.port));
            save("AcntLoginID", QString::fromStdString(box.mailbox->user()));
            save("AcntPassword",
                 QString::fromStdString(box.rightPassword ? box.mailbox->password() : "wrong"));
        }
        for (const auto& [key, value] : options)
            SaveSetting(kAppKey, kOptions, QString::fromLatin1(key), QString::fromLatin1(value));
        gAppName = QStringLiteral("Veltrane");
        modCheck::gClock = [this] { return now_; };
        form_ = &LaidOutMainWindow();
        Run().StartUpDone = true;
        form_->Show();
        // As the start procedure does: the timers by the option.
        form_->controls().tmrMailTime.SetEnabled(modOptions::gOpt.UseInterval == 1);
        form_->controls().tmrStatusBar.SetEnabled(modOptions::gOpt.UseInterval != 1);
        saved_ = forms::gPlayWave;
        forms::gPlayWave = [this](const QString& path) { played_ << path; };
    }
    void TearDown() override {
        modCheck::gClock = [] { return QDateTime::currentDateTime(); };
        if (saved_) forms::gPlayWave = saved_;
        if (!vb::Forms::IsLoaded<frmMain>()) return;
        form_->mQuitting = true;
        vb::Forms::Unload<frmMain>();
    }
    // One tick of the check timer with the check due.
    void DueTick() {
        Run().NextCheckStamp = now_;
        form_->controls().tmrMailTime.Tick();
    }

    Pop3dServer server_ = Pop3dServer::fromEnvironment();
    QDateTime now_ = QDateTime::fromString(QStringLiteral("2026-12-08 21:05:00"), Qt::ISODate);
    frmMain* form_ = nullptr;
    // The checks' record of the window under test.
    modGeneral::CheckRunState& Run() { return form_->checks().Record(); }
    QStringList played_;
    std::function<void(const QString&)> saved_;
};

TEST_F(CheckRunsPop3d, ATimedRunOverTwoAccountsWithOneRefusingTheLogin) {
    Pop3dMailbox good(server_);
    Pop3dMailbox refusing(server_);
    good.add("1.a", Message("Ann <ann@example.org>", "first"));
    good.add("2.b", Message("Bob <bob@example.org>", "second"));
    Load({{&good, "Home", true}, {&refusing, "Work", false}}, {{"UseInterval", "1"},
                                                               {"Minutes", "30"},
                                                               {"ShowEmailMsgBox", "1"},
                                                               {"ShowEmail", "0"},
                                                               {"PlaySound", "1"},
                                                               {"DefaultSound", ""}});
    frmMain& form = *form_;
    gAccounts[1].SoundValid = true;
    gAccounts[1].Sound = QStringLiteral("home.wav");

    vb::ScriptedMsgBoxes boxes;
    DueTick();
    ASSERT_EQ(boxes.Calls().size(), 1u) << "one box for the refused login, no cascade";
    EXPECT_EQ(boxes.Calls()[0].title, QStringLiteral("Veltrane - Error Establishing Connection"));
    EXPECT_EQ(Run().CheckSummary, QStringLiteral("Account Information:\r\n      Home - 2 Messages\r\n"
                                                 "      Work - Error Accessing Account\r\n"));
    EXPECT_EQ(Run().SummaryLines, 2);
    EXPECT_EQ(Run().TotalNewCount, 2);
    ASSERT_EQ(form.controls().lvwEmail.ItemCount(), 2);
    EXPECT_EQ(form.controls().lvwEmail.Item(1).Text(), QStringLiteral("Ann <ann@example.org>"));
    EXPECT_TRUE(form.controls().lvwEmail.Item(2).Bold()) << "new mail in bold";
    EXPECT_EQ(played_, QStringList{QStringLiteral("home.wav")});
    EXPECT_EQ(Run().NextCheckStamp, now_.addSecs(30 * 60)) << "the schedule goes on";
    EXPECT_TRUE(form.controls().fraMainButtons.Enabled()) << "retrieval mode ended";

    // The pop-up shows the headline and the summary, and holds the check
    // timer while it is open.
    ASSERT_TRUE(vb::Forms::IsLoaded<frmMessage>());
    frmMessage& popup = vb::Forms::Get<frmMessage>();
    EXPECT_EQ(popup.fraMsg.Caption(), QStringLiteral("2 New Message(s) found at 9:05 PM"));
    EXPECT_TRUE(popup.lblMsg.Caption().contains(QStringLiteral("Home - 2 Messages")));
    EXPECT_TRUE(forms::MessageShown());
    EXPECT_FALSE(form.controls().tmrMailTime.Enabled());
    vb::Forms::Unload<frmMessage>();
    EXPECT_TRUE(form.controls().tmrMailTime.Enabled());

    // In the tray, the tip counts the messages of the account that answered.
    form.SetWindowState(vb::vbMinimized);
    form.controls().tmrMailTime.Tick();
    EXPECT_TRUE(forms::gTrayIcon.Tip().startsWith(QStringLiteral("2 Message(s) in 1 Account(s).")))
        << forms::gTrayIcon.Tip().toStdString();
    form.SetWindowState(vb::vbNormal);

    // New mail between two checks is announced; the old is not.
    good.add("3.c", Message("Cy <cy@example.org>", "third"));
    now_ = now_.addSecs(30 * 60);
    played_.clear();
    DueTick();
    EXPECT_EQ(boxes.Calls().size(), 2u);
    EXPECT_EQ(Run().TotalNewCount, 1);
    EXPECT_TRUE(Run().CheckSummary.contains(QStringLiteral("      Home - 3 Messages\r\n")));
    EXPECT_EQ(played_, QStringList{QStringLiteral("home.wav")});
    EXPECT_EQ(vb::Forms::Get<frmMessage>().fraMsg.Caption(),
              QStringLiteral("1 New Message(s) found at 9:35 PM"));
    vb::Forms::Unload<frmMessage>();
}

TEST_F(CheckRunsPop3d, AStopInsideADownloadEndsTheRunAndTheNextCheckStillRuns) {
    Pop3dMailbox big(server_);
    Pop3dMailbox small(server_);
    big.add("1.big", Message("Big <big@example.org>", "large", 6 * 1024 * 1024));
    small.add("1.small", Message("Sam <sam@example.org>", "small"));
    Load({{&big, "Big", true}, {&small, "Small", true}}, {{"ConnectTimeOut", "30"}});
    frmMain& form = *form_;
    const IqelPop3Com* before = forms::gPop3.Get();

    // The user presses Stop once the download shows its progress.
    QTimer stopper;
    stopper.setInterval(0);
    QObject::connect(&stopper, &QTimer::timeout, [&] {
        if (!form.controls()
                 .StatusBar.PanelText(forms::panel::kStatus)
                 .endsWith(QStringLiteral("% Complete")))
            return;
        form.controls()
            .tbrButtons(tbrButtons::kStopRetrieval)
            .Buttons(QStringLiteral("StopRetrieval"))
            .QtButton()
            .click();
        stopper.stop();
    });
    form.controls().StatusBar.SetPanelText(forms::panel::kStatus, QString());
    stopper.start();
    vb::ScriptedMsgBoxes boxes;
    form.controls().tbrButtons(tbrButtons::kCheckAll).Buttons(QStringLiteral("CheckAll")).QtButton().click();
    stopper.stop();
    EXPECT_TRUE(boxes.Calls().empty()) << "a stop shows no box";
    EXPECT_EQ(gAccounts[1].Result, QStringLiteral("Big - User Stopped Retrieval"));
    EXPECT_EQ(gAccounts[1].MsgCount, 0);
    EXPECT_FALSE(gAccounts[2].Checked) << "the run ended before the next account";
    EXPECT_NE(forms::gPop3.Get(), before) << "a fresh component object";
    EXPECT_FALSE(Run().UserStop);

    // The message tool bar's check of the current account clears a stop
    // left over and checks that account alone, on the fresh object.
    Run().UserStop = true;
    ASSERT_EQ(gCurrentAccount, 1);
    form.controls().tbrEmail.Buttons(QStringLiteral("EmailCheck")).QtButton().click();
    EXPECT_EQ(gAccounts[1].Result, QStringLiteral("Big - 1 Message"));
    EXPECT_FALSE(gAccounts[2].Checked);
    EXPECT_FALSE(Run().UserStop);

    form.controls().tbrButtons(tbrButtons::kCheckAll).Buttons(QStringLiteral("CheckAll")).QtButton().click();
    EXPECT_TRUE(boxes.Calls().empty());
    EXPECT_EQ(gAccounts[2].Result, QStringLiteral("Small - 1 Message"));
}

// A deletion and a connection test read the mailbox as a check does: the
// status bar counts their own messages, not those of the check before.
TEST_F(CheckRunsPop3d, ADeletionAndAConnectionTestCountTheirOwnMessages) {
    Pop3dMailbox box(server_);
    box.add("1.a", Message("Ann <ann@example.org>", "a"));
    box.add("2.b", Message("Ann <ann@example.org>", "b"));
    Load({{&box, "Home", true}}, {});
    frmMain& form = *form_;
    form.controls().tbrEmail.Buttons(QStringLiteral("EmailCheck")).QtButton().click();
    ASSERT_EQ(gAccounts[1].MsgCount, 2);
    for (const char* name : {"3.c", "4.d", "5.e"}) box.add(name, Message("Bob <bob@example.org>", name));

    // Panel 4 at every showing of the progress and whenever the window
    // looks while the operation runs.
    QStringList counts;
    const auto look = [&] {
        const QString text = form.controls().StatusBar.PanelText(forms::panel::kAutoCheck);
        if (text.startsWith(QStringLiteral("Retrieving")) && (counts.isEmpty() || counts.back() != text))
            counts << text;
    };
    QObject::connect(&form.controls().ProgressBar, &QProgressBar::valueChanged, look);
    QTimer looker;
    looker.setInterval(0);
    QObject::connect(&looker, &QTimer::timeout, look);
    const auto countsDuring = [&](const std::function<void()>& operation) {
        counts.clear();
        looker.start();
        operation();
        looker.stop();
        return counts;
    };
    const auto ofEach = [](int total) {
        QStringList texts;
        for (int k = 1; k <= total; ++k)
            texts << QStringLiteral("Retrieving... (%1 of %2)").arg(k).arg(total);
        return texts;
    };
    const auto expectOwnCounts = [](const QStringList& seen, const QStringList& own) {
        ASSERT_FALSE(seen.isEmpty()) << "the progress was never shown";
        for (const QString& text : seen) EXPECT_TRUE(own.contains(text)) << text.toStdString();
        EXPECT_EQ(seen.back(), own.back());
    };

    vb::ScriptedMsgBoxes boxes;
    modOptions::gOpt.DeleteConfirmation = 0;
    form.controls().lvwEmail.Item(1).SetSelected(true);
    expectOwnCounts(countsDuring([&] { form.email().mnuEmailDelete_Click(); }), ofEach(5));
    EXPECT_TRUE(boxes.Calls().empty());
    EXPECT_EQ(box.messageCount(), 4) << "the deletion itself went through";

    form.controls().tbrMainButtons.Buttons(QStringLiteral("Accounts")).QtButton().click();
    expectOwnCounts(countsDuring([&] {
                        form.controls().tbrAcnts.Buttons(QStringLiteral("AcntTest")).QtButton().click();
                    }),
                    ofEach(4));
    ASSERT_EQ(boxes.Calls().size(), 1u);
    EXPECT_EQ(boxes.Calls()[0].title, QStringLiteral("Veltrane - Test Connection Successfull"));
}

TEST_F(CheckRunsPop3d, TheProgressShowsAtAPaceAndTheDownloadsEnd) {
    Pop3dMailbox box(server_);
    // Sizes apart, so that every message's end moves the bar.
    box.add("1.a", Message("Ann <ann@example.org>", "a", 300 * 1024));
    box.add("2.b", Message("Ann <ann@example.org>", "b", 400 * 1024));
    box.add("3.c", Message("Ann <ann@example.org>", "c", 500 * 1024));
    Load({{&box, "Home", true}}, {});
    frmMain& form = *form_;

    // Each showing of the progress moves the bar; the texts are set by then.
    struct Shown {
        bool atEnd;
        QString percent, count;
    };
    std::vector<Shown> shown;
    QObject::connect(&form.controls().ProgressBar, &QProgressBar::valueChanged, [&](int value) {
        shown.push_back({value == form.controls().ProgressBar.maximum(),
                         form.controls().StatusBar.PanelText(forms::panel::kStatus),
                         form.controls().StatusBar.PanelText(forms::panel::kAutoCheck)});
    });
    QElapsedTimer clock;
    clock.start();
    form.controls().tbrEmail.Buttons(QStringLiteral("EmailCheck")).QtButton().click();
    const qint64 elapsed = clock.elapsed();
    ASSERT_EQ(gAccounts[1].MsgCount, 3);

    std::vector<QString> ends;
    for (const Shown& s : shown)
        if (s.atEnd) {
            EXPECT_EQ(s.percent, QStringLiteral("100 % Complete"));
            ends.push_back(s.count);
        }
    // The last message's end is shown; the others' when their progress was.
    ASSERT_FALSE(ends.empty());
    EXPECT_EQ(ends.back(), QStringLiteral("Retrieving... (3 of 3)"));
    EXPECT_TRUE(std::is_sorted(ends.begin(), ends.end()));
    EXPECT_EQ(std::adjacent_find(ends.begin(), ends.end()), ends.end()) << "an end shown twice";
    // Some 20 000 lines arrive: the showings keep the pace.
    EXPECT_LE(shown.size(), 3 + 2 * (static_cast<std::size_t>(elapsed) / 50 + 1)) << elapsed << " ms";
}

}  // namespace
