#include "platform/ui/modal_windows.h"

#include <QApplication>
#include <QDialog>
#include <QWidget>

namespace vb {
namespace {

int gEndings = 0;

}  // namespace

bool ModalWindowOpen() { return QApplication::activeModalWidget() != nullptr; }

void CloseModalWindows() {
    // An open pop-up menu holds the input as a modal window does; closed, it
    // runs no entry.
    while (QWidget* const menu = QApplication::activePopupWidget()) {
        menu->close();
        if (QApplication::activePopupWidget() == menu) break;
    }
    while (QWidget* const window = QApplication::activeModalWidget()) {
        if (auto* dialog = qobject_cast<QDialog*>(window))
            dialog->reject();
        else
            window->close();
        // A window that stayed (its form refused to unload) ends the round.
        if (QApplication::activeModalWidget() == window) return;
    }
}

ProgramEnding::ProgramEnding() {
    ++gEndings;
    CloseModalWindows();
}

ProgramEnding::~ProgramEnding() { --gEndings; }

bool ProgramEnding::Active() { return gEndings > 0; }

}  // namespace vb
