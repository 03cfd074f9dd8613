// One account's 5 000 downloaded messages made into the store's records and
// told new or not, as every check of the account does.
#include <benchmark/benchmark.h>

#include <vector>

#include "app/accounts/account_table.h"
#include "app/check/stored_message.h"
#include "app/general/message_store.h"

namespace {

constexpr int16_t kMessages = 5000;

std::vector<modCheck::DownloadedMessage> Downloaded() {
    std::vector<modCheck::DownloadedMessage> messages(kMessages);
    for (int i = 0; i < kMessages; ++i) {
        modCheck::DownloadedMessage& m = messages[static_cast<size_t>(i)];
        m.size = 1000 + i * 37 % 20000;
        m.from = QStringLiteral("\"Sender & Co %1\" <s%1@example.org>").arg(i);
        m.to = i % 10 == 0 ? QString() : QStringLiteral("\"Me\" <me@example.org>");
        m.subject = QStringLiteral("Subject number %1").arg(i);
        m.date = QDateTime(QDate(2026, 1 + i % 12, 1 + i % 28), QTime(i % 24, i % 60, i % 60));
        m.body = QByteArray(10000, 'y');
        m.plainText = QByteArray(2000, 'x');
        m.uid = QStringLiteral("%1-uid").arg(i * 7919);
        m.attachments = i % 7 == 0;
    }
    return messages;
}

// first: the account's first check (nothing seen before); else a check that
// finds the same mailbox again.
void StoreAndMarkNew(benchmark::State& state, bool first) {
    modAccounts::gAccountCount = 1;
    modAccounts::ResizeAccountArrays(1);
    modAccounts::gAccounts[1].MsgCount = kMessages;
    const std::vector<modCheck::DownloadedMessage> downloaded = Downloaded();
    for (auto _ : state) {
        if (first) {
            state.PauseTiming();
            modGeneral::AccountRow(1).LastSeen.clear();
            state.ResumeTiming();
        }
        std::vector<modGeneral::StoredMessage> messages;
        messages.reserve(kMessages);
        for (const modCheck::DownloadedMessage& m : downloaded)
            messages.push_back(modCheck::ToStoredMessage(m));
        modGeneral::AccountRow(1).Messages = std::move(messages);
        benchmark::DoNotOptimize(modCheck::MarkNewMessages(1));
    }
}

void BM_FirstCheck(benchmark::State& state) { StoreAndMarkNew(state, true); }
void BM_RepeatCheck(benchmark::State& state) { StoreAndMarkNew(state, false); }

}  // namespace

BENCHMARK(BM_FirstCheck)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RepeatCheck)->Unit(benchmark::kMillisecond);
