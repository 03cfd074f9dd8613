// The new-mail pop-up: its texts and the cut of a long summary with the
// growth of the window, the countdown that closes it, the pause of the
// automatic check while it is up, and a second report while it is open.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDateTime>
#include <QStringList>
#include <QTest>

#include "app/common/date_text.h"
#include "app/forms/child_windows.h"
#include "app/forms/frm_message.h"
#include "app/forms/window_hooks.h"
#include "app/general/check_status.h"
#include "app/options/option_values.h"
#include "platform/ui/forms.h"
#include "platform/ui/tool_bar.h"

namespace {

// The summary of a run over `lines` accounts, as the check run writes it.
QString Summary(int lines) {
    QString text = QStringLiteral("Account Information:\r\n");
    for (int i = 1; i <= lines; ++i) text += QStringLiteral("      Account %1 - 2 Messages\r\n").arg(i);
    return text;
}

class FrmMessageTest : public testing::Test {
protected:
    void SetUp() override {
        modGeneral::gAppName = QStringLiteral("Veltrane");
        modGeneral::gAutoCheckText = QStringLiteral("Auto Check at 3:45 PM");
        SetRun(2);
        modOptions::gOptMsgBoxTime = 0;
        forms::gWindowHooks.SuspendAutoCheck = [this](const QString& action) {
            calls_.append(action + (modGeneral::gShowingMessage ? "/open" : "/closed"));
        };
    }
    void TearDown() override {
        vb::Forms::Unload<frmMessage>();
        forms::gWindowHooks = {};
        modOptions::gOptMsgBoxTime = 0;
        modOptions::gOptButtonStyle = 0;
        modOptions::gOptApplyStyle = 0;
    }
    static void SetRun(int lines) {
        modGeneral::gCheckSummary = Summary(lines);
        modGeneral::gSummaryLines = static_cast<int16_t>(lines);
    }
    static frmMessage& Shown(const QString& headline = QStringLiteral("3 New Message(s) found at 3:45 PM")) {
        frmMessage::ShowReport(headline);
        return vb::Forms::Get<frmMessage>();
    }
    QStringList calls_;
};

TEST_F(FrmMessageTest, ReportShowsHeadlineCaptionSummaryAndNextCheck) {
    frmMessage& form = Shown();
    EXPECT_TRUE(form.isVisible());
    EXPECT_EQ(form.fraMsg.Caption(), "3 New Message(s) found at 3:45 PM");
    EXPECT_EQ(form.Caption(),
              "Veltrane:  Auto Check - " + FormatDate(QDateTime::currentDateTime(), "mmmm d, yyyy"));
    EXPECT_EQ(form.lblMsg.Caption(), Summary(2));
    EXPECT_EQ(form.lblAutoCheck.Caption(), "Next Auto Check at 3:45 PM");
    EXPECT_FALSE(form.ShowInTaskbar());
    EXPECT_EQ(form.Owner(), nullptr);
    EXPECT_EQ(forms::gMessageWindow.Get(), &form) << "minimising the main window finds it";
    ASSERT_EQ(form.tbrButtons.ButtonCount(), 1);
    EXPECT_EQ(form.tbrButtons.Buttons(1).Caption(), "OK        ");

    QTest::mouseClick(&form.tbrButtons.Buttons("OK").QtButton(), Qt::LeftButton);
    EXPECT_FALSE(vb::Forms::IsLoaded<frmMessage>());
    EXPECT_EQ(forms::gMessageWindow.Get(), nullptr);
    EXPECT_EQ(calls_, (QStringList{"Suspend/open", "Restore/closed"}));
}

TEST_F(FrmMessageTest, LongSummariesAreCutAndTheWindowGrowsByLines) {
    struct Case {
        int lines;
        int growthLines;
        int accountLinesShown;
        bool more;
    } const cases[] = {
        {0, 0, 0, false}, {1, 1, 1, false},   {15, 15, 15, false},
        {16, 17, 16, false}, {17, 17, 16, true}, {40, 17, 16, true},
    };
    int designedClient = 0, designedFrame = 0, line = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.lines);
        SetRun(0);
        frmMessage& probe = Shown();
        designedClient = probe.ScaleHeight();
        designedFrame = probe.fraMsg.Height();
        line = probe.lblMsg.Height();
        vb::Forms::Unload<frmMessage>();

        SetRun(c.lines);
        frmMessage& form = Shown();
        const QString text = form.lblMsg.Caption();
        EXPECT_EQ(text.endsWith("\r\nmore Accounts..."), c.more);
        EXPECT_EQ(text.count("      Account "), c.accountLinesShown);
        EXPECT_TRUE(text.startsWith("Account Information:\r\n"));
        const int growth = c.growthLines * line;
        EXPECT_NEAR(form.ScaleHeight(), designedClient + growth, 30);
        EXPECT_NEAR(form.fraMsg.Height(), designedFrame + growth, 30);
        EXPECT_NEAR(form.lblMsg.Height(), line + growth, 30);
        // Every line of the text has room in the label.
        EXPECT_LE(text.count("\r\n") + (text.endsWith("\r\n") ? 0 : 1), 1 + c.growthLines);
        // The buttons and the next-check line move down with the summary,
        // inside the window.
        EXPECT_EQ(form.lblAutoCheck.Top(), form.fraButtons.Top());
        EXPECT_GT(form.fraButtons.Top(), form.fraMsg.Top() + form.fraMsg.Height() - 300);
        EXPECT_LE(form.lblAutoCheck.Top() + form.lblAutoCheck.Height(), form.ScaleHeight());
        // The hourglass lies whole inside the frame, the countdown just left
        // of it and centred on it.
        EXPECT_LE(form.imgHourGlass.Top() + form.imgHourGlass.Height(), form.fraMsg.Height());
        EXPECT_NEAR(form.lblMsgCountDown.Left() + form.lblMsgCountDown.Width(), form.imgHourGlass.Left(), 30);
        EXPECT_NEAR(2 * form.lblMsgCountDown.Top() + form.lblMsgCountDown.Height(),
                    2 * form.imgHourGlass.Top() + form.imgHourGlass.Height(), 45);
        vb::Forms::Unload<frmMessage>();
    }
}

TEST_F(FrmMessageTest, CountdownClosesTheWindowOnTheTickAfterZero) {
    struct Case {
        int16_t seconds;
        int16_t lowerTo;  // -1: unchanged while counting
        int lowerAfterTicks;
        QStringList shown;  // the label after load and after each tick while open
    } const cases[] = {
        {5, -1, 0, {"5", "4", "3", "2", "1", "0"}},
        {1, -1, 0, {"1", "0"}},
        // The display time lowered below the ticks counted: the next tick closes.
        {9, 2, 4, {"9", "8", "7", "6", "5"}},
        {9, 0, 1, {"9", "8"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.seconds);
        calls_.clear();
        modOptions::gOptMsgBoxTime = c.seconds;
        frmMessage& form = Shown();
        EXPECT_TRUE(form.tmrMessage.Enabled());
        EXPECT_EQ(form.tmrMessage.Interval(), 1000);
        EXPECT_TRUE(form.lblMsgCountDown.Visible());
        QStringList shown{form.lblMsgCountDown.Caption()};
        for (int tick = 1; tick < 100 && vb::Forms::IsLoaded<frmMessage>(); ++tick) {
            if (tick == c.lowerAfterTicks + 1 && c.lowerTo >= 0) modOptions::gOptMsgBoxTime = c.lowerTo;
            vb::Forms::Get<frmMessage>().tmrMessage.Tick();
            if (vb::Forms::IsLoaded<frmMessage>()) shown.append(vb::Forms::Get<frmMessage>().lblMsgCountDown.Caption());
        }
        EXPECT_EQ(shown, c.shown);
        EXPECT_FALSE(vb::Forms::IsLoaded<frmMessage>());
        EXPECT_FALSE(modGeneral::gShowingMessage);
        EXPECT_EQ(calls_, (QStringList{"Suspend/open", "Restore/closed"}));
    }
}

TEST_F(FrmMessageTest, NoDisplayTimeMeansNoCountdown) {
    frmMessage& form = Shown();
    EXPECT_FALSE(form.tmrMessage.Enabled());
    EXPECT_FALSE(form.lblMsgCountDown.Visible());
    EXPECT_TRUE(vb::Forms::IsLoaded<frmMessage>());
}

TEST_F(FrmMessageTest, ASecondReportWhileOpenShowsTheNewRunAndRestartsTheCount) {
    modOptions::gOptMsgBoxTime = 5;
    frmMessage& form = Shown();
    form.tmrMessage.Tick();
    form.tmrMessage.Tick();
    EXPECT_EQ(form.lblMsgCountDown.Caption(), "3");

    SetRun(20);
    modGeneral::gAutoCheckText = QStringLiteral("Auto Check Off");
    frmMessage& again = Shown(QStringLiteral("No Message(s) found at 4:00 PM"));
    EXPECT_EQ(&again, &form) << "the same window";
    EXPECT_EQ(again.fraMsg.Caption(), "No Message(s) found at 4:00 PM");
    EXPECT_TRUE(again.lblMsg.Caption().endsWith("more Accounts..."));
    EXPECT_EQ(again.lblAutoCheck.Caption(), "Next Auto Check Off");
    EXPECT_EQ(again.lblMsgCountDown.Caption(), "5");
    EXPECT_EQ(calls_, QStringList{"Suspend/open"}) << "one pause for one open window";
}

TEST_F(FrmMessageTest, ToolBarStyleFollowsTheButtonOptions) {
    const int designed = vb::ToolBar(nullptr).Style();
    struct Case {
        int16_t buttonStyle;
        int16_t applyStyle;
        int style;
    } const cases[] = {{0, 0, 1}, {1, 0, 0}, {1, 1, 1}, {1, 2, 1}, {1, 3, 0}, {1, 7, designed}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.applyStyle);
        modOptions::gOptButtonStyle = c.buttonStyle;
        modOptions::gOptApplyStyle = c.applyStyle;
        EXPECT_EQ(Shown().tbrButtons.Style(), c.style);
        vb::Forms::Unload<frmMessage>();
    }
}

TEST_F(FrmMessageTest, ActivationPutsItOnTop) {
    frmMessage& form = Shown();
    form.SetTopmost(false);  // as the rule report does while it is open
    QEvent activate(QEvent::WindowActivate);
    QApplication::sendEvent(&form, &activate);
    EXPECT_TRUE(form.Topmost());
}

}  // namespace
