// Shows the main window's Options page on a real (virtual) X display and
// saves a picture of each of its six panels (OUT-1.png ... OUT-6.png) for a
// person to look at.
#include "app/forms/frm_main.h"
#include "tests/app/forms/screenshot_main.h"

int main(int argc, char** argv) {
    return ScreenshotMain(argc, argv, [](const char* path) {
        frmMain& form = vb::Forms::Get<frmMain>();
        form.Show();
        for (int i = 0; i < 4; ++i) form.fraMain(i).SetVisible(i == 3);
        form.fraNoAcntsBanner.SetVisible(false);  // it belongs to the mail pages
        QString out = QString::fromLocal8Bit(path);
        out.chop(4);  // ".png"
        bool saved = true;
        for (int node = 1; node <= 6; ++node) {
            form.TreeView.Select(node);
            form.TreeView_Click();
            Settle(300);
            saved = SaveWindowPicture(form, QStringLiteral("%1-%2.png").arg(out).arg(node).toLocal8Bit().constData()) &&
                    saved;
        }
        form.mQuitting = true;
        return saved;
    });
}
