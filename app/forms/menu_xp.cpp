#include "app/forms/menu_xp.h"

#include "app/options/menu_theme.h"
#include "platform/ui/image_list.h"
#include "platform/ui/menu.h"

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
    const modOptions::MenuIniSettings settings = modOptions::ReadMenuIni(iniPath_);
    vb::ApplyMenuStyle({settings.style, static_cast<vb::OleColor>(settings.colours.top),
                        static_cast<vb::OleColor>(settings.colours.middle),
                        static_cast<vb::OleColor>(settings.colours.bottom)});
}

void MenuXP::Release() {
    for (vb::Menu* entry : entries_) entry->SetPictures(nullptr);
    entries_.clear();
    pictures_ = nullptr;
    vb::ApplyMenuStyle(vb::MenuStyle{});
}

}  // namespace forms
