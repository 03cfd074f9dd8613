// Shows the main window on a virtual X display with a window manager and
// saves a picture of every page at its opening size and maximised, for a
// person to look at: OUT-no-accounts.png; OUT-email.png and OUT-email-max.png
// with two accounts and a checked list; the Accounts page, with an edit and
// the colour palette open; the Rules page with a rule being written; the six
// Options panels.
#include "app/common/app_settings.h"
#include "app/forms/main_window/frm_main.h"
#include "tests/app/forms/screenshot_main.h"
#include "tests/app/stored_messages.h"

using namespace frmMainElements;  // tbrClient(tbrClient::kAccount)

namespace {

void StoreAccount(int i, const char* name, const char* server, const char* login) {
    const QString section = QStringLiteral("Settings");
    SaveSetting(kAppKey, section, QStringLiteral("AcntName%1").arg(i), QString::fromUtf8(name));
    SaveSetting(kAppKey, section, QStringLiteral("AcntServer%1").arg(i), QString::fromUtf8(server));
    SaveSetting(kAppKey, section, QStringLiteral("AcntLoginID%1").arg(i), QString::fromUtf8(login));
    SaveSetting(kAppKey, section, QStringLiteral("AcntPassword%1").arg(i), QStringLiteral("secret"));
}

// A checked account: new mail in bold, a spam row, an attachment.
void FillList(frmMain& form) {
    using test_store::Message;
    test_store::Store(1, {Message{"u1",
                                  "Ann Smith <ann@example.org>",
                                  "Minutes of Tuesday's meeting",
                                  {},
                                  {},
                                  "me@example.org",
                                  QDateTime(QDate(2026, 12, 8), QTime(22, 58, 58))},
                          Message{"u2",
                                  "Bob Jones <bob@example.org>",
                                  "Lunch?",
                                  {},
                                  {},
                                  "me@example.org",
                                  QDateTime(QDate(2026, 12, 8), QTime(9, 15))},
                          Message{"u3",
                                  "Shop <offers@spam.example>",
                                  "Cheap pills today",
                                  {},
                                  {},
                                  "me@example.org",
                                  QDateTime(QDate(2026, 12, 7), QTime(23, 2, 40))},
                          Message{"u4",
                                  "Cara <cara@example.org>",
                                  "Party on Friday",
                                  {},
                                  {},
                                  "me@example.org",
                                  QDateTime(QDate(2026, 11, 30), QTime(12, 0))}});
    for (int16_t m : {1, 2}) modGeneral::Msg(1, m).New = true;
    modGeneral::Msg(1, 3).Spam = true;
    modGeneral::Msg(1, 1).Attach = true;
    modAccounts::gAccounts[1].MsgCount = 4;
    modAccounts::gAccounts[1].NewCount = 2;
    modAccounts::gAccounts[1].SpamCount = 1;
    modAccounts::gAccounts[1].Result = QStringLiteral("Home - 4 Messages");
    modAccounts::gAccounts[1].Status = QStringLiteral("Checked at: 10:58 PM");
    form.checks().Record().AutoCheckText = QStringLiteral("Auto Check at 11:28 PM");
    form.email().FillMessageList(1);
}

}  // namespace

int main(int argc, char** argv) {
    return ScreenshotMain(argc, argv, [](const char* out) {
        bool saved = true;
        {
            frmMain& empty = vb::Forms::Get<frmMain>();
            empty.Show();
            saved = SaveAtSize(empty, out, QStringLiteral("no-accounts"), false) && saved;
            empty.mQuitting = true;
            vb::Forms::Unload<frmMain>();
        }
        StoreAccount(1, "Home", "pop.home.example", "me");
        StoreAccount(2, "Work", "mail.work.example", "me@work.example");
        SaveSetting(kAppKey, QStringLiteral("Settings"), QStringLiteral("AcntNum"), QStringLiteral("2"));
        frmMain& form = vb::Forms::Get<frmMain>();
        form.Show();
        FillList(form);
        for (const bool max : {false, true})
            saved = SaveAtSize(form, out, max ? QStringLiteral("email-max") : QStringLiteral("email"), max) &&
                    saved;

        form.SwitchPane(1);
        for (const bool max : {false, true})
            saved = SaveAtSize(form, out, max ? QStringLiteral("accounts-max") : QStringLiteral("accounts"),
                               max) &&
                    saved;
        form.controls().txtAcntName.SetText(QStringLiteral("Home mail"));
        form.controls().tbrColour.Buttons(1).QtButton().click();
        saved = SaveAtSize(form, out, QStringLiteral("accounts-edit"), false) && saved;
        form.controls().tbrButtons(tbrButtons::kCancelAccount).Buttons(1).QtButton().click();  // Cancel

        form.SwitchPane(2);
        form.controls().tbrRules.Buttons(QStringLiteral("RulesAdd")).QtButton().click();
        form.controls().txtRuleName.SetText(QStringLiteral("Pills"));
        form.controls().cboWhere.SetText(QStringLiteral("Subject"));
        form.controls().txtCriteria.SetText(QStringLiteral("pills"));
        form.controls()
            .tbrRuleUpdate(tbrRuleUpdate::kDescription)
            .Buttons(QStringLiteral("Update"))
            .QtButton()
            .click();
        for (const bool max : {false, true})
            saved = SaveAtSize(form, out, max ? QStringLiteral("rules-max") : QStringLiteral("rules"), max) &&
                    saved;
        form.controls().tbrButtons(tbrButtons::kCancelRules).Buttons(1).QtButton().click();  // Cancel

        form.SwitchPane(3);
        for (int node = 1; node <= 6; ++node) {
            form.controls().TreeView.Select(node);
            form.options().TreeView_Click();
            for (const bool max : {false, true})
                saved = SaveAtSize(form, out, QStringLiteral("options-%1%2").arg(node).arg(max ? "-max" : ""),
                                   max) &&
                        saved;
        }
        form.mQuitting = true;
        return saved;
    });
}
