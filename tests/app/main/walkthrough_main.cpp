// A new user's first session on a desktop with a tray, against the test POP3
// server: the first-use window, an account added on the Accounts page, a rule
// that marks spam, a check with its pop-up and the count in the tray, the
// preview, a deletion from the preview and of the spam on the server, quit.
// Pictures of each step go to the output folder for a person to look at.
// Afterwards the settings, the rules file and the mailbox must say what the
// user did. Message boxes are answered "Yes" by script.
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QScreen>
#include <QTest>
#include <cstdio>
#include <functional>

#include "app/common/app_settings.h"
#include "app/common/program_identity.h"
#include "app/forms/first_use/frm_first_use.h"
#include "app/forms/main_window/frm_main.h"
#include "app/forms/new_mail/frm_message.h"
#include "app/forms/preview/frm_preview.h"
#include "app/forms/tray/tray_icon_record.h"
#include "app/general/check_status.h"
#include "app/general/message_store.h"
#include "app/main/start_procedure.h"
#include "app/options/option_values.h"
#include "app/rules/rule_set.h"
#include "platform/desktop/single_instance.h"
#include "platform/desktop/tray_icon.h"
#include "platform/ui/forms.h"
#include "platform/ui/msg_box.h"
#include "tests/support/pop3d_mailbox.h"

using namespace frmMainElements;  // tbrClient(tbrClient::kAccount)

namespace {

int failures = 0;

void Fail(const char* what) {
    std::fprintf(stderr, "walkthrough: %s\n", what);
    ++failures;
}
void Expect(bool ok, const char* what) {
    if (!ok) Fail(what);
}

void Pump(int ms) {
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < ms) QApplication::processEvents(QEventLoop::AllEvents, 20);
}

// Pumps until `done` or the time is up; false when it never came.
bool PumpUntil(const std::function<bool()>& done, int ms = 10000) {
    QElapsedTimer t;
    t.start();
    while (!done() && t.elapsed() < ms) Pump(50);
    return done();
}

bool OneColour(const QImage& image) {
    const QRgb first = image.pixel(0, 0);
    for (int y = 0; y < image.height(); y += 4)
        for (int x = 0; x < image.width(); x += 4)
            if (image.pixel(x, y) != first) return false;
    return true;
}

QString gFolder;

// The whole screen, tray included.
void Picture(const char* name) {
    Pump(300);
    const QImage picture = QGuiApplication::primaryScreen()->grabWindow(0).toImage();
    const QString path = gFolder + QLatin1Char('/') + QString::fromLatin1(name) + QStringLiteral(".png");
    if (picture.isNull() || OneColour(picture) || !picture.save(path)) {
        std::fprintf(stderr, "no picture at %s\n", qPrintable(path));
        ++failures;
        return;
    }
    std::printf("saved %s\n", qPrintable(path));
}

void Click(vb::ToolBar& bar, const char* key) { bar.Buttons(QString::fromLatin1(key)).QtButton().click(); }

std::string Message(const char* from, const char* subject) {
    return std::string("From: ") + from + "\r\nTo: new.user@example.org\r\nSubject: " + subject +
           "\r\nDate: Tue, 8 Dec 2026 09:15:00 +0000\r\nMessage-ID: <" + subject[0] +
           "@example.org>\r\n\r\nHello,\r\nthis is " + subject + ".\r\n";
}

int StoredRow(int16_t account, const char* subject) {
    for (int16_t m = 1; m <= modAccounts::gAccounts[account].MsgCount; ++m)
        if (modGeneral::Msg(account, m).Subject == QLatin1String(subject)) return m;
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    SetProgramIdentity();
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT_FOLDER\n", argv[0]);
        return 2;
    }
    gFolder = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(gFolder);
    // Only this run's pictures stay in the folder.
    QDir pictures(gFolder, QStringLiteral("*.png"));
    for (const QString& old : pictures.entryList(QDir::Files)) pictures.remove(old);

    const auto server = testsupport::Pop3dServer::fromEnvironment();
    testsupport::Pop3dMailbox mailbox(server);
    mailbox.add("1-hello", Message("Ann Smith <ann@example.org>", "Welcome aboard"));
    mailbox.add("2-minutes", Message("Bob Jones <bob@example.org>", "Minutes of Tuesday"));
    mailbox.add("3-pills", Message("Shop <offers@spam.example>", "Cheap pills today"));

    vb::ScriptedMsgBoxes boxes;  // every question is answered by its default button or Yes
    for (int i = 0; i < 8; ++i) boxes.Answer(vb::vbYes);

    // 1. A fresh profile: the program starts with its first-use window.
    platform::desktop::SingleInstance instance(QStringLiteral("VeltraneWalkthrough"));
    if (!start::Main(instance)) {
        std::fprintf(stderr, "the program did not start\n");
        return 1;
    }
    frmMain& main = vb::Forms::Get<frmMain>();
    PumpUntil([] { return forms::gTrayIcon.Added() && platform::desktop::TrayIcon::available(); });
    Expect(forms::gTrayIcon.Added(), "the icon never reached the tray");
    Expect(vb::Forms::IsLoaded<frmFirstUse>(), "a new user got no first-use window");
    Picture("1-first-use");
    if (vb::Forms::IsLoaded<frmFirstUse>())
        vb::Forms::Get<frmFirstUse>().tbrButtons.Buttons(1).QtButton().click();

    // 2. The Accounts page: a new account for the test server, saved.
    Click(main.controls().tbrMainButtons, "Accounts");
    Click(main.controls().tbrAcnts, "AcntAdd");
    main.controls().txtAcntName.SetText(QStringLiteral("Home"));
    main.controls().txtAcntServer.SetText(QString::fromStdString(server.host));
    main.controls().txtAcntPort.SetText(QString::number(server.port));
    main.controls().txtAcntLoginID.SetText(QString::fromStdString(mailbox.user()));
    main.controls().txtAcntPassword.SetText(QString::fromStdString(mailbox.password()));
    Picture("2-account");
    Click(main.controls().tbrButtons(tbrButtons::kSaveAccount), "SaveAccount");
    Expect(modAccounts::gAccountCount == 1, "the account was not added");

    // 3. The Rules page: a rule that marks the pill offers as spam.
    Click(main.controls().tbrMainButtons, "Rules");
    Click(main.controls().tbrRules, "RulesAdd");
    main.controls().txtRuleName.SetText(QStringLiteral("Pills"));
    main.controls().cboWhere.SetText(QStringLiteral("Subject"));
    main.controls().txtCriteria.SetText(QStringLiteral("pills"));
    Click(main.controls().tbrRuleUpdate(tbrRuleUpdate::kDescription), "Update");
    main.controls().optRuleAction(2).SetValue(true);
    Picture("3-rule");
    Click(main.controls().tbrButtons(tbrButtons::kSaveRules), "SaveRules");

    // 4. The Options page: automatic checking and the new-mail pop-up on.
    Click(main.controls().tbrMainButtons, "Options");
    main.controls().TreeView.Select(2);
    main.options().TreeView_Click();
    main.controls().chkUseInterval.SetValue(1);
    main.controls().chkShowEmailMsgBox.SetValue(1);
    Picture("4-options");
    Click(main.controls().tbrButtons(tbrButtons::kSaveOptions), "SaveOptions");
    Expect(modOptions::gOpt.ShowEmailMsgBox == 1 && modOptions::gOpt.UseInterval == 1,
           "the options were not saved");

    // 5. Check All: the mail is listed and the spam marked; the user asked
    // for it, so no pop-up.
    Click(main.controls().tbrMainButtons, "Email");
    Click(main.controls().tbrButtons(tbrButtons::kCheckAll), "CheckAll");
    Expect(PumpUntil([] { return modAccounts::gAccounts[1].MsgCount == 3; }),
           "the check did not list three messages");
    const int spamRow = StoredRow(1, "Cheap pills today");
    Expect(spamRow > 0 && modGeneral::Msg(1, spamRow).Spam, "the rule did not mark the spam");
    Picture("5-checked");

    // 6. New mail arrives; the automatic check (started here as its timer
    // would when it falls due) finds it and the pop-up tells.
    mailbox.add("4-party", Message("Cara <cara@example.org>", "Party on Friday"));
    main.checks().RunAutoCheck();
    Expect(modAccounts::gAccounts[1].MsgCount == 4 && main.checks().Record().TotalNewCount == 1,
           "the automatic check missed the new mail");
    Expect(vb::Forms::IsLoaded<frmMessage>(), "no new-mail pop-up");
    Picture("6-new-mail");

    // 7. Down into the tray: the icon and its tip count the messages.
    main.SetWindowState(vb::vbMinimized);
    Expect(PumpUntil([] { return forms::gTrayIcon.Tip().contains(QLatin1Char('4')); }),
           "the tray tip does not count the four messages");
    Picture("7-tray");
    forms::gTrayIcon.MouseMessage(513);  // a left click on the icon
    Expect(main.WindowState() == vb::vbNormal, "a click on the tray icon did not bring the window back");
    if (vb::Forms::IsLoaded<frmMessage>())
        vb::Forms::Get<frmMessage>().tbrButtons.Buttons(1).QtButton().click();

    // 8. The preview of the minutes, chosen with the mouse, deleted on the
    // server from there.
    for (int row = 1; row <= main.controls().lvwEmail.ItemCount(); ++row) {
        if (main.controls().lvwEmail.Item(row).SubItems(2) != QLatin1String("Minutes of Tuesday")) continue;
        const QRect place =
            main.controls().lvwEmail.visualItemRect(main.controls().lvwEmail.Item(row).QtItem());
        QTest::mouseClick(main.controls().lvwEmail.viewport(), Qt::LeftButton, {}, place.center());
    }
    Click(main.controls().tbrEmail, "EmailPreview");
    Expect(vb::Forms::IsLoaded<frmPreview>(), "no preview window");
    Picture("8-preview");
    if (vb::Forms::IsLoaded<frmPreview>())
        Click(vb::Forms::Get<frmPreview>().tbrButtons(tbrButtons::kEmailHelp), "Delete");
    Expect(PumpUntil([&] { return mailbox.messageCount() == 3; }),
           "the previewed message is still on the server");

    // 9. The spam deleted on the server.
    if (vb::Forms::IsLoaded<frmPreview>()) vb::Forms::Unload<frmPreview>();
    Click(main.controls().tbrEmail, "EmailSpam");
    Expect(PumpUntil([&] { return mailbox.messageCount() == 2; }), "the spam is still on the server");
    Expect(modAccounts::gAccounts[1].MsgCount == 2, "the list does not show the two messages left");
    Picture("9-after-deleting");

    // 10. Quit from the main tool bar.
    Click(main.controls().tbrMainButtons, "Quit");
    Expect(!vb::Forms::IsLoaded<frmMain>(), "Quit did not end the window");
    Expect(!forms::gTrayIcon.Added(), "the tray icon stayed after the quit");
    vb::Forms::End();

    // What stays on disk says what the user did.
    Expect(
        GetSetting(kAppKey, QStringLiteral("Settings"), QStringLiteral("AcntName1")) == QLatin1String("Home"),
        "the account is not in the settings");
    QFile rules(modRules::RulesFilePath());
    Expect(rules.open(QIODevice::ReadOnly) && rules.readAll().contains("Pills"),
           "the rule is not in the rules file");
    Expect(mailbox.messageCount() == 2, "the mailbox does not hold the two messages kept");
    for (const vb::MsgBoxCall& call : boxes.Calls()) std::printf("asked: %s\n", qPrintable(call.title));
    return failures == 0 ? 0 : 1;
}
