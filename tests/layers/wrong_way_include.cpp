// A data module reaching for a window: this must not compile.
#include "app/forms/frm_main.h"
