#include "app/forms/common/menu_xp.h"

#include "app/options/menu_theme.h"
#include "platform/ui/image_list.h"
#include "platform/ui/menu.h"
#include "platform/ui/menu_style_file.h"

namespace forms {

std::unique_ptr<MenuXP> gMenuXP;
int32_t gPickedColour = 0;

void MenuXP::Install(const QString& iniBase, const vb::ImageList& pictures, std::vector<vb::Menu*> entries) {
    iniPath_ = iniBase + QStringLiteral(".ini");
    pictures_ = &pictures;
    entries_ = std::move(entries);
    Refresh();
}

void MenuXP::Refresh() {
    for (vb::Menu* entry : entries_) entry->SetPictures(pictures_);
    // What the file does not say well keeps the default theme.
    const modOptions::MenuColours colours = *modOptions::PresetMenuColours(5);
    const vb::MenuStyle fallback{4, static_cast<vb::OleColor>(colours.top),
                                 static_cast<vb::OleColor>(colours.middle),
                                 static_cast<vb::OleColor>(colours.bottom)};
    vb::ApplyMenuStyle(vb::ReadMenuStyleFile(iniPath_.toStdString(), fallback));
}

void MenuXP::Release() {
    for (vb::Menu* entry : entries_) entry->SetPictures(nullptr);
    entries_.clear();
    pictures_ = nullptr;
    vb::ApplyMenuStyle(vb::MenuStyle{});
}

}  // namespace forms
