#pragma once
// The program's one icon in the notification area, over QSystemTrayIcon.
//
// The window that owns the icon decodes the icon's mouse events by the
// Windows message numbers it switches on (left button pressed restores, right
// button released opens the menu), so the Qt activation reasons are handed on
// as those numbers, in the order the buttons produce them.

#include <QIcon>
#include <QObject>
#include <QString>
#include <QSystemTrayIcon>

namespace platform::desktop {

// Mouse message numbers of a tray icon's notifications.
enum TrayMouseMessage : int {
    kTrayMouseMove = 512,
    kTrayLeftButtonDown = 513,
    kTrayLeftButtonUp = 514,
    kTrayLeftButtonDoubleClick = 515,
    kTrayRightButtonDown = 516,
    kTrayRightButtonUp = 517,
    kTrayMiddleButtonDown = 519,
    kTrayMiddleButtonUp = 520,
};

class TrayIcon : public QObject {
    Q_OBJECT
public:
    explicit TrayIcon(QObject* parent = nullptr);
    ~TrayIcon() override;

    // Whether the desktop shows tray icons now. When it does not, a window
    // must never be hidden "to the tray": there would be no way back to it.
    static bool available();

    // Puts the icon in the tray; false when the desktop has no tray now (the
    // icon then appears if one starts later).
    bool add(const QIcon& icon, const QString& tip);
    // Changes the picture and the tip (the whole text: no 63-character cut).
    // False when the icon is not in a tray; the values are kept either way.
    bool modify(const QIcon& icon, const QString& tip);
    void remove();

    // Between add and remove.
    bool added() const;
    QString tip() const;
    QIcon icon() const;

    // The wrapped icon, for code that must reach Qt's own object (tests).
    QSystemTrayIcon& qtIcon() { return icon_; }

signals:
    // One signal per mouse message, in the order the buttons produce them.
    void mouseMessage(int message);

private:
    void onActivated(QSystemTrayIcon::ActivationReason reason);

    QSystemTrayIcon icon_;
};

}  // namespace platform::desktop
