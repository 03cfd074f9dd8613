// Start to window shown, with 10 accounts and 50 rules on a private profile:
// the start procedure and the main window's whole load, then its shutdown.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <memory>

#include "app/common/app_settings.h"
#include "app/common/program_identity.h"
#include "app/forms/main_window/frm_main.h"
#include "app/main/start_procedure.h"
#include "bench/private_profile.h"
#include "platform/desktop/single_instance.h"
#include "platform/store/program_folder.h"
#include "platform/ui/forms.h"

namespace {

void Profile(const QString& home) {
    UsePrivateProfileFolders(home);
    SetProgramIdentity();
    const QString settings = QStringLiteral("Settings");
    SaveSetting(kAppKey, settings, QStringLiteral("FirstUse"), QStringLiteral("1"));
    SaveSetting(kAppKey, settings, QStringLiteral("AcntNum"), QStringLiteral("10"));
    for (int i = 1; i <= 10; ++i) {
        const QString n = QString::number(i);
        SaveSettings(kAppKey, settings,
                     {{QStringLiteral("AcntName") + n, QStringLiteral("Account %1").arg(i)},
                      {QStringLiteral("AcntServer") + n, QStringLiteral("pop.example.org")},
                      {QStringLiteral("AcntLoginID") + n, QStringLiteral("user%1").arg(i)}});
    }
    QByteArray rules = "[Rules]\r\nRuleCount=50\r\n";
    for (int r = 1; r <= 50; ++r)
        rules +=
            QStringLiteral(
                "RuleName%1=Rule %1\r\nRuleEnabled%1=1\r\nRuleAccount%1=All Accounts\r\nRuleAction%1=2\r\n"
                "RuleDescCount%1=1\r\nRuleDesc%1_1=From Contains \"spam%1\"\r\n")
                .arg(r)
                .toUtf8();
    QFile file(QDir(QFile::decodeName(platform::store::UserDataFolder().c_str()))
                   .filePath(QStringLiteral("Rules.ini")));
    if (file.open(QIODevice::WriteOnly)) file.write(rules);
}

void StartToWindowShown(benchmark::State& state) {
    static QTemporaryDir home;
    static const bool profiled = (Profile(home.path()), true);
    (void)profiled;
    for (auto _ : state) {
        platform::desktop::SingleInstance instance(QStringLiteral("VeltraneBench"));
        if (!start::Main(instance)) state.SkipWithError("the program did not start");
        QApplication::processEvents();
        state.PauseTiming();
        vb::Forms::Get<frmMain>().mQuitting = true;
        vb::Forms::Unload<frmMain>();
        state.ResumeTiming();
    }
}
BENCHMARK(StartToWindowShown)->Unit(benchmark::kMillisecond)->Iterations(20);

}  // namespace
