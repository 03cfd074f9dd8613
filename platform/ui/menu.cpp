#include "platform/ui/menu.h"

#include <QMenu>
#include <QRegularExpression>
#include <algorithm>
#include <vector>

#include "platform/ui/control.h"
#include "platform/ui/image_list.h"

namespace vb {
namespace {

MenuStyle gStyle;

std::vector<QPointer<QMenu>>& liveMenus() {
    static std::vector<QPointer<QMenu>> menus;
    return menus;
}

void track(QMenu* m) {
    auto& list = liveMenus();
    list.erase(std::remove_if(list.begin(), list.end(), [](const QPointer<QMenu>& p) { return p.isNull(); }),
               list.end());
    list.emplace_back(m);
    m->setStyleSheet(MenuStyleSheet(gStyle));
}

QString css(OleColor c) { return ToQColor(c).name(); }

}  // namespace

Menu::Menu() : menu_(std::make_unique<QMenu>()) { track(menu_.get()); }

Menu::Menu(Menu& parent) : parent_(&parent) {
    action_ = parent.QtMenu()->addAction(QString());
    QObject::connect(action_.data(), &QAction::triggered, [this] {
        // The caption without its picture key and access-key marker.
        QString shown = caption_.section(QLatin1Char('|'), 0, 0);
        shown.remove(QRegularExpression(QStringLiteral("&(?!&)")));
        FireAs(("handling a click on \"" + shown + "\"").toStdString(), Click);
    });
}

Menu::~Menu() {
    if (action_) {
        QObject::disconnect(action_.data(), nullptr, nullptr, nullptr);
        if (menu_) action_->setMenu(nullptr);
    }
}

QMenu* Menu::QtMenu() {
    if (!menu_) {
        menu_ = std::make_unique<QMenu>();
        track(menu_.get());
        if (action_) action_->setMenu(menu_.get());
    }
    return menu_.get();
}

Menu* Menu::Root() {
    Menu* m = this;
    while (m->parent_) m = m->parent_;
    return m;
}

void Menu::SetPictures(const ImageList* pictures) {
    Root()->pictures_ = pictures;
    ApplyPicture();
}

void Menu::SetCaption(const QString& caption) {
    caption_ = caption;
    const int bar = static_cast<int>(caption.indexOf(QStringLiteral("|#")));
    const QString text = bar >= 0 ? caption.left(bar) : caption;
    pictureKey_ = bar >= 0 ? caption.mid(bar + 2) : QString();
    if (menu_) menu_->setTitle(text);
    if (action_) {
        action_->setSeparator(text == QLatin1String("-"));
        action_->setText(text);
    }
    ApplyPicture();
}

void Menu::ApplyPicture() {
    if (!action_) return;
    const ImageList* pics = Root()->pictures_;
    if (pics && !pictureKey_.isEmpty() && pics->Exists(pictureKey_))
        action_->setIcon(pics->Icon(pictureKey_));
    else
        action_->setIcon(QIcon());
}

bool Menu::Enabled() const { return action_ ? action_->isEnabled() : (menu_ && menu_->isEnabled()); }

void Menu::SetEnabled(bool on) {
    if (action_)
        action_->setEnabled(on);
    else if (menu_)
        menu_->setEnabled(on);
}

void Menu::SetVisible(bool on) {
    visible_ = on;
    if (action_) action_->setVisible(on);
}

void Menu::Popup(const QPoint& globalPos, int flags) {
    QMenu* m = QtMenu();
    QPoint at = globalPos;
    const int width = m->sizeHint().width();
    if (flags & 8)
        at.rx() -= width;  // right-aligned
    else if (flags & 4)
        at.rx() -= width / 2;  // centred
    m->exec(at);
}

QString MenuStyleSheet(const MenuStyle& s) {
    if (s.style != 4) return QString();
    return QStringLiteral(
               "QMenu { background-color: %2; border: 1px solid %3; }"
               "QMenu::item { padding: 4px 24px 4px 28px; background: transparent; }"
               "QMenu::item:selected { background: qlineargradient(x1:0, y1:0, x2:0, y2:1,"
               " stop:0 %1, stop:0.5 %2, stop:1 %3); color: black; }"
               "QMenu::item:disabled { color: gray; }"
               "QMenu::separator { height: 1px; background: %3; margin: 3px 6px; }")
        .arg(css(s.color1), css(s.color2), css(s.color3));
}

void ApplyMenuStyle(const MenuStyle& style) {
    gStyle = style;
    const QString sheet = MenuStyleSheet(style);
    for (const QPointer<QMenu>& m : liveMenus()) {
        if (m) m->setStyleSheet(sheet);
    }
}

const MenuStyle& CurrentMenuStyle() { return gStyle; }

}  // namespace vb
