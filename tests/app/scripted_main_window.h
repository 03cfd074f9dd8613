#pragma once
// The main window with accounts on a scripted POP3 server, for the tests that
// drive it through a server's conversation.
#include <QString>
#include <cstdint>
#include <initializer_list>

#include "app/common/app_settings.h"
#include "app/forms/main_window/frm_main.h"
#include "app/forms/preview/frm_preview.h"
#include "app/forms/rule_report/frm_rule_report.h"
#include "app/general/check_status.h"
#include "app/general/message_store.h"
#include "app/options/option_values.h"
#include "platform/ui/forms.h"

namespace test_window {

// Enabled accounts with the given names, all on the server at port (login
// "user", password "secret"); the window loaded afresh with an empty message
// store, no automatic check and every connection failure shown.
inline frmMain& OpenOnServer(std::uint16_t port, std::initializer_list<const char*> names) {
    modGeneral::gAppName = QStringLiteral("Veltrane");
    modGeneral::gPaneName = {QStringLiteral("Email"), QStringLiteral("Accounts"), QStringLiteral("Rules"),
                             QStringLiteral("Options")};
    const QString settings = QStringLiteral("Settings");
    int a = 0;
    for (const char* name : names) {
        const auto save = [&](const char* key, const QString& value) {
            SaveSetting(kAppKey, settings, QString::fromLatin1(key) + QString::number(a), value);
        };
        ++a;
        save("AcntName", QString::fromLatin1(name));
        save("AcntEnabled", QStringLiteral("1"));
        save("AcntServer", QStringLiteral("127.0.0.1"));
        save("AcntPort", QString::number(port));
        save("AcntLoginID", QStringLiteral("user"));
        save("AcntPassword", QStringLiteral("secret"));
    }
    SaveSetting(kAppKey, settings, QStringLiteral("AcntNum"), QString::number(a));
    if (vb::Forms::IsLoaded<frmMain>()) {
        vb::Forms::Get<frmMain>().mQuitting = true;
        vb::Forms::Unload<frmMain>();
    }
    modGeneral::gMessageStore.clear();
    frmMain& main = vb::Forms::Get<frmMain>();
    main.Show();
    modOptions::gOpt.UseInterval = 0;
    modOptions::gOpt.ConnectTimeOut = 10;
    modOptions::gOpt.SuppressConnectErrors = 0;
    main.checks().Record().UserStop = false;
    return main;
}

// The windows a test left open, the main window last.
inline void UnloadWindows() {
    vb::Forms::Unload<frmRuleReport>();
    vb::Forms::Unload<frmPreview>();
    if (!vb::Forms::IsLoaded<frmMain>()) return;
    vb::Forms::Get<frmMain>().mQuitting = true;
    vb::Forms::Unload<frmMain>();
}

}  // namespace test_window
