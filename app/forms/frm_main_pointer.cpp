// The message list and the status bar under the mouse: the current message,
// the message commands, the pop-up menu, the preview on a double click, the
// keyboard focus and the tips of the cells and panels.
#include <QDateTime>

#include "app/accounts/account_table.h"
#include "app/check/schedule.h"
#include "app/forms/frm_main.h"
#include "app/forms/list_tallies.h"
#include "app/forms/status_bar_tips.h"
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

void frmMain::WirePointerEvents() {
    lvwEmail.ItemClick = [this](vb::ListItem) { lvwEmail_ItemClick(); };
    lvwEmail.Click = [this] { lvwEmail_Click(); };
    lvwEmail.DblClick = [this] { lvwEmail_DblClick(); };
    lvwEmail.GotFocus = [this] { lvwEmail_GotFocus(); };
    lvwEmail.MouseDown = [this](int b, int s, int x, int y) { lvwEmail_MouseDown(b, s, x, y); };
    lvwEmail.MouseUp = [this](int b, int s, int x, int y) { lvwEmail_MouseUp(b, s, x, y); };
    lvwEmail.MouseMove = [this](int b, int s, int x, int y) { lvwEmail_MouseMove(b, s, x, y); };
    StatusBar.MouseMove = [this](int b, int s, int x, int y) { StatusBar_MouseMove(b, s, x, y); };
}

void frmMain::EnableMessageCommands(bool on) {
    for (const char16_t* key : kMessageButtons) tbrEmail.Buttons(QString::fromUtf16(key)).SetEnabled(on);
    for (vb::Menu* entry : {&mnuEmailPreview, &mnuEmailDelete, &mnuEmailReply, &mnuEmailOpen}) entry->SetEnabled(on);
}

void frmMain::FollowShownMessage(int16_t account, int16_t msg) {
    // A server operation acts on the rows chosen before it: they stay chosen.
    if (account != modAccounts::gCurrentAccount || modGeneral::ServerOperation::Running()) return;
    for (int row = 1; row <= lvwEmail.ItemCount(); ++row) {
        const modGeneral::MessageRef* listed = ListedMessage(row);
        if (!listed || listed->account != account || listed->slot != msg) continue;
        lvwEmail.clearSelection();
        vb::ListItem item = lvwEmail.Item(row);
        item.SetSelected(true);
        lvwEmail.scrollToItem(item.QtItem());
        modGeneral::gCurrentMsg = static_cast<int16_t>(row);
        mItemSelected = true;
        EnableMessageCommands(true);
        return;
    }
}

void frmMain::lvwEmail_ItemClick() {
    HideExtraColumns();
    mItemSelected = true;
    mHoverItem = 1;
}

void frmMain::lvwEmail_Click() {
    if (ShownMessageCount() == 0) return;
    modGeneral::gCurrentMsg = static_cast<int16_t>(lvwEmail.SelectedItem());
    if (mItemSelected) {
        EnableMessageCommands(true);
        return;
    }
    const int16_t row = modGeneral::gCurrentMsg;
    if (row >= 1 && row <= lvwEmail.ItemCount()) lvwEmail.Item(row).SetSelected(false);
    EnableMessageCommands(false);
}

void frmMain::lvwEmail_DblClick() {
    // The same command as the menu entry, and only while it may run.
    if (!tbrEmail.Buttons(QStringLiteral("EmailPreview")).Enabled()) return;
    if (const auto preview = mnuEmailPreview.Click) preview();
}

void frmMain::lvwEmail_MouseDown(int, int, int, int) {
    // A press beside the rows leaves the keyboard focus off the list.
    if (mHoverItem == 0) cmdTakeFocus.SetFocus();
}

void frmMain::lvwEmail_MouseUp(int Button, int, int, int) {
    if (Button != vb::vbRightButton) return;
    // The commands follow the row under the pointer before the menu opens.
    lvwEmail_Click();
    PopupMenu(mnuEmailPopMenu);
    mItemSelected = mHoverItem >= 1;
}

void frmMain::lvwEmail_GotFocus() {
    if (mHoverItem == 0) cmdTakeFocus.SetFocus();
    HideExtraColumns();
}

void frmMain::ForgetListHover() {
    mItemSelected = false;
    mHoverItem = 0;
    mTipRow = 0;
    mTipColumn = 0;
    mListToolTip.SetToolText(lvwEmail, QString());
}

void frmMain::lvwEmail_MouseMove(int, int, int x, int y) {
    using namespace modGeneral;
    const int16_t row = static_cast<int16_t>(lvwEmail.HitTest(x, y));
    // A row the store does not hold (a list not yet refilled) counts as none.
    if (row < 1 || row > ShownMessageCount()) return ForgetListHover();
    mHoverItem = row;

    const int from = lvwEmail.Column(QStringLiteral("From")).Width();
    const int to = lvwEmail.Column(QStringLiteral("To")).Width();
    const int subject = lvwEmail.Column(QStringLiteral("Subject")).Width();
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
    const Cell cell = column == 1   ? Cell{modOptions::gOptFromToolTips, message.From, from, 260}
                      : column == 2 ? Cell{modOptions::gOptToToolTips, message.To, to, 140}
                                    : Cell{modOptions::gOptSubjectToolTips, message.Subject, subject, 140};
    // A tip switched off leaves the last one as it is.
    if (cell.option == 0) return;
    mTipColumn = column;
    if (cell.width - cell.margin > TextWidth(cell.text)) {
        mListToolTip.SetToolText(lvwEmail, QString());
        return;
    }
    // Each address of a list on its own line.
    QString tip = cell.text;
    mListToolTip.SetToolText(lvwEmail, tip.replace(QChar(','), QStringLiteral("\r\n")));
}

void frmMain::StatusBar_MouseMove(int, int, int x, int) {
    int panel = 0;
    for (int k = 1; k <= StatusBar.PanelCount() && panel == 0; ++k) {
        const int right =
            k < StatusBar.PanelCount() ? StatusBar.PanelLeft(k + 1) : StatusBar.PanelLeft(k) + StatusBar.PanelWidth(k);
        if (x > StatusBar.PanelLeft(k) && x < right) panel = k;
    }
    const QString text = panel ? StatusBar.PanelText(panel) : QString();
    switch (panel) {
        case 1:
            StatusBar.SetToolTipText(text);
            break;
        case 2: {
            using namespace modAccounts;
            const int16_t a = gCurrentAccount;
            if (a < 1 || a > gAccountCount) break;
            StatusBar.SetToolTipText(forms::CountPanelTip(
                text, {gAccounts[a].SpamCount, gAccounts[a].DeleteCount, gAccounts[a].MsgCount, gAccounts[a].NewCount,
                       forms::gAttachTally >= 1 || forms::gDeleteAttachTally >= 1 || forms::gAttachNewTally >= 1}));
            break;
        }
        case 3:
            StatusBar.SetToolTipText(forms::CheckedPanelTip(text, modCheck::gClock()));
            break;
        case 4:
            StatusBar.SetToolTipText(forms::AutoCheckPanelTip(text, modGeneral::gNextCheckStamp));
            break;
        case 5:
            StatusBar.SetToolTipText(forms::ClockPanelTip(modCheck::gClock()));
            break;
        default:
            break;  // over no panel the tip stays
    }
}
