// Shows the first-use window on a real (virtual) X display and saves a
// picture of it for a person to look at.
#include <QApplication>
#include <QEventLoop>
#include <QTimer>
#include <cstdio>

#include "app/common/program_identity.h"
#include "app/forms/frm_first_use.h"
#include "app/general/check_status.h"
#include "platform/ui/forms.h"
#include "tests/support/qt/screenshot.h"

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s OUT.png\n", argv[0]);
        return 2;
    }
    QApplication app(argc, argv);
    SetProgramIdentity();
    modGeneral::gAppName = QStringLiteral("Veltrane");
    frmFirstUse& form = vb::Forms::Get<frmFirstUse>();
    form.Show();
    QEventLoop loop;
    QTimer::singleShot(400, &loop, &QEventLoop::quit);
    loop.exec();

    const QRect area = form.frameGeometry().adjusted(-10, -10, 10, 10);
    const bool saved = test_support::SaveScreenshot(area, form, argv[1]);
    vb::Forms::End();
    return saved ? 0 : 1;
}
