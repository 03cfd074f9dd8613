// veltrane: the tray program.
#include <QAbstractEventDispatcher>
#include <QApplication>

#include "app/common/program_identity.h"
#include "app/forms/checks/component_object.h"
#include "app/forms/common/failure_box.h"
#include "app/forms/main_window/frm_main.h"
#include "app/main/session_end.h"
#include "app/main/start_procedure.h"
#include "platform/desktop/single_instance.h"
#include "platform/ui/app_info.h"
#include "platform/ui/forms.h"
#include "platform/ui/msg_box.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    SetProgramIdentity();
    // The window hides to the tray and child windows come and go: only the
    // main window's unload ends the program (below).
    QApplication::setQuitOnLastWindowClosed(false);
    // The component's blocking calls pump GLib's default context; the windows
    // stay alive inside them only when Qt dispatches on that same context.
    if (!QAbstractEventDispatcher::instance() ||
        !QAbstractEventDispatcher::instance()->inherits("QEventDispatcherGlib")) {
        vb::MsgBox(
            vb::App::Title() +
                QStringLiteral(" needs Qt's GLib event dispatcher (QT_NO_GLIB is set); it cannot run."),
            vb::vbCritical, vb::App::Title());
        return 1;
    }
    // A handler that fails is told in a box and the program goes on.
    const forms::FailureBox failures;
    platform::desktop::SingleInstance instance(vb::App::Title());
    // The end from outside is watched before the start can show a box.
    start::SessionEnd sessionEnd;
    try {
        if (!start::Main(instance)) return 0;
    } catch (const forms::StartupFailure&) {
        // The user was told, unless the session ended under the box: then
        // the program ends as asked.
        return sessionEnd.Requested() ? 0 : 1;
    }
    // The program ends when its main window has unloaded: by Quit, by a close
    // with "CloseButton" off, or at the session's end.
    QObject::connect(&vb::Forms::Get<frmMain>(), &QObject::destroyed, &app,
                     [] { QCoreApplication::exit(0); });
    sessionEnd.Started();
    return QApplication::exec();
}
