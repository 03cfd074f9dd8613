#include "platform/desktop/tray_icon.h"

#include <QPointer>

namespace platform::desktop {

TrayIcon::TrayIcon(QObject* parent) : QObject(parent) {
    connect(&icon_, &QSystemTrayIcon::activated, this, &TrayIcon::onActivated);
}

TrayIcon::~TrayIcon() { icon_.hide(); }

bool TrayIcon::available() { return QSystemTrayIcon::isSystemTrayAvailable(); }

bool TrayIcon::add(const QIcon& icon, const QString& tip) {
    icon_.setIcon(icon);
    icon_.setToolTip(tip);
    // Shown even without a tray: Qt puts it there if a tray starts later.
    icon_.show();
    return available();
}

bool TrayIcon::modify(const QIcon& icon, const QString& tip) {
    icon_.setIcon(icon);
    icon_.setToolTip(tip);
    return icon_.isVisible() && available();
}

void TrayIcon::remove() { icon_.hide(); }

bool TrayIcon::added() const { return icon_.isVisible(); }
QString TrayIcon::tip() const { return icon_.toolTip(); }
QIcon TrayIcon::icon() const { return icon_.icon(); }

void TrayIcon::onActivated(QSystemTrayIcon::ActivationReason reason) {
    // Qt reports a finished click; the window expects the press and the release.
    // A handler may destroy this object (Quit from the menu), hence the guard.
    const QPointer<TrayIcon> alive(this);
    const auto click = [&](int pressed, int released) {
        emit mouseMessage(pressed);
        if (alive) emit mouseMessage(released);
    };
    switch (reason) {
        case QSystemTrayIcon::Trigger:
            click(kTrayLeftButtonDown, kTrayLeftButtonUp);
            break;
        case QSystemTrayIcon::DoubleClick:
            click(kTrayLeftButtonDoubleClick, kTrayLeftButtonUp);
            break;
        case QSystemTrayIcon::Context:
            click(kTrayRightButtonDown, kTrayRightButtonUp);
            break;
        case QSystemTrayIcon::MiddleClick:
            click(kTrayMiddleButtonDown, kTrayMiddleButtonUp);
            break;
        case QSystemTrayIcon::Unknown:
            break;
    }
}

}  // namespace platform::desktop
