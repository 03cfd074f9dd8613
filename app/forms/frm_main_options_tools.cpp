// The Options page's tools: the list tooltip switches all at once, the list's
// column widths reset, the About panel's read-me, home page and mail links,
// and the commands of the pickers' and these tool bars.
#include <QDir>
#include <cmath>

#include "app/forms/frm_main.h"
#include "app/general/check_status.h"
#include "app/options/option_values.h"
#include "app/options/options_page.h"
#include "platform/desktop/shell.h"
#include "platform/ui/app_info.h"
#include "platform/ui/msg_box.h"

namespace {

constexpr double kSizeColumnDivisor = 2.15;

// The desktop has no application for it: the user hears of it, as no
// application window will open.
bool OpenOrReport(bool opened, const QString& what) {
    if (opened) return true;
    vb::MsgBox(QStringLiteral("No application on this desktop opens ") + what + QStringLiteral("."),
               vb::vbExclamation | vb::vbOKOnly, modGeneral::gAppName + QStringLiteral(" - Open"));
    return false;
}

}  // namespace

void frmMain::SetAllToolTips(int16_t mode) {
    using namespace modOptions;
    if (mode == 1 || mode == 2) {
        const struct {
            vb::CheckBox* box;
            int16_t* edit;
        } boxes[] = {{&chkFromToolTips, &gEditOptFromToolTips},
                     {&chkToToolTips, &gEditOptToToolTips},
                     {&chkSubjectToolTips, &gEditOptSubjectToolTips}};
        for (const auto& [box, edit] : boxes) {
            box->SetValue(mode == 1 ? 1 : 0);
            *edit = static_cast<int16_t>(box->Value());
        }
    }
    CheckOptionsChanged();
}

void frmMain::ResetColumnWidths() {
    mColFromWidth = mColToWidth = mColSubjectWidth = mColDateWidth = mColBaseWidth;
    // To a whole twip: the nearest, a half to the even one.
    mColSizeWidth = static_cast<int>(std::nearbyint(mColBaseWidth / kSizeColumnDivisor));
    ShowColumnWidths();
}

void frmMain::ShowColumnWidths() {
    lvwEmail.Column(QStringLiteral("From")).SetWidth(mColFromWidth);
    lvwEmail.Column(QStringLiteral("To")).SetWidth(mColToWidth);
    lvwEmail.Column(QStringLiteral("Subject")).SetWidth(mColSubjectWidth);
    lvwEmail.Column(QStringLiteral("Date")).SetWidth(mColDateWidth);
    lvwEmail.Column(QStringLiteral("Size")).SetWidth(mColSizeWidth);
}

void frmMain::ShowReadMe() {
    const QString readMe = QDir(vb::App::DataPath()).filePath(QStringLiteral("ReadMe.txt"));
    OpenOrReport(platform::desktop::OpenFile(readMe), QStringLiteral("the read-me file ") + readMe);
}

void frmMain::OpenHomePage() { OpenHomePageOrReport(); }

bool frmMain::OpenHomePageOrReport() {
    const QString page = vb::App::HomePage();
    return OpenOrReport(platform::desktop::OpenUrl(page), QStringLiteral("the web page ") + page);
}

void frmMain::WirePickersAndTools() {
    // Either page's picker tool bar tells the picker which page it serves.
    const auto picker = [this](void (frmMain::*action)()) {
        return [this, action](int16_t index) {
            mPickerIndex = index;
            (this->*action)();
        };
    };
    tray_.Commands().Add(u"tbrClient", u"Browse", picker(&frmMain::BrowseClient));
    tray_.Commands().Add(u"tbrClient", u"Test", picker(&frmMain::TestEmailClient));
    tray_.Commands().Add(u"tbrSound", u"Browse", picker(&frmMain::BrowseSound));
    tray_.Commands().Add(u"tbrSound", u"Test", picker(&frmMain::TestSound));
    tray_.Commands().Add(u"tbrButtons", 2, u"StartEmailClient", [this](int16_t) { RunEmailClient(); });

    tray_.Commands().Add(u"tbrOptMisc", u"RestoreColWidth", [this](int16_t) { ResetColumnWidths(); });
    tray_.Commands().Add(u"tbrOptMisc", u"SelectAll", [this](int16_t) { SetAllToolTips(1); });
    tray_.Commands().Add(u"tbrOptMisc", u"SelectNone", [this](int16_t) { SetAllToolTips(2); });
    // The button only shows the chosen tool-bar style.
    tray_.Commands().Add(u"tbrOptMisc", u"Example", [](int16_t) {});
    tray_.Commands().Add(u"tbrOptAbout", u"ReadMe", [this](int16_t) { ShowReadMe(); });
    tray_.Commands().Add(u"tbrOptAbout", u"Update", [this](int16_t) { OpenHomePage(); });

    // The About panel's links open the mail program or the browser and then
    // close the window, to the tray when the close button minimises; a link
    // nothing could open leaves the window as it is.
    lblAboutEmail.Click = [this] {
        const QString mail = QStringLiteral("mailto:") + vb::App::SupportAddress();
        if (OpenOrReport(platform::desktop::OpenUrl(mail), QStringLiteral("the address ") + mail)) Unload();
    };
    lblAboutWebSite.Click = [this] {
        if (OpenHomePageOrReport()) Unload();
    };
    for (vb::Label* link : {&lblAboutEmail, &lblAboutWebSite}) link->setCursor(Qt::PointingHandCursor);
}
