// Shows message boxes as the user meets them on a virtual X display with a
// window manager and saves their pictures for a person to look at: a failure
// (OUT-failure.png) and a question (OUT-question.png).
#include <QMessageBox>

#include "app/forms/main_window/frm_main.h"
#include "platform/ui/msg_box.h"
#include "tests/app/forms/screenshot_main.h"

namespace {

// Shows the box, saves it once it is up and answers it with its first button.
bool SaveBox(const char* out, const QString& name, const QString& prompt, int buttons, const QString& title) {
    bool saved = false;
    QTimer::singleShot(600, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box) return;
        saved = SaveWindowPicture(*box, PicturePath(out, name).toLocal8Bit().constData());
        box->buttons().front()->click();
    });
    vb::MsgBox(prompt, buttons, title);
    return saved;
}

}  // namespace

int main(int argc, char** argv) {
    return ScreenshotMain(argc, argv, [](const char* out) {
        frmMain& form = vb::Forms::Get<frmMain>();
        form.Show();
        Settle(300);
        bool saved = SaveBox(out, QStringLiteral("failure"),
                             QStringLiteral("The reply could not be handed to your Email program:\r\n"
                                            "no program on this computer is set up to write Email\r\n"
                                            "(to open \"mailto:\" addresses)."),
                             vb::vbExclamation, QStringLiteral("Veltrane - Reply Failed"));
        saved =
            SaveBox(out, QStringLiteral("question"),
                    QStringLiteral("Ready to Delete 2 Spam Message(s) from 'Home'               \r\n\r\n"
                                   "This operation is NOT reversible!\r\n\r\nWould you like to proceed?\r\n"),
                    vb::vbCritical + vb::vbYesNo,
                    QStringLiteral("Veltrane - Ready to Delete Spam Message(s)")) &&
            saved;
        form.mQuitting = true;
        return saved;
    });
}
