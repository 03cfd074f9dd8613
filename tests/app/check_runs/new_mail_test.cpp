// What a check announces as new mail, through the main window: an account's
// memory of its last check goes with it when accounts are added, deleted or
// moved (by the Accounts page or by dragging its tab), also after a check
// that failed; and a message without a UID is new once.
#include <gtest/gtest.h>

#include <functional>

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
#include "tests/support/pop3d_mailbox.h"

using namespace frmMainElements;  // tbrClient(tbrClient::kAccount)

using namespace modAccounts;
using namespace modGeneral;
using testsupport::Pop3dMailbox;

namespace {

std::string Mail(const std::string& subject) {
    return "From: a@example.org\r\nTo: b@example.org\r\nSubject: " + subject +
           "\r\nDate: Tue, 08 Dec 2026 21:05:00 +0000\r\n\r\nHello.\r\n";
}

struct Account {
    const char* name;
    std::uint16_t port;
    std::string user;
    std::string password;
};

class NewMail : public ::testing::Test {
protected:
    void TearDown() override {
        if (saved_) forms::gPlayWave = saved_;
        if (!vb::Forms::IsLoaded<frmMain>()) return;
        vb::Forms::Get<frmMain>().mQuitting = true;
        vb::Forms::Unload<frmMain>();
    }
    // The accounts in this order; the window loaded afresh.
    frmMain& Open(const std::vector<Account>& accounts) {
        const QString settings = QStringLiteral("Settings");
        SaveSetting(kAppKey, settings, QStringLiteral("AcntNum"), QString::number(accounts.size()));
        for (std::size_t i = 0; i < accounts.size(); ++i) {
            const QString n = QString::number(i + 1);
            const auto save = [&](const char* key, const QString& value) {
                SaveSetting(kAppKey, settings, QString::fromLatin1(key) + n, value);
            };
            save("AcntName", QString::fromLatin1(accounts[i].name));
            save("AcntEnabled", QStringLiteral("1"));
            save("AcntServer", QStringLiteral("127.0.0.1"));
            save("AcntPort", QString::number(accounts[i].port));
            save("AcntLoginID", QString::fromStdString(accounts[i].user));
            save("AcntPassword", QString::fromStdString(accounts[i].password));
        }
        gAppName = QStringLiteral("Veltrane");
        gMessageStore.clear();
        frmMain& form = LaidOutMainWindow();
        form.Show();
        modOptions::gOpt.QuickCheck = 0;
        modOptions::gOpt.ConnectTimeOut = 10;
        modOptions::gOpt.SuppressConnectErrors = 0;
        saved_ = forms::gPlayWave;
        forms::gPlayWave = [](const QString&) {};
        return form;
    }
    static int16_t Numbered(const char* name) {
        for (int16_t a = 1; a <= gAccountCount; ++a)
            if (gAccounts[a].Name == QLatin1String(name)) return a;
        return 0;
    }
    static void CheckAll(frmMain& form) {
        form.controls()
            .tbrButtons(tbrButtons::kCheckAll)
            .Buttons(QStringLiteral("CheckAll"))
            .QtButton()
            .click();
    }

    testsupport::Pop3dServer server_ = testsupport::Pop3dServer::fromEnvironment();
    std::function<void(const QString&)> saved_;
};

// After a check of Home failed, accounts are added, deleted or moved; the
// next good check of Home announces only what really arrived since its last
// good check, and never goes by another account's memory.
TEST_F(NewMail, AnAccountKeepsItsMemoryOfOldMailWhereverItMoves) {
    struct Row {
        const char* name;
        std::function<void(frmMain&, vb::ScriptedMsgBoxes&)> between;
        const char* arrives;  // a message Home's mailbox receives meanwhile, or none
        int announced;        // new messages of Home's next check
    };
    const auto drag = [](frmMain& form, int16_t from, int16_t to) {
        gCurrentAccount = from;
        form.controls().TabStripEmail.Select(from);
        const int x =
            form.controls().TabStripEmail.TabLeft(to) + form.controls().TabStripEmail.TabWidth(to) / 2;
        form.controls().TabStripEmail.DragDrop(&form.controls().TabStripEmail, x, 0);
    };
    const auto deleteFirst = [](frmMain& form, vb::ScriptedMsgBoxes& boxes) {
        gCurrentAccount = 1;
        boxes.Answer(vb::vbYes);
        form.accounts().DeleteAccount();
    };
    const std::vector<Row> rows = {
        {"nothing", [](frmMain&, vb::ScriptedMsgBoxes&) {}, "", 0},
        {"one arrived", [](frmMain&, vb::ScriptedMsgBoxes&) {}, "h4", 1},
        {"moved by the Accounts page",
         [](frmMain& form, vb::ScriptedMsgBoxes&) { form.accounts().MoveAccount(2, -1); }, "", 0},
        {"its tab dragged", [&](frmMain& form, vb::ScriptedMsgBoxes&) { drag(form, 2, 1); }, "", 0},
        {"an account added", [](frmMain& form, vb::ScriptedMsgBoxes&) { form.accounts().AddAccount(); }, "",
         0},
        {"the account before it deleted", deleteFirst, "", 0},
        // The deleted account had seen a message of this name: Home had not.
        {"the account before it deleted, its message name arriving", deleteFirst, "x1", 1},
    };
    int run = 0;
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        const std::string prefix = std::to_string(getpid()) + "-" + std::to_string(time(nullptr)) + "-" +
                                   std::to_string(++run) + "-";
        Pop3dMailbox other(server_);
        Pop3dMailbox home(server_);
        for (const char* n : {"x1", "x2"}) other.add(prefix + n, Mail(n));
        for (const char* n : {"h1", "h2", "h3"}) home.add(prefix + n, Mail(n));
        frmMain& form = Open({{"Other", server_.port, other.user(), other.password()},
                              {"Home", server_.port, home.user(), home.password()}});
        vb::ScriptedMsgBoxes boxes;
        CheckAll(form);
        ASSERT_EQ(gAccounts[2].NewCount, 3);

        // Home's password is refused once: its check fails and counts nothing.
        gAccounts[2].Password = QStringLiteral("wrong");
        CheckAll(form);
        ASSERT_EQ(boxes.Calls().size(), 1u) << "the refused login";
        ASSERT_EQ(gAccounts[2].MsgCount, 0);
        gAccounts[2].Password = QString::fromStdString(home.password());

        r.between(form, boxes);
        if (*r.arrives) home.add(prefix + r.arrives, Mail(r.arrives));
        const int16_t a = Numbered("Home");
        ASSERT_GE(a, 1);
        CheckAll(form);
        EXPECT_EQ(gAccounts[a].MsgCount, *r.arrives ? 4 : 3);
        EXPECT_EQ(gAccounts[a].NewCount, r.announced);
        TearDown();
    }
}

// A server that gives no UID for some messages (its UIDL listing stops
// short): such a message is new at the first check that finds it, and not
// again; one more alike is new once.
TEST_F(NewMail, AMessageWithoutAUidIsNewOnce) {
    using namespace fakepop3;
    // Every session: the listing with a UID for message 1 only, each message
    // downloaded, QUIT.
    const auto session = [](const std::vector<std::string>& messages) {
        std::string list;
        std::size_t total = 0;
        for (std::size_t i = 0; i < messages.size(); ++i) {
            list += std::to_string(i + 1) + " " + std::to_string(messages[i].size()) + "\r\n";
            total += messages[i].size();
        }
        Script script =
            LoginAndReplies(std::to_string(messages.size()) + " " + std::to_string(total), list, "1 u-1\r\n");
        for (const std::string& message : messages) AppendRetr(script, message);
        for (const Step& step : {Receive(), Send("+OK bye\r\n"), Close()}) script.push_back(step);
        return script;
    };
    const std::vector<std::vector<std::string>> checks = {
        {Mail("one"), Mail("two"), Mail("three")},
        {Mail("one"), Mail("two"), Mail("three")},
        {Mail("one"), Mail("two"), Mail("three"), Mail("three")},
    };
    std::vector<Script> sessions;
    for (const auto& messages : checks) sessions.push_back(session(messages));
    FakePop3Server server(sessions);
    frmMain& form = Open({{"Home", server.port(), "user", "secret"}});
    vb::ScriptedMsgBoxes boxes;
    for (const char* flags : {"NNN", "...", "...N"}) {
        SCOPED_TRACE(flags);
        form.controls().tbrEmail.Buttons(QStringLiteral("EmailCheck")).QtButton().click();
        ASSERT_TRUE(boxes.Calls().empty()) << boxes.Calls().front().prompt.toStdString();
        QString shown;
        for (int16_t m = 1; m <= gAccounts[1].MsgCount; ++m) shown += Msg(1, m).New ? 'N' : '.';
        EXPECT_EQ(shown, QString::fromLatin1(flags));
        EXPECT_EQ(gAccounts[1].NewCount, shown.count('N'));
    }
}

}  // namespace
