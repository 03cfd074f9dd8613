// The main window's owner-drawn menus: captions in the form text, "|#",
// picture key; pictures from imlPopMenu; colours from frmMain.ini.
#include <QDir>
#include <QFileInfo>

#include "app/forms/frm_main.h"
#include "app/forms/menu_xp.h"
#include "app/options/menu_theme.h"

void frmMain::SubClassMenuXP() {
    const std::pair<vb::Menu*, const char*> captions[] = {
        {&mnuTrayPopMenu, "PopUpMenu"},
        {&mnuTrayShow, "&Show Veltrane...|#Show"},
        {&mnuTrayCheckAll, "&Check All|#CheckAll"},
        {&mnuTrayNewMessage, "&New Message|#NewMessage"},
        {&mnuTraySep1, "-"},
        {&mnuTrayRunClient, "S&tart Email Client|#MailClient0"},
        {&mnuTraySep2, "-"},
        {&mnuTrayAutoCheck, "&Auto Check - On|#AutoCheckOn"},
        {&mnuTraySounds, "Soun&ds - On|#SoundOn"},
        {&mnuTraySep3, "-"},
        {&mnuTrayOptions, "&Options...|#Gears"},
        {&mnuTrayMenuColours, "&Menu Colours...|#MenuColours"},
        {&mnuTrayUpdates, "&Updates|#Updates"},
        {&mnuTrayAbout, "A&bout...|#About"},
        {&mnuTrayHelp, "&Help|#Help"},
        {&mnuTraySep4, "-"},
        {&mnuTrayQuitApplication, "&Quit Application|#Quit"},
        {&mnuEmailPopMenu, "PopUpMenu"},
        {&mnuEmailPreview, "&Preview|#Preview"},
        {&mnuEmailDelete, "&Delete|#Delete"},
        {&mnuEmailReply, "&Reply|#Reply"},
        {&mnuEmailOpen, "&Open|#Open"},
    };
    std::vector<vb::Menu*> entries;
    for (const auto& [menu, caption] : captions) {
        menu->SetCaption(QString::fromUtf8(caption));
        entries.push_back(menu);
    }
    forms::gMenuXP = std::make_unique<forms::MenuXP>();
    // The settings file lies beside the user's data under the window's name.
    const QString base = QFileInfo(modOptions::MenuIniPath()).dir().filePath(QStringLiteral("frmMain"));
    forms::gMenuXP->Install(base, imlPopMenu, std::move(entries));
}

void frmMain::ReleaseMenuXP() {
    if (!forms::gMenuXP) return;
    forms::gMenuXP->Release();
    forms::gMenuXP.reset();
}
