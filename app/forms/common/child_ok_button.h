#pragma once
// The small child windows' common parts: their 8-point text and the one
// "OK" button bar that closes them, with its place at load.
#include "platform/ui/form.h"
#include "platform/ui/frame.h"
#include "platform/ui/image_list.h"
#include "platform/ui/tool_bar.h"

namespace forms {

// The designed places fit 8-point text; labels without a size of their own
// take it from the window. The bar's "OK" button gets its picture and closes
// the window.
void SetUpOkWindow(vb::Form& window, vb::ImageList& images, vb::ToolBar& bar);

// At load: the bar twice its height and one button wide, its frame 1.7 times
// as high, just wider than the bar and ending near the right edge of a
// control `besideWidth` twips wide.
void PlaceOkButton(vb::ToolBar& bar, vb::Frame& area, int besideWidth);

}  // namespace forms
