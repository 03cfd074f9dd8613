// The main window against a scripted POP3 server: while a check or a
// connection test waits for the server, nothing that changes accounts, rules
// or options can be used.
#include <gtest/gtest.h>

#include <QTimer>

#include "app/accounts/account_table.h"
#include "app/common/app_settings.h"
#include "app/forms/frm_main.h"
#include "app/general/check_status.h"
#include "app/options/option_values.h"
#include "platform/ui/forms.h"
#include "platform/ui/msg_box.h"
#include "tests/component/fake_pop3/fake_pop3_server.h"

using namespace modAccounts;
using fakepop3::Close;
using fakepop3::Pause;

namespace {

void Click(vb::ToolBar& bar, const char* key) { bar.Buttons(QString::fromLatin1(key)).QtButton().click(); }

std::string Names() {
    QStringList names;
    for (int i = 1; i <= gAccountCount; ++i) names << gAcntName[i];
    return names.join(QLatin1Char(' ')).toStdString();
}

class ServerOperations : public ::testing::Test {
protected:
    void TearDown() override {
        if (!vb::Forms::IsLoaded<frmMain>()) return;
        form().mQuitting = true;
        vb::Forms::Unload<frmMain>();
    }
    static frmMain& form() { return vb::Forms::Get<frmMain>(); }

    // Enabled accounts with the given names, all on the scripted server; the
    // window loaded afresh.
    static frmMain& Open(std::uint16_t port, std::initializer_list<const char*> names) {
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
            form().mQuitting = true;
            vb::Forms::Unload<frmMain>();
        }
        frmMain& main = form();
        main.Show();
        modOptions::gOptUseInterval = 0;
        modOptions::gOptConnectTimeOut = 10;
        modOptions::gOptSuppressConnectErrors = 0;
        modGeneral::gUserStop = false;
        return main;
    }
};

// What the user could change while the operation waits: none of it can be used.
void ExpectEditingLocked(frmMain& form) {
    struct Row {
        const char* what;
        QWidget& control;
    };
    const Row rows[] = {
        {"account name", form.txtAcntName.Widget()},
        {"account enabled", form.chkAcntEnabled.Widget()},
        {"move account", form.tbrMoveButtons(0).Buttons(QStringLiteral("Forward")).QtButton()},
        {"add account", form.tbrAcnts.Buttons(QStringLiteral("AcntAdd")).QtButton()},
        {"rule name", form.txtRuleName.Widget()},
        {"add rule", form.tbrRules.Buttons(QStringLiteral("RulesAdd")).QtButton()},
        {"auto check option", form.chkUseInterval.Widget()},
        {"options page button", form.tbrMainButtons.Buttons(QStringLiteral("Options")).QtButton()},
    };
    for (const Row& row : rows) EXPECT_FALSE(row.control.isEnabled()) << row.what;
    EXPECT_FALSE(form.mnuTrayOptions.Enabled());
    EXPECT_FALSE(form.mnuTrayAutoCheck.Enabled());
}

// The account procedures themselves refuse while an operation runs.
void TryAccountEdits(frmMain& form) {
    form.MoveAccount(1, 1);
    const QString name = gEditAcntName[1];
    gEditAcntName[1] = QStringLiteral("Renamed");
    EXPECT_FALSE(form.SaveAccount());
    gEditAcntName[1] = name;
    form.AddAccount();
    EXPECT_EQ(Names(), "Home Work") << "the accounts stood still";
}

TEST_F(ServerOperations, NothingThatChangesAccountsRulesOrOptionsCanBeUsedWhileOneRuns) {
    // Every session stalls before the greeting until the server hangs up.
    fakepop3::FakePop3Server server({{Pause(700), Close()}, {Pause(700), Close()}, {Pause(700), Close()}});
    frmMain& form = Open(server.port(), {"Home", "Work"});
    struct Row {
        const char* operation;
        const char* page;
        vb::ToolBar& bar;
        const char* key;
    };
    const Row rows[] = {
        {"connection test", "Accounts", form.tbrAcnts, "AcntTest"},
        {"check", "Email", form.tbrButtons(3), "CheckAll"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.operation);
        Click(form.tbrMainButtons, row.page);
        bool looked = false;
        QTimer::singleShot(200, [&] {
            looked = true;
            ExpectEditingLocked(form);
            TryAccountEdits(form);
        });
        vb::ScriptedMsgBoxes boxes;
        Click(row.bar, row.key);
        EXPECT_TRUE(looked) << "the window was looked at while the server stalled";
        EXPECT_FALSE(boxes.Calls().empty()) << "the hang-up is reported";
        for (int page = 1; page <= 3; ++page) EXPECT_TRUE(form.fraMain(page).Widget().isEnabled()) << "unlocked " << page;
    }
}

}  // namespace
