// Shows the main window's Accounts page on a real (virtual) X display with two
// accounts and saves pictures for a person to look at: OUT-1.png as loaded,
// OUT-2.png with an edit pending and the colour palette open.
#include "app/common/app_settings.h"
#include "app/forms/frm_main.h"
#include "tests/app/forms/screenshot_main.h"

namespace {

void StoreAccount(int i, const char* name, const char* server, const char* login) {
    const QString section = QStringLiteral("Settings");
    SaveSetting(kAppKey, section, QStringLiteral("AcntName%1").arg(i), QString::fromUtf8(name));
    SaveSetting(kAppKey, section, QStringLiteral("AcntServer%1").arg(i), QString::fromUtf8(server));
    SaveSetting(kAppKey, section, QStringLiteral("AcntLoginID%1").arg(i), QString::fromUtf8(login));
    SaveSetting(kAppKey, section, QStringLiteral("AcntPassword%1").arg(i), QStringLiteral("secret"));
}

}  // namespace

int main(int argc, char** argv) {
    return ScreenshotMain(argc, argv, [](const char* path) {
        modGeneral::gPaneName = {QStringLiteral("Email"), QStringLiteral("Accounts"), QStringLiteral("Rules"),
                                 QStringLiteral("Options")};
        StoreAccount(1, "Home", "pop.home.example", "me");
        StoreAccount(2, "Work", "mail.work.example", "me@work.example");
        SaveSetting(kAppKey, QStringLiteral("Settings"), QStringLiteral("AcntNum"), QStringLiteral("2"));
        frmMain& form = vb::Forms::Get<frmMain>();
        form.Show();
        form.SwitchPane(1);
        QString out = QString::fromLocal8Bit(path);
        out.chop(4);  // ".png"
        const auto save = [&](int n) {
            Settle(300);
            return SaveWindowPicture(form, QStringLiteral("%1-%2.png").arg(out).arg(n).toLocal8Bit().constData());
        };
        bool saved = save(1);
        form.txtAcntName.SetText(QStringLiteral("Home mail"));
        form.tbrColour.Buttons(1).QtButton().click();
        saved = save(2) && saved;
        form.mQuitting = true;
        return saved;
    });
}
