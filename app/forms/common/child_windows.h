#pragma once
// The child windows that minimising the main window hides and the tray's Show
// entry shows again, in this order: first use, new-mail pop-up, preview. The
// pop-up and the preview register themselves while they are loaded, and that
// registration is the one record of their being shown; the first-use window
// says it by modGeneral::gShowingFirstUse.
#include <functional>
#include <utility>

#include "app/common/view_slot.h"
#include "app/general/check_status.h"
#include "platform/ui/form.h"

namespace forms {

extern ViewSlot<vb::Form> gFirstUseWindow;
extern ViewSlot<vb::Form> gMessageWindow;
extern ViewSlot<vb::Form> gPreviewWindow;
// The rule report, registered the same way; minimising never hides it.
extern ViewSlot<vb::Form> gRuleReportWindow;

inline bool MessageShown() { return gMessageWindow.Get() != nullptr; }
inline bool PreviewShown() { return gPreviewWindow.Get() != nullptr; }
inline bool RuleReportShown() { return gRuleReportWindow.Get() != nullptr; }

// The child windows that are registered and shown, in the order above.
template <class F>
void ForEachShownChild(F&& action) {
    const std::pair<bool, const ViewSlot<vb::Form>*> children[] = {
        {modGeneral::gShowingFirstUse, &gFirstUseWindow},
        {true, &gMessageWindow},
        {true, &gPreviewWindow},
    };
    for (const auto& [showing, slot] : children)
        if (vb::Form* child = slot->Get(); showing && child) action(*child);
}

// Whether the desktop has a tray to hide the main window into: without one a
// hidden window could not be reached again. The desktop's answer by default.
extern std::function<bool()> gTrayAvailable;

}  // namespace forms
