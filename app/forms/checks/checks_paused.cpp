#include "app/forms/checks/checks_paused.h"

#include "app/forms/main_window/frm_main.h"
#include "platform/ui/forms.h"

namespace forms {

namespace {

frmMain* LoadedMainWindow() { return vb::Forms::IsLoaded<frmMain>() ? &vb::Forms::Get<frmMain>() : nullptr; }

}  // namespace

ChecksPaused::ChecksPaused(frmMain& main, PausedChecks which) : main_(&main), which_(which) { Take(); }

ChecksPaused::ChecksPaused(PausedChecks which) : main_(LoadedMainWindow()), which_(which) { Take(); }

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
    if (!main_) return;
    if (which_ == PausedChecks::AutomaticAndStartUp) main_->checks().SuspendStartUpCheck(action);
    main_->checks().SuspendAutoCheck(action);
}

}  // namespace forms
