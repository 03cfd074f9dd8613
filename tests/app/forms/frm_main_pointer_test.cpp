// The message list and the status bar under the mouse: clicks choose the
// current message and switch the message commands, the right button opens
// the pop-up menu, a double click previews, cells too narrow for their text
// get a tip, and each status-bar panel explains itself.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDateTime>
#include <QMenu>
#include <QTest>
#include <QTimer>
#include <vector>

#include "app/accounts/account_table.h"
#include "app/common/app_settings.h"
#include "app/forms/list_tallies.h"
#include "app/forms/status_bar_tips.h"
#include "app/general/check_status.h"
#include "app/general/message_store.h"
#include "app/options/option_values.h"
#include "tests/app/forms/laid_out_main_window.h"

using namespace modAccounts;
using namespace modGeneral;

namespace {

constexpr int16_t kRows = 3;

class FrmMainPointer : public testing::Test {
protected:
    void SetUp() override {
        const QString settings = QStringLiteral("Settings");
        SaveSetting(kAppKey, settings, QStringLiteral("AcntNum"), QStringLiteral("1"));
        SaveSetting(kAppKey, settings, QStringLiteral("AcntName1"), QStringLiteral("Home"));
        SaveSetting(kAppKey, settings, QStringLiteral("AcntEnabled1"), QStringLiteral("1"));
        gAppName = QStringLiteral("Veltrane");
        frmMain& f = LaidOutMainWindow();
        ResizeMessageArrays(kRows);
        gAcntMsgCount[1] = kRows;
        for (int16_t i = 1; i <= kRows; ++i) {
            gMsgFrom(1, i) = QStringLiteral("s%1@example.org").arg(i);
            gMsgTo(1, i) = QStringLiteral("me@example.org");
            gMsgSubject(1, i) = QStringLiteral("Subject %1").arg(i);
        }
        modOptions::gOptFromToolTips = modOptions::gOptToToolTips = modOptions::gOptSubjectToolTips = 1;
        f.FillMessageList(1);
        f.Show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&f));
    }
    void TearDown() override {
        form().mQuitting = true;
        vb::Forms::Unload<frmMain>();
        gAccountCount = 0;
    }
    static frmMain& form() { return vb::Forms::Get<frmMain>(); }
    static QWidget* viewport() { return form().lvwEmail.viewport(); }
    // The middle of a row's cell in a column (1-based), in viewport pixels.
    static QPoint Cell(int row, int column) {
        const QRect r = form().lvwEmail.visualRect(
            form().lvwEmail.model()->index(row - 1, column - 1));
        return r.center();
    }
    // A point below the last row.
    static QPoint Empty() { return QPoint(20, viewport()->height() - 5); }
    // The pointer moves there, as the list reports it (twips of the control).
    static void MoveTo(const QPoint& inViewport) {
        const QPoint p = viewport()->mapTo(&form().lvwEmail, inViewport);
        form().lvwEmail.MouseMove(0, 0, vb::PixelsToTwipsX(p.x()), vb::PixelsToTwipsY(p.y()));
    }
    static void Click(const QPoint& at, Qt::MouseButton button = Qt::LeftButton) {
        MoveTo(at);
        QTest::mouseClick(viewport(), button, {}, at);
    }
    static bool CommandsEnabled() {
        frmMain& f = form();
        const bool on = f.tbrEmail.Buttons("EmailPreview").Enabled();
        for (const char* key : {"EmailReply", "EmailOpen", "EmailDelete"})
            EXPECT_EQ(f.tbrEmail.Buttons(key).Enabled(), on) << key;
        for (vb::Menu* entry : {&f.mnuEmailPreview, &f.mnuEmailDelete, &f.mnuEmailReply, &f.mnuEmailOpen})
            EXPECT_EQ(entry->Enabled(), on) << entry->Caption().toStdString();
        return on;
    }
    static QString ListTip() {
        for (QObject* child : form().children())
            if (auto* tips = dynamic_cast<vb::ToolTipWindow*>(child)) return tips->ToolText(form().lvwEmail);
        return QStringLiteral("<no tooltip window>");
    }
    // Right click at `at`; returns whether the commands were enabled while
    // the pop-up menu was open, and whether it opened at all.
    static std::pair<bool, bool> RightClick(const QPoint& at) {
        bool opened = false, enabledThen = false;
        QTimer::singleShot(0, [&] {
            if (QWidget* menu = QApplication::activePopupWidget()) {
                opened = menu == form().mnuEmailPopMenu.QtMenu();
                enabledThen = CommandsEnabled();
                menu->close();
            }
        });
        Click(at, Qt::RightButton);
        return {opened, enabledThen};
    }
};

TEST_F(FrmMainPointer, ClicksChooseTheMessageAndSwitchTheCommands) {
    ASSERT_FALSE(CommandsEnabled()) << "a fresh list has no chosen row";
    Click(Cell(2, 1));
    EXPECT_TRUE(CommandsEnabled());
    EXPECT_EQ(gCurrentMsg, 2);
    EXPECT_TRUE(form().mItemSelected);

    Click(Empty());  // beside the rows: nothing chosen
    EXPECT_FALSE(CommandsEnabled());
    EXPECT_EQ(form().lvwEmail.SelectedItem(), 0);
    EXPECT_FALSE(form().mItemSelected);

    const auto [opened, enabledOnRow] = RightClick(Cell(3, 2));
    EXPECT_TRUE(opened);
    EXPECT_TRUE(enabledOnRow) << "enabled before the menu opens";
    EXPECT_EQ(gCurrentMsg, 3);
    EXPECT_TRUE(form().mItemSelected);

    const auto [openedEmpty, enabledOnEmpty] = RightClick(Empty());
    EXPECT_TRUE(openedEmpty);
    EXPECT_FALSE(enabledOnEmpty);
    EXPECT_FALSE(form().mItemSelected);
}

TEST_F(FrmMainPointer, DoubleClickPreviewsOnlyWhilePreviewMayRun) {
    int previews = 0;
    form().mnuEmailPreview.Click = [&] { ++previews; };
    Click(Cell(1, 3));  // the first click of the two
    QTest::mouseDClick(viewport(), Qt::LeftButton, {}, Cell(1, 3));
    EXPECT_EQ(previews, 1);

    form().tbrEmail.Buttons("EmailPreview").SetEnabled(false);
    form().lvwEmail_DblClick();
    EXPECT_EQ(previews, 1);
}

TEST_F(FrmMainPointer, APressBesideTheRowsKeepsTheFocusOffTheList) {
    form().lvwEmail.SetFocus();
    MoveTo(Empty());
    QTest::mousePress(viewport(), Qt::LeftButton, {}, Empty());
    QTest::mouseRelease(viewport(), Qt::LeftButton, {}, Empty());
    EXPECT_TRUE(form().cmdTakeFocus.Widget().hasFocus());
    Click(Cell(1, 1));
    EXPECT_TRUE(form().lvwEmail.hasFocus()) << "a press on a row leaves the focus on the list";
}

TEST_F(FrmMainPointer, CellsTooNarrowForTheirTextGetATip) {
    const QString list = QStringLiteral("alice.longname@example.org, bob.longname@example.org, carol@example.org");
    gMsgFrom(1, 1) = list;
    gMsgSubject(1, 2) = QStringLiteral("Minutes, agenda and every other paper of the meeting in one long subject");
    struct Case {
        const char* name;
        int row;
        int column;
        QString tip;
        int16_t hover;
    };
    const Case cases[] = {
        {"a list of senders, one per line", 1, 1,
         "alice.longname@example.org\r\n bob.longname@example.org\r\n carol@example.org", 1},
        {"a short recipient", 1, 2, "", 1},
        {"a long subject", 2, 3, "Minutes\r\n agenda and every other paper of the meeting in one long subject", 2},
        {"a short sender", 3, 1, "", 3},
        {"the date column is no cell with a tip", 1, 4, "", 0},
        {"back on the long sender", 1, 1,
         "alice.longname@example.org\r\n bob.longname@example.org\r\n carol@example.org", 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MoveTo(Cell(c.row, c.column));
        EXPECT_EQ(ListTip(), c.tip);
        EXPECT_EQ(form().mHoverItem, c.hover);
    }
    MoveTo(Empty());
    EXPECT_EQ(form().mHoverItem, 0);
    EXPECT_FALSE(form().mItemSelected);
}

TEST_F(FrmMainPointer, ATipSwitchedOffKeepsTheLastOneAndTheSameCellChangesNothing) {
    gMsgFrom(1, 1) = QStringLiteral("alice.longname@example.org, bob.longname@example.org, carol@example.org");
    gMsgTo(1, 1) = QStringLiteral("first.recipient@example.org, second.recipient@example.org, third@example.org");
    MoveTo(Cell(1, 2));
    const QString toTip = ListTip();
    ASSERT_TRUE(toTip.startsWith("first.recipient"));
    modOptions::gOptFromToolTips = 0;
    MoveTo(Cell(1, 1));
    EXPECT_EQ(ListTip(), toTip) << "From tips are off: the To tip stays";

    modOptions::gOptFromToolTips = 1;
    MoveTo(Cell(1, 2));
    gMsgTo(1, 1) = QStringLiteral("changed, meanwhile, in the store and far too long for the column anyway");
    MoveTo(Cell(1, 2) + QPoint(3, 0));  // within the same cell
    EXPECT_EQ(ListTip(), toTip);
    MoveTo(Cell(2, 2));  // the next row, same column
    EXPECT_EQ(ListTip(), "");
}

TEST_F(FrmMainPointer, EachStatusBarPanelExplainsItself) {
    vb::StatusBar& bar = form().StatusBar;
    bar.SetPanelText(1, QStringLiteral("Home - 3 Messages"));
    bar.SetPanelText(4, QStringLiteral("Retrieving Messages..."));
    const auto tipOver = [&](int panel) {
        bar.MouseMove(0, 0, bar.PanelLeft(panel) + bar.PanelWidth(panel) / 2, 30);
        return bar.ToolTipText();
    };
    EXPECT_EQ(tipOver(1), "Home - 3 Messages");
    EXPECT_EQ(tipOver(4), "Retrieving Messages...");
    bar.SetPanelText(4, QStringLiteral("Auto Check Off"));
    EXPECT_EQ(tipOver(4), "Auto Check is Off");
    EXPECT_TRUE(tipOver(5).startsWith("Current: "));
    bar.SetPanelText(2, QStringLiteral("3"));
    EXPECT_EQ(tipOver(2), "3 Messages");
    // An edge between two panels is over neither: the tip stays.
    bar.MouseMove(0, 0, bar.PanelLeft(3), 30);
    EXPECT_EQ(bar.ToolTipText(), "3 Messages");
}

TEST(StatusBarTips, CountPanel) {
    struct Case {
        const char* text;
        forms::CountPanelCounts counts;
        const char* tip;
    } const cases[] = {
        {"1", {.spam = 1, .messages = 4}, "1 Message Marked as Spam"},
        {"3", {.spam = 3, .marked = 2}, "3 Messages Marked as Spam"},
        {"2", {.marked = 2, .messages = 5, .attachment = true}, "2 Messages for Deletion"},
        // The number of messages decides the word, as the panel reads it.
        {"1", {.messages = 5, .attachment = true}, "1 Messages with an Attachment"},
        {"1", {.messages = 1, .attachment = true}, "1 Message with an Attachment"},
        {"4", {.messages = 4}, "4 Messages"},
        {"", {.messages = 0}, ""},
        {"2", {.messages = 6, .fresh = 2}, "2 New Messages"},
        {"1", {.messages = 6, .fresh = 1}, "1 New Message"},
    };
    for (const Case& c : cases) EXPECT_EQ(forms::CountPanelTip(c.text, c.counts), c.tip) << c.tip;
}

TEST(StatusBarTips, DatesAndTimes) {
    const QDateTime evening(QDate(2026, 12, 8), QTime(21, 30));
    const QDateTime pastMidnight(QDate(2026, 12, 9), QTime(0, 10));
    struct Case {
        QString tip;
        QString expected;
    } const cases[] = {
        {forms::CheckedPanelTip("Checked at: 9:05 PM", evening), "Last Check: December 08, 2026 at 9:05 PM"},
        {forms::CheckedPanelTip("Checked at: 11:55 PM", pastMidnight), "Last Check: December 08, 2026 at 11:55 PM"},
        {forms::CheckedPanelTip("Not Checked", evening), "Not Checked"},
        // Day first, whatever the desktop's date order.
        {forms::AutoCheckPanelTip("Auto Check at 3:45 PM", "04/01/27-15:45"), "Next Auto Check: January 04, 2027 at 3:45 PM"},
        {forms::AutoCheckPanelTip("Auto Check Off", "04/01/27-15:45"), "Auto Check is Off"},
        {forms::AutoCheckPanelTip("Retrieving Messages...", ""), "Retrieving Messages..."},
        {forms::ClockPanelTip(evening), "Current: December 08, 2026 9:30 PM"},
    };
    for (const Case& c : cases) EXPECT_EQ(c.tip, c.expected);
}

}  // namespace
