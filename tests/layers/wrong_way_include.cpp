// A data module reaching for a window: this must not compile.
#include "app/forms/main_window/frm_main.h"
