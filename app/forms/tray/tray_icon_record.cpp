#include "app/forms/tray/tray_icon_record.h"

#include "platform/loop/handler_barrier.h"

namespace forms {

TrayIconRecord gTrayIcon;

void TrayIconRecord::Add(vb::Form& window, const QPixmap& picture, const QString& tip) {
    Delete();  // one icon per run, even when the window loads again
    window_ = &window;
    tip_ = tip;
    window.SetIcon(QIcon(picture));
    shell_ = new platform::desktop::TrayIcon(&window);
    // Queued: the handler runs from the loop once the icon's own mouse event
    // has returned, since it may pop a menu up, and a command of that menu
    // may end the program and with it the icon.
    QObject::connect(
        shell_.data(), &platform::desktop::TrayIcon::mouseMessage, shell_.data(),
        [this, icon = shell_.data()](int message) {
            if (shell_ != icon) return;  // removed meanwhile
            // Copied first: the handler may change it (or quit the program).
            if (const auto handler = MouseMessage)
                platform::loop::RunHandler("handling a click on the tray icon", [&] { handler(message); });
        },
        Qt::QueuedConnection);
    shell_->add(window.Icon(), tip_);
}

void TrayIconRecord::Modify(const QPixmap& picture, const QString& tip) {
    tip_ = tip;
    SendIcon(picture);
}

void TrayIconRecord::ModifyIcon(const QPixmap& picture) { SendIcon(picture); }

void TrayIconRecord::SendIcon(const QPixmap& picture) {
    if (!window_) return;
    window_->SetIcon(QIcon(picture));
    if (shell_) shell_->modify(window_->Icon(), tip_);
}

void TrayIconRecord::Delete() {
    if (!shell_) return;
    shell_->remove();
    // Later: the unload may run inside one of the icon's own mouse messages.
    shell_->deleteLater();
    shell_ = nullptr;
}

}  // namespace forms
