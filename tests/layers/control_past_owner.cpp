// Must not compile: a control of the main window is reached only through the
// window or the page that owns it.
#include "app/forms/main_window/frm_main.h"

void SetNameFromOutside(frmMain& window) { window.txtAcntName.SetText(QStringLiteral("x")); }
