#include "app/main/session_end.h"

#include <QCoreApplication>
#include <QEvent>
#include <QTimer>

#include "app/forms/main_window/frm_main.h"
#include "platform/loop/handler_barrier.h"
#include "platform/ui/forms.h"

namespace start {
namespace {

void EndSessionNow() {
    if (vb::Forms::IsLoaded<frmMain>()) vb::Forms::Get<frmMain>().EndSession();
}

}  // namespace

SessionEnd::SessionEnd() : signals_([this](int) { Request(); }) {
    QCoreApplication::instance()->installEventFilter(this);
}

SessionEnd::~SessionEnd() {
    if (QCoreApplication* const app = QCoreApplication::instance()) app->removeEventFilter(this);
}

void SessionEnd::Started() {
    started_ = true;
    // The start may hold the main window in its hands until it returns: the
    // shutdown waits for the loop.
    if (Requested())
        QTimer::singleShot(0, this, [] { platform::loop::RunHandler("ending the session", EndSessionNow); });
}

void SessionEnd::Request() {
    if (!ending_) ending_.emplace();
    if (started_) EndSessionNow();
}

bool SessionEnd::eventFilter(QObject* watched, QEvent* event) {
    if (watched != QCoreApplication::instance() || event->type() != QEvent::Quit) return false;
    platform::loop::RunHandler("ending the session", [this] { Request(); });
    return true;
}

}  // namespace start
