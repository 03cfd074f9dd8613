// Shows the main window's Options page on a real (virtual) X display and
// saves a picture of each of its six panels (OUT-1.png ... OUT-6.png) for a
// person to look at.
#include <QApplication>
#include <QEventLoop>
#include <QTimer>
#include <cstdio>

#include "app/common/program_identity.h"
#include "app/forms/frm_main.h"
#include "app/general/check_status.h"
#include "platform/ui/forms.h"
#include "tests/support/qt/screenshot.h"

namespace {

void Settle() {
    QEventLoop loop;
    QTimer::singleShot(300, &loop, &QEventLoop::quit);
    loop.exec();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s OUT.png\n", argv[0]);
        return 2;
    }
    QApplication app(argc, argv);
    SetProgramIdentity();
    modGeneral::gAppName = QStringLiteral("Veltrane");
    frmMain& form = vb::Forms::Get<frmMain>();
    form.Show();
    for (int i = 0; i < 4; ++i) form.fraMain(i).SetVisible(i == 3);
    form.fraNoAcntsBanner.SetVisible(false);  // it belongs to the mail pages
    QString out = QString::fromLocal8Bit(argv[1]);
    out.chop(4);  // ".png"
    bool saved = true;
    for (int node = 1; node <= 6; ++node) {
        form.TreeView.Select(node);
        form.TreeView_Click();
        Settle();
        const QRect area = form.frameGeometry().adjusted(-10, -10, 10, 10);
        saved = test_support::SaveScreenshot(area, form, QStringLiteral("%1-%2.png").arg(out).arg(node).toLocal8Bit().constData()) && saved;
    }
    form.mQuitting = true;
    vb::Forms::End();
    return saved ? 0 : 1;
}
