// The new-mail pop-up: texts, the cut of a long summary and the growth of
// the window, the countdown that closes it, a second report while it is up,
// and the pause of the automatic check while it is loaded.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDateTime>
#include <QTest>
#include <cmath>

#include "app/check/schedule.h"
#include "app/forms/common/child_windows.h"
#include "app/forms/new_mail/frm_message.h"
#include "app/general/check_status.h"
#include "app/options/option_values.h"
#include "platform/ui/forms.h"
#include "platform/ui/tool_bar.h"
#include "tests/app/forms/laid_out_main_window.h"

namespace {

class FrmMessageTest : public testing::Test {
protected:
    void SetUp() override {
        modGeneral::gAppName = QStringLiteral("Veltrane");
        main_ = &LaidOutMainWindow();
        Run().AutoCheckText = QStringLiteral("Auto Check at 3:45 PM");
        SetRun(2);
    }
    void TearDown() override {
        vb::Forms::Unload<frmMessage>();
        main_->mQuitting = true;
        vb::Forms::Unload<frmMain>();
        modOptions::gOpt.MsgBoxTime = modOptions::gOpt.ButtonStyle = modOptions::gOpt.ApplyStyle = 0;
    }
    // A run over `lines` accounts, as the check run writes its summary.
    void SetRun(int lines) {
        Run().CheckSummary = QStringLiteral("Account Information:\r\n");
        for (int i = 1; i <= lines; ++i)
            Run().CheckSummary += QStringLiteral("      Acnt%1 - 2 Message(s)\r\n").arg(i);
        Run().SummaryLines = static_cast<int16_t>(lines);
    }
    frmMessage& Shown(const QString& headline = QStringLiteral("3 New Message(s) found at 3:45 PM")) {
        frmMessage::ShowReport(headline, Run(), &main_->childWindows());
        return vb::Forms::Get<frmMessage>();
    }
    // The main window's automatic-check pauses waiting for their Restore,
    // and whether the pop-up says it is showing.
    QString Paused() const {
        return QString::number(main_->checks().AutoCheckPauses()) +
               (forms::MessageShown() ? "/open" : "/closed");
    }
    frmMain* main_ = nullptr;
    // The checks' record of the main window, whose run the pop-up reports.
    modGeneral::CheckRunState& Run() { return main_->checks().Record(); }
};

// The contrast of two colours as the eye reads text (1 to 21).
double Contrast(const QColor& a, const QColor& b) {
    const auto luminance = [](const QColor& c) {
        const auto linear = [](double v) {
            return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
        };
        return 0.2126 * linear(c.redF()) + 0.7152 * linear(c.greenF()) + 0.0722 * linear(c.blueF());
    };
    const double la = luminance(a);
    const double lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

TEST_F(FrmMessageTest, TheNextCheckLineAndTheCountdownReadAsTextOnTheWindow) {
    modOptions::gOpt.MsgBoxTime = 9;
    frmMessage& form = Shown();
    const QColor background = form.palette().color(QPalette::Window);
    for (const vb::Label* label : {&form.lblAutoCheck, &form.lblMsgCountDown}) {
        const QColor text = label->palette().color(label->foregroundRole());
        EXPECT_GE(Contrast(text, background), 4.5)
            << label->Caption().toStdString() << " in " << text.name().toStdString();
    }
}

TEST_F(FrmMessageTest, ReportShowsTheRunAndOkClosesIt) {
    modOptions::gOpt.ButtonStyle = 1;
    modOptions::gOpt.ApplyStyle = 3;  // raised
    const auto clock = modCheck::gClock;
    modCheck::gClock = [] { return QDateTime(QDate(2024, 3, 5), QTime(15, 45)); };
    frmMessage& form = Shown();
    modCheck::gClock = clock;
    EXPECT_TRUE(form.isVisible());
    EXPECT_EQ(form.fraMsg.Caption(), "3 New Message(s) found at 3:45 PM");
    EXPECT_EQ(form.Caption(), "Veltrane:  Auto Check - March 5, 2024");
    EXPECT_EQ(form.lblMsg.Caption(), Run().CheckSummary);
    EXPECT_EQ(form.lblAutoCheck.Caption(), "Next Auto Check at 3:45 PM");
    EXPECT_FALSE(form.lblMsgCountDown.Visible()) << "no display time: no countdown";
    EXPECT_FALSE(form.tmrMessage.Enabled());
    EXPECT_EQ(form.tbrButtons.Style(), 0);
    EXPECT_EQ(form.Owner(), nullptr);
    EXPECT_EQ(forms::gMessageWindow.Get(), &form) << "minimising the main window finds it";
    EXPECT_EQ(Paused(), "1/open");
    form.SetTopmost(false);  // as the rule report does while it is open
    QEvent activate(QEvent::WindowActivate);
    QApplication::sendEvent(&form, &activate);
    EXPECT_TRUE(form.Topmost());

    QTest::mouseClick(&form.tbrButtons.Buttons("OK").QtButton(), Qt::LeftButton);
    EXPECT_FALSE(vb::Forms::IsLoaded<frmMessage>());
    EXPECT_EQ(forms::gMessageWindow.Get(), nullptr);
    EXPECT_EQ(Paused(), "0/closed");
}

TEST_F(FrmMessageTest, LongSummariesAreCutAndTheWindowGrowsByLines) {
    SetRun(0);
    const int designed = Shown().ScaleHeight(), line = vb::Forms::Get<frmMessage>().lblMsg.Height();
    vb::Forms::Unload<frmMessage>();
    struct Case {
        int lines, growth, shownLines;
        bool more;
    } const cases[] = {
        {0, 0, 0, false}, {15, 15, 15, false}, {16, 17, 16, false}, {17, 17, 16, true}, {40, 17, 16, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.lines);
        SetRun(c.lines);
        frmMessage& form = Shown();
        const QString text = form.lblMsg.Caption();
        EXPECT_EQ(text.endsWith("\r\nmore Accounts..."), c.more);
        EXPECT_EQ(text.count("      Acnt"), c.shownLines);
        EXPECT_NEAR(form.ScaleHeight(), designed + c.growth * line, 30);
        EXPECT_NEAR(form.lblMsg.Height(), (1 + c.growth) * line, 30);
        EXPECT_LE(text.count('\n') + (c.more ? 1 : 0), 1 + c.growth) << "every line has room";
        EXPECT_EQ(form.lblAutoCheck.Top(), form.fraButtons.Top());
        EXPECT_LE(form.lblAutoCheck.Top() + form.lblAutoCheck.Height(), form.ScaleHeight());
        EXPECT_LE(form.imgHourGlass.Top() + form.imgHourGlass.Height(), form.fraMsg.Height());
        EXPECT_NEAR(form.lblMsgCountDown.Left() + form.lblMsgCountDown.Width(), form.imgHourGlass.Left(), 30);
        vb::Forms::Unload<frmMessage>();
    }
}

TEST_F(FrmMessageTest, CountdownClosesTheWindowOnTheTickAfterZero) {
    struct Case {
        int16_t seconds, lowerTo, lowerAtTick;  // lowerTo -1: unchanged
        QStringList shown;                      // after load and after each tick while open
    } const cases[] = {
        {5, -1, 0, {"5", "4", "3", "2", "1", "0"}},
        {9, 2, 5, {"9", "8", "7", "6", "5"}},  // lowered below the ticks counted: the next tick closes
        {9, 0, 2, {"9", "8"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.seconds);
        modOptions::gOpt.MsgBoxTime = c.seconds;
        QStringList shown{Shown().lblMsgCountDown.Caption()};
        EXPECT_EQ(Paused(), "1/open");
        for (int tick = 1; tick < 100 && vb::Forms::IsLoaded<frmMessage>(); ++tick) {
            if (tick == c.lowerAtTick) modOptions::gOpt.MsgBoxTime = c.lowerTo;
            vb::Forms::Get<frmMessage>().tmrMessage.Tick();
            if (vb::Forms::IsLoaded<frmMessage>())
                shown.append(vb::Forms::Get<frmMessage>().lblMsgCountDown.Caption());
        }
        EXPECT_EQ(shown, c.shown);
        EXPECT_EQ(Paused(), "0/closed");
    }
}

TEST_F(FrmMessageTest, ASecondReportWhileOpenShowsTheNewRunAndRestartsTheCount) {
    modOptions::gOpt.MsgBoxTime = 5;
    frmMessage& form = Shown();
    form.tmrMessage.Tick();
    SetRun(20);
    Run().AutoCheckText = QStringLiteral("Auto Check Off");
    EXPECT_EQ(&Shown(QStringLiteral("No Message(s) found at 4:00 PM")), &form);
    EXPECT_EQ(form.fraMsg.Caption(), "No Message(s) found at 4:00 PM");
    EXPECT_TRUE(form.lblMsg.Caption().endsWith("more Accounts..."));
    EXPECT_EQ(form.lblAutoCheck.Caption(), "Next Auto Check Off");
    EXPECT_EQ(form.lblMsgCountDown.Caption(), "5");
    EXPECT_EQ(Paused(), "1/open") << "one pause for one open window";
}

}  // namespace
