// The program as a person meets it on a desktop with a tray: started on a
// fresh profile with two accounts, its icon must land in the tray and each
// page of its window is saved as a picture (with the whole screen, tray
// included) for a person to look at. Fails when the icon never reaches the
// tray or a picture could not be taken or shows one colour only.
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QImage>
#include <QScreen>
#include <QSystemTrayIcon>
#include <cstdio>

#include "app/common/app_settings.h"
#include "app/common/program_identity.h"
#include "app/forms/frm_main.h"
#include "app/forms/tray_icon_record.h"
#include "app/main/start_procedure.h"
#include "platform/desktop/single_instance.h"
#include "platform/desktop/tray_icon.h"
#include "platform/ui/forms.h"

namespace {

void Pump(int ms) {
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < ms) QApplication::processEvents(QEventLoop::AllEvents, 20);
}

bool OneColour(const QImage& image) {
    const QRgb first = image.pixel(0, 0);
    for (int y = 0; y < image.height(); y += 4)
        for (int x = 0; x < image.width(); x += 4)
            if (image.pixel(x, y) != first) return false;
    return true;
}

bool Save(const QImage& picture, const QString& path) {
    if (picture.isNull() || OneColour(picture) || !picture.save(path)) {
        std::fprintf(stderr, "no picture at %s\n", qPrintable(path));
        return false;
    }
    std::printf("saved %s\n", qPrintable(path));
    return true;
}

void StoreAccount(int i, const char* name) {
    const QString n = QString::number(i);
    const QString settings = QStringLiteral("Settings");
    SaveSetting(kAppKey, settings, QStringLiteral("AcntName") + n, QString::fromLatin1(name));
    SaveSetting(kAppKey, settings, QStringLiteral("AcntServer") + n, QStringLiteral("127.0.0.1"));
    SaveSetting(kAppKey, settings, QStringLiteral("AcntLoginID") + n, QStringLiteral("demo"));
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
    const QString folder = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(folder);
    SaveSetting(kAppKey, QStringLiteral("Settings"), QStringLiteral("AcntNum"), QStringLiteral("2"));
    StoreAccount(1, "Home");
    StoreAccount(2, "Work");

    platform::desktop::SingleInstance instance(QStringLiteral("VeltraneWalkthrough"));
    if (!start::Main(instance)) {
        std::fprintf(stderr, "the program did not start\n");
        return 1;
    }
    frmMain& main = vb::Forms::Get<frmMain>();
    // The tray host embeds the icon a moment after it is added.
    QElapsedTimer waited;
    waited.start();
    while (!(forms::gTrayIcon.Added() && platform::desktop::TrayIcon::available()) &&
           waited.elapsed() < 10000)
        Pump(100);
    int failures = 0;
    if (!forms::gTrayIcon.Added()) {
        std::fprintf(stderr, "the icon never reached the tray\n");
        ++failures;
    }
    Pump(500);
    failures += !Save(QGuiApplication::primaryScreen()->grabWindow(0).toImage(),
                      folder + QStringLiteral("/screen.png"));
    for (int page = 0; page < 4; ++page) {
        for (int i = 0; i < 4; ++i) main.fraMain(i).SetVisible(i == page);
        main.lblBanner.SetCaption(QStringList{"Email", "Accounts", "Rules", "Options"}[page]);
        Pump(200);
        failures += !Save(main.grab().toImage(), QStringLiteral("%1/page%2.png").arg(folder).arg(page));
    }
    main.mQuitting = true;
    if (!vb::Forms::Unload<frmMain>()) {
        std::fprintf(stderr, "the quit command did not end the window\n");
        ++failures;
    }
    if (forms::gTrayIcon.Added()) {
        std::fprintf(stderr, "the tray icon stayed after the quit\n");
        ++failures;
    }
    vb::Forms::End();
    return failures == 0 ? 0 : 1;
}
