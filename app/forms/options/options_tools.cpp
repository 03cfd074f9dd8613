// The Options page's tools: the list tooltip switches all at once, the list's
// column widths reset, the About panel's read-me, home page and mail links.
#include <QDir>

#include "app/forms/main_window/command_keys.h"
#include "app/forms/main_window/frm_main_design.h"
#include "app/forms/options/options_page.h"
#include "app/general/check_status.h"
#include "app/options/option_values.h"
#include "app/options/options_edit.h"
#include "platform/desktop/shell.h"
#include "platform/ui/app_info.h"
#include "platform/ui/msg_box.h"

namespace {

// The desktop has no application for it: the user hears of it, as no
// application window will open.
bool OpenOrReport(bool opened, const QString& what) {
    if (opened) return true;
    vb::MsgBox(QStringLiteral("No application on this desktop opens ") + what + QStringLiteral("."),
               vb::vbExclamation | vb::vbOKOnly, modGeneral::gAppName + QStringLiteral(" - Open"));
    return false;
}

}  // namespace

void OptionsPage::SetAllToolTips(int16_t mode) {
    using namespace modOptions;
    if (mode == 1 || mode == 2) {
        const struct {
            vb::CheckBox* box;
            int16_t* edit;
        } boxes[] = {{&c_.chkFromToolTips, &gEditOpt.FromToolTips},
                     {&c_.chkToToolTips, &gEditOpt.ToToolTips},
                     {&c_.chkSubjectToolTips, &gEditOpt.SubjectToolTips}};
        for (const auto& [box, edit] : boxes) {
            box->SetValue(mode == 1 ? 1 : 0);
            *edit = static_cast<int16_t>(box->Value());
        }
    }
    CheckOptionsChanged();
}

void OptionsPage::ShowReadMe() {
    const QString readMe = QDir(vb::App::DataPath()).filePath(QStringLiteral("ReadMe.txt"));
    OpenOrReport(platform::desktop::OpenFile(readMe), QStringLiteral("the read-me file ") + readMe);
}

void OptionsPage::OpenHomePage() { OpenHomePageOrReport(); }

bool OptionsPage::OpenHomePageOrReport() {
    const QString page = vb::App::HomePage();
    return OpenOrReport(platform::desktop::OpenUrl(page), QStringLiteral("the web page ") + page);
}

void OptionsPage::WireTools() {
    commands_.Add(u"tbrOptMisc", u"SelectAll", [this](int16_t) { SetAllToolTips(1); });
    commands_.Add(u"tbrOptMisc", u"SelectNone", [this](int16_t) { SetAllToolTips(2); });
    // The button only shows the chosen tool-bar style.
    commands_.Add(u"tbrOptMisc", u"Example", [](int16_t) {});
    commands_.Add(u"tbrOptAbout", u"ReadMe", [this](int16_t) { ShowReadMe(); });
    commands_.Add(u"tbrOptAbout", u"Update", [this](int16_t) { OpenHomePage(); });
    c_.mnuTrayUpdates.Click = [this] { OpenHomePage(); };

    // The About panel's links open the mail program or the browser and then
    // close the window, to the tray when the close button minimises; a link
    // nothing could open leaves the window as it is.
    c_.lblAboutEmail.Click = [this] {
        const QString mail = QStringLiteral("mailto:") + vb::App::SupportAddress();
        if (OpenOrReport(platform::desktop::OpenUrl(mail), QStringLiteral("the address ") + mail))
            host_.UnloadWindow();
    };
    c_.lblAboutWebSite.Click = [this] {
        if (OpenHomePageOrReport()) host_.UnloadWindow();
    };
    for (vb::Label* link : {&c_.lblAboutEmail, &c_.lblAboutWebSite}) link->setCursor(Qt::PointingHandCursor);
}
