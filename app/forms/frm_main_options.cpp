// What the Options page asks of the main window: the check timers, the sort
// column's icon and the list sorted anew, dialogs with no check starting
// meanwhile, and the window's close.
#include "app/accounts/account_table.h"
#include "app/forms/checks_paused.h"
#include "app/forms/frm_main.h"
#include "app/general/check_status.h"
#include "platform/ui/image_list.h"

// A dialog open now keeps the check paused until it closes.
void frmMain::SetAutoCheckTimers(bool) { checks_.ApplyCheckTimers(); }

void frmMain::ShowSortColumnIcon(const QString& key, const QString& icon) {
    // A picture that could not be drawn leaves the header without one
    // rather than failing the save.
    const auto show = [this](const QString& column, const QString& picture) {
        const vb::ImageList* pictures = lvwEmail.ColumnHeaderIcons();
        lvwEmail.Column(column).SetIcon(pictures && pictures->Exists(picture) ? picture : QString());
    };
    for (const char* column : {"From", "To", "Subject", "Date", "Size"})
        show(QString::fromLatin1(column), QStringLiteral("Blank"));
    if (!key.isEmpty()) show(key, icon);
}

void frmMain::SortAndFillMessageList() {
    const int16_t account = modAccounts::gCurrentAccount;
    if (account < 1 || account > modAccounts::gAccountCount) return;
    SortMessageList(account, modGeneral::gSortKey);
    FillMessageList(account);
}

void frmMain::RunDialogWithChecksPaused(const std::function<void(QWidget* owner)>& dialog) {
    const forms::ChecksPaused paused(*this);
    dialog(this);
}

void frmMain::UnloadWindow() { Unload(); }
