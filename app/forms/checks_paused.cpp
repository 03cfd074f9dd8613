#include "app/forms/checks_paused.h"

#include "app/forms/frm_main.h"

namespace forms {

ChecksPaused::ChecksPaused(frmMain& main) : main_(main) {
    main_.SuspendStartUpCheck(QStringLiteral("Suspend"));
    main_.SuspendAutoCheck(QStringLiteral("Suspend"));
}

ChecksPaused::~ChecksPaused() {
    main_.SuspendStartUpCheck(QStringLiteral("Restore"));
    main_.SuspendAutoCheck(QStringLiteral("Restore"));
}

}  // namespace forms
