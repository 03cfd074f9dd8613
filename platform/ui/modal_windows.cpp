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
