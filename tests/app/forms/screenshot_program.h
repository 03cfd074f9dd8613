#pragma once
// The frame of the programs that show a window of the program on a virtual X
// display and save pictures of it: the application with the program's name
// and identity, then `shoot(out)`, which shows what it wants and saves it
// under the path given on the command line; every window goes at the end.
#include <QApplication>
#include <cstdio>
#include <functional>

#include "app/common/program_identity.h"
#include "app/general/check_status.h"
#include "platform/ui/forms.h"
#include "tests/support/qt/screenshot.h"

inline int RunScreenshotProgram(int argc, char** argv, const std::function<bool(const char* out)>& shoot) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s OUT.png\n", argv[0]);
        return 2;
    }
    QApplication app(argc, argv);
    SetProgramIdentity();
    modGeneral::gAppName = QStringLiteral("Veltrane");
    const bool saved = shoot(argv[1]);
    vb::Forms::End();
    return saved ? 0 : 1;
}
