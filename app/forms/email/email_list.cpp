// The message list: rows from the message store, the account's tabs, the
// message buttons and the status bar around it, and the sort by a column.
#include "app/accounts/account_table.h"
#include "app/check/message_sort.h"
#include "app/forms/checks/check_runs.h"
#include "app/forms/email/email_page.h"
#include "app/forms/email/list_tallies.h"
#include "app/forms/main_window/frm_main_design.h"
#include "app/forms/main_window/window_slots.h"
#include "app/general/check_status.h"
#include "app/general/message_ref.h"
#include "app/general/message_store.h"
#include "app/general/server_operation.h"
#include "app/options/option_values.h"
#include "app/options/options_edit.h"
#include "platform/ui/image_list.h"

namespace forms {

int16_t gAttachTally = 0;
int16_t gDeleteAttachTally = 0;
int16_t gAttachNewTally = 0;

}  // namespace forms

namespace {

// A row's icon and the tally it counts in; the first case that holds wins.
struct RowMark {
    const char16_t* icon;
    int16_t* tally = nullptr;
    bool spam = false;
};

RowMark MarkOf(bool isNew, bool marked, bool spam, bool attach) {
    if (marked && attach) return {u"DeleteAttach", &forms::gDeleteAttachTally};
    if (marked) return {u"Delete"};
    if (spam) return {isNew ? u"SpamNew" : u"Spam", nullptr, true};
    if (attach)
        return {isNew ? u"AttachNew" : u"Attach", isNew ? &forms::gAttachNewTally : &forms::gAttachTally};
    return {isNew ? u"New" : u"Normal"};
}

// Status-bar panel 2: a count and the picture that says what it counts; no
// picture leaves the panel empty.
struct CountPanel {
    int16_t count = 0;
    const char16_t* picture = nullptr;
};

CountPanel CountPanelFor(int16_t a) {
    using namespace modAccounts;
    using forms::gAttachNewTally;
    using forms::gAttachTally;
    using forms::gDeleteAttachTally;
    const bool deleteAttach = gAccounts[a].DeleteCount > 0 && gDeleteAttachTally > 0;
    if (gAccounts[a].NewCount > 0) {
        if (gAccounts[a].SpamCount > 0) return {gAccounts[a].SpamCount, u"SpamNew"};
        if (deleteAttach) return {gDeleteAttachTally, u"DeleteAttach"};
        if (gAttachNewTally > 0) return {gAttachNewTally, u"AttachNew"};
        return {gAccounts[a].NewCount, u"New"};
    }
    if (gAccounts[a].SpamCount > 0) return {gAccounts[a].SpamCount, u"Spam"};
    if (deleteAttach) return {gDeleteAttachTally, u"DeleteAttach"};
    if (gAccounts[a].DeleteCount > 0) return {gAccounts[a].DeleteCount, u"Delete"};
    if (gAttachTally > 0) return {gAttachTally, u"Attach"};
    if (gAccounts[a].Result == gAccounts[a].Name + QStringLiteral(" - User Stopped Retrieval") ||
        gAccounts[a].Status == QLatin1String("Not Checked"))
        return {};
    return {gAccounts[a].MsgCount, u"Normal"};
}

}  // namespace

void EmailPage::WireMessageList() {
    c_.lvwEmail.ColumnClick = [this](vb::ColumnHeader header) { lvwEmail_ColumnClick(header); };
}

void EmailPage::FillMessageList(int16_t account) {
    using namespace modAccounts;
    if (gAccountCount == 0 || account < 1 || account > gAccountCount) return;
    FillRows(account);
    ShowListStatus(account);
}

void EmailPage::FillRows(int16_t a) {
    using namespace modAccounts;
    using namespace modGeneral;
    c_.lvwEmail.ClearItems();
    c_.tbrEmail.Buttons(QStringLiteral("EmailSpam")).SetEnabled(false);
    forms::gAttachTally = 0;
    forms::gDeleteAttachTally = 0;
    forms::gAttachNewTally = 0;

    const int16_t count = gAccounts[a].MsgCount;
    QString caption = gAccounts[a].Name;
    mListed.clear();
    if (count > 0) {
        mListed.reserve(static_cast<size_t>(count));
        // The hidden columns stay empty: what the commands need of a row
        // comes from the store, by the row's account and UID.
        c_.lvwEmail.AddItems(count, [&](int slot, vb::ListItem row) {
            const auto i = static_cast<int16_t>(slot);
            mListed.push_back(RefOf(a, i));
            const StoredMessage& m = Msg(a, i);
            row.SetText(m.From);
            int sub = 0;
            for (const QString& text :
                 {m.To, m.Subject, DateText(m), QString::number(m.Size) + QStringLiteral(" KB")})
                row.SetSubItems(++sub, text);
            if (m.New) {
                row.SetBold(true);
                for (int bold = 1; bold <= 4; ++bold) row.SetSubItemBold(bold, true);
            }
            const RowMark mark = MarkOf(m.New, m.Delete, m.Spam, m.Attach);
            row.SetSmallIcon(QString::fromUtf16(mark.icon));
            if (mark.tally) ++*mark.tally;
            if (mark.spam) c_.tbrEmail.Buttons(QStringLiteral("EmailSpam")).SetEnabled(true);
        });
        c_.lvwEmail.Item(1).SetSelected(false);
        gCurrentMsg = 1;
        caption += QStringLiteral("  (") + QString::number(count) + QStringLiteral(")");
    }
    c_.TabStripEmail.SetTabCaption(a, caption);
    c_.TabStripAcnts.SetTabCaption(a, caption);
    SetAccountTabIcon(a);
}

void EmailPage::ShowListStatus(int16_t a) {
    using namespace modAccounts;
    // Enabled again when the user chooses a row.
    EnableMessageCommands(false);

    c_.StatusBar.SetPanelText(forms::panel::kResult, gAccounts[a].Result);
    c_.StatusBar.SetPanelText(forms::panel::kStatus, gAccounts[a].Status);
    c_.StatusBar.SetPanelText(forms::panel::kAutoCheck, checks_.Record().AutoCheckText);
    const CountPanel panel = CountPanelFor(a);
    const QString picture = panel.picture ? QString::fromUtf16(panel.picture) : QString();
    c_.StatusBar.SetPanelText(forms::panel::kNewCount,
                              panel.picture ? QString::number(panel.count) : QString());
    c_.StatusBar.SetPanelPicture(forms::panel::kNewCount, c_.imlListViewIcons.Exists(picture)
                                                              ? c_.imlListViewIcons.Picture(picture)
                                                              : QPixmap());
}

const modGeneral::MessageRef* EmailPage::ListedMessage(int row) {
    if (row < 1 || static_cast<size_t>(row) > mListed.size()) return nullptr;
    modGeneral::MessageRef& ref = mListed[static_cast<size_t>(row - 1)];
    return modGeneral::Locate(ref) != 0 ? &ref : nullptr;
}

void EmailPage::SetAccountTabIcon(int16_t account) {
    using namespace modAccounts;
    if (account < 1 || account > gAccountCount) return;
    QString key =
        gAccounts[account].Checked && !gAccounts[account].Connected
            ? QStringLiteral("MailError")
            : (gAccounts[account].MsgCount >= 1 ? QStringLiteral("MailYes") : QStringLiteral("MailNo"));
    if (gAccounts[account].Enabled == 0) key += QStringLiteral("Disabled");
    c_.TabStripEmail.SetTabImage(account, key);
    c_.TabStripAcnts.SetTabImage(account, key);
}

void EmailPage::HideExtraColumns() {
    for (int column = 6; column <= 9 && column <= c_.lvwEmail.ColumnCount(); ++column)
        c_.lvwEmail.Column(column).SetWidth(0);
}

void EmailPage::SortMessageList(int16_t account, const QString& column) {
    if (!modCheck::IsSortColumn(column)) return;
    const bool descending = modOptions::gOpt.SortOrder != 0;
    ShowSortColumnIcon(column, descending ? QStringLiteral("Descending") : QStringLiteral("Ascending"));
    modCheck::SortMessages(account, column, descending);
}

void EmailPage::ShowSortColumnIcon(const QString& key, const QString& icon) {
    // A picture that could not be drawn leaves the header without one
    // rather than failing the save.
    const auto show = [this](const QString& column, const QString& picture) {
        const vb::ImageList* pictures = c_.lvwEmail.ColumnHeaderIcons();
        c_.lvwEmail.Column(column).SetIcon(pictures && pictures->Exists(picture) ? picture : QString());
    };
    for (const char* column : {"From", "To", "Subject", "Date", "Size"})
        show(QString::fromLatin1(column), QStringLiteral("Blank"));
    if (!key.isEmpty()) show(key, icon);
}

void EmailPage::SortAndFillMessageList() {
    const int16_t account = modAccounts::gCurrentAccount;
    if (account < 1 || account > modAccounts::gAccountCount) return;
    SortMessageList(account, modGeneral::gSortKey);
    FillMessageList(account);
}

void EmailPage::lvwEmail_ColumnClick(const vb::ColumnHeader& header) {
    using namespace modGeneral;
    using namespace modOptions;
    HideExtraColumns();
    // A server operation acts on the messages as listed: no sort under it.
    if (ServerOperation::Running()) return;
    const int16_t a = modAccounts::gCurrentAccount;
    if (a < 1 || a > modAccounts::gAccountCount || modAccounts::gAccounts[a].MsgCount == 0 ||
        gOpt.MessageSort == 0)
        return;
    // The hidden columns are no sort key: a click on one changes nothing.
    const QString caption = header.Text();
    if (!modCheck::IsSortColumn(caption)) return;
    gOpt.SortColumnLastUsed = caption;
    gSortKey = caption;
    if (gSortKey == gSortKeyPrev) modOptions::ChooseSortOrder(gOpt.SortOrder == 0 ? 1 : 0);
    gSortKeyPrev = gSortKey;
    SortMessageList(a, gSortKey);
    FillMessageList(a);
}
