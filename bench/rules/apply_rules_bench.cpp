// The rule engine runs for every message of every check: 50 rules over an
// account of 10 000 stored messages.

#include <benchmark/benchmark.h>

#include <QStringList>

#include "app/accounts/account_table.h"
#include "app/general/message_store.h"
#include "app/rules/rule_engine.h"
#include "app/rules/rule_set.h"

namespace {

constexpr int kMessages = 10000;
constexpr int kRules = 50;

// Rule descriptions of the kinds users write, each made distinct by the
// rule's number (%1); few of them match, so most messages meet all fifty rules.
const QStringList kDescriptions[] = {
    {"From Contains newsletter%1 "},
    {"Subject Contains viagra%1 ", "OR Subject Contains casino%1 "},
    {"From Equals promo%1@shop.example "},
    {"Body Contains unsubscribe%1 ", "AND Size GreaterThan 400 "},
    {"To Contains undisclosed%1 "},
    {"Subject Equals ab*yz%1 "},
    {"From Contains win?er%1 ", "OR Body Contains lottery%1 "},
    {"Attachment IsPresent ", "AND Size GreaterThan 4990 "},
    {"Subject Contains NOT hello ", "AND From Contains spam*bot%1 ", "AND Body Contains free money%1 "},
    {"Subject Contains number 1%1 "},
};

void Setup() {
    using namespace modAccounts;
    gAccountCount = 1;
    ResizeAccountArrays(1);
    gAccounts[1].Name = "Home";
    modGeneral::ResizeMessageStoreAccounts(1);
    modGeneral::AccountRow(1).Messages.resize(kMessages);
    gAccounts[1].MsgCount = kMessages;
    QString body;
    for (int i = 0; i < 25; ++i)
        body += "Dear customer, this is line " + QString::number(i) + " of a plain text body.\r\n";
    for (int m = 1; m <= kMessages; ++m) {
        modGeneral::StoredMessage& msg = modGeneral::Msg(1, static_cast<int16_t>(m));
        msg.From = QString("Sender %1 <sender%1@mail%2.example.org>").arg(m).arg(m % 97);
        msg.To = "me@example.net, other@example.net";
        msg.Subject = QString("Re: quarterly report number %1 for the team").arg(m);
        msg.PlainText = (body + QString::number(m)).toUtf8();
        msg.Size = m % 5000;
        msg.Attach = m % 3 == 0;
    }
    using namespace modRules;
    gRules.Count = kRules;
    ResizeRuleArrays(kRules);
    for (int i = 1; i <= kRules; ++i) {
        const QStringList& lines = kDescriptions[(i - 1) % std::size(kDescriptions)];
        gRules[i].Name = QString("Rule %1").arg(i);
        gRules[i].Enabled = 1;
        gRules[i].Account = i % 2 ? "All Accounts" : "Home";
        gRules[i].Action = static_cast<int16_t>(1 + i % 3);
        gRules[i].DescCount = static_cast<int16_t>(lines.size());
        gRules[i].Desc[0].clear();
        for (int j = 1; j <= lines.size(); ++j)
            gRules[i].Desc[j] = lines[j - 1].contains("%1") ? lines[j - 1].arg(i) : lines[j - 1];
        for (int j = 1; j <= lines.size(); ++j) gRules[i].Desc[0] += gRules[i].Desc[j];
    }
}

void BM_ApplyRulesToAllMessages(benchmark::State& state) {
    Setup();
    for (auto _ : state) {
        modAccounts::gAccounts[1].DeleteCount = 0;
        modAccounts::gAccounts[1].SpamCount = 0;
        for (int16_t m = 1; m <= kMessages; ++m) modRules::ApplyRulesToMessage(1, m);
        benchmark::DoNotOptimize(modAccounts::gAccounts[1].SpamCount);
    }
    state.counters["marked"] = modAccounts::gAccounts[1].DeleteCount + modAccounts::gAccounts[1].SpamCount;
}
BENCHMARK(BM_ApplyRulesToAllMessages)->Unit(benchmark::kMillisecond);

}  // namespace
