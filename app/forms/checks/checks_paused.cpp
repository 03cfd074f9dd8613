#include "app/forms/checks/checks_paused.h"

#include "app/forms/main_window/main_window_link.h"

namespace forms {

ChecksPaused::ChecksPaused(CheckPauses& checks, PausedChecks which) : checks_(&checks), which_(which) {
    Take();
}

ChecksPaused::ChecksPaused(MainWindowLink* main, PausedChecks which)
    : checks_(main ? &main->Checks() : nullptr), fromChild_(true), main_(main), which_(which) {
    Take();
}

ChecksPaused::~ChecksPaused() { GiveBack(); }

void ChecksPaused::Take() {
    try {
        Apply(PauseAction::Suspend);
    } catch (...) {
        // A half-taken pause is given back too.
        GiveBack();
        throw;
    }
}

void ChecksPaused::GiveBack() noexcept {
    // On the way out of a failure nothing more may be thrown.
    try {
        Apply(PauseAction::Restore);
    } catch (...) {
    }
}

void ChecksPaused::Apply(PauseAction action) const {
    if (!checks_ || (fromChild_ && !main_)) return;
    if (which_ == PausedChecks::AutomaticAndStartUp) checks_->SuspendStartUpCheck(action);
    checks_->SuspendAutoCheck(action);
}

}  // namespace forms
