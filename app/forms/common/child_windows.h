#pragma once
// The child windows that minimising the main window hides and the tray's Show
// entry shows again, in this order: first use, new-mail pop-up, preview. Each
// window registers itself while it is loaded; its shown flag lives in
// modGeneral (gShowingFirstUse, gShowingMessage, gShowingPreview).
#include <functional>
#include <utility>

#include "app/common/view_slot.h"
#include "app/general/check_status.h"
#include "platform/ui/form.h"

namespace forms {

extern ViewSlot<vb::Form> gFirstUseWindow;
extern ViewSlot<vb::Form> gMessageWindow;
extern ViewSlot<vb::Form> gPreviewWindow;

// The child windows that are loaded and flagged as shown, in the order above.
template <class F>
void ForEachShownChild(F&& action) {
    const std::pair<bool, const ViewSlot<vb::Form>*> children[] = {
        {modGeneral::gShowingFirstUse, &gFirstUseWindow},
        {modGeneral::gShowingMessage, &gMessageWindow},
        {modGeneral::gShowingPreview, &gPreviewWindow},
    };
    for (const auto& [showing, slot] : children)
        if (vb::Form* child = slot->Get(); showing && child) action(*child);
}

// Whether the desktop has a tray to hide the main window into: without one a
// hidden window could not be reached again. The desktop's answer by default.
extern std::function<bool()> gTrayAvailable;

}  // namespace forms
