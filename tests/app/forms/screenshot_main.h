#pragma once
// The frame of the programs that show the program's windows on a virtual X
// display with a window manager and save pictures of them, frame included,
// for a person to look at.
#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <QWidget>
#include <cstdio>
#include <functional>

#include "app/common/program_identity.h"
#include "app/forms/common/pictures.h"
#include "app/general/check_status.h"
#include "platform/ui/form.h"
#include "platform/ui/forms.h"
#include "tests/support/qt/screenshot.h"

// Lets the window system draw what was shown.
inline void Settle(int milliseconds) {
    QEventLoop loop;
    QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
    loop.exec();
}

// The window with its frame and ten pixels around it, saved at path.
inline bool SaveWindowPicture(QWidget& window, const char* path) {
    return test_support::SaveScreenshot(window.frameGeometry().adjusted(-10, -10, 10, 10), window, path);
}

// <stem>-<name>.png, the stem being the program's picture path without ".png".
inline QString PicturePath(const char* out, const QString& name) {
    QString stem = QString::fromLocal8Bit(out);
    stem.chop(4);
    return stem + QLatin1Char('-') + name + QStringLiteral(".png");
}

// Saves the window as <stem>-<name>.png; maximised (by the window manager)
// first when asked, and back to its size after.
inline bool SaveAtSize(vb::Form& window, const char* out, const QString& name, bool maximised) {
    if (maximised) {
        const int normalWidth = window.width();
        window.SetWindowState(vb::vbMaximized);
        QElapsedTimer waited;
        waited.start();
        while (window.width() <= normalWidth && waited.elapsed() < 3000) Settle(50);
    }
    Settle(300);
    const bool saved = SaveWindowPicture(window, PicturePath(out, name).toLocal8Bit().constData());
    if (maximised) {
        window.SetWindowState(vb::vbNormal);
        Settle(300);
    }
    return saved;
}

// argv[1] names the picture; `run` shows the windows and saves them. Every
// form ends with the program.
inline int ScreenshotMain(int argc, char** argv, const std::function<bool(const char* out)>& run) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s OUT.png\n", argv[0]);
        return 2;
    }
    QApplication app(argc, argv);
    SetProgramIdentity();
    forms::UseProgramIcon();
    modGeneral::gAppName = QStringLiteral("Veltrane");
    modGeneral::gPaneName = {QStringLiteral("Email"), QStringLiteral("Accounts"), QStringLiteral("Rules"),
                             QStringLiteral("Options")};
    const bool saved = run(argv[1]);
    vb::Forms::End();
    return saved ? 0 : 1;
}
