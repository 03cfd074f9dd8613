// Shows the main window's Options page on a real (virtual) X display and
// saves a picture of each of its six panels (OUT-1.png ... OUT-6.png) for a
// person to look at.
#include <QEventLoop>
#include <QTimer>

#include "app/forms/frm_main.h"
#include "screenshot_program.h"

namespace {

void Settle() {
    QEventLoop loop;
    QTimer::singleShot(300, &loop, &QEventLoop::quit);
    loop.exec();
}

}  // namespace

int main(int argc, char** argv) {
    return RunScreenshotProgram(argc, argv, [](const char* out) {
        frmMain& form = vb::Forms::Get<frmMain>();
        form.Show();
        for (int i = 0; i < 4; ++i) form.fraMain(i).SetVisible(i == 3);
        form.fraNoAcntsBanner.SetVisible(false);  // it belongs to the mail pages
        QString base = QString::fromLocal8Bit(out);
        base.chop(4);  // ".png"
        bool saved = true;
        for (int node = 1; node <= 6; ++node) {
            form.TreeView.Select(node);
            form.TreeView_Click();
            Settle();
            const QRect area = form.frameGeometry().adjusted(-10, -10, 10, 10);
            saved =
                test_support::SaveScreenshot(
                    area, form, QStringLiteral("%1-%2.png").arg(base).arg(node).toLocal8Bit().constData()) &&
                saved;
        }
        form.mQuitting = true;
        return saved;
    });
}
