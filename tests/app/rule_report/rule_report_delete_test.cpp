// The rule report's Delete Now on the test POP3 server: exactly the messages
// the rules marked for the shown tab leave the servers, whatever the user
// selected in the list, and a deletion the server refuses stays listed.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <ctime>
#include <functional>
#include <vector>

#include "app/accounts/account_table.h"
#include "app/common/app_settings.h"
#include "app/forms/main_window/frm_main.h"
#include "app/forms/rule_report/frm_rule_report.h"
#include "app/general/check_status.h"
#include "app/general/message_store.h"
#include "app/general/server_operation.h"
#include "app/options/option_values.h"
#include "app/rules/rule_set.h"
#include "platform/ui/forms.h"
#include "platform/ui/msg_box.h"
#include "tests/support/pop3d_mailbox.h"

using namespace frmMainElements;  // tbrClient(tbrClient::kAccount)

using namespace modAccounts;
using namespace modGeneral;
using testsupport::Pop3dMailbox;
using testsupport::Pop3dServer;

namespace {

// The server keeps its index by file name across tests sharing a mailbox:
// every run names its messages afresh.
std::string Name(int message) {
    static const std::string prefix = std::to_string(getpid()) + "-" + std::to_string(time(nullptr)) + "-";
    return prefix + std::to_string(message);
}

std::string Plain(int message) {
    return "From: x@example.org\r\nTo: box@example.org\r\nSubject: " + std::to_string(message) +
           "\r\nDate: Tue, 08 Dec 2026 21:05:00 +0000\r\n\r\nHello.\r\n";
}

class RuleReportDelete : public ::testing::Test {
protected:
    void SetUp() override {
        gAppName = QStringLiteral("Veltrane");
        const QString settings = QStringLiteral("Settings");
        SaveSetting(kAppKey, settings, QStringLiteral("AcntNum"), QStringLiteral("2"));
        const Pop3dMailbox* boxes[] = {&home_, &work_};
        const char* names[] = {"Home", "Work"};
        for (int a = 1; a <= 2; ++a) {
            const auto save = [&](const char* key, const QString& value) {
                SaveSetting(kAppKey, settings, QString::fromLatin1(key) + QString::number(a), value);
            };
            save("AcntName", QString::fromLatin1(names[a - 1]));
            save("AcntEnabled", QStringLiteral("1"));
            save("AcntServer", QString::fromStdString(server_.host));
            save("AcntPort", QString::number(server_.port));
            save("AcntLoginID", QString::fromStdString(boxes[a - 1]->user()));
            save("AcntPassword", QString::fromStdString(boxes[a - 1]->password()));
            for (int m = 1; m <= 4; ++m) boxes[a - 1]->add(Name(10 * a + m), Plain(10 * a + m));
        }
        gMessageStore.clear();
        main().Show();
        modOptions::gOpt.UseInterval = 0;
        modOptions::gOpt.ConnectTimeOut = 10;
        modOptions::gOpt.DeleteConfirmation = 1;
        modOptions::gOpt.SuppressConnectErrors = 0;
        modRules::gRules.Show = 1;
        modRules::gRules.ShowNew = 0;
        modRules::gRules.Time = 30;
        for (int16_t a = 1; a <= 2; ++a) {
            main().checks().CheckAccount(a);
            ASSERT_EQ(gAccounts[a].MsgCount, 4);
        }
    }
    void TearDown() override {
        vb::Forms::Unload<frmRuleReport>();
        main().mQuitting = true;
        vb::Forms::Unload<frmMain>();
    }
    static frmMain& main() { return vb::Forms::Get<frmMain>(); }
    static frmRuleReport& report() { return vb::Forms::Get<frmRuleReport>(); }

    // The rules' marks: message m of account a for deletion ('D') or as spam ('S').
    static void Mark(int16_t a, const char* marks) {
        gAccounts[a].DeleteCount = gAccounts[a].SpamCount = 0;
        for (int16_t m = 1; m <= 4; ++m) {
            Msg(a, m).Delete = marks[m - 1] == 'D';
            Msg(a, m).Spam = marks[m - 1] == 'S';
            gAccounts[a].DeleteCount += Msg(a, m).Delete ? 1 : 0;
            gAccounts[a].SpamCount += Msg(a, m).Spam ? 1 : 0;
        }
    }
    // The subjects (message numbers) an account still stores.
    static QString Stored(int16_t a) {
        QStringList subjects;
        for (int16_t m = 1; m <= gAccounts[a].MsgCount; ++m) subjects << Msg(a, m).Subject;
        return subjects.join(' ');
    }
    static void DeleteNow(int tab) {
        report().TabStripRuleReport.Select(tab);
        report()
            .tbrRuleReport(frmRuleReportElements::tbrRuleReport::kDeleteNow)
            .Buttons(1)
            .QtButton()
            .click();
    }

    Pop3dServer server_ = Pop3dServer::fromEnvironment();
    Pop3dMailbox home_{server_};
    Pop3dMailbox work_{server_};
};

TEST_F(RuleReportDelete, DeletesOnlyTheMarkedMessagesOfTheShownTab) {
    Mark(1, "DS.D");
    Mark(2, ".D.S");
    // The user looks at Home with its unmarked third message selected.
    main().controls().TabStripEmail.Select(1);
    main().controls().lvwEmail.Item(3).SetSelected(true);
    main().rules().CheckRuleReport({1, 2});
    ASSERT_TRUE(vb::Forms::IsLoaded<frmRuleReport>());
    // Each account the deletion shows finds the server operation held: no
    // check starts between two accounts.
    std::vector<bool> held;
    const std::function<void()> shown = main().controls().TabStripEmail.Click;
    main().controls().TabStripEmail.Click = [&] {
        held.push_back(ServerOperation::Running());
        shown();
    };

    struct Step {
        int tab;
        const char* home;  // stored afterwards
        const char* work;
        int homeOnServer, workOnServer;
    };
    for (const Step& step : {Step{1, "12 13", "21 23 24", 2, 3}, Step{2, "13", "21 23", 1, 2}}) {
        SCOPED_TRACE(step.tab);
        vb::ScriptedMsgBoxes boxes;
        DeleteNow(step.tab);
        EXPECT_TRUE(boxes.Calls().empty())
            << "Delete Now asks nothing: " << boxes.Calls().front().prompt.toStdString();
        EXPECT_EQ(Stored(1), step.home);
        EXPECT_EQ(Stored(2), step.work);
        EXPECT_EQ(home_.messageCount(), step.homeOnServer);
        EXPECT_EQ(work_.messageCount(), step.workOnServer);
        EXPECT_EQ(step.tab == 1 ? report().lblRuleDelete.Caption() : report().lblRuleSpam.Caption(),
                  step.tab == 1 ? "No Messages to Delete" : "No Spam Messages to Delete");
        EXPECT_FALSE(
            report().tbrRuleReport(frmRuleReportElements::tbrRuleReport::kDeleteNow).Buttons(1).Enabled());
        EXPECT_EQ(step.tab == 1 ? gAccounts[1].DeleteCount + gAccounts[2].DeleteCount
                                : gAccounts[1].SpamCount + gAccounts[2].SpamCount,
                  0);
        EXPECT_EQ(modOptions::gOpt.DeleteConfirmation, 1) << "the option is back";
        EXPECT_EQ(gCurrentAccount, 1);
        EXPECT_EQ(main().controls().TabStripEmail.SelectedItem(), 1)
            << "the account shown before is shown again";
        EXPECT_TRUE(main().controls().TabStripEmail.Enabled()) << "retrieval mode left";
        EXPECT_FALSE(ServerOperation::Running());
        EXPECT_TRUE(vb::Forms::IsLoaded<frmRuleReport>());
    }
    EXPECT_GE(held.size(), 4u) << "both accounts shown in each step";
    EXPECT_EQ(std::count(held.begin(), held.end(), false), 0);
}

TEST_F(RuleReportDelete, ADeletionTheServerRefusesStaysListed) {
    Mark(1, "D...");
    Mark(2, "..D.");
    gAccounts[2].Password = QStringLiteral("wrong");
    main().rules().CheckRuleReport({1, 2});
    vb::ScriptedMsgBoxes boxes;
    DeleteNow(1);
    ASSERT_EQ(boxes.Calls().size(), 1u) << "the failed login is reported";
    EXPECT_EQ(Stored(1), "12 13 14");
    EXPECT_EQ(Stored(2), "21 22 23 24");
    EXPECT_EQ(work_.messageCount(), 4);
    EXPECT_EQ(report().lblRuleDelete.Caption(), "Work has 1 message\r\n");
    EXPECT_TRUE(report().tbrRuleReport(frmRuleReportElements::tbrRuleReport::kDeleteNow).Buttons(1).Enabled())
        << "the user may try again";

    // While another server operation runs a click only says why nothing happens.
    gAccounts[2].Password = QString::fromStdString(work_.password());
    {
        const ServerOperation busy;
        DeleteNow(1);
    }
    EXPECT_EQ(boxes.Calls().back().title, "Veltrane - Server Busy");
    EXPECT_EQ(work_.messageCount(), 4);
    DeleteNow(1);
    EXPECT_EQ(work_.messageCount(), 3);
    EXPECT_EQ(report().lblRuleDelete.Caption(), "No Messages to Delete");
}

// While the report is open Work is renamed and Home switched off, then Home
// deleted so that Work moves to its place: Delete Now follows the accounts
// themselves and says what it left on a server.
TEST_F(RuleReportDelete, FollowsTheAccountsThroughARenameASwitchOffAndADeletion) {
    Mark(1, "DS..");
    Mark(2, ".DS.");
    main().rules().CheckRuleReport({1, 2});
    ASSERT_TRUE(vb::Forms::IsLoaded<frmRuleReport>());
    frmMainDesign& c = main().controls();
    const auto click = [](vb::ToolBar& bar, const char* key) {
        bar.Buttons(QString::fromLatin1(key)).QtButton().click();
    };
    click(c.tbrMainButtons, "Accounts");
    c.TabStripAcnts.Select(2);
    c.txtAcntName.SetText(QStringLiteral("Office"));
    click(c.tbrButtons(tbrButtons::kSaveAccount), "SaveAccount");
    c.TabStripAcnts.Select(1);
    c.chkAcntEnabled.SetValue(0);
    click(c.tbrButtons(tbrButtons::kSaveAccount), "SaveAccount");
    ASSERT_EQ(gAccounts[2].Name, "Office");
    ASSERT_EQ(gAccounts[1].Enabled, 0);

    vb::ScriptedMsgBoxes boxes;
    DeleteNow(1);
    EXPECT_EQ(work_.messageCount(), 3) << "the renamed account's marked message is deleted";
    EXPECT_EQ(home_.messageCount(), 4) << "nothing of the account switched off";
    EXPECT_EQ(Stored(2), "21 23 24");
    ASSERT_EQ(boxes.Calls().size(), 1u);
    EXPECT_EQ(boxes.Calls()[0].title, "Veltrane - Messages Not Deleted");
    EXPECT_EQ(boxes.Calls()[0].prompt,
              "Delete Now left these messages on the server:\r\n\r\n"
              "'Home' is switched off: its 1 marked message stays on its server.\r\n");
    EXPECT_EQ(report().lblRuleDelete.Caption(), "Home has 1 message\r\n");
    EXPECT_TRUE(report().tbrRuleReport(frmRuleReportElements::tbrRuleReport::kDeleteNow).Buttons(1).Enabled())
        << "its marks are still listed";

    // Home goes; Office is account 1 now.
    click(c.tbrMainButtons, "Accounts");
    c.TabStripAcnts.Select(1);
    boxes.Answer(vb::vbYes);
    click(c.tbrAcnts, "AcntDelete");
    ASSERT_EQ(gAccountCount, 1);
    ASSERT_EQ(gAccounts[1].Name, "Office");
    DeleteNow(2);
    EXPECT_EQ(work_.messageCount(), 2) << "its spam is deleted where it stands now";
    EXPECT_EQ(Stored(1), "21 24");
    ASSERT_EQ(boxes.Calls().size(), 3u);
    EXPECT_EQ(boxes.Calls()[2].prompt,
              "Delete Now left these messages on the server:\r\n\r\n"
              "'Home' is no longer one of your accounts: its marked messages stay on its server.\r\n");
    EXPECT_EQ(report().lblRuleSpam.Caption(), "No Spam Messages to Delete");
}

}  // namespace
