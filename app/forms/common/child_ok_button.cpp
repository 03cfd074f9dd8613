#include "app/forms/common/child_ok_button.h"

#include <cmath>

#include "app/forms/common/pictures.h"

namespace forms {

void SetUpOkWindow(vb::Form& window, vb::ImageList& images, vb::ToolBar& bar) {
    FillImageList(images, PictureSet::OkButton);
    bar.Buttons(QStringLiteral("OK")).SetImage(QStringLiteral("OK"));
    bar.ButtonClick = [&window](vb::ToolButton&) { window.Unload(); };
}

void PlaceOkButton(vb::ToolBar& bar, vb::Frame& area, int besideWidth) {
    bar.SetHeight(2 * bar.Height());
    bar.SetWidth(bar.ButtonWidth());
    area.SetHeight(static_cast<int>(std::lround(area.Height() * 1.7)));
    area.SetWidth(bar.Width() + 50);
    area.SetLeft(besideWidth - bar.Width() + 100);
}

}  // namespace forms
