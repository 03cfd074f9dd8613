// The message commands against a scripted POP3 server: after a deletion the
// list shows the account whose tab is selected, and preview, reply, open and
// delete act on the message the chosen row shows; a message the server gives
// no UID is new once and is not offered for deletion.
#include <gtest/gtest.h>

#include <QDateTime>
#include <QElapsedTimer>
#include <QFile>
#include <QTest>
#include <algorithm>
#include <optional>

#include "app/accounts/account_table.h"
#include "app/forms/main_window/frm_main.h"
#include "app/forms/preview/frm_preview.h"
#include "app/options/option_values.h"
#include "platform/desktop/shell.h"
#include "platform/ui/forms.h"
#include "platform/ui/msg_box.h"
#include "tests/app/forms/desktop_files.h"
#include "tests/app/scripted_main_window.h"
#include "tests/component/fake_pop3/fake_pop3_server.h"
#include "tests/support/time_zone.h"

using namespace frmMainElements;  // tbrClient(tbrClient::kAccount)

using namespace modAccounts;
using fakepop3::Close;
using fakepop3::Receive;
using fakepop3::Send;

namespace {

std::string Mail(const std::string& subject, const std::string& date = "Tue, 08 Dec 2026 21:05:00 +0000") {
    return "From: a@example.org\r\nTo: b@example.org\r\nSubject: " + subject +
           (date.empty() ? std::string() : "\r\nDate: " + date) + "\r\n\r\nHello.\r\n";
}

// The listing of messages, every one read, then QUIT; uidl replaces the
// server's UIDL answer when given.
fakepop3::Script Session(const std::vector<std::string>& messages, const std::string& uidl = {}) {
    fakepop3::Script script = fakepop3::LoginAndList(messages);
    if (!uidl.empty()) script.back() = Send(uidl);
    for (const std::string& message : messages) fakepop3::AppendRetr(script, message);
    return script;
}
fakepop3::Script CheckSession(const std::vector<std::string>& messages, const std::string& uidl = {}) {
    fakepop3::Script script = Session(messages, uidl);
    for (const fakepop3::Step& step : {Receive(), Send("+OK bye\r\n"), Close()}) script.push_back(step);
    return script;
}
// The headers of every message, one DELE accepted, QUIT.
fakepop3::Script DeletionSession(const std::vector<std::string>& messages) {
    fakepop3::Script script = Session(messages);
    for (const fakepop3::Step& step :
         {Receive(), Send("+OK deleted\r\n"), Receive(), Send("+OK bye\r\n"), Close()})
        script.push_back(step);
    return script;
}

void Click(vb::ToolBar& bar, const char* key) { bar.Buttons(QString::fromLatin1(key)).QtButton().click(); }

class EmailMessageCommands : public ::testing::Test {
protected:
    void TearDown() override {
        platform::desktop::SetOpener({});
        test_window::UnloadWindows();
    }
    static frmMain& form() { return vb::Forms::Get<frmMain>(); }

    // Every message downloaded at each check, deleted without a question.
    static frmMain& Open(std::uint16_t port, std::initializer_list<const char*> names) {
        frmMain& main = test_window::OpenOnServer(port, names);
        modOptions::gOpt.QuickCheck = 0;
        modOptions::gOpt.DeleteConfirmation = 0;
        return main;
    }
    static std::string Listed() {
        QStringList subjects;
        for (int row = 1; row <= form().controls().lvwEmail.ItemCount(); ++row)
            subjects << form().controls().lvwEmail.Item(row).SubItems(2);
        return subjects.join(' ').toStdString();
    }
    // The user clicks the row that shows subject.
    static void ChooseRow(const QString& subject) {
        vb::ListView& list = form().controls().lvwEmail;
        for (int row = 1; row <= list.ItemCount(); ++row) {
            if (list.Item(row).SubItems(2) != subject) continue;
            QTest::mouseClick(list.viewport(), Qt::LeftButton, {},
                              list.visualItemRect(list.topLevelItem(row - 1)).center());
            return;
        }
        ADD_FAILURE() << "no row shows " << subject.toStdString();
    }
};

TEST_F(EmailMessageCommands, AfterTheDeletionThePreviewAskedForEveryCommandActsOnTheRowsShown) {
    const std::vector<std::string> home = {Mail("home 1"), Mail("home 2")};
    const std::vector<std::string> work = {Mail("work 1"), Mail("work 2")};
    // Both accounts' servers name their messages uid-1 and uid-2.
    fakepop3::FakePop3Server server(
        {CheckSession(home), CheckSession(work), DeletionSession(home), DeletionSession(work)});
    frmMain& main = Open(server.port(), {"Home", "Work"});
    vb::ScriptedMsgBoxes boxes;
    Click(main.controls().tbrButtons(tbrButtons::kCheckAll), "CheckAll");
    ASSERT_EQ(Listed(), "home 1 home 2");

    // The preview of Home's first message, then Work's tab.
    ChooseRow(QStringLiteral("home 1"));
    Click(main.controls().tbrEmail, "EmailPreview");
    ASSERT_TRUE(vb::Forms::IsLoaded<frmPreview>());
    main.controls().TabStripEmail.Select(2);
    ASSERT_EQ(Listed(), "work 1 work 2");
    Click(vb::Forms::Get<frmPreview>().tbrButtons(tbrButtons::kEmailHelp), "Delete");
    const auto deleted = server.transcript(2);
    EXPECT_EQ(std::count(deleted.begin(), deleted.end(), "DELE 1"), 1);
    EXPECT_EQ(gAccounts[1].MsgCount, 1);
    EXPECT_EQ(main.controls().TabStripEmail.TabCaption(1), "Home  (1)");
    EXPECT_EQ(main.controls().TabStripEmail.SelectedItem(), 2);
    ASSERT_EQ(Listed(), "work 1 work 2") << "the list shows the account of the selected tab";

    // Each command takes the message of the row the user chose.
    QStringList opened;
    QByteArray written;
    platform::desktop::SetOpener([&](const QString& target) {
        opened << target;
        QFile file(target);
        if (file.open(QIODevice::ReadOnly)) written = file.readAll();
        return true;
    });
    testdesktop::InstallViewer("message/rfc822;x-scheme-handler/mailto");
    ChooseRow(QStringLiteral("work 2"));
    Click(main.controls().tbrEmail, "EmailPreview");
    EXPECT_EQ(vb::Forms::Get<frmPreview>().txtPrvSubject.Text(), "work 2");
    Click(main.controls().tbrEmail, "EmailOpen");
    EXPECT_TRUE(written.contains("Subject: work 2")) << written.toStdString();
    Click(main.controls().tbrEmail, "EmailReply");
    ASSERT_EQ(opened.size(), 2);
    EXPECT_TRUE(opened[1].contains(QStringLiteral("subject=Re%3A%20work%202"))) << opened[1].toStdString();
    Click(main.controls().tbrEmail, "EmailDelete");
    const auto second = server.transcript(3);
    EXPECT_EQ(std::count(second.begin(), second.end(), "DELE 2"), 1);
    EXPECT_EQ(Listed(), "work 1");
    EXPECT_EQ(gAccounts[1].MsgCount, 1) << "Home keeps its message";
    EXPECT_TRUE(boxes.Calls().empty()) << boxes.Calls().front().prompt.toStdString();
}

TEST_F(EmailMessageCommands, AMessageWithoutAUidIsNewOnceAndCannotBeDeleted) {
    // The server gives the first message a UID and the others none; the last
    // has no date.
    const std::vector<std::string> mail = {Mail("named"), Mail("dated"), Mail("undated", "")};
    const std::string uidl = "+OK\r\n1 uid-1\r\n.\r\n";
    fakepop3::FakePop3Server server({CheckSession(mail, uidl), CheckSession(mail, uidl)});
    frmMain& main = Open(server.port(), {"Home"});
    vb::ScriptedMsgBoxes boxes;
    std::optional<TimeZone> zone;
    zone.emplace("UTC");
    Click(main.controls().tbrButtons(tbrButtons::kCheckAll), "CheckAll");
    ASSERT_EQ(gAccounts[1].MsgCount, 3);
    EXPECT_EQ(gAccounts[1].NewCount, 3);

    // The next check comes in another second, with the clock five hours behind.
    const qint64 first = QDateTime::currentSecsSinceEpoch();
    QElapsedTimer waited;
    waited.start();
    while (QDateTime::currentSecsSinceEpoch() == first && waited.elapsed() < 30'000) QTest::qWait(10);
    zone.emplace("EST5EDT");
    Click(main.controls().tbrButtons(tbrButtons::kCheckAll), "CheckAll");
    ASSERT_EQ(gAccounts[1].MsgCount, 3);
    EXPECT_EQ(gAccounts[1].NewCount, 0) << "nothing is new the second time";
    for (int row = 1; row <= main.controls().lvwEmail.ItemCount(); ++row)
        EXPECT_FALSE(main.controls().lvwEmail.Item(row).Bold()) << row;
    ASSERT_TRUE(boxes.Calls().empty()) << boxes.Calls().front().prompt.toStdString();

    // Delete on it says why nothing happens, and connects to nothing.
    ChooseRow(QStringLiteral("undated"));
    Click(main.controls().tbrEmail, "EmailDelete");
    ASSERT_EQ(boxes.Calls().size(), 1u);
    EXPECT_EQ(boxes.Calls()[0].prompt,
              "The mail server gives this message no identifier, so it cannot be deleted.");
    EXPECT_EQ(server.accepted(), 2u);
    EXPECT_EQ(gAccounts[1].MsgCount, 3);
}

}  // namespace
