#include "app/main/session_end.h"

#include <QCoreApplication>
#include <QEvent>

#include "app/forms/frm_main.h"
#include "platform/loop/handler_barrier.h"
#include "platform/ui/forms.h"

namespace start {
namespace {

void EndSessionNow() {
    if (vb::Forms::IsLoaded<frmMain>()) vb::Forms::Get<frmMain>().EndSession();
}

}  // namespace

SessionEnd::SessionEnd() : signals_([](int) { EndSessionNow(); }) {
    QCoreApplication::instance()->installEventFilter(this);
}

SessionEnd::~SessionEnd() {
    if (QCoreApplication* const app = QCoreApplication::instance()) app->removeEventFilter(this);
}

bool SessionEnd::eventFilter(QObject* watched, QEvent* event) {
    if (watched != QCoreApplication::instance() || event->type() != QEvent::Quit) return false;
    platform::loop::RunHandler("ending the session", EndSessionNow);
    return true;
}

}  // namespace start
