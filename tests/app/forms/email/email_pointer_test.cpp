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

#include "app/accounts/account_table.h"
#include "app/common/app_settings.h"
#include "app/forms/main_window/status_bar_tips.h"
#include "app/general/check_status.h"
#include "app/general/message_store.h"
#include "app/options/option_values.h"
#include "tests/app/forms/laid_out_main_window.h"

using namespace modGeneral;

namespace {

class EmailPointer : public testing::Test {
protected:
    void SetUp() override {
        SaveSetting(kAppKey, QStringLiteral("Settings"), QStringLiteral("AcntNum"), QStringLiteral("1"));
        SaveSetting(kAppKey, QStringLiteral("Settings"), QStringLiteral("AcntName1"), QStringLiteral("Home"));
        frmMain& f = LaidOutMainWindow();
        AccountRow(1).Messages.resize(3);
        modAccounts::gAccounts[1].MsgCount = 3;
        for (int16_t i = 1; i <= 3; ++i) {
            Msg(1, i).From = QStringLiteral("s%1@example.org").arg(i);
            Msg(1, i).To = QStringLiteral("me@example.org");
            Msg(1, i).Subject = QStringLiteral("Subject %1").arg(i);
            Msg(1, i).Uid = QStringLiteral("uid%1").arg(i);
        }
        modOptions::gOpt.FromToolTips = modOptions::gOpt.ToToolTips = modOptions::gOpt.SubjectToolTips = 1;
        f.email().FillMessageList(1);
        f.Show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&f));
    }
    void TearDown() override {
        form().mQuitting = true;
        vb::Forms::Unload<frmMain>();
        modAccounts::gAccountCount = 0;
    }
    static frmMain& form() { return vb::Forms::Get<frmMain>(); }
    static QWidget* viewport() { return form().controls().lvwEmail.viewport(); }
    // The middle of a row's cell (both 1-based), and a point below the rows.
    static QPoint Cell(int row, int column) {
        return form()
            .controls()
            .lvwEmail.visualRect(form().controls().lvwEmail.model()->index(row - 1, column - 1))
            .center();
    }
    static QPoint Empty() { return QPoint(20, viewport()->height() - 5); }
    // The pointer moves there, as the list reports it (twips of the control).
    static void MoveTo(const QPoint& at) {
        const QPoint p = viewport()->mapTo(&form().controls().lvwEmail, at);
        form().controls().lvwEmail.MouseMove(0, 0, vb::PixelsToTwipsX(p.x()), vb::PixelsToTwipsY(p.y()));
    }
    static void Click(const QPoint& at, Qt::MouseButton button = Qt::LeftButton) {
        MoveTo(at);
        QTest::mouseClick(viewport(), button, {}, at);
    }
    static bool CommandsEnabled() {
        frmMain& f = form();
        const bool on = f.controls().tbrEmail.Buttons("EmailPreview").Enabled();
        for (const char* key : {"EmailReply", "EmailOpen", "EmailDelete"})
            EXPECT_EQ(f.controls().tbrEmail.Buttons(key).Enabled(), on);
        for (vb::Menu* entry : {&f.controls().mnuEmailPreview, &f.controls().mnuEmailDelete,
                                &f.controls().mnuEmailReply, &f.controls().mnuEmailOpen})
            EXPECT_EQ(entry->Enabled(), on);
        return on;
    }
    static QString ListTip() {
        for (QObject* child : form().children())
            if (auto* tips = dynamic_cast<vb::ToolTipWindow*>(child))
                return tips->ToolText(form().controls().lvwEmail);
        return QStringLiteral("<no tooltip window>");
    }
};

TEST_F(EmailPointer, ClicksChooseTheMessageAndSwitchTheCommands) {
    ASSERT_FALSE(CommandsEnabled()) << "a fresh list has no chosen row";
    struct Case {
        const char* name;
        QPoint at;
        Qt::MouseButton button;
        bool enabled;
        int16_t current;
    } const cases[] = {
        {"left on a row", Cell(2, 1), Qt::LeftButton, true, 2},
        {"left beside the rows", Empty(), Qt::LeftButton, false, 0},
        {"right on a row", Cell(3, 2), Qt::RightButton, true, 3},
        {"right beside the rows", Empty(), Qt::RightButton, false, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        bool menuOpened = false, enabledWhileOpen = false;
        QTimer::singleShot(0, [&] {
            if (QWidget* menu = QApplication::activePopupWidget()) {
                menuOpened = menu == static_cast<QWidget*>(form().controls().mnuEmailPopMenu.QtMenu());
                enabledWhileOpen = CommandsEnabled();
                menu->close();
            }
        });
        Click(c.at, c.button);
        EXPECT_EQ(CommandsEnabled(), c.enabled);
        EXPECT_EQ(form().email().mItemSelected, c.enabled);
        EXPECT_EQ(form().controls().lvwEmail.SelectedItem(), c.current);
        if (c.enabled) {
            EXPECT_EQ(gCurrentMsg, c.current);
        }
        EXPECT_EQ(menuOpened, c.button == Qt::RightButton);
        EXPECT_EQ(enabledWhileOpen, c.button == Qt::RightButton && c.enabled)
            << "switched before the menu opens";
    }
}

TEST_F(EmailPointer, DoubleClickPreviewsAndAPressBesideTheRowsTakesTheFocusOff) {
    int previews = 0;
    form().controls().mnuEmailPreview.Click = [&] { ++previews; };
    Click(Cell(1, 3));  // the first click of the two
    QTest::mouseDClick(viewport(), Qt::LeftButton, {}, Cell(1, 3));
    EXPECT_EQ(previews, 1);
    EXPECT_TRUE(form().controls().lvwEmail.hasFocus()) << "a press on a row leaves the focus on the list";
    form().controls().tbrEmail.Buttons("EmailPreview").SetEnabled(false);
    form().email().lvwEmail_DblClick();
    EXPECT_EQ(previews, 1) << "only while the preview may run";

    Click(Empty());
    EXPECT_TRUE(form().controls().cmdTakeFocus.Widget().hasFocus());
}

TEST_F(EmailPointer, CellsTooNarrowForTheirTextGetATip) {
    Msg(1, 1).From =
        QStringLiteral("alice.longname@example.org, bob.longname@example.org, carol@example.org");
    Msg(1, 1).To =
        QStringLiteral("first.recipient@example.org, second.recipient@example.org, third@example.org");
    Msg(1, 2).Subject =
        QStringLiteral("Minutes, agenda and every other paper of the meeting in one long subject");
    const QString fromTip = "alice.longname@example.org\r\n bob.longname@example.org\r\n carol@example.org";
    const QString toTip =
        "first.recipient@example.org\r\n second.recipient@example.org\r\n third@example.org";
    struct Case {
        const char* name;
        QPoint at;
        QString tip;
        int16_t hover;
        int16_t fromOption = 1;
        bool thenStoreChanges = false;  // the recipients change in the store after this move
    } const cases[] = {
        {"a list of senders, one per line", Cell(1, 1), fromTip, 1},
        {"a short sender", Cell(3, 1), "", 3},
        {"a long subject", Cell(2, 3),
         "Minutes\r\n agenda and every other paper of the meeting in one long subject", 2},
        {"the date column has no tip", Cell(1, 4), "", 0},
        {"recipients", Cell(1, 2), toTip, 1, 1, true},
        {"From tips off: the last tip stays", Cell(1, 1), toTip, 1, 0},
        {"within the same cell nothing changes", Cell(1, 2) + QPoint(3, 0), toTip, 1},
        {"the next row, same column", Cell(2, 2), "", 2},
        {"beside the rows", Empty(), "", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        modOptions::gOpt.FromToolTips = c.fromOption;
        MoveTo(c.at);
        EXPECT_EQ(ListTip(), c.tip);
        EXPECT_EQ(form().email().mHoverItem, c.hover);
        if (c.hover == 0) {
            EXPECT_FALSE(form().email().mItemSelected);
        }
        if (c.thenStoreChanges)
            Msg(1, 1).To = QStringLiteral("changed in the store, far too long for the column, commas");
    }
}

TEST_F(EmailPointer, EachStatusBarPanelExplainsItself) {
    vb::StatusBar& bar = form().controls().StatusBar;
    const auto tipOver = [&](int panel, const QString& text) {
        bar.SetPanelText(panel, text);
        bar.MouseMove(0, 0, bar.PanelLeft(panel) + bar.PanelWidth(panel) / 2, 30);
        return bar.ToolTipText();
    };
    EXPECT_EQ(tipOver(1, "Home - 3 Messages"), "Home - 3 Messages");
    EXPECT_EQ(tipOver(2, "3"), "3 Messages");
    EXPECT_EQ(tipOver(3, "Not Checked"), "Not Checked");
    EXPECT_EQ(tipOver(4, "Auto Check Off"), "Auto Check is Off");
    EXPECT_TRUE(tipOver(5, "").startsWith("Current: "));
    bar.MouseMove(0, 0, bar.PanelLeft(3), 30);  // an edge is over no panel: the tip stays
    EXPECT_TRUE(bar.ToolTipText().startsWith("Current: "));

    struct Case {
        const char* text;
        forms::CountPanelCounts counts;
        const char* tip;
    } const counts[] = {
        {"1", {.spam = 1, .messages = 4}, "1 Message Marked as Spam"},
        {"2", {.marked = 2, .messages = 5, .attachment = true}, "2 Messages for Deletion"},
        {"1",
         {.messages = 5, .attachment = true},
         "1 Messages with an Attachment"},  // the message count decides
        {"", {.messages = 0}, ""},
        {"2", {.messages = 6, .fresh = 2}, "2 New Messages"},
        {"1", {.messages = 6, .fresh = 1}, "1 New Message"},
    };
    for (const Case& c : counts) EXPECT_EQ(forms::CountPanelTip(c.text, c.counts), c.tip);

    const QDateTime evening(QDate(2026, 12, 8), QTime(21, 30));
    const QDateTime pastMidnight(QDate(2026, 12, 9), QTime(0, 10));
    EXPECT_EQ(forms::CheckedPanelTip("Checked at: 9:05 PM", evening),
              "Last Check: December 08, 2026 at 9:05 PM");
    EXPECT_EQ(forms::CheckedPanelTip("Checked at: 11:55 PM", pastMidnight),
              "Last Check: December 08, 2026 at 11:55 PM");
    const QDateTime next(QDate(2027, 1, 4), QTime(15, 45));
    EXPECT_EQ(forms::AutoCheckPanelTip("Auto Check at 3:45 PM", next.toUTC()),
              "Next Auto Check: January 04, 2027 at 3:45 PM")
        << "the moment is shown on the wall clock";
    EXPECT_EQ(forms::AutoCheckPanelTip("Auto Check at 3:45 PM", QDateTime()), "Auto Check at 3:45 PM");
    EXPECT_EQ(forms::AutoCheckPanelTip("Retrieving Messages...", next), "Retrieving Messages...");
    EXPECT_EQ(forms::AutoCheckPanelTip("Auto Check Off", next), "Auto Check is Off");
    EXPECT_EQ(forms::ClockPanelTip(evening), "Current: December 08, 2026 9:30 PM");
}

}  // namespace
