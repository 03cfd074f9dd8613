#pragma once
// The frame of the programs that show the program's windows on a virtual X
// display and save pictures of them for a person to look at.
#include <QApplication>
#include <QEventLoop>
#include <QTimer>
#include <QWidget>
#include <cstdio>
#include <functional>

#include "app/common/program_identity.h"
#include "app/forms/pictures.h"
#include "app/general/check_status.h"
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
    const bool saved = run(argv[1]);
    vb::Forms::End();
    return saved ? 0 : 1;
}
