// The main window against a scripted POP3 server: while a check or a
// connection test waits for the server, nothing that changes accounts, rules
// or options can be used, and a deletion asked for meanwhile says why it does
// not start; the list holds still under a deletion; a deletion the server
// refuses stays listed; the rule report covers what the run checked; Stop
// ends a check at any stage; a dropped connection is reported with its own
// error.
#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QHeaderView>
#include <QTest>
#include <QTimer>

#include "app/accounts/account_table.h"
#include "app/common/app_settings.h"
#include "app/forms/checks/component_object.h"
#include "app/forms/main_window/frm_main.h"
#include "app/forms/preview/frm_preview.h"
#include "app/forms/rule_report/frm_rule_report.h"
#include "app/general/check_status.h"
#include "app/general/message_store.h"
#include "app/options/option_values.h"
#include "platform/ui/forms.h"
#include "platform/ui/msg_box.h"
#include "tests/app/rules/rules_fixture.h"
#include "tests/app/scripted_main_window.h"
#include "tests/component/fake_pop3/fake_pop3_server.h"

using namespace frmMainElements;  // tbrClient(tbrClient::kAccount)

using namespace modAccounts;
using fakepop3::Close;
using fakepop3::Drip;
using fakepop3::Pause;
using fakepop3::Receive;
using fakepop3::Send;

namespace {

void Click(vb::ToolBar& bar, const char* key) { bar.Buttons(QString::fromLatin1(key)).QtButton().click(); }

std::string Names() {
    QStringList names;
    for (int i = 1; i <= gAccountCount; ++i) names << gAccounts[i].Name;
    return names.join(QLatin1Char(' ')).toStdString();
}

std::string Mail(const std::string& subject) {
    return "From: a@example.org\r\nTo: b@example.org\r\nSubject: " + subject +
           "\r\nDate: Tue, 08 Dec 2026 21:05:00 +0000\r\n\r\nHello.\r\n";
}

// A whole check: the listing, every message downloaded, QUIT.
fakepop3::Script CheckSession(const std::vector<std::string>& messages) {
    fakepop3::Script script = fakepop3::LoginAndList(messages);
    for (const std::string& message : messages) fakepop3::AppendRetr(script, message);
    for (const fakepop3::Step& step : {Receive(), Send("+OK bye\r\n"), Close()}) script.push_back(step);
    return script;
}

class ServerOperations : public ::testing::Test {
protected:
    void TearDown() override { test_window::UnloadWindows(); }
    static frmMain& form() { return vb::Forms::Get<frmMain>(); }
    static frmMain& Open(std::uint16_t port, std::initializer_list<const char*> names) {
        return test_window::OpenOnServer(port, names);
    }
};

// What the user could change while the operation waits: none of it can be used.
void ExpectEditingLocked(frmMain& form) {
    struct Row {
        const char* what;
        QWidget& control;
    };
    const Row rows[] = {
        {"account name", form.controls().txtAcntName.Widget()},
        {"account enabled", form.controls().chkAcntEnabled.Widget()},
        {"move account", form.controls()
                             .tbrMoveButtons(tbrMoveButtons::kAccounts)
                             .Buttons(QStringLiteral("Forward"))
                             .QtButton()},
        {"add account", form.controls().tbrAcnts.Buttons(QStringLiteral("AcntAdd")).QtButton()},
        {"rule name", form.controls().txtRuleName.Widget()},
        {"add rule", form.controls().tbrRules.Buttons(QStringLiteral("RulesAdd")).QtButton()},
        {"auto check option", form.controls().chkUseInterval.Widget()},
        {"options page button", form.controls().tbrMainButtons.Buttons(QStringLiteral("Options")).QtButton()},
    };
    for (const Row& row : rows) EXPECT_FALSE(row.control.isEnabled()) << row.what;
    EXPECT_FALSE(form.controls().mnuTrayOptions.Enabled());
    EXPECT_FALSE(form.controls().mnuTrayAutoCheck.Enabled());
}

// The account procedures themselves refuse while an operation runs.
void TryAccountEdits(frmMain& form) {
    form.accounts().MoveAccount(1, 1);
    const QString name = gAccounts[1].Edit.Name;
    gAccounts[1].Edit.Name = QStringLiteral("Renamed");
    EXPECT_FALSE(form.accounts().SaveAccount());
    gAccounts[1].Edit.Name = name;
    form.accounts().AddAccount();
    EXPECT_EQ(Names(), "Home Work") << "the accounts stood still";
}

TEST_F(ServerOperations, NothingThatChangesAccountsRulesOrOptionsCanBeUsedWhileOneRuns) {
    // Every session stalls before the greeting until the server hangs up.
    fakepop3::FakePop3Server server({{Pause(700), Close()}, {Pause(700), Close()}});
    frmMain& form = Open(server.port(), {"Home", "Work"});
    struct Row {
        const char* operation;
        const char* page;
        vb::ToolBar& bar;
        const char* key;
    };
    const Row rows[] = {
        {"connection test", "Accounts", form.controls().tbrAcnts, "AcntTest"},
        {"check", "Email", form.controls().tbrButtons(tbrButtons::kCheckAll), "CheckAll"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.operation);
        Click(form.controls().tbrMainButtons, row.page);
        bool looked = false;
        QTimer::singleShot(200, [&] {
            looked = true;
            ExpectEditingLocked(form);
            TryAccountEdits(form);
        });
        vb::ScriptedMsgBoxes boxes;
        Click(row.bar, row.key);
        EXPECT_TRUE(looked) << "the window was looked at while the server stalled";
        EXPECT_FALSE(boxes.Calls().empty()) << "the hang-up is reported";
        for (int page = 1; page <= 3; ++page)
            EXPECT_TRUE(form.controls().fraMain(page).Widget().isEnabled()) << "unlocked " << page;
    }
}

TEST_F(ServerOperations, TheRuleReportCoversOnlyTheEnabledAccountsTheRunChecked) {
    fakepop3::FakePop3Server server(
        {CheckSession({Mail("hello")}), CheckSession({Mail("hello"), Mail("news")})});
    frmMain& form = Open(server.port(), {"Home", "Off"});
    SetLiveRules({{.action = 1, .lines = {"Subject Contains news "}}});
    modRules::gRules.Show = 1;
    modRules::gRules.ShowNew = 1;  // new messages only
    modRules::gRules.Time = 30;
    // Off's marks and new mail are from a check before it was switched off.
    gAccounts[2].Enabled = 0;
    gAccounts[2].DeleteCount = 1;
    gAccounts[2].HasNewMail = true;
    vb::ScriptedMsgBoxes boxes;

    Click(form.controls().tbrButtons(tbrButtons::kCheckAll), "CheckAll");
    EXPECT_FALSE(vb::Forms::IsLoaded<frmRuleReport>()) << "nothing the run checked was marked";
    Click(form.controls().tbrButtons(tbrButtons::kCheckAll), "CheckAll");
    ASSERT_TRUE(vb::Forms::IsLoaded<frmRuleReport>()) << "the new message was marked";
    frmRuleReport& report = vb::Forms::Get<frmRuleReport>();
    EXPECT_EQ(report.lblRuleDelete.Caption().toStdString(), "Home has 1 message\r\n");

    // Home is switched off while the report is open: Delete Now leaves it
    // alone and says so.
    Click(form.controls().tbrMainButtons, "Accounts");
    form.controls().chkAcntEnabled.SetValue(0);
    Click(form.controls().tbrButtons(tbrButtons::kSaveAccount), "SaveAccount");
    ASSERT_EQ(gAccounts[1].Enabled, 0);
    report.tbrRuleReport(frmRuleReportElements::tbrRuleReport::kDeleteNow).Buttons(1).QtButton().click();
    EXPECT_EQ(server.accepted(), 2u) << "no connection to a switched-off account";
    ASSERT_EQ(boxes.Calls().size(), 1u);
    EXPECT_TRUE(boxes.Calls()[0].prompt.endsWith(
        "'Home' is switched off: its 1 marked message stays on its server.\r\n"))
        << boxes.Calls()[0].prompt.toStdString();
}

TEST_F(ServerOperations, ADeletionAskedForDuringACheckSaysWhyItDoesNotStart) {
    // The second check stalls after the listing until the server hangs up.
    fakepop3::Script stalled = fakepop3::LoginAndList({Mail("news")});
    for (const fakepop3::Step& step : {Pause(700), Close()}) stalled.push_back(step);
    fakepop3::FakePop3Server server({CheckSession({Mail("news")}), stalled});
    frmMain& form = Open(server.port(), {"Home"});
    SetLiveRules({{.action = 1, .lines = {"Subject Contains news "}}});
    modRules::gRules.Show = 1;
    modRules::gRules.ShowNew = 0;
    modRules::gRules.Time = 30;
    Click(form.controls().tbrButtons(tbrButtons::kCheckAll), "CheckAll");
    ASSERT_TRUE(vb::Forms::IsLoaded<frmRuleReport>());
    modGeneral::gCurrentMsg = 1;
    form.email().mnuEmailPreview_Click();
    ASSERT_TRUE(vb::Forms::IsLoaded<frmPreview>());

    vb::ScriptedMsgBoxes boxes;
    QTimer::singleShot(200, [&] {
        vb::Forms::Get<frmPreview>()
            .tbrButtons(tbrButtons::kEmailHelp)
            .Buttons(QStringLiteral("Delete"))
            .QtButton()
            .click();
        vb::Forms::Get<frmRuleReport>()
            .tbrRuleReport(frmRuleReportElements::tbrRuleReport::kDeleteNow)
            .Buttons(1)
            .QtButton()
            .click();
        form.email().mnuEmailDelete_Click();
    });
    Click(form.controls().tbrButtons(tbrButtons::kCheckAll), "CheckAll");
    std::vector<std::string> busy;
    for (const vb::MsgBoxCall& call : boxes.Calls())
        if (call.title == QStringLiteral("Veltrane - Server Busy")) busy.push_back(call.prompt.toStdString());
    ASSERT_EQ(busy.size(), 3u) << "the preview, the report and the message menu each say so";
    EXPECT_EQ(
        busy[0],
        "Messages cannot be deleted while a check or another deletion is talking to a mail server.\r\n\r\n"
        "Please try again when it has finished.");
    EXPECT_TRUE(vb::Forms::IsLoaded<frmPreview>()) << "the preview stays with its message";
    EXPECT_EQ(server.accepted(), 2u) << "nothing connected for a deletion";
}

std::string ListedSubjects(frmMain& form) {
    QStringList subjects;
    for (int row = 1; row <= form.controls().lvwEmail.ItemCount(); ++row)
        subjects << form.controls().lvwEmail.Item(row).SubItems(2);
    return subjects.join(' ').toStdString();
}

// Rows 1 and 2 are deleted; the server keeps what it did not commit: it
// refuses the second DELE (QUIT commits the first), or it accepts both and
// then refuses QUIT or ends the connection before answering it. What stayed
// stays listed, the user is told once with what the server said, and the
// next check does not call it new.
TEST_F(ServerOperations, MessagesTheServerDoesNotDeleteStayListedAndAreNotNewAgain) {
    struct Row {
        const char* name;
        fakepop3::Script replies;  // to DELE 1, DELE 2 and QUIT
        const char* kept;          // the count in the box
        const char* error;
        const char* listed;
    };
    const Row rows[] = {
        {"DELE refused",
         {Send("+OK deleted\r\n"), Receive(), Send("-ERR message locked\r\n"), Receive(),
          Send("+OK bye\r\n")},
         "1",
         "30011 - Failed: message locked",
         "two three"},
        {"QUIT refused",
         {Send("+OK deleted\r\n"), Receive(), Send("+OK deleted\r\n"), Receive(),
          Send("-ERR mailbox locked\r\n")},
         "2",
         "30011 - Failed: mailbox locked",
         "one two three"},
        {"QUIT unanswered",
         {Send("+OK deleted\r\n"), Receive(), Send("+OK deleted\r\n"), Receive()},
         "2",
         "30011 - Failed: the connection closed before the server answered QUIT.",
         "one two three"},
    };
    const std::string kSubjects[] = {"one", "two", "three"};
    const std::vector<std::string> mail = {Mail(kSubjects[0]), Mail(kSubjects[1]), Mail(kSubjects[2])};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        // The deletion: headers, then the row's replies.
        fakepop3::Script deletion = fakepop3::LoginAndList(mail);
        for (const std::string& message : mail) {
            deletion.push_back(Receive());
            deletion.push_back(Send(fakepop3::RetrReply(message)));
        }
        deletion.push_back(Receive());
        deletion.insert(deletion.end(), row.replies.begin(), row.replies.end());
        deletion.push_back(Close());
        // Afterwards the server holds what the list shows, under the same UIDs.
        std::vector<std::string> left;
        std::string uidl = "+OK\r\n";
        for (std::size_t i = 0; i < mail.size(); ++i) {
            if (!QString::fromLatin1(row.listed).contains(QString::fromStdString(kSubjects[i]))) continue;
            left.push_back(mail[i]);
            uidl += std::to_string(left.size()) + " uid-" + std::to_string(i + 1) + "\r\n";
        }
        fakepop3::Script after = fakepop3::LoginAndList(left);
        after.back() = Send(uidl + ".\r\n");
        for (const std::string& message : left) fakepop3::AppendRetr(after, message);
        for (const fakepop3::Step& step : {Receive(), Send("+OK bye\r\n"), Close()}) after.push_back(step);
        fakepop3::FakePop3Server server({CheckSession(mail), deletion, after});
        frmMain& form = Open(server.port(), {"Home"});
        modOptions::gOpt.DeleteConfirmation = 0;
        vb::ScriptedMsgBoxes boxes;
        Click(form.controls().tbrButtons(tbrButtons::kCheckAll), "CheckAll");
        ASSERT_EQ(form.controls().lvwEmail.ItemCount(), 3);

        form.controls().lvwEmail.Item(1).SetSelected(true);
        form.controls().lvwEmail.Item(2).SetSelected(true);
        form.email().mnuEmailDelete_Click();
        EXPECT_EQ(server.transcript(1).back(), "QUIT");
        ASSERT_EQ(boxes.Calls().size(), 1u) << "the failure is told once";
        EXPECT_EQ(boxes.Calls()[0].title.toStdString(), "Veltrane - Messages Not Deleted");
        EXPECT_EQ(boxes.Calls()[0].prompt.toStdString(),
                  "The mail server of 'Home' did not delete " + std::string(row.kept) +
                      " of the Message(s); they are still listed.\r\n\r\nError Message:\r\n" + row.error +
                      "\r\n");
        EXPECT_EQ(ListedSubjects(form), row.listed);

        Click(form.controls().tbrButtons(tbrButtons::kCheckAll), "CheckAll");
        EXPECT_EQ(ListedSubjects(form), row.listed);
        EXPECT_EQ(gAccounts[1].NewCount, 0) << "messages that stayed are not new mail";
        EXPECT_EQ(boxes.Calls().size(), 1u);
        TearDown();
    }
}

// The UIDs of the account's stored messages, in their order.
std::string StoredUids(int16_t a) {
    QStringList uids;
    for (int16_t m = 1; m <= gAccounts[a].MsgCount; ++m) uids << modGeneral::Msg(a, m).Uid;
    return uids.join(' ').toStdString();
}

// While the server takes its time over DELE and QUIT the user clicks a column
// header, another row, a key and the preview's Next: the store keeps its
// order, the list its selection, and the message chosen before is the one
// that leaves.
TEST_F(ServerOperations, TheListHoldsStillWhileADeletionWaitsOnTheServer) {
    // Subjects out of the server's order, so that a sort would move rows.
    std::vector<std::string> mail;
    for (const char* subject : {"c", "e", "a", "d", "b"}) mail.push_back(Mail(subject));
    fakepop3::Script deletion = fakepop3::LoginAndList(mail);
    for (const std::string& message : mail) {
        deletion.push_back(Receive());
        deletion.push_back(Send(fakepop3::RetrReply(message)));
    }
    for (const fakepop3::Step& step : {Receive(), Pause(600), Send("+OK deleted\r\n"), Receive(), Pause(300),
                                       Send("+OK bye\r\n"), Close()})
        deletion.push_back(step);
    // The next check finds the four left.
    std::vector<std::string> left = {mail[0], mail[2], mail[3], mail[4]};
    fakepop3::Script after = CheckSession(left);
    for (fakepop3::Step& step : after)
        if (step.kind == fakepop3::Step::Kind::Send && step.text.starts_with("+OK unique-id"))
            step.text = "+OK\r\n1 uid-1\r\n2 uid-3\r\n3 uid-4\r\n4 uid-5\r\n.\r\n";
    fakepop3::FakePop3Server server({CheckSession(mail), deletion, after});
    frmMain& form = Open(server.port(), {"Home"});
    modOptions::gOpt.DeleteConfirmation = 0;
    vb::ScriptedMsgBoxes boxes;
    Click(form.controls().tbrButtons(tbrButtons::kCheckAll), "CheckAll");
    ASSERT_EQ(StoredUids(1), "uid-1 uid-2 uid-3 uid-4 uid-5");
    modOptions::gOpt.MessageSort = 1;
    QTest::mouseClick(
        form.controls().lvwEmail.viewport(), Qt::LeftButton, {},
        form.controls().lvwEmail.visualItemRect(form.controls().lvwEmail.topLevelItem(1)).center());
    ASSERT_EQ(form.controls().lvwEmail.SelectedItem(), 2);
    form.email().mnuEmailPreview_Click();
    ASSERT_TRUE(vb::Forms::IsLoaded<frmPreview>());

    bool acted = false;
    std::string order;
    std::vector<int> selected;
    QTimer user;
    user.setInterval(5);
    QObject::connect(&user, &QTimer::timeout, [&] {
        StatesEnum state = Disconnected;
        if (acted || !forms::gPop3 || com::FAILED(forms::gPop3->get_State(&state)) ||
            state != DeletingMessage)
            return;
        acted = true;
        QHeaderView& header = *form.controls().lvwEmail.header();
        for (int column : {2, 2}) {  // Subject, then Subject again the other way
            QTest::mouseClick(header.viewport(), Qt::LeftButton, {},
                              QPoint(header.sectionViewportPosition(column) + 5, header.height() / 2));
            order += StoredUids(1) + "|";
        }
        QTest::mouseClick(
            form.controls().lvwEmail.viewport(), Qt::LeftButton, {},
            form.controls().lvwEmail.visualItemRect(form.controls().lvwEmail.topLevelItem(3)).center());
        selected.push_back(form.controls().lvwEmail.SelectedItem());
        QTest::keyClick(form.controls().lvwEmail.viewport(), Qt::Key_Down);
        selected.push_back(form.controls().lvwEmail.SelectedItem());
        vb::Forms::Get<frmPreview>()
            .tbrButtons(tbrButtons::kEmailHelp)
            .Buttons(QStringLiteral("Next"))
            .QtButton()
            .click();
        selected.push_back(form.controls().lvwEmail.SelectedItem());
    });
    user.start();
    form.email().mnuEmailDelete_Click();
    user.stop();

    ASSERT_TRUE(acted) << "the user's clicks came while the server held DELE";
    EXPECT_EQ(order, "uid-1 uid-2 uid-3 uid-4 uid-5|uid-1 uid-2 uid-3 uid-4 uid-5|")
        << "no sort under the deletion";
    EXPECT_EQ(selected, (std::vector<int>{2, 2, 2})) << "no other row chosen under the deletion";
    const auto sent = server.transcript(1);
    EXPECT_EQ(std::count(sent.begin(), sent.end(), "DELE 2"), 1);
    EXPECT_EQ(
        std::count_if(sent.begin(), sent.end(), [](const std::string& l) { return l.starts_with("DELE"); }),
        1);
    EXPECT_EQ(StoredUids(1), "uid-1 uid-3 uid-4 uid-5");
    EXPECT_EQ(ListedSubjects(form), "c a d b");
    EXPECT_TRUE(boxes.Calls().empty()) << boxes.Calls().front().prompt.toStdString();

    // Nothing deleted comes back, nothing kept is announced again.
    Click(form.controls().tbrButtons(tbrButtons::kCheckAll), "CheckAll");
    EXPECT_EQ(StoredUids(1), "uid-1 uid-3 uid-4 uid-5");
    EXPECT_EQ(gAccounts[1].NewCount, 0);
}

// Where a session can wait for the server: each script ends in a stall, or in
// a trickle that keeps the time-out from firing.
struct StallRow {
    const char* stage;
    bool secure;
    fakepop3::Script script;
};

std::vector<StallRow> StallRows() {
    const std::string greeting = "+OK ready\r\n";
    fakepop3::Script listing = {Send(greeting),          Receive(),
                                Send("+OK\r\n"),         Receive(),
                                Send("+OK\r\n"),         Receive(),
                                Send("+OK 1 100\r\n"),   Receive(),
                                Send("+OK listing\r\n"), Drip("1 100\r\n", 100)};
    fakepop3::Script download = fakepop3::LoginAndList({Mail("one")});
    for (const fakepop3::Step& step :
         {Receive(), Send("+OK message follows\r\nFrom: a@example.org\r\n"), Drip("more text\r\n", 100)})
        download.push_back(step);
    return {
        {"connect", false, {}},
        {"TLS", true, {}},
        {"login", false, {Send(greeting), Receive()}},
        {"listing", false, listing},
        {"download", false, download},
    };
}

TEST_F(ServerOperations, StopEndsTheCheckAtEveryStageWithinTwoSeconds) {
    for (StallRow& row : StallRows()) {
        SCOPED_TRACE(row.stage);
        fakepop3::FakePop3Server server({row.script});
        frmMain& form = Open(server.port(), {"Home"});
        gAccounts[1].Secure = row.secure ? 1 : 0;
        modOptions::gOpt.ConnectTimeOut = 20;
        QElapsedTimer sinceStop;
        QTimer::singleShot(400, [&] {
            sinceStop.start();
            Click(form.controls().tbrButtons(tbrButtons::kStopRetrieval), "StopRetrieval");
        });
        vb::ScriptedMsgBoxes boxes;
        Click(form.controls().tbrButtons(tbrButtons::kCheckAll), "CheckAll");
        ASSERT_TRUE(sinceStop.isValid()) << "the check ended before the stop";
        EXPECT_LT(sinceStop.elapsed(), 2000);
        EXPECT_EQ(gAccounts[1].Result.toStdString(), "Home - User Stopped Retrieval");
        EXPECT_TRUE(boxes.Calls().empty()) << boxes.Calls().front().prompt.toStdString();
        EXPECT_TRUE(form.controls().tbrMainButtons.Buttons(QStringLiteral("Quit")).QtButton().isEnabled())
            << "Quit is usable";
        EXPECT_FALSE(form.controls().tbrButtons(tbrButtons::kStopRetrieval).Visible())
            << "the Stop button went";
    }
}

TEST_F(ServerOperations, ADroppedConnectionIsReportedWithItsOwnError) {
    struct Row {
        const char* stage;
        fakepop3::Script script;
        const char* title;
    };
    fakepop3::Script download = fakepop3::LoginAndList({Mail("one")});
    for (const fakepop3::Step& step :
         {Receive(), Send("+OK message follows\r\nFrom: a@example.org\r\n"), Close()})
        download.push_back(step);
    const Row rows[] = {
        {"login", {Send("+OK ready\r\n"), Receive(), Close()}, "Veltrane - Error Establishing Connection"},
        {"download", download, "Veltrane - Error Processing Messages"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.stage);
        fakepop3::FakePop3Server server({row.script});
        frmMain& form = Open(server.port(), {"Home"});
        vb::ScriptedMsgBoxes boxes;
        Click(form.controls().tbrButtons(tbrButtons::kCheckAll), "CheckAll");
        ASSERT_EQ(boxes.Calls().size(), 1u);
        EXPECT_EQ(boxes.Calls()[0].title.toStdString(), row.title);
        EXPECT_TRUE(boxes.Calls()[0].prompt.contains(
            "Error Message:\r\n10054 - Winsock Error - Connection Reset by Peer"))
            << boxes.Calls()[0].prompt.toStdString();
        EXPECT_EQ(gAccounts[1].Result.toStdString(), "Home - Error Accessing Account");
    }
}

}  // namespace
