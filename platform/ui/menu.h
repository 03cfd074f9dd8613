#pragma once
// Menus and their entries. A caption may carry its picture key after a bar,
// "&Check All|#CheckAll", which takes the picture from the root menu's image
// list; "-" makes a separator. Menu captions keep their "&" access keys.
#include <QAction>
#include <QPoint>
#include <QPointer>
#include <QString>
#include <functional>
#include <memory>

#include "platform/ui/ole_color.h"

class QMenu;

namespace vb {

class ImageList;

class Menu {
public:
    // A top-level (pop-up) menu.
    Menu();
    // An entry appended to `parent`.
    explicit Menu(Menu& parent);
    ~Menu();
    Menu(const Menu&) = delete;
    Menu& operator=(const Menu&) = delete;

    QString Caption() const { return caption_; }
    void SetCaption(const QString& caption);
    bool Enabled() const;
    void SetEnabled(bool on);
    bool Visible() const { return visible_; }
    void SetVisible(bool on);
    // The picture key read from the caption ("" when none).
    QString PictureKey() const { return pictureKey_; }

    // Where captions of this menu tree take their pictures from.
    void SetPictures(const ImageList* pictures);

    std::function<void()> Click;

    // Shows this menu's entries at a screen point and returns when it closes;
    // the chosen entry's Click has run by then.
    void Popup(const QPoint& globalPos, int flags = 0);

    QMenu* QtMenu();  // created on demand for a menu with entries
    QAction* QtAction() const { return action_; }

private:
    void ApplyPicture();
    Menu* Root();

    Menu* parent_ = nullptr;
    std::unique_ptr<QMenu> menu_;
    QPointer<QAction> action_;  // owned by the parent's QMenu
    QString caption_;
    QString pictureKey_;
    bool visible_ = true;
    const ImageList* pictures_ = nullptr;
};

// The menu colour theme: style 4 draws the menus in three colours (top,
// middle and bottom of the 3D effect); other styles use the desktop's look.
struct MenuStyle {
    int style = 0;
    OleColor color1 = 0;  // top
    OleColor color2 = 0;  // middle
    OleColor color3 = 0;  // bottom
};

// Applies the theme to every menu, now and later.
void ApplyMenuStyle(const MenuStyle& style);
const MenuStyle& CurrentMenuStyle();
QString MenuStyleSheet(const MenuStyle& style);

}  // namespace vb
