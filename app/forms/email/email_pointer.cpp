// The message list and the status bar under the mouse: the current message,
// the message commands, the pop-up menu, the preview on a double click, the
// keyboard focus and the tips of the cells and panels, with the list's tooltip.
#include <QDateTime>

#include "app/accounts/account_table.h"
#include "app/check/schedule.h"
#include "app/forms/checks/check_runs.h"
#include "app/forms/email/email_page.h"
#include "app/forms/email/list_tallies.h"
#include "app/forms/main_window/frm_main_design.h"
#include "app/forms/main_window/status_bar_tips.h"
#include "app/forms/main_window/window_slots.h"
#include "app/general/check_status.h"
#include "app/general/message_store.h"
#include "app/general/server_operation.h"
#include "app/options/option_values.h"

namespace {

const char16_t* const kMessageButtons[] = {u"EmailPreview", u"EmailReply", u"EmailOpen", u"EmailDelete"};

// The messages of the account the list shows; 0 when no account is shown.
int16_t ShownMessageCount() {
    const int16_t a = modAccounts::gCurrentAccount;
    return a >= 1 && a <= modAccounts::gAccountCount ? modAccounts::gAccounts[a].MsgCount : 0;
}

// The cell whose text a tip shows: 1 From, 2 To, 3 Subject, by the column
// edges in twips; an edge itself, and the columns after Subject, are none (0).
int16_t TipColumnAt(int x, int w1, int w2, int w3) {
    if (x > 0 && x < w1) return 1;
    if (x > w1 && x < w2) return 2;
    if (x > w2 && x < w3) return 3;
    return 0;
}

}  // namespace

void EmailPage::CreateListToolTip() {
    mListToolTip.Create(window_);
    mListToolTip.SetMaxTipWidth(240);
    mListToolTip.SetDelayTime(2, 5000);  // how long a tip stays
    mListToolTip.AddTool(c_.lvwEmail);
    mListToolTip.SetToolText(c_.lvwEmail, QString());
    mListToolTip.SetBackColor(0xE0FEFC);
    mListToolTip.SetForeColor(0);
    mListToolTip.SetMargin(0, 2);
    mListToolTip.SetMargin(2, 2);
}

void EmailPage::WirePointerEvents() {
    c_.lvwEmail.ItemClick = [this](vb::ListItem) { lvwEmail_ItemClick(); };
    c_.lvwEmail.Click = [this] { lvwEmail_Click(); };
    c_.lvwEmail.DblClick = [this] { lvwEmail_DblClick(); };
    c_.lvwEmail.GotFocus = [this] { lvwEmail_GotFocus(); };
    c_.lvwEmail.MouseDown = [this](int b, int s, int x, int y) { lvwEmail_MouseDown(b, s, x, y); };
    c_.lvwEmail.MouseUp = [this](int b, int s, int x, int y) { lvwEmail_MouseUp(b, s, x, y); };
    c_.lvwEmail.MouseMove = [this](int b, int s, int x, int y) { lvwEmail_MouseMove(b, s, x, y); };
    c_.StatusBar.MouseMove = [this](int b, int s, int x, int y) { StatusBar_MouseMove(b, s, x, y); };
}

void EmailPage::EnableMessageCommands(bool on) {
    for (const char16_t* key : kMessageButtons) c_.tbrEmail.Buttons(QString::fromUtf16(key)).SetEnabled(on);
    for (vb::Menu* entry : {&c_.mnuEmailPreview, &c_.mnuEmailDelete, &c_.mnuEmailReply, &c_.mnuEmailOpen})
        entry->SetEnabled(on);
}

void EmailPage::FollowShownMessage(int16_t account, int16_t msg) {
    // A server operation acts on the rows chosen before it: they stay chosen.
    if (account != modAccounts::gCurrentAccount || modGeneral::ServerOperation::Running()) return;
    for (int row = 1; row <= c_.lvwEmail.ItemCount(); ++row) {
        const modGeneral::MessageRef* listed = ListedMessage(row);
        if (!listed || listed->account != account || listed->slot != msg) continue;
        c_.lvwEmail.clearSelection();
        vb::ListItem item = c_.lvwEmail.Item(row);
        item.SetSelected(true);
        c_.lvwEmail.scrollToItem(item.QtItem());
        modGeneral::gCurrentMsg = static_cast<int16_t>(row);
        mItemSelected = true;
        EnableMessageCommands(true);
        return;
    }
}

void EmailPage::lvwEmail_ItemClick() {
    HideExtraColumns();
    mItemSelected = true;
    mHoverItem = 1;
}

void EmailPage::lvwEmail_Click() {
    if (ShownMessageCount() == 0) return;
    modGeneral::gCurrentMsg = static_cast<int16_t>(c_.lvwEmail.SelectedItem());
    if (mItemSelected) {
        EnableMessageCommands(true);
        return;
    }
    const int16_t row = modGeneral::gCurrentMsg;
    if (row >= 1 && row <= c_.lvwEmail.ItemCount()) c_.lvwEmail.Item(row).SetSelected(false);
    EnableMessageCommands(false);
}

void EmailPage::lvwEmail_DblClick() {
    // The same command as the menu entry, and only while it may run.
    if (!c_.tbrEmail.Buttons(QStringLiteral("EmailPreview")).Enabled()) return;
    if (const auto preview = c_.mnuEmailPreview.Click) preview();
}

void EmailPage::lvwEmail_MouseDown(int, int, int, int) {
    // A press beside the rows leaves the keyboard focus off the list.
    if (mHoverItem == 0) c_.cmdTakeFocus.SetFocus();
}

void EmailPage::lvwEmail_MouseUp(int Button, int, int, int) {
    if (Button != vb::vbRightButton) return;
    // The commands follow the row under the pointer before the menu opens.
    lvwEmail_Click();
    window_.PopupMenu(c_.mnuEmailPopMenu);
    mItemSelected = mHoverItem >= 1;
}

void EmailPage::lvwEmail_GotFocus() {
    if (mHoverItem == 0) c_.cmdTakeFocus.SetFocus();
    HideExtraColumns();
}

void EmailPage::ForgetListHover() {
    mItemSelected = false;
    mHoverItem = 0;
    mTipRow = 0;
    mTipColumn = 0;
    mListToolTip.SetToolText(c_.lvwEmail, QString());
}

void EmailPage::lvwEmail_MouseMove(int, int, int x, int y) {
    using namespace modGeneral;
    const int16_t row = static_cast<int16_t>(c_.lvwEmail.HitTest(x, y));
    // A row the store does not hold (a list not yet refilled) counts as none.
    if (row < 1 || row > ShownMessageCount()) return ForgetListHover();
    mHoverItem = row;

    const int from = c_.lvwEmail.Column(QStringLiteral("From")).Width();
    const int to = c_.lvwEmail.Column(QStringLiteral("To")).Width();
    const int subject = c_.lvwEmail.Column(QStringLiteral("Subject")).Width();
    const int16_t column = TipColumnAt(x, from, from + to, from + to + subject);
    if (column == 0) return ForgetListHover();
    if (mHoverItem == mTipRow && column == mTipColumn) return;
    mTipRow = mHoverItem;

    // The row's message as the store holds it now.
    const MessageRef* listed = ListedMessage(row);
    if (!listed) return ForgetListHover();
    const int16_t a = listed->account;
    const int16_t m = listed->slot;
    // Per column: the option that allows the tip, the text, the width and
    // the margin (twips) that the text must leave free to fit.
    struct Cell {
        int16_t option;
        QString text;
        int width;
        int margin;
    };
    const StoredMessage& message = Msg(a, m);
    const Cell cell = column == 1   ? Cell{modOptions::gOpt.FromToolTips, message.From, from, 260}
                      : column == 2 ? Cell{modOptions::gOpt.ToToolTips, message.To, to, 140}
                                    : Cell{modOptions::gOpt.SubjectToolTips, message.Subject, subject, 140};
    // A tip switched off leaves the last one as it is.
    if (cell.option == 0) return;
    mTipColumn = column;
    if (cell.width - cell.margin > window_.TextWidth(cell.text)) {
        mListToolTip.SetToolText(c_.lvwEmail, QString());
        return;
    }
    // Each address of a list on its own line.
    QString tip = cell.text;
    mListToolTip.SetToolText(c_.lvwEmail, tip.replace(QChar(','), QStringLiteral("\r\n")));
}

void EmailPage::StatusBar_MouseMove(int, int, int x, int) {
    int panel = 0;
    for (int k = 1; k <= c_.StatusBar.PanelCount() && panel == 0; ++k) {
        const vb::StatusBar& bar = c_.StatusBar;
        const int right = k < bar.PanelCount() ? bar.PanelLeft(k + 1) : bar.PanelLeft(k) + bar.PanelWidth(k);
        if (x > c_.StatusBar.PanelLeft(k) && x < right) panel = k;
    }
    const QString text = panel ? c_.StatusBar.PanelText(panel) : QString();
    switch (panel) {
        case forms::panel::kResult:
            c_.StatusBar.SetToolTipText(text);
            break;
        case forms::panel::kNewCount: {
            using namespace modAccounts;
            const int16_t a = gCurrentAccount;
            if (a < 1 || a > gAccountCount) break;
            c_.StatusBar.SetToolTipText(forms::CountPanelTip(
                text,
                {gAccounts[a].SpamCount, gAccounts[a].DeleteCount, gAccounts[a].MsgCount,
                 gAccounts[a].NewCount,
                 forms::gAttachTally >= 1 || forms::gDeleteAttachTally >= 1 || forms::gAttachNewTally >= 1}));
            break;
        }
        case forms::panel::kStatus:
            c_.StatusBar.SetToolTipText(forms::CheckedPanelTip(text, modCheck::gClock()));
            break;
        case forms::panel::kAutoCheck:
            c_.StatusBar.SetToolTipText(forms::AutoCheckPanelTip(text, checks_.Record().NextCheckStamp));
            break;
        case forms::panel::kClock:
            c_.StatusBar.SetToolTipText(forms::ClockPanelTip(modCheck::gClock()));
            break;
        default:
            break;  // over no panel the tip stays
    }
}
