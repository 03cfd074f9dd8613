#include "platform/com/dispatch.h"

namespace com {

void ClearExcepInfo(EXCEPINFO* info) noexcept {
    if (!info) return;
    SysFreeString(info->bstrSource);
    SysFreeString(info->bstrDescription);
    SysFreeString(info->bstrHelpFile);
    *info = EXCEPINFO{};
}

}  // namespace com
