// The rule report's decisions: when it opens, how a long list ends, and
// which messages its deletion chooses.
#include "app/rules/rule_report.h"

#include "tests/app/rules/rules_fixture.h"

using namespace modRules;

namespace {

class RuleReportTest : public RulesTest {
protected:
    void SetUp() override {
        RulesTest::SetUp();
        gRules.Show = 1;
        gRules.ShowNew = 0;
    }
    // Accounts 1 to n named "Acnt<i>", with (delete, spam) counts and new mail.
    static void SetAccounts(const std::vector<std::tuple<int16_t, int16_t, bool>>& accounts) {
        using namespace modAccounts;
        gAccountCount = static_cast<int16_t>(accounts.size());
        ResizeAccountArrays(gAccountCount);
        for (int16_t i = 1; i <= gAccountCount; ++i) {
            const auto& [deletions, spam, newMail] = accounts[static_cast<size_t>(i - 1)];
            gAccounts[i].Name = QStringLiteral("Acnt%1").arg(i);
            gAccounts[i].DeleteCount = deletions;
            gAccounts[i].SpamCount = spam;
            gAccounts[i].HasNewMail = newMail;
            gAccounts[i].Enabled = 1;
        }
    }
    // Every account, as a run that checked them all reports them.
    static ReportedAccounts All() {
        std::vector<int16_t> all;
        for (int16_t i = 1; i <= modAccounts::gAccountCount; ++i) all.push_back(i);
        return RuleReportAccounts(all);
    }
};

TEST_F(RuleReportTest, OpensWhenTheRulesMarkedMessagesAndTheSettingsAskForIt) {
    struct Case {
        const char* what;
        int16_t show;
        int16_t showNew;
        std::vector<std::tuple<int16_t, int16_t, bool>> accounts;
        bool opens;
        std::vector<int16_t> checked = {};  // none listed: the run checked every account
        int16_t disabled = 0;               // an account switched off
    };
    const Case cases[] = {
        {"Show 0 never opens", 0, 0, {{2, 1, true}}, false},
        {"Show 2 is not Show 1", 2, 0, {{2, 1, true}}, false},
        {"deletions open it", 1, 0, {{2, 0, false}}, true},
        {"spam alone opens it", 1, 0, {{0, 0, true}, {0, 3, false}}, true},
        {"no marks, no report", 1, 0, {{0, 0, true}, {0, 0, true}}, false},
        {"negative counts are no marks", 1, 0, {{-1, -2, true}}, false},
        {"new only: marks without new mail", 1, 1, {{2, 0, false}}, false},
        {"new only: a later marked account got new mail", 1, 1, {{2, 0, false}, {0, 1, true}}, true},
        {"new only: new mail without marks does not count", 1, 1, {{0, 0, true}, {1, 0, false}}, false},
        {"an unknown ShowNew never opens", 1, 2, {{2, 0, true}}, false},
        {"marks of an account the run did not check", 1, 1, {{0, 0, true}, {2, 0, true}}, false, {1}},
        {"the checked account's marks", 1, 1, {{0, 0, true}, {2, 0, true}}, true, {2}},
        {"marks of a disabled account", 1, 0, {{0, 0, false}, {2, 1, true}}, false, {}, 2},
    };
    for (const Case& c : cases) {
        gRules.Show = c.show;
        gRules.ShowNew = c.showNew;
        SetAccounts(c.accounts);
        if (c.disabled > 0) modAccounts::gAccounts[c.disabled].Enabled = 0;
        const ReportedAccounts accounts = c.checked.empty() ? All() : RuleReportAccounts(c.checked);
        EXPECT_EQ(RuleReportWanted(accounts), c.opens) << c.what;
    }
}

TEST_F(RuleReportTest, ALongListShowsSixteenAccountsAndThenSaysMoreFollow) {
    for (const int accounts : {15, 16, 17, 30}) {
        SetAccounts(
            std::vector<std::tuple<int16_t, int16_t, bool>>(static_cast<size_t>(accounts), {1, 0, false}));
        const RuleReportList list = BuildRuleReportList(RuleMark::Delete, All());
        const QStringList lines = list.text.split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
        EXPECT_EQ(list.accounts, accounts);
        if (accounts <= kRuleReportMaxLines) {
            EXPECT_EQ(lines.size(), accounts);
            EXPECT_EQ(list.lines, accounts);
            EXPECT_FALSE(list.text.contains("more Accounts")) << accounts << ": every account is shown";
        } else {
            ASSERT_EQ(lines.size(), 17) << accounts;
            EXPECT_EQ(lines[15], "Acnt16 has 1 message");
            EXPECT_EQ(lines[16], "more Accounts...") << "on the last line the label shows";
            EXPECT_EQ(list.lines, 17);
        }
    }
}

TEST_F(RuleReportTest, DeletionChoosesExactlyTheMarkedMessagesByUid) {
    using namespace modGeneral;
    modAccounts::gAccounts[1].MsgCount = 4;
    AccountRow(1).Messages.resize(4);
    struct Row {
        const char* uid;
        bool deleteMark;
        bool spamMark;
    };
    const Row rows[] = {{"u1", true, false}, {"u2", false, true}, {"", true, false}, {"u4", true, false}};
    for (int16_t j = 1; j <= 4; ++j) {
        Msg(1, j).Uid = QString::fromLatin1(rows[j - 1].uid);
        Msg(1, j).Delete = rows[j - 1].deleteMark;
        Msg(1, j).Spam = rows[j - 1].spamMark;
    }
    Msg(2, 1).Delete = true;  // another account's mark
    Msg(2, 1).Uid = "other";
    int withoutUid = -1;
    EXPECT_EQ(MarkedMessageUids(1, RuleMark::Delete, &withoutUid), (QStringList{"u1", "u4"}))
        << "a message without UID is kept";
    EXPECT_EQ(withoutUid, 1) << "and counted, to be named to the user";
    EXPECT_EQ(MarkedMessageUids(1, RuleMark::Spam, &withoutUid), QStringList{"u2"});
    EXPECT_EQ(withoutUid, 0);
    modAccounts::gAccounts[2].MsgCount = 0;
    EXPECT_TRUE(MarkedMessageUids(2, RuleMark::Delete).isEmpty()) << "only the account's listed messages";
}

}  // namespace
