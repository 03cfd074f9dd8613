#pragma once
// A live rule set and a message store of two accounts ("Home", "Work") with
// one message each, for tests of the rules.

#include <QString>
#include <QStringList>
#include <gtest/gtest.h>

#include "app/accounts/account_table.h"
#include "app/general/message_store.h"
#include "app/rules/rule_set.h"

struct TestRule {
    QString account = "All Accounts";
    int16_t enabled = 1;
    int16_t action = 1;
    QStringList lines;  // each as stored in memory, ending in one space
};

inline void SetLiveRules(const std::vector<TestRule>& rules) {
    using namespace modRules;
    gRuleCount = static_cast<int16_t>(rules.size());
    ResizeRuleArrays(gRuleCount);
    for (int i = 1; i <= gRuleCount; ++i) {
        const TestRule& r = rules[static_cast<size_t>(i - 1)];
        gRuleName[i] = QString("Rule %1").arg(i);
        gRuleAccount[i] = r.account;
        gRuleEnabled[i] = r.enabled;
        gRuleAction[i] = r.action;
        gRuleDescCount[i] = static_cast<int16_t>(r.lines.size());
        gRuleDesc(i, 0) = r.lines.join(QString());
        for (int j = 1; j <= r.lines.size() && j <= kMaxDescLines; ++j) gRuleDesc(i, j) = r.lines[j - 1];
    }
}

struct TestMessage {
    QString from = "Alice Smith <alice@example.org>";
    QString to = "bob@example.com";
    QString subject = "Weekly News Digest";
    QString body = "Hello world\r\nunsubscribe here";
    QString size = "500";
    bool attach = true;
};

inline void StoreMessage(int16_t account, int16_t message, const TestMessage& m) {
    using namespace modGeneral;
    gMsgFrom(account, message) = m.from;
    gMsgTo(account, message) = m.to;
    gMsgSubject(account, message) = m.subject;
    gMsgPlainText(account, message) = m.body;
    gMsgSize(account, message) = m.size;
    gMsgAttach(account, message) = m.attach;
}

class RulesTest : public testing::Test {
protected:
    void SetUp() override {
        using namespace modAccounts;
        gAccountCount = 2;
        ResizeAccountArrays(2);
        gAcntName[1] = "Home";
        gAcntName[2] = "Work";
        modGeneral::ResizeMessageStoreAccounts(2, 0);
        modGeneral::gMaxMsgCount = 2;
        modGeneral::ResizeMessageArrays(2);
        gAcntMsgCount[1] = gAcntMsgCount[2] = 1;
        SetLiveRules({});
        modRules::gEditRuleCount = 0;
    }
};
