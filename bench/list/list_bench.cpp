// Sorting one account of 10 000 messages in the store and refilling the
// message list from it, in the loaded main window.
#include <benchmark/benchmark.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <utility>
#include <vector>

#include "app/accounts/account_table.h"
#include "app/check/message_sort.h"
#include "app/common/app_settings.h"
#include "app/common/program_identity.h"
#include "app/forms/main_window/frm_main.h"
#include "app/general/message_store.h"
#include "app/options/option_values.h"
#include "bench/private_profile.h"
#include "platform/ui/forms.h"

namespace {

constexpr int16_t kMessages = 10000;

void Profile(const QString& home) {
    UsePrivateProfileFolders(home);
    SetProgramIdentity();
    SaveSettings(kAppKey, QStringLiteral("Settings"),
                 {{QStringLiteral("FirstUse"), QStringLiteral("1")},
                  {QStringLiteral("AcntNum"), QStringLiteral("1")},
                  {QStringLiteral("AcntName1"), QStringLiteral("Bench")},
                  {QStringLiteral("AcntServer1"), QStringLiteral("pop.example.org")}});
}

void Store() {
    using namespace modGeneral;
    std::vector<StoredMessage> messages(kMessages);
    for (int16_t i = 1; i <= kMessages; ++i) {
        const int k = (i * 7919) % kMessages;  // a shuffled order
        StoredMessage& m = messages[static_cast<size_t>(i - 1)];
        m.New = k % 10 == 0;
        m.Attach = k % 7 == 0;
        m.From = QStringLiteral("Sender %1 <s%1@example.org>").arg(k);
        m.To = QStringLiteral("me@example.org");
        m.Subject = QStringLiteral("Subject number %1").arg(k);
        m.Date = QDateTime(QDate(2000 + k % 30, k % 12 + 1, k % 28 + 1), QTime(k % 24, k % 60));
        m.Size = k % 500 + 1;
        m.PlainText = QByteArray(2000, 'x');
        m.Uid = QStringLiteral("uid%1").arg(k);
        m.Body = QByteArray(2000, 'y');
    }
    AccountRow(1).Messages = std::move(messages);
    modAccounts::gAccounts[1].MsgCount = kMessages;
}

void SortAndRefill10000(benchmark::State& state) {
    static QTemporaryDir home;
    Profile(home.path());
    frmMain& main = vb::Forms::Get<frmMain>();
    Store();
    const QString columns[] = {QStringLiteral("Date"), QStringLiteral("From"), QStringLiteral("Size")};
    int round = 0;
    for (auto _ : state) {
        modOptions::gOpt.SortOrder = static_cast<int16_t>(round % 2);
        main.email().SortMessageList(1, columns[round++ % 3]);
        main.email().FillMessageList(1);
    }
    main.mQuitting = true;
    vb::Forms::Unload<frmMain>();
}
BENCHMARK(SortAndRefill10000)->Unit(benchmark::kMillisecond)->Iterations(6);

// The store alone, after the refill above has left it filled.
void SortOnly10000(benchmark::State& state) {
    int round = 0;
    const QString columns[] = {QStringLiteral("Date"), QStringLiteral("From"), QStringLiteral("Size")};
    for (auto _ : state) {
        modCheck::SortMessages(1, columns[round % 3], round % 2 != 0);
        ++round;
    }
}
BENCHMARK(SortOnly10000)->Unit(benchmark::kMillisecond)->Iterations(6);

}  // namespace
