#include "app/forms/tray/tray_status.h"

#include <utility>

#include "app/accounts/account_table.h"
#include "app/forms/common/pictures.h"
#include "app/forms/tray/tray_icon_record.h"
#include "app/general/check_status.h"
#include "app/options/option_values.h"

namespace forms {

namespace {

const QString kAutoCheckOffTip = QStringLiteral("Auto Check is Off");

}  // namespace

TrayStatus::TrayStatus(vb::Form& window, vb::ImageList& trayIcons) : window_(window), trayIcons_(trayIcons) {}

void TrayStatus::Add(std::function<void(int message)> mouse) {
    gTrayIcon.Add(window_, trayIcons_.Picture(kTrayNormal), modGeneral::gAppName);
    gTrayIcon.MouseMessage = std::move(mouse);
}

void TrayStatus::Remove() {
    gTrayIcon.Delete();
    gTrayIcon.MouseMessage = nullptr;
}

void TrayStatus::ShowProgram() { gTrayIcon.Modify(trayIcons_.Picture(kTrayNormal), modGeneral::gAppName); }

void TrayStatus::ShowAutoCheckOff() {
    gTrayIcon.Modify(trayIcons_.Picture(kTrayAutoCheckOff), kAutoCheckOffTip);
}

void TrayStatus::MarkAutoCheckOff() { gTrayIcon.ModifyIcon(trayIcons_.Picture(kTrayAutoCheckOff)); }

void TrayStatus::ShowCounts() {
    using namespace modAccounts;
    using modOptions::gOpt;
    if (window_.WindowState() != vb::vbMinimized) return;

    // Picture 9 and its tip, set when the window went to the tray or the
    // checking was switched off, stay while automatic checking is off.
    if (modOptions::gOpt.UseInterval != 1) {
        if (gTrayIcon.Tip() != kAutoCheckOffTip) ShowAutoCheckOff();
        return;
    }

    const bool newOnly = gOpt.ShowNewOnly == 1;
    const auto shownCount = [newOnly](int16_t i) {
        return newOnly ? gAccounts[i].NewCount : gAccounts[i].MsgCount;
    };
    int accounts = 0;
    int messages = 0;
    for (int i = 1; i <= gAccountCount; ++i) {
        if (!gAccounts[i].Checked || !gAccounts[i].Connected) continue;
        ++accounts;
        messages += shownCount(i);
    }
    if (accounts == 0) {
        gTrayIcon.Modify(trayIcons_.Picture(kTrayNoConnection),
                         QStringLiteral("No Connection has been established."));
        return;
    }
    const QString tip =
        QString::number(messages) +
        (newOnly ? QStringLiteral(" New Message(s) in ") : QStringLiteral(" Message(s) in ")) +
        QString::number(accounts) + QStringLiteral(" Account(s).") + QChar('\n') + gAccounts[0].Status;

    // The next enabled and checked account from the rotation on, over the
    // accounts 1 to the count only, so that one such account is always found
    // when there is one and the icon does not blink.
    int16_t chosen = 0;
    for (int step = 0; step < gAccountCount && chosen == 0; ++step) {
        if (mTrayRotation < 1 || mTrayRotation > gAccountCount) mTrayRotation = 1;
        if (gAccounts[mTrayRotation].Enabled == 1 && gAccounts[mTrayRotation].Checked) chosen = mTrayRotation;
        ++mTrayRotation;
    }
    if (chosen == 0) {
        gTrayIcon.Modify(trayIcons_.Picture(kTrayNormal), tip);
        return;
    }
    gTrayIcon.Modify(ComposeCountPicture(trayIcons_, shownCount(chosen), gAccounts[chosen].ColourIndex), tip);
}

}  // namespace forms
