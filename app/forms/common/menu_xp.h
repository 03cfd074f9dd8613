#pragma once
// The owner-drawn menus: the entries of a window's pop-up menus show the
// picture named after "|#" in their caption, from the window's image list,
// and every menu draws the colours of the menu settings file "<base>.ini"
// (section "Menu" key "MenuStyle"; section "New3D" keys "New3DColor1" to
// "New3DColor3", top, middle and bottom of the 3D effect).
#include <QString>
#include <cstdint>
#include <memory>
#include <vector>

namespace vb {
class ImageList;
class Menu;
}  // namespace vb

namespace forms {

class MenuXP {
public:
    // Hands the entries their pictures and the menus the file's colours.
    void Install(const QString& iniBase, const vb::ImageList& pictures, std::vector<vb::Menu*> entries);
    // Takes up the settings file again, and the pictures as they are now.
    void Refresh();
    // The entries lose their pictures and the menus return to the desktop's look.
    void Release();

private:
    QString iniPath_;
    const vb::ImageList* pictures_ = nullptr;
    std::vector<vb::Menu*> entries_;
};

// The one menu engine of the run, from the main window's load to its unload.
extern std::unique_ptr<MenuXP> gMenuXP;
// The colour the colour dialog starts from and returns.
extern int32_t gPickedColour;

}  // namespace forms
