#pragma once
// The main window's Email page: the message list filled from the message
// store with the account's tabs and the status bar around it, the sort by a
// column, the list's pointer events and cell tips, the message menu
// (preview, reply, open) and the deletion of messages on the server.
#include <QSet>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "app/common/view_slot.h"
#include "app/forms/common/tool_tip.h"
#include "app/forms/email/email_tab_click.h"
#include "app/forms/email/message_list_refresh.h"
#include "app/forms/main_window/frm_main_design.h"
#include "app/general/message_ref.h"
#include "app/options/options_view.h"
#include "platform/com/hresult.h"

class CheckRuns;

namespace forms {
class CommandKeys;
class MainWindowLink;
class OperationWindow;
class ServerSession;
struct CallFailure;
class OperationScope;
}  // namespace forms

class EmailPage final : public forms::MessageListRefresh, private modOptions::ListSortView {
public:
    // What the page asks of the main window.
    using Host = forms::EmailTabClick;

    // The controls the window's description marks "for EmailPage".
    using Controls = frmMainDesign::EmailPageControls;

    // Binds the page's controls of design; window is the one the design
    // sits in (the list's pop-up menu, the busy pointer, the tip's owner).
    // Wires the list, the status bar, the message menu and the page's
    // commands. operations is what each deletion on the server holds,
    // session the window's sessions with the servers, children what the
    // preview is given, checks the window's checks, whose record the page
    // shows and the deletions keep (reached only once the window is loaded).
    EmailPage(vb::Form& window, forms::OperationWindow& operations, forms::ServerSession& session,
              forms::MainWindowLink& children, frmMainDesign& design, forms::CommandKeys& commands,
              Host& host, CheckRuns& checks);
    EmailPage(const EmailPage&) = delete;
    EmailPage& operator=(const EmailPage&) = delete;

    // The options sort the list while the window is loaded.
    void RegisterViews() { listSort_ = modOptions::gListSortView.Register(*this); }
    void ReleaseViews() { listSort_.Reset(); }

    // ---- message list ----
    // Rebuilds the whole list from the message store for account (1 to the
    // account count; any other number changes nothing): rows with their
    // icons, new mail in bold, the account's tab captions and icons, the
    // message buttons and menu entries disabled until a row is chosen, and
    // status-bar panels 1 to 4.
    void FillMessageList(int16_t account) override;
    // The account's tab icon on both tab strips: error, mail or no mail,
    // and "Disabled" for an account switched off.
    void SetAccountTabIcon(int16_t account) override;
    // The hidden columns 6 to 9 kept at width 0.
    void HideExtraColumns();
    // The stored message that row (1-based) of the list shows, found in the
    // store by its account and UID; nullptr when the store holds it no more.
    // The list itself holds only the texts it shows.
    const modGeneral::MessageRef* ListedMessage(int row);
    // The stored message the current row (gCurrentMsg) shows; nullptr when
    // there is none.
    const modGeneral::MessageRef* CurrentMessage();
    // Marks column in the header and sorts the account's messages by it in
    // the order gOpt.SortOrder names; a column that is not one of the five
    // visible ones changes nothing.
    void SortMessageList(int16_t account, const QString& column) override;
    // The header's sort picture on column key alone (none for an empty key);
    // a picture that could not be drawn leaves the header without one.
    void ShowSortColumnIcon(const QString& key, const QString& icon) override;
    // The current account's list sorted by the sort key and filled again.
    void SortAndFillMessageList() override;

    // ---- pointer events ----
    // The list's tooltip, once the window is loaded.
    void CreateListToolTip();
    // Enables or disables the four message buttons and menu entries.
    void EnableMessageCommands(bool on);
    // The list's highlight follows the message another window shows: its row
    // alone selected, in view, and the current message.
    void FollowShownMessage(int16_t account, int16_t msg);
    // The list's pointer events: the current message, the message buttons
    // and menu entries enabled only for a chosen row, the pop-up menu on a
    // right click, the preview on a double click, the keyboard focus kept
    // off the list, and the tips of cells too narrow for their text.
    void lvwEmail_ItemClick();
    void lvwEmail_Click();
    void lvwEmail_DblClick();
    void lvwEmail_MouseDown(int Button, int Shift, int x, int y);
    void lvwEmail_MouseUp(int Button, int Shift, int x, int y);
    void lvwEmail_GotFocus();
    void lvwEmail_MouseMove(int Button, int Shift, int x, int y);
    // The tip of the status-bar panel under the pointer.
    void StatusBar_MouseMove(int Button, int Shift, int x, int y);

    // The list row under the pointer (0 = none) and whether the user chose one.
    int16_t mHoverItem = 0;
    bool mItemSelected = false;

    // ---- message menu ----
    // The preview window with the message of the list's current row; an
    // open preview turns to it. Nothing happens without a current message.
    void mnuEmailPreview_Click();
    // A reply to the current message in the user's mail program.
    void mnuEmailReply_Click();
    // The current message opened by the user's mail program.
    void mnuEmailOpen_Click();

    // ---- deletion ----
    // Deletes on the server the account's stored messages whose UIDs are
    // given, after the question when the options ask for it, and takes them
    // out of the store and the list once the server committed the deletion.
    // spamMode only changes the texts; confirm false skips the question (the
    // user has already chosen). Claims the busy guard itself: call it
    // outside any server operation; it does nothing while one runs.
    void DeleteMessagesByUid(int16_t account, const QStringList& uids, bool spamMode, bool confirm = true);
    // The same inside the server operation the caller holds; nothing when
    // that operation did not start.
    void DeleteMessagesOnServer(const forms::OperationScope& operation, int16_t account,
                                const QStringList& uids, bool spamMode, bool confirm = true);
    // The same for the messages selected in the list (which must show the
    // account), or with spamMode for the account's spam-marked messages.
    void DeleteSelectedMessages(int16_t account, bool spamMode);
    // The message menu's Delete: the selected messages of the current account.
    void mnuEmailDelete_Click();
    // The preview's Delete: exactly the message with this UID, as a server
    // operation of its own, with the automatic check paused.
    void DeleteOneMessage(int16_t account, const QString& uid);
    // While a server operation runs a deletion cannot start: true, after
    // telling the user so, instead of a click that does nothing.
    bool DeletionRefusedWhileBusy();

private:
    void WireMessageList();
    void WirePointerEvents();
    void WireMessageMenu();
    void WireDeletion();
    void lvwEmail_ColumnClick(const vb::ColumnHeader& header);
    // The steps of FillMessageList: the rows, then the commands and the
    // status bar that follow them.
    void FillRows(int16_t account);
    void ShowListStatus(int16_t account);
    // The pointer left the From, To and Subject cells: no row, no tip.
    void ForgetListHover();
    // The UIDs DeleteSelectedMessages deletes.
    QStringList ChosenUids(int16_t account, bool spamMode);
    // Every account with spam-marked messages, in tab order.
    void DeleteAllSpam();
    // The steps of DeleteMessagesOnServer: the question (false: the user
    // declined or nothing is chosen), the session that marks the wanted
    // messages and commits their deletion (false: it failed or did not
    // connect; kept gets what the server refused), and the store and the
    // list afterwards.
    // unnamed: the chosen messages without a UID, which cannot be deleted.
    bool ConfirmDeletion(int16_t account, const std::vector<bool>& chosen, qsizetype unnamed, bool spamMode,
                         bool confirm);
    bool DeleteInSession(int16_t account, const QSet<QString>& wanted, QSet<QString>& kept);
    void ShowDeletionResult(int16_t account, QSet<QString> deleted, const QSet<QString>& kept);

    vb::Form& window_;
    forms::OperationWindow& operations_;
    forms::ServerSession& session_;
    forms::MainWindowLink& children_;
    Controls c_;
    forms::CommandKeys& commands_;
    Host& host_;
    CheckRuns& checks_;
    // What each row of the list shows, in row order, from the last fill.
    std::vector<modGeneral::MessageRef> mListed;
    // The message list's tooltip, for the window's lifetime.
    ToolTip mListToolTip;
    // The row and column whose tip was set last.
    int16_t mTipRow = 0;
    int16_t mTipColumn = 0;
    ViewSlot<modOptions::ListSortView>::Registration listSort_;
};
