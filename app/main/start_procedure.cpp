#include "app/main/start_procedure.h"

#include <algorithm>

#include "app/forms/main_window/window_slots.h"

#include "app/accounts/account_table.h"
#include "app/check/schedule.h"
#include "app/common/app_settings.h"
#include "app/common/stored_number.h"
#include "app/forms/checks/component_object.h"
#include "app/forms/common/menu_xp.h"
#include "app/forms/common/pictures.h"
#include "app/forms/first_use/frm_first_use.h"
#include "app/forms/main_window/frm_main.h"
#include "app/general/check_status.h"
#include "app/general/message_store.h"
#include "app/options/menu_theme.h"
#include "app/options/option_values.h"
#include "app/options/options_edit.h"
#include "app/options/run_at_startup.h"
#include "platform/desktop/single_instance.h"
#include "platform/ui/app_info.h"
#include "platform/ui/forms.h"
#include "platform/ui/msg_box.h"

namespace start {

namespace {

const QString kCrLf = QStringLiteral("\r\n");

const QString kDefaultsNote = QStringLiteral("Your Accounts, the Options and the name of the Rules file") +
                              kCrLf +
                              QStringLiteral("start from their defaults; the Rules files themselves") +
                              kCrLf + QStringLiteral("are not changed.") + kCrLf;

// Tells which settings file could not be used, why, where it was kept and
// what starts from its defaults.
void TellSettingsSetAside(const std::vector<SetAsideSettings>& files) {
    for (const SetAsideSettings& f : files) {
        QString text;
        if (f.unreadable)
            text = QStringLiteral("Your settings file cannot be used:") + kCrLf + f.file + kCrLf + kCrLf +
                   QStringLiteral("It cannot be read as settings: ") + f.reason + QStringLiteral(".") +
                   kCrLf + QStringLiteral("It is left as it is, and no setting can be saved until it is") +
                   kCrLf + QStringLiteral("removed or replaced by a settings file.") + kCrLf + kCrLf;
        else if (f.copy.isEmpty())
            text = QStringLiteral("Your settings file could not be read as settings:") + kCrLf + f.file +
                   kCrLf + kCrLf + QStringLiteral("It could not be moved aside (") + f.reason +
                   QStringLiteral("), so it stays") + kCrLf +
                   QStringLiteral("as it is and no setting can be saved until it is") + kCrLf +
                   QStringLiteral("repaired or removed.") + kCrLf + kCrLf;
        else
            text = QStringLiteral("Your settings file could not be read as settings:") + kCrLf + f.file +
                   kCrLf + kCrLf + QStringLiteral("It has been kept, unchanged, as") + kCrLf + f.copy +
                   kCrLf + kCrLf;
        vb::MsgBox(text + kDefaultsNote, vb::vbExclamation,
                   modGeneral::gAppName + QStringLiteral(" - Settings Not Read"));
    }
}

// The first use is over: "RunStartUp" says what the session will do, and
// the user is told when the autostart entry could not be written or the
// settings not saved. With store false (the settings file takes no change)
// nothing is saved.
void FinishFirstUse(bool switchOn, bool store = true) {
    using namespace modOptions;
    const bool written = switchOn && SetRunAtStartup();
    gOpt.RunStartUp = written || (!switchOn && RunsAtStartup()) ? 1 : 0;
    const bool saved =
        !store ||
        (SaveSetting(kAppKey, QStringLiteral("Settings\\Options"), QStringLiteral("RunStartUp"),
                     QString::number(gOpt.RunStartUp)) &&
         SaveSetting(kAppKey, QStringLiteral("Settings"), QStringLiteral("FirstUse"), QStringLiteral("1")));
    DisplayOptions();
    if (switchOn && !written)
        vb::MsgBox(QStringLiteral("The autostart entry could not be written, so ") + modGeneral::gAppName +
                       QStringLiteral(" will not start when you log on."),
                   vb::vbExclamation, modGeneral::gAppName + QStringLiteral(" - Run at StartUp"));
    if (!saved)
        vb::MsgBox(QStringLiteral("The first start could not be recorded in your settings file:") + kCrLf +
                       SettingsFilePath(kAppKey) + kCrLf + kCrLf +
                       QStringLiteral("The next start is taken for a first one again.") + kCrLf,
                   vb::vbExclamation, modGeneral::gAppName + QStringLiteral(" - Settings Not Saved"));
}

// "AcntNum" named other accounts than are stored: the stored ones were
// loaded, and the number is put right so that this is told once.
void TellAccountCount(int16_t stated) {
    const int16_t loaded = modAccounts::gAccountCount;
    if (stated == loaded) return;
    const QString number = QString::number(loaded);
    const bool saved = SaveSetting(kAppKey, QStringLiteral("Settings"), QStringLiteral("AcntNum"), number);
    QString text =
        QStringLiteral("Your settings file gives the number of accounts as ") + QString::number(stated) +
        QStringLiteral(",") + kCrLf + QStringLiteral("but holds the settings of ") +
        (loaded == 0 ? QStringLiteral("none") : number) + QStringLiteral(":") + kCrLf +
        SettingsFilePath(kAppKey) + kCrLf + kCrLf +
        (loaded == 0   ? QStringLiteral("No account is loaded")
         : loaded == 1 ? QStringLiteral("The stored account is loaded")
                       : QStringLiteral("The ") + number + QStringLiteral(" stored accounts are loaded"));
    text += saved ? QStringLiteral(", and the number is set to ") + number + QStringLiteral(".") + kCrLf
                  : QStringLiteral(". The number could not be set to ") + number + QStringLiteral(",") +
                        kCrLf + QStringLiteral("so this is told again at the next start.") + kCrLf;
    vb::MsgBox(text, vb::vbExclamation, modGeneral::gAppName + QStringLiteral(" - Accounts"));
}

void ShowMainWindow(frmMain& main) {
    if (modOptions::gOpt.MinimizeStartUp == 1)
        main.tray().StartMinimised();
    else
        main.Show();
}

}  // namespace

bool Main(platform::desktop::SingleInstance& instance, const QDateTime& now) {
    using namespace modGeneral;
    using namespace modOptions;
    if (!instance.acquire()) return false;
    forms::UseProgramIcon();

    const int16_t firstUse = StoredInteger(
        GetSetting(kAppKey, QStringLiteral("Settings"), QStringLiteral("FirstUse"), QStringLiteral("0")), 0);
    // A settings file that could not be read lost the first-use mark with
    // everything else: that is no first use.
    const std::vector<SetAsideSettings> setAside = TakeSetAsideSettings();
    const int16_t statedAccounts = modAccounts::StatedAccountCount();
    // The message store holds nothing before the first check.
    gMessageStore.clear();
    // Help pages are found by their topic number in the data folder.
    gAppName = vb::App::Title();
    gPaneName = {QStringLiteral("Email"), QStringLiteral("Accounts"), QStringLiteral("Rules"),
                 QStringLiteral("Options")};

    // The menu theme is read and frmMain.ini written before the main window
    // loads; the menus take the style once the window exists.
    LoadMenuTheme();
    frmMain& main = vb::Forms::Get<frmMain>();
    if (forms::gMenuXP) forms::gMenuXP->Refresh();

    main.checks().StartAutoCheckClock(now);
    ShowMainWindow(main);

    if (!setAside.empty()) {
        TellSettingsSetAside(setAside);
        // A file that stays in place takes no change.
        FinishFirstUse(false, std::none_of(setAside.begin(), setAside.end(),
                                           [](const SetAsideSettings& f) { return f.copy.isEmpty(); }));
    } else if (firstUse == 0) {
        vb::Forms::Get<frmFirstUse>(&main.childWindows()).Show();
        FinishFirstUse(true);
    }
    TellAccountCount(statedAccounts);

    main.checks().ArmStartUpCheck();
    return true;
}

}  // namespace start
