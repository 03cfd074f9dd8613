#pragma once
// The child windows that minimising the main window hides and the tray's Show
// entry shows again, in this order: first use, new-mail pop-up, preview. Each
// registers itself while it is loaded, and that registration is the one
// record of its being shown.
#include <functional>
#include <utility>

#include "app/common/view_slot.h"
#include "platform/ui/form.h"

namespace forms {

extern ViewSlot<vb::Form> gFirstUseWindow;
extern ViewSlot<vb::Form> gMessageWindow;
extern ViewSlot<vb::Form> gPreviewWindow;
// The rule report, registered the same way; minimising never hides it.
extern ViewSlot<vb::Form> gRuleReportWindow;

inline bool FirstUseShown() { return gFirstUseWindow.Get() != nullptr; }
inline bool MessageShown() { return gMessageWindow.Get() != nullptr; }
inline bool PreviewShown() { return gPreviewWindow.Get() != nullptr; }
inline bool RuleReportShown() { return gRuleReportWindow.Get() != nullptr; }

// The child windows that are registered and shown, in the order above.
template <class F>
void ForEachShownChild(F&& action) {
    for (const ViewSlot<vb::Form>* slot : {&gFirstUseWindow, &gMessageWindow, &gPreviewWindow})
        if (vb::Form* child = slot->Get()) action(*child);
}

// Whether the desktop has a tray to hide the main window into: without one a
// hidden window could not be reached again. The desktop's answer by default.
extern std::function<bool()> gTrayAvailable;

}  // namespace forms
