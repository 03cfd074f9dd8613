#pragma once
// A fresh main window, laid out and sized by its load, for the window tests
// and the pictures of its pages. The message store starts empty, as a new
// run of the program has it: an earlier test's messages are not this one's.
#include "app/forms/main_window/frm_main.h"
#include "app/general/message_store.h"
#include "platform/ui/forms.h"

inline frmMain& LaidOutMainWindow() {
    if (vb::Forms::IsLoaded<frmMain>()) vb::Forms::Get<frmMain>().mQuitting = true;
    vb::Forms::Unload<frmMain>();
    modGeneral::gMessageStore.clear();
    return vb::Forms::Get<frmMain>();
}
