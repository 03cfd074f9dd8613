// One account's 5 000 downloaded messages written into the message store and
// told new or not by their UIDs, as every check of the account does.
#include <benchmark/benchmark.h>

#include <vector>

#include "app/accounts/account_table.h"
#include "app/check/stored_message.h"
#include "app/general/message_store.h"

namespace {

constexpr int16_t kMessages = 5000;

std::vector<modCheck::DownloadedMessage> Downloaded() {
    std::vector<modCheck::DownloadedMessage> messages(kMessages + 1);
    for (int i = 1; i <= kMessages; ++i) {
        modCheck::DownloadedMessage& m = messages[i];
        m.size = 1000 + i * 37 % 20000;
        m.from = QStringLiteral("\"Sender & Co %1\" <s%1@example.org>").arg(i);
        m.to = i % 10 == 0 ? QString() : QStringLiteral("\"Me\" <me@example.org>");
        m.subject = QStringLiteral("Subject number %1").arg(i);
        m.date = QDateTime(QDate(2026, 1 + i % 12, 1 + i % 28), QTime(i % 24, i % 60, i % 60));
        m.body = QString(10000, QChar('y'));
        m.plainText = QString(2000, QChar('x'));
        m.uid = QStringLiteral("%1-uid").arg(i * 7919);
        m.attachments = i % 7 == 0;
    }
    return messages;
}

void Prepare() {
    modAccounts::gAccountCount = 1;
    modAccounts::ResizeAccountArrays(1);
    modGeneral::gMaxMsgCount = kMessages;
    modGeneral::ResizeMessageArrays(kMessages);
    modAccounts::gAcntMsgCount[1] = kMessages;
}

// first: the account's first check (no UID seen before); else a check that
// finds the same mailbox again.
void StoreAndMarkNew(benchmark::State& state, bool first) {
    Prepare();
    const std::vector<modCheck::DownloadedMessage> messages = Downloaded();
    for (auto _ : state) {
        if (first) {
            state.PauseTiming();
            for (int m = 1; m <= kMessages; ++m) modGeneral::gMsgLastUid(1, m).clear();
            state.ResumeTiming();
        }
        for (int16_t m = 1; m <= kMessages; ++m) modCheck::StoreMessage(1, m, messages[m]);
        benchmark::DoNotOptimize(modCheck::MarkNewMessages(1));
    }
}

void BM_FirstCheck(benchmark::State& state) { StoreAndMarkNew(state, true); }
void BM_RepeatCheck(benchmark::State& state) { StoreAndMarkNew(state, false); }

}  // namespace

BENCHMARK(BM_FirstCheck)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RepeatCheck)->Unit(benchmark::kMillisecond);
