#pragma once
// The program's one icon in the tray and what it shows: the main window that
// gets its mouse messages, the picture (always the main window's own icon)
// and the tip, never cut. forms::TrayStatus alone writes it: it adds it at
// the main window's load, changes it and deletes it at the unload. Where the
// desktop has no tray the writes keep the values for a tray that starts later
// and do nothing else.
#include <QIcon>
#include <QPixmap>
#include <QPointer>
#include <QString>
#include <functional>

#include "platform/desktop/tray_icon.h"
#include "platform/ui/form.h"

namespace forms {

class TrayIconRecord {
public:
    // The main window's load: the window takes the picture as its icon and
    // the icon goes into the tray with the tip.
    void Add(vb::Form& window, const QPixmap& picture, const QString& tip);
    // A new picture and tip; the window's icon changes first.
    void Modify(const QPixmap& picture, const QString& tip);
    // A new picture; the tip stays.
    void ModifyIcon(const QPixmap& picture);
    // The main window's unload: the icon leaves the tray.
    void Delete();

    // The icon's mouse messages (512 move, 513 left press ... 517 right
    // release), for the main window's tray callback.
    std::function<void(int message)> MouseMessage;

    vb::Form* Window() const { return window_.data(); }
    QString Tip() const { return tip_; }
    // The picture shown: the main window's icon.
    QIcon Icon() const { return window_ ? window_->Icon() : QIcon(); }
    // Between Add and Delete (whether or not a tray shows it).
    bool Added() const { return shell_ && shell_->added(); }
    // What the tray has been handed; null outside Add and Delete.
    const platform::desktop::TrayIcon* Shell() const { return shell_.data(); }

private:
    void SendIcon(const QPixmap& picture);

    QPointer<vb::Form> window_;
    // Owned by the window, so it goes with it at the latest.
    QPointer<platform::desktop::TrayIcon> shell_;
    QString tip_;
};

// The one record of the run.
extern TrayIconRecord gTrayIcon;

}  // namespace forms
