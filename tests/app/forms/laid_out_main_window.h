#pragma once
// A fresh main window, laid out and sized by its load, for the window tests
// and the pictures of its pages.
#include "app/forms/frm_main.h"
#include "platform/ui/forms.h"

inline frmMain& LaidOutMainWindow() {
    if (vb::Forms::IsLoaded<frmMain>()) vb::Forms::Get<frmMain>().mQuitting = true;
    vb::Forms::Unload<frmMain>();
    return vb::Forms::Get<frmMain>();
}
