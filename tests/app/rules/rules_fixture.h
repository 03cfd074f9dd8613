#pragma once
// A live rule set and a message store of two accounts ("Home", "Work") with
// one message each, for tests of the rules.

#include <gtest/gtest.h>
#include <QString>
#include <QStringList>

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
    gRules.Count = static_cast<int16_t>(rules.size());
    ResizeRuleArrays(gRules.Count);
    for (int i = 1; i <= gRules.Count; ++i) {
        const TestRule& r = rules[static_cast<size_t>(i - 1)];
        gRules[i].Name = QString("Rule %1").arg(i);
        gRules[i].Account = r.account;
        gRules[i].Enabled = r.enabled;
        gRules[i].Action = r.action;
        gRules[i].DescCount = static_cast<int16_t>(r.lines.size());
        gRules[i].Desc[0] = r.lines.join(QString());
        for (int j = 1; j <= r.lines.size() && j <= kMaxDescLines; ++j) gRules[i].Desc[j] = r.lines[j - 1];
    }
}

struct TestMessage {
    QString from = "Alice Smith <alice@example.org>";
    QString to = "bob@example.com";
    QString subject = "Weekly News Digest";
    QString body = "Hello world\r\nunsubscribe here";
    int64_t size = 500;  // KB
    bool attach = true;
};

// Message message of account: the store grows to hold it.
inline void StoreMessage(int16_t account, int16_t message, const TestMessage& m) {
    std::vector<modGeneral::StoredMessage>& messages = modGeneral::AccountRow(account).Messages;
    if (messages.size() < static_cast<size_t>(message)) messages.resize(static_cast<size_t>(message));
    modGeneral::StoredMessage& stored = modGeneral::Msg(account, message);
    stored.From = m.from;
    stored.To = m.to;
    stored.Subject = m.subject;
    stored.PlainText = m.body.toUtf8();
    stored.Size = m.size;
    stored.Attach = m.attach;
}

class RulesTest : public testing::Test {
protected:
    void SetUp() override {
        using namespace modAccounts;
        gAccountCount = 2;
        ResizeAccountArrays(2);
        gAccounts[1].Name = "Home";
        gAccounts[2].Name = "Work";
        modGeneral::gMessageStore.clear();
        modGeneral::ResizeMessageStoreAccounts(2);
        for (const int16_t a : {1, 2}) modGeneral::AccountRow(a).Messages.resize(1);
        gAccounts[1].MsgCount = gAccounts[2].MsgCount = 1;
        SetLiveRules({});
        modRules::gEditRules.Count = 0;
    }
};
