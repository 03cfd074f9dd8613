// The tray icon's clicks and the tray menu: restore the window, the page
// jumps, the Auto Check and Sounds switches, new message, help and quit;
// the tool bars' command keys; the owner-drawn menus.
#include "app/forms/tray/tray_commands.h"

#include <QDir>
#include <QFileInfo>
#include <memory>
#include <vector>

#include "app/accounts/account_operations.h"
#include "app/forms/checks/check_runs.h"
#include "app/forms/common/child_windows.h"
#include "app/forms/common/help_topics.h"
#include "app/forms/common/menu_xp.h"
#include "app/forms/common/pictures.h"
#include "app/forms/main_window/window_slots.h"
#include "app/forms/tray/tray_icon_record.h"
#include "app/general/check_status.h"
#include "app/options/menu_theme.h"
#include "app/options/option_values.h"
#include "app/options/options_edit.h"
#include "app/rules/rules_editor.h"
#include "platform/desktop/help.h"
#include "platform/desktop/shell.h"
#include "platform/ui/app_info.h"
#include "platform/ui/msg_box.h"

namespace {

// The tray's mouse messages the program answers.
constexpr int kLeftPressed = 513;
constexpr int kRightReleased = 517;

// Options tree nodes the page jumps select.
constexpr int kNodeStartUp = 1;
constexpr int kNodeMenuColours = 4;
constexpr int kNodeAbout = 6;

// Why the Options page cannot come forward now.
QString PageLockedText() {
    const QString crLf = QStringLiteral("\r\n");
    const auto unsaved = [&](const QString& page) {
        return QStringLiteral("The Options page cannot be shown while the changes on the ") + page +
               QStringLiteral(" page are not saved.") + crLf + crLf +
               QStringLiteral("Save or Cancel them there, then try again.");
    };
    if (modAccounts::gAccountChanged) return unsaved(QStringLiteral("Accounts"));
    if (modRules::gRulesChanged) return unsaved(QStringLiteral("Rules"));
    return QStringLiteral("The Options page cannot be shown while ") + modGeneral::gAppName +
           QStringLiteral(" is working with a mail server.") + crLf + crLf +
           QStringLiteral("Try again when it has finished.");
}

}  // namespace

TrayCommands::TrayCommands(vb::Form& window, frmMainDesign& design, Host& host, CheckRuns& checks)
    : window_(window),
      controls_(design),
      host_(host),
      checks_(checks),
      status_(window, controls_.imlTrayIcons) {
    WireCommandKeys();
    WireWindowCommands();
    WireTrayMenu();
}

void TrayCommands::WireCommandKeys() {
    Controls& c = controls_;
    const auto route = [this](QStringView bar) {
        return [this, bar](int16_t index, const QString& key) { commands_.Run(bar, index, key); };
    };
    const auto single = [&](vb::ToolBar& bar, QStringView name) {
        bar.ButtonClick = [run = route(name)](vb::ToolButton& button) { run(0, button.Key()); };
    };
    const auto array = [&](vb::ControlArray<vb::ToolBar>& bars, QStringView name) {
        bars.Wire(&vb::ToolBar::ButtonClick, [run = route(name)](int index, vb::ToolButton& button) {
            run(static_cast<int16_t>(index), button.Key());
        });
    };
    single(c.tbrMainButtons, u"tbrMainButtons");
    single(c.tbrEmail, u"tbrEmail");
    single(c.tbrAcnts, u"tbrAcnts");
    single(c.tbrRules, u"tbrRules");
    single(c.tbrColour, u"tbrColour");
    array(c.tbrButtons, u"tbrButtons");
    array(c.tbrMoveButtons, u"tbrMoveButtons");
    array(c.tbrRuleUpdate, u"tbrRuleUpdate");
    array(c.tbrClient, u"tbrClient");
    array(c.tbrSound, u"tbrSound");
    array(c.tbrOptMisc, u"tbrOptMisc");
    array(c.tbrOptAbout, u"tbrOptAbout");
}

// The window's own commands: the page switch, the Size, Close and Quit
// buttons, the pages' Help buttons and the new message.
void TrayCommands::WireWindowCommands() {
    for (const auto& [key, pane] : {std::pair{u"Email", forms::page::kEmail},
                                    {u"Accounts", forms::page::kAccounts},
                                    {u"Rules", forms::page::kRules},
                                    {u"Options", forms::page::kOptions}})
        commands_.Add(u"tbrMainButtons", key, [this, pane = pane](int16_t) { host_.SwitchPane(pane); });
    commands_.Add(u"tbrMainButtons", u"Size", [this](int16_t) { host_.RestoreStartSize(); });
    for (const auto& [index, topic] : {std::pair{forms::bar::kEmailHelp, forms::kHelpEmail},
                                       {forms::bar::kAccountsHelp, forms::kHelpAccounts},
                                       {forms::bar::kRulesHelp, forms::kHelpRules}})
        commands_.Add(u"tbrButtons", index, u"Help",
                      [topic = topic](int16_t) { platform::desktop::ShowHelp(vb::App::DataPath(), topic); });
    commands_.Add(u"tbrButtons", u"Close", [this](int16_t) { CloseToTray(); });
    commands_.Add(u"tbrMainButtons", u"Quit", [this](int16_t) { mnuTrayQuitApplication_Click(); });
    commands_.Add(u"tbrEmail", u"EmailNew", [this](int16_t) { mnuTrayNewMessage_Click(); });
}

void TrayCommands::WireTrayMenu() {
    Controls& c = controls_;
    c.mnuTrayShow.Click = [this] { mnuTrayShow_Click(); };
    c.mnuTrayNewMessage.Click = [this] { mnuTrayNewMessage_Click(); };
    c.mnuTrayAutoCheck.Click = [this] { mnuTrayAutoCheck_Click(); };
    c.mnuTraySounds.Click = [this] { mnuTraySounds_Click(); };
    c.mnuTrayOptions.Click = [this] { JumpToOptionsPanel(kNodeStartUp); };
    c.mnuTrayMenuColours.Click = [this] { JumpToOptionsPanel(kNodeMenuColours); };
    c.mnuTrayAbout.Click = [this] { JumpToOptionsPanel(kNodeAbout); };
    c.mnuTrayHelp.Click = [] { platform::desktop::ShowHelp(vb::App::DataPath(), forms::kHelpTray); };
    c.mnuTrayQuitApplication.Click = [this] { mnuTrayQuitApplication_Click(); };
}

void TrayCommands::AddTrayIcon() {
    status_.Add([this](int message) { TrayMouseMessage(message); });
}

void TrayCommands::RemoveTrayIcon() { status_.Remove(); }

void TrayCommands::TrayMouseMessage(int message) {
    // The tray answers only while the window is down in it: minimised, or
    // hidden, which leaves the tray as the only way back.
    if (window_.WindowState() != vb::vbMinimized && window_.Visible()) return;
    if (message == kLeftPressed) {
        mnuTrayShow_Click();
    } else if (message == kRightReleased) {
        window_.SetForeground();
        window_.PopupMenu(controls_.mnuTrayPopMenu, vb::vbPopupMenuLeftAlign);
    }
}

void TrayCommands::mnuTrayShow_Click() {
    status_.ShowProgram();
    window_.SetWindowState(vb::vbNormal);
    window_.Show();
    // In front once shown: a window not on the screen cannot come forward.
    window_.SetForeground();
    // The child windows come back in front of the window they belong to: a
    // window manager may map a window shown later beneath the active one.
    forms::ForEachShownChild([](vb::Form& child) {
        child.Show();
        child.SetForeground();
    });
}

void TrayCommands::mnuTrayNewMessage_Click() {
    // No mail program for "mailto:" is the desktop's to report; the program goes on.
    platform::desktop::OpenUrl(QStringLiteral("mailto:"));
}

void TrayCommands::mnuTrayAutoCheck_Click() {
    if (modOptions::gOpt.UseInterval != 1) {
        controls_.chkUseInterval.SetValue(1);
    } else {
        controls_.chkUseInterval.SetValue(0);
        status_.MarkAutoCheckOff();
    }
    checks_.Record().NoCheckDeferred = false;
    modOptions::SaveOptions();
}

void TrayCommands::mnuTraySounds_Click() {
    controls_.chkPlaySound.SetValue(modOptions::gOpt.PlaySound != 1 ? 1 : 0);
    modOptions::SaveOptions();
}

void TrayCommands::JumpToOptionsPanel(int node) {
    mnuTrayShow_Click();
    // While the page bar is locked (unsaved edits, or a server operation) the
    // user's page stays, since leaving it could cost the edits; a jump within
    // the Options page being edited loses nothing.
    if (!controls_.fraMainButtons.Enabled() && modGeneral::gCurrentPane != forms::page::kOptions) {
        vb::MsgBox(PageLockedText(), vb::vbExclamation, modGeneral::gAppName + QStringLiteral(" - Options"));
        return;
    }
    modGeneral::gCurrentPane = forms::page::kOptions;
    host_.ShowPage(forms::page::kOptions);
    host_.ShowOptionsPanel(node);
}

void TrayCommands::mnuTrayQuitApplication_Click() { host_.QuitWhenIdle(); }

void TrayCommands::SetTrayEntriesEnabled(bool on) {
    Controls& c = controls_;
    for (vb::Menu* entry : {&c.mnuTrayRunClient, &c.mnuTrayCheckAll, &c.mnuTrayNewMessage,
                            &c.mnuTrayAutoCheck, &c.mnuTraySounds, &c.mnuTrayOptions, &c.mnuTrayMenuColours})
        entry->SetEnabled(on);
}

void TrayCommands::SetTrayCommandsEnabled(bool on) {
    Controls& c = controls_;
    SetTrayEntriesEnabled(on);
    for (vb::Menu* entry : {&c.mnuTrayUpdates, &c.mnuTrayAbout, &c.mnuTrayHelp}) entry->SetEnabled(on);
}

void TrayCommands::StartMinimised() {
    // Hidden still: the resize handler sees the minimise and takes the window
    // to the tray; without a tray it is shown, minimised in the taskbar.
    window_.SetWindowState(vb::vbMinimized);
    if (!forms::gTrayAvailable()) window_.Show();
}

void TrayCommands::CloseToTray() {
    // Into a tray the window is hidden first, so the window manager is never
    // asked to minimise it; without a tray it stays reachable in the taskbar.
    if (forms::gTrayAvailable()) window_.Hide();
    window_.SetWindowState(vb::vbMinimized);
}

void TrayCommands::MinimiseToTray() {
    // Without a tray the window stays minimised in the taskbar: hidden, it
    // could not be reached again.
    if (!forms::gTrayAvailable()) return;
    forms::ForEachShownChild([](vb::Form& child) { child.Hide(); });
    window_.Hide();
    // With automatic checking off the tray says so, in picture and tip; with
    // it on, the icon keeps what it shows.
    if (modOptions::gOpt.UseInterval == 0) status_.ShowAutoCheckOff();
}

// Menu captions carry the form text, "|#" and the picture key; pictures come
// from imlPopMenu, colours from frmMain.ini.
void TrayCommands::SubClassMenuXP() {
    Controls& c = controls_;
    const std::pair<vb::Menu*, const char*> captions[] = {
        {&c.mnuTrayPopMenu, "PopUpMenu"},
        {&c.mnuTrayShow, "&Show Veltrane...|#Show"},
        {&c.mnuTrayCheckAll, "&Check All|#CheckAll"},
        {&c.mnuTrayNewMessage, "&New Message|#NewMessage"},
        {&c.mnuTraySep1, "-"},
        {&c.mnuTrayRunClient, "S&tart Email Client|#MailClient0"},
        {&c.mnuTraySep2, "-"},
        {&c.mnuTrayAutoCheck, "&Auto Check - On|#AutoCheckOn"},
        {&c.mnuTraySounds, "Soun&ds - On|#SoundOn"},
        {&c.mnuTraySep3, "-"},
        {&c.mnuTrayOptions, "&Options...|#Gears"},
        {&c.mnuTrayMenuColours, "&Menu Colours...|#MenuColours"},
        {&c.mnuTrayUpdates, "&Updates|#Updates"},
        {&c.mnuTrayAbout, "A&bout...|#About"},
        {&c.mnuTrayHelp, "&Help|#Help"},
        {&c.mnuTraySep4, "-"},
        {&c.mnuTrayQuitApplication, "&Quit Application|#Quit"},
        {&c.mnuEmailPopMenu, "PopUpMenu"},
        {&c.mnuEmailPreview, "&Preview|#Preview"},
        {&c.mnuEmailDelete, "&Delete|#Delete"},
        {&c.mnuEmailReply, "&Reply|#Reply"},
        {&c.mnuEmailOpen, "&Open|#Open"},
    };
    std::vector<vb::Menu*> entries;
    for (const auto& [menu, caption] : captions) {
        menu->SetCaption(QString::fromUtf8(caption));
        entries.push_back(menu);
    }
    forms::gMenuXP = std::make_unique<forms::MenuXP>();
    // The settings file lies beside the user's data under the window's name.
    const QString base = QFileInfo(modOptions::MenuIniPath()).dir().filePath(QStringLiteral("frmMain"));
    forms::gMenuXP->Install(base, c.imlPopMenu, std::move(entries));
}

void TrayCommands::ReleaseMenuXP() {
    if (!forms::gMenuXP) return;
    forms::gMenuXP->Release();
    forms::gMenuXP.reset();
}

void TrayCommands::SetTrayAutoCheckCaption(const QString& caption) {
    controls_.mnuTrayAutoCheck.SetCaption(caption);
}

void TrayCommands::SetTraySoundsCaption(const QString& caption) {
    controls_.mnuTraySounds.SetCaption(caption);
}

void TrayCommands::RefreshMenus() {
    if (forms::gMenuXP) forms::gMenuXP->Refresh();
}
