#include "app/options/options_edit.h"

#include "app/accounts/account_operations.h"

#include <QFileInfo>
#include <array>

#include "app/accounts/account_table.h"
#include "app/general/check_status.h"
#include "app/options/menu_theme.h"
#include "app/options/option_values.h"
#include "app/options/options_view.h"
#include "app/options/run_at_startup.h"

namespace modOptions {

ViewSlot<OptionsView> gOptionsView;
ViewSlot<ListSortView> gListSortView;
ViewSlot<AutoCheckView> gAutoCheckView;
ViewSlot<TrayMenuView> gTrayMenuView;
ViewSlot<ToolbarStyleView> gToolbarStyleView;
ViewSlot<MainWindowView> gMainWindowView;

namespace {

using modAccounts::gAccounts;
using modAccounts::gCurrentAccount;

bool UsableProgram(const QString& path) {
    const MainWindowView* window = gMainWindowView.Get();
    return window && !path.isEmpty() && window->IsUsableProgram(path);
}

// The current account's slot when it has one.
bool HasCurrentAccount() { return gCurrentAccount >= 1 && gAccounts.Contains(gCurrentAccount); }

// Every switch is tested anew, sound on or off, so none outlives a change
// of its path or file. The program at large follows the saved paths; the
// Options page shows the pending ones.
void DeriveValiditySwitches() {
    gDefaultClientValid = UsableProgram(gOpt.DefaultClient);
    gDefaultSoundValid = IsUsableSound(gOpt.DefaultSound);
    gEditDefaultClientValid = UsableProgram(gEditOpt.DefaultClient);
    gEditDefaultSoundValid = IsUsableSound(gEditOpt.DefaultSound);
    if (HasCurrentAccount())
        gAccounts[gCurrentAccount].ClientValid = UsableProgram(gAccounts[gCurrentAccount].Client);
}

void Report(const QString& title, const QString& text) {
    if (MainWindowView* window = gMainWindowView.Get()) window->ReportOptionsFailure(title, text);
}

// Start with the session, only when the box changed. A failure keeps the old
// choice, so the stored option says what will happen.
void ApplyRunAtStartup() {
    if (gEditOpt.RunStartUp == gOpt.RunStartUp) return;
    const bool on = gEditOpt.RunStartUp == 1;
    if (on ? SetRunAtStartup() : RemoveRunAtStartup()) return;
    gEditOpt.RunStartUp = gOpt.RunStartUp;
    const QString& app = modGeneral::gAppName;
    Report(QStringLiteral("Run at StartUp"),
           on ? QStringLiteral("The autostart entry could not be written, so ") + app +
                    QStringLiteral(" will not start when you log on.")
              : QStringLiteral("The autostart entry could not be removed, so ") + app +
                    QStringLiteral(" will still start when you log on."));
}

// The theme and colours are committed from the colour boxes, and the menus
// redrawn only when something of them changed.
void ApplyMenuColours() {
    const OptionsView* page = gOptionsView.Get();
    const MenuColours boxes =
        page ? page->MenuColourBoxes()
             : MenuColours{gEditOpt.TopColour, gEditOpt.MiddleColour, gEditOpt.BottomColour};
    if (boxes == LiveMenuColours() && gEditOpt.DTheme == gOpt.DTheme) return;
    gOpt.DTheme = gEditOpt.DTheme;
    gOpt.TopColour = boxes.top;
    gOpt.MiddleColour = boxes.middle;
    gOpt.BottomColour = boxes.bottom;
    ApplyMenuStyle();
}

void ApplyListSort() {
    ListSortView* list = gListSortView.Get();
    if (gOpt.MessageSort != 1) {
        if (list) list->ShowSortColumnIcon(QString(), QString());
        return;
    }
    modGeneral::gSortKey = SortColumnName(gOpt.SortColumn);
    modGeneral::gSortKeyPrev = modGeneral::gSortKey;
    if (!list) return;
    list->ShowSortColumnIcon(modGeneral::gSortKey, gOpt.SortOrder != 0 ? QStringLiteral("Descending")
                                                                       : QStringLiteral("Ascending"));
    list->SortAndFillMessageList();
}

void ApplyMailClientButton() {
    MainWindowView* window = gMainWindowView.Get();
    if (!window) return;
    if (gDefaultClientValid) {
        window->LoadMailClientIcon(gOpt.DefaultClient, 0);
        window->SetMailClientButton(0);
    } else if (HasCurrentAccount() && gAccounts[gCurrentAccount].ClientValid) {
        window->LoadMailClientIcon(gAccounts[gCurrentAccount].Client, gCurrentAccount);
        window->SetMailClientButton(gCurrentAccount);
    } else {
        window->SetMailClientButton(-1);
    }
}

void ApplyAutoCheck(bool intervalSwitched, bool timingChanged) {
    AutoCheckView* checks = gAutoCheckView.Get();
    TrayMenuView* tray = gTrayMenuView.Get();
    if (checks) checks->ApplyCheckTimers();
    if (gOpt.UseInterval == 1) {
        if (tray) tray->SetTrayAutoCheckCaption(QStringLiteral("&Auto Check - On|#AutoCheckOn"));
    } else {
        if (tray) tray->SetTrayAutoCheckCaption(QStringLiteral("&Auto Check - Off|#AutoCheckOff"));
    }
    // Without the checks there is no schedule to follow the options.
    if (!checks) return;
    modGeneral::CheckRunState& run = checks->Record();
    if (gOpt.UseInterval != 1) {
        run.AutoCheckText = QStringLiteral("Auto Check Off");
    } else if (intervalSwitched && !timingChanged) {
        // The next check computed before auto check went off stands.
        run.AutoCheckText = run.AutoCheckTextSaved;
        run.NextCheckStamp = run.NextCheckStampSaved;
    } else if (timingChanged) {
        run.NoCheckDeferred = false;
        checks->SetNextAutoCheckTime();
    }
    checks->ShowAutoCheckText(run.AutoCheckText);
}

}  // namespace

bool IsUsableSound(const QString& path) {
    const QFileInfo file(path);
    return path.endsWith(QLatin1String(".wav"), Qt::CaseInsensitive) && file.isFile();
}

QString SortColumnName(int16_t sortColumn) {
    static const std::array<QString, 5> kColumns{QStringLiteral("From"), QStringLiteral("To"),
                                                 QStringLiteral("Subject"), QStringLiteral("Date"),
                                                 QStringLiteral("Size")};
    if (sortColumn >= 1 && sortColumn <= 5) return kColumns[static_cast<size_t>(sortColumn - 1)];
    if (sortColumn == 0)
        for (const QString& column : kColumns)
            if (gOpt.SortColumnLastUsed == column) return column;
    return QStringLiteral("Date");
}

std::optional<ToolbarStyles> ToolbarStylesFor(int16_t buttonStyle, int16_t applyStyle) {
    if (buttonStyle != 1) return ToolbarStyles{1, 1, 1};
    switch (applyStyle) {
        case 0:
            return ToolbarStyles{0, 1, 1};
        case 1:
            return ToolbarStyles{1, 0, 1};
        case 2:
            return ToolbarStyles{1, 1, 0};
        case 3:
            return ToolbarStyles{0, 0, 0};
        default:
            return std::nullopt;
    }
}

void ApplyButtonStyle() {
    ToolbarStyleView* bars = gToolbarStyleView.Get();
    const std::optional<ToolbarStyles> styles = ToolbarStylesFor(gOpt.ButtonStyle, gOpt.ApplyStyle);
    if (!bars || !styles) return;
    bars->SetToolbarStyle(ToolbarGroup::B, styles->b);
    bars->SetToolbarStyle(ToolbarGroup::C, styles->c);
    bars->SetToolbarStyle(ToolbarGroup::A, styles->a);
}

void DisplayOptions() {
    CopyOptionsToEdit();
    if (OptionsView* view = gOptionsView.Get()) view->ShowOptionValues();
    CheckOptionsChanged();
}

void CheckOptionsChanged() {
    if (modGeneral::gLoading) return;
    OptionsView* view = gOptionsView.Get();
    gOptionsChanged = EditOptionsDiffer();

    modGeneral::gSoundsOn = gEditOpt.PlaySound == 1;
    DeriveValiditySwitches();
    if (TrayMenuView* tray = gTrayMenuView.Get())
        tray->SetTraySoundsCaption(modGeneral::gSoundsOn ? QStringLiteral("Soun&ds - On|#SoundOn")
                                                         : QStringLiteral("Soun&ds - Off|#SoundOff"));
    if (!view) return;
    view->ShowOptionDescriptions();
    view->EnableOptionsSave(gOptionsChanged);
}

void ChooseSortOrder(int16_t order) {
    gOpt.SortOrder = order;
    gEditOpt.SortOrder = order;
    if (OptionsView* view = gOptionsView.Get()) view->ShowSortOrder(order);
    CheckOptionsChanged();
}

void SaveOptions() {
    ApplyRunAtStartup();
    ApplyMenuColours();

    const bool intervalSwitched = gEditOpt.UseInterval != gOpt.UseInterval;
    const bool timingChanged = gEditOpt.Hours != gOpt.Hours || gEditOpt.Minutes != gOpt.Minutes ||
                               gEditOpt.NoCheck != gOpt.NoCheck ||
                               gEditOpt.NoCheckTime[0] != gOpt.NoCheckTime[0] ||
                               gEditOpt.NoCheckTime[1] != gOpt.NoCheckTime[1];
    CommitEditOptions();
    // The mail-client button below follows the paths just saved.
    DeriveValiditySwitches();
    if (!WriteOptions())
        Report(QStringLiteral("Options"),
               QStringLiteral("The options could not be written to the settings store. They apply until ") +
                   modGeneral::gAppName + QStringLiteral(" ends."));

    ApplyListSort();
    ApplyMailClientButton();
    ApplyAutoCheck(intervalSwitched, timingChanged);
    DisplayOptions();
    ApplyButtonStyle();
    // The account shown takes the new defaults, unless it holds unsaved edits:
    // a save of the options (also from the tray) never discards those.
    modAccounts::AccountsView* accounts = modAccounts::gAccountsView.Get();
    if (accounts && !modAccounts::gAccountChanged) accounts->DisplayAccount(gCurrentAccount);
    if (OptionsView* page = gOptionsView.Get()) page->FocusOptionsTree();
}

}  // namespace modOptions
