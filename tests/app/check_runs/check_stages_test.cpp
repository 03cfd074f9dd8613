// The account check's stages against a scripted server, through the main
// window: a mailbox past the most messages a check lists, a message far
// larger than the server listed it, and the user's stop while the downloaded
// messages are read.
#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <string>
#include <vector>

#include "app/accounts/account_table.h"
#include "app/common/app_settings.h"
#include "app/forms/common/wave_sound.h"
#include "app/forms/main_window/frm_main.h"
#include "app/general/check_status.h"
#include "app/general/message_store.h"
#include "app/options/option_values.h"
#include "platform/ui/msg_box.h"
#include "tests/app/forms/laid_out_main_window.h"
#include "tests/component/fake_pop3/fake_pop3_server.h"
#include "tests/support/scripted_resolver.h"

using namespace frmMainElements;  // tbrClient(tbrClient::kAccount)

using namespace modAccounts;
using namespace modGeneral;
using namespace fakepop3;

namespace {

std::string Mail(int n) {
    return "From: a@example.org\r\nTo: b@example.org\r\nSubject: m" + std::to_string(n) +
           "\r\nDate: Tue, 08 Dec 2026 21:05:00 +0000\r\n\r\nHello.\r\n";
}

// A short text and one base64 attachment, about `bytes` long.
std::string LargeMail(std::size_t bytes) {
    std::string message =
        "From: a@example.org\r\nTo: b@example.org\r\nSubject: large\r\nMIME-Version: 1.0\r\n"
        "Content-Type: multipart/mixed; boundary=\"b1\"\r\n\r\n--b1\r\nContent-Type: text/plain\r\n\r\n"
        "See the attachment.\r\n--b1\r\nContent-Type: application/octet-stream; name=\"a.bin\"\r\n"
        "Content-Transfer-Encoding: base64\r\nContent-Disposition: attachment; filename=\"a.bin\"\r\n\r\n";
    const std::string line = std::string(76, 'Q') + "\r\n";
    message.reserve(bytes + 100);
    while (message.size() < bytes) message += line;
    return message + "--b1--\r\n";
}

// One session: `listed` messages in the listing, each `listedSize` bytes by
// it; the first messages.size() of them downloaded; QUIT. The server closes
// only once the client has.
Script Session(int listed, std::size_t listedSize, const std::vector<std::string>& messages) {
    std::string list, uidl;
    for (int i = 1; i <= listed; ++i) {
        list += std::to_string(i) + " " + std::to_string(listedSize) + "\r\n";
        uidl += std::to_string(i) + " u-" + std::to_string(i) + "\r\n";
    }
    Script script =
        LoginAndReplies(std::to_string(listed) + " " + std::to_string(listed * listedSize), list, uidl);
    for (const std::string& message : messages) AppendRetr(script, message);
    script.push_back(Receive());
    script.push_back(Send("+OK bye\r\n"));
    return script;
}

class CheckStages : public ::testing::Test {
protected:
    void TearDown() override {
        forms::gPlayWave = saved_;
        if (!vb::Forms::IsLoaded<frmMain>()) return;
        vb::Forms::Get<frmMain>().mQuitting = true;
        vb::Forms::Unload<frmMain>();
    }
    // The window with one account "Home" on the scripted server.
    frmMain& Open(std::uint16_t port, const QString& host = QStringLiteral("127.0.0.1")) {
        const QString settings = QStringLiteral("Settings");
        SaveSetting(kAppKey, settings, QStringLiteral("AcntNum"), QStringLiteral("1"));
        for (const auto& [key, value] : {std::pair{"AcntName1", QStringLiteral("Home")},
                                         {"AcntEnabled1", QStringLiteral("1")},
                                         {"AcntServer1", host},
                                         {"AcntPort1", QString::number(port)},
                                         {"AcntLoginID1", QStringLiteral("user")},
                                         {"AcntPassword1", QStringLiteral("secret")}})
            SaveSetting(kAppKey, settings, QString::fromLatin1(key), value);
        gAppName = QStringLiteral("Veltrane");
        gMessageStore.clear();
        frmMain& form = LaidOutMainWindow();
        form.Show();
        modOptions::gOpt.QuickCheck = 0;
        modOptions::gOpt.ConnectTimeOut = 60;
        forms::gPlayWave = [](const QString&) {};
        return form;
    }
    static void Check(frmMain& form) {
        form.controls().tbrEmail.Buttons(QStringLiteral("EmailCheck")).QtButton().click();
    }

    std::function<void(const QString&)> saved_ = forms::gPlayWave;
};

// A mailbox of 40 000 messages lists its first 32 767 (all a 16-bit count
// shows), and the user is told so once for the account, not at every check.
TEST_F(CheckStages, AMailboxPastTheListingsLimitListsItsFirstMessagesAndSaysSoOnce) {
    std::vector<std::string> messages;
    for (int i = 1; i <= 32767; ++i) messages.push_back(Mail(i));
    // The third session deletes the last message listed.
    Script deletion = Session(40000, 120, messages);
    deletion.insert(deletion.end() - 2, {Receive(), Send("+OK deleted\r\n")});
    FakePop3Server server({Session(40000, 120, messages), Session(40000, 120, messages), deletion});
    frmMain& form = Open(server.port());
    vb::ScriptedMsgBoxes boxes;
    for (const std::size_t told : {1u, 1u}) {
        Check(form);
        ASSERT_EQ(boxes.Calls().size(), told);
        EXPECT_EQ(boxes.Calls().back().title, QStringLiteral("Veltrane - Messages Not Shown"));
        EXPECT_TRUE(boxes.Calls().back().prompt.contains(QStringLiteral("\r\nHome\r\n")))
            << boxes.Calls().back().prompt.toStdString();
        EXPECT_EQ(gAccounts[1].Result, QStringLiteral("Home - 32767 Messages"));
        ASSERT_EQ(gAccounts[1].MsgCount, 32767);
        EXPECT_EQ(Msg(1, 32767).Subject, QStringLiteral("m32767"));
        EXPECT_EQ(Msg(1, 32767).Uid, QStringLiteral("u-32767"));
    }
    EXPECT_EQ(gAccounts[1].NewCount, 0) << "the second check found nothing new";

    vb::ListView& list = form.controls().lvwEmail;
    ASSERT_EQ(list.ItemCount(), 32767);
    // The user clicks the row of the last message listed.
    QTreeWidgetItem* last = nullptr;
    for (int row = 1; row <= list.ItemCount() && !last; ++row)
        if (list.Item(row).SubItems(2) == "m32767") last = list.topLevelItem(row - 1);
    ASSERT_NE(last, nullptr);
    list.scrollToItem(last);
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, list.visualItemRect(last).center());
    modOptions::gOpt.DeleteConfirmation = 0;
    form.controls().tbrEmail.Buttons(QStringLiteral("EmailDelete")).QtButton().click();
    const auto sent = server.transcript(2);
    EXPECT_EQ(std::count(sent.begin(), sent.end(), "DELE 32767"), 1);
    EXPECT_EQ(gAccounts[1].MsgCount, 32766);
    EXPECT_EQ(list.ItemCount(), 32766);
    EXPECT_EQ(boxes.Calls().size(), 1u) << boxes.Calls().back().prompt.toStdString();
}

// A message the server lists as 100 bytes but sends as 24 MB: read whole
// from its file, and a stop while the downloaded messages are read ends the
// check within 2 s.
TEST_F(CheckStages, AMessageFarLargerThanListedIsReadWholeAndAStopWhileReadingIsHeard) {
    const std::string large = LargeMail(std::size_t{24} << 20);
    FakePop3Server server({Session(1, 100, {large}), Session(1, 100, {large})});
    frmMain& form = Open(server.port());
    vb::ScriptedMsgBoxes boxes;

    // Stop, once the session has ended: the messages are being read.
    QElapsedTimer sinceStop;
    QTimer stopper;
    stopper.setInterval(1);
    QObject::connect(&stopper, &QTimer::timeout, [&] {
        if (!server.ended(0)) return;
        form.controls()
            .tbrButtons(tbrButtons::kStopRetrieval)
            .Buttons(QStringLiteral("StopRetrieval"))
            .QtButton()
            .click();
        sinceStop.start();
        stopper.stop();
    });
    stopper.start();
    Check(form);
    stopper.stop();
    ASSERT_TRUE(sinceStop.isValid()) << "the window's loop ran while the message was read";
    EXPECT_LT(sinceStop.elapsed(), 2000);
    EXPECT_EQ(gAccounts[1].Result, QStringLiteral("Home - User Stopped Retrieval"));
    EXPECT_EQ(gAccounts[1].MsgCount, 0);

    Check(form);
    EXPECT_TRUE(boxes.Calls().empty()) << boxes.Calls().front().prompt.toStdString();
    ASSERT_EQ(gAccounts[1].MsgCount, 1);
    const std::optional<QByteArray> bytes = MessageBytes(Msg(1, 1));
    ASSERT_TRUE(bytes);
    EXPECT_EQ(bytes->size(), static_cast<qsizetype>(large.size()));
    EXPECT_TRUE(bytes->endsWith("--b1--\r\n"));
    EXPECT_TRUE(Msg(1, 1).Attach);
    EXPECT_EQ(PlainTextOf(Msg(1, 1)), QStringLiteral("See the attachment.\r\n"));
}

// The server's name is looked up without holding the window: its loop runs
// meanwhile, a stop or the session's end during the lookup ends the check
// within 2 s, and a name that answers late is checked as usual.
TEST_F(CheckStages, TheServersNameIsLookedUpWithoutHoldingTheWindow) {
    using testsupport::ScriptedResolver;
    const ScriptedResolver resolver({{"slow.test", ScriptedResolver::kStall}, {"late.test", "127.0.0.1"}},
                                    std::chrono::milliseconds(300));
    FakePop3Server server({Session(1, 100, {Mail(1)})});
    struct Row {
        const char* name;
        std::function<void(frmMain&)> end;
        bool quits;
    };
    for (const Row& row : {Row{"stop",
                               [](frmMain& form) {
                                   form.controls()
                                       .tbrButtons(tbrButtons::kStopRetrieval)
                                       .Buttons(QStringLiteral("StopRetrieval"))
                                       .QtButton()
                                       .click();
                               },
                               false},
                           Row{"the session's end", [](frmMain& form) { form.EndSession(); }, true}}) {
        SCOPED_TRACE(row.name);
        frmMain& form = Open(server.port(), QStringLiteral("slow.test"));
        vb::ScriptedMsgBoxes boxes;
        // The loop's longest wait between two ticks; the end after 300 ms.
        QElapsedTimer sinceTick, sinceEnd, running;
        qint64 longest = 0;
        QTimer ticker;
        ticker.setInterval(5);
        QObject::connect(&ticker, &QTimer::timeout, [&] {
            longest = std::max(longest, sinceTick.restart());
            if (sinceEnd.isValid() || running.elapsed() < 300) return;
            sinceEnd.start();
            row.end(form);
        });
        sinceTick.start();
        running.start();
        ticker.start();
        Check(form);
        ticker.stop();
        ASSERT_TRUE(sinceEnd.isValid());
        EXPECT_LT(sinceEnd.elapsed(), 2000);
        EXPECT_LT(longest, 1000);
        EXPECT_TRUE(boxes.Calls().empty());
        EXPECT_EQ(gAccounts[1].Result, QStringLiteral("Home - User Stopped Retrieval"));
        if (row.quits)
            EXPECT_TRUE(QTest::qWaitFor([] { return !vb::Forms::IsLoaded<frmMain>(); }, 30000));
        else
            TearDown();
    }
    EXPECT_EQ(resolver.cancelled(), 2);

    frmMain& form = Open(server.port(), QStringLiteral("late.test"));
    vb::ScriptedMsgBoxes boxes;
    Check(form);
    EXPECT_TRUE(boxes.Calls().empty());
    EXPECT_EQ(gAccounts[1].Result, QStringLiteral("Home - 1 Message"));
}

}  // namespace
