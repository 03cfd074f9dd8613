#pragma once
// The first-use window: greets a user on the program's first run with the
// steps that set up a first mail account. It only informs and changes no
// setting. The start procedure shows it modeless with no owner; while it is
// loaded it is registered (forms::FirstUseShown) and the automatic check is
// paused.
#include <QPointer>
#include <optional>

#include "app/common/view_slot.h"
#include "app/forms/checks/checks_paused.h"
#include "app/forms/first_use/frm_first_use_design.h"
#include "app/forms/main_window/main_window_link.h"
#include "platform/ui/form.h"

class frmFirstUse : public vb::Form, public frmFirstUseDesign {
public:
    // main: the main window this one works for; none for a window shown alone.
    explicit frmFirstUse(forms::MainWindowLink* main = nullptr);

protected:
    void Form_Load() override;
    void Form_Unload(int& Cancel) override;

private:
    void FitSteps();

    ViewSlot<vb::Form>::Registration shownSlot_;
    // The main window's checks, paused from the load to the unload (or until
    // a load that failed lets the window go).
    QPointer<forms::MainWindowLink> main_;
    std::optional<forms::ChecksPaused> checksPaused_;
};
