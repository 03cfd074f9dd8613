// The mail-client button: the chosen program's own icon on the start button,
// on the Test buttons of the client tool bars and in the tray menu entry.
#include <QIcon>
#include <QPixmap>

#include "app/forms/main_window/frm_main.h"
#include "app/forms/main_window/window_slots.h"
#include "app/options/option_values.h"
#include "platform/desktop/program_file.h"

using namespace frmMainElements;  // tbrClient(tbrClient::kAccount)

namespace {

constexpr int kIconSize = 16;

QString MailClientKey(int16_t number) { return QStringLiteral("MailClient") + QString::number(number); }

// The program's icon at 16 by 16 (a larger one shrunk), else the generic
// picture; an empty picture when even that is missing, so the caller never fails.
QPixmap ClientPicture(const QString& path, const vb::ImageList& fallback) {
    const QIcon icon = path.isEmpty() ? QIcon() : platform::desktop::ProgramIcon(path);
    QPixmap picture = icon.isNull() ? QPixmap() : icon.pixmap(QSize(kIconSize, kIconSize), 1.0);
    if (picture.isNull() && fallback.Exists(QStringLiteral("FolderX"))) {
        picture = fallback.Picture(QStringLiteral("FolderX"));
    }
    if (picture.isNull()) {
        picture = QPixmap(kIconSize, kIconSize);
        picture.fill(Qt::transparent);
    }
    if (picture.size() != QSize(kIconSize, kIconSize)) {
        picture = picture.scaled(kIconSize, kIconSize, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    }
    return picture;
}

void Replace(vb::ImageList& list, const QString& key, const QPixmap& picture) {
    if (list.Exists(key)) list.Remove(key);
    list.Add(picture, key);
}

// A key the bar's image list lacks would make the bar refuse the change:
// the button shows no picture instead.
void ShowImage(vb::ToolButton& button, const vb::ImageList& images, const QString& key) {
    button.SetImage(images.Exists(key) ? key : QString());
}

}  // namespace

bool frmMain::IsUsableProgram(const QString& path) const { return platform::desktop::IsUsableProgram(path); }

void frmMain::LoadMailClientIcon(const QString& path, int16_t number) {
    const QString key = MailClientKey(number);
    const QPixmap picture = ClientPicture(path, imlPopMenu);
    Replace(imlPopMenu, key, picture);
    Replace(imlClientButtons, key, picture);
    // Binding the list again redraws the buttons that show the key; setting
    // the caption again does the same for the tray entry.
    for (vb::ToolBar* bar : {&tbrClient(tbrClient::kDefault), &tbrClient(tbrClient::kAccount),
                             &tbrButtons(forms::bar::kStartEmailClient)})
        bar->SetImageList(&imlClientButtons);
    mnuTrayRunClient.SetCaption(mnuTrayRunClient.Caption());
}

void frmMain::SetMailClientButton(int16_t number) {
    const QString key = MailClientKey(number);
    // A number whose picture was never stored counts as no client, so a stale
    // or missing key never shows a wrong picture nor fails.
    const bool valid = number != -1 && imlClientButtons.Exists(key);
    const QString shown = valid ? key : QStringLiteral("Folder");
    ShowImage(tbrButtons(forms::bar::kStartEmailClient).Buttons(1), imlClientButtons, shown);
    mnuTrayRunClient.SetCaption(QStringLiteral("S&tart Email Client|#") + shown);

    // The Options page's Test button shows the default client's own picture
    // while that client is usable, whichever account's client is current.
    const QString defaultKey = MailClientKey(0);
    const bool defaultShown = valid && modOptions::gDefaultClientValid && imlClientButtons.Exists(defaultKey);
    ShowImage(tbrClient(tbrClient::kDefault).Buttons(1), imlClientButtons, QStringLiteral("Browse"));
    ShowImage(tbrClient(tbrClient::kDefault).Buttons(2), imlClientButtons,
              defaultShown ? defaultKey : QStringLiteral("Test"));
    ShowImage(tbrClient(tbrClient::kAccount).Buttons(1), imlClientButtons, QStringLiteral("Browse"));
    ShowImage(tbrClient(tbrClient::kAccount).Buttons(2), imlClientButtons,
              valid ? key : QStringLiteral("Test"));
}
