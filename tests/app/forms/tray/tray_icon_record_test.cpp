// The tray icon record: every writer leaves the window's icon, the tray's
// icon and the tip in step, with or without a tray on the desktop.
#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QTest>
#include <vector>

#include "app/forms/tray/tray_icon_record.h"

namespace {

using forms::gTrayIcon;
using platform::desktop::TrayIcon;

QPixmap Filled(QColor colour) {
    QPixmap p(16, 16);
    p.fill(colour);
    return p;
}

QColor ColourOf(const QIcon& icon) { return icon.pixmap(QSize(16, 16), 1.0).toImage().pixelColor(8, 8); }

// The picture of each tray state, told apart by colour.
const QColor kNormal = Qt::blue;        // picture 7
const QColor kAutoCheckOff = Qt::gray;  // picture 9
const QColor kMail = Qt::green;         // a count composed by the tray update

class TrayIconRecordTest : public testing::Test {
protected:
    void TearDown() override {
        gTrayIcon.Delete();
        gTrayIcon.MouseMessage = nullptr;
    }
    // The object the tray was handed, as the window holds it.
    TrayIcon* Shell() { return window_.findChild<TrayIcon*>(); }

    void ExpectInStep(const char* moment, QColor picture, const QString& tip) {
        SCOPED_TRACE(moment);
        EXPECT_EQ(gTrayIcon.Window(), &window_);
        EXPECT_EQ(gTrayIcon.Tip(), tip);
        EXPECT_EQ(ColourOf(window_.Icon()), picture) << "the window's own icon changes first";
        EXPECT_EQ(ColourOf(gTrayIcon.Icon()), picture);
        ASSERT_NE(gTrayIcon.Shell(), nullptr);
        EXPECT_TRUE(gTrayIcon.Added());
        EXPECT_EQ(gTrayIcon.Shell()->tip(), tip);
        EXPECT_EQ(ColourOf(gTrayIcon.Shell()->icon()), picture);
    }

    vb::Form window_;
};

TEST_F(TrayIconRecordTest, EveryWriterKeepsWindowIconAndTipInStep) {
    ASSERT_FALSE(TrayIcon::available()) << "the off-screen desktop has no tray";
    const QString summary = QStringLiteral(
        "3 New Message(s) in 2 Account(s).\r\nNext Auto Check at 10:45 PM, "
        "then every 15 minutes");
    ASSERT_GT(summary.size(), 63);

    gTrayIcon.Add(window_, Filled(kNormal), "Veltrane");
    ExpectInStep("main window load", kNormal, "Veltrane");
    gTrayIcon.Modify(Filled(kMail), summary);
    ExpectInStep("tray update by mail state: the tip is not cut", kMail, summary);
    gTrayIcon.ModifyIcon(Filled(kAutoCheckOff));
    ExpectInStep("tray Auto Check switched off: the tip stays", kAutoCheckOff, summary);
    gTrayIcon.Modify(Filled(kNormal), "Veltrane");
    ExpectInStep("tray Show", kNormal, "Veltrane");
    gTrayIcon.Modify(Filled(kAutoCheckOff), "Auto Check is Off");
    ExpectInStep("minimise with automatic checking off", kAutoCheckOff, "Auto Check is Off");

    gTrayIcon.Delete();
    EXPECT_FALSE(gTrayIcon.Added());
    EXPECT_EQ(gTrayIcon.Shell(), nullptr);
    gTrayIcon.Modify(Filled(kMail), "after the unload");  // a timer tick late in the shutdown
    gTrayIcon.Delete();
    EXPECT_FALSE(gTrayIcon.Added()) << "no writer brings a deleted icon back";
    QTest::qWait(0);
    EXPECT_EQ(Shell(), nullptr) << "the tray's object is gone";
}

TEST_F(TrayIconRecordTest, WritersBeforeTheLoadOrAfterTheWindowDoNothing) {
    gTrayIcon.Modify(Filled(kMail), "early");
    gTrayIcon.ModifyIcon(Filled(kMail));
    EXPECT_FALSE(gTrayIcon.Added());
    EXPECT_TRUE(window_.Icon().isNull()) << "no window to change yet";

    {
        vb::Form shortLived;
        gTrayIcon.Add(shortLived, Filled(kNormal), "Veltrane");
        EXPECT_TRUE(gTrayIcon.Added());
    }
    EXPECT_FALSE(gTrayIcon.Added()) << "the icon goes with its window";
    gTrayIcon.Modify(Filled(kMail), "late");
    gTrayIcon.Delete();
    EXPECT_EQ(gTrayIcon.Window(), nullptr);
}

TEST_F(TrayIconRecordTest, MouseMessagesReachTheWindowsHandler) {
    std::vector<int> received;
    gTrayIcon.MouseMessage = [&received](int message) { received.push_back(message); };
    gTrayIcon.Add(window_, Filled(kNormal), "Veltrane");
    ASSERT_NE(Shell(), nullptr);
    emit Shell()->qtIcon().activated(QSystemTrayIcon::Context);
    EXPECT_TRUE(received.empty()) << "the handler never runs inside the icon's own mouse event";
    QTest::qWait(0);
    EXPECT_EQ(received, (std::vector<int>{516, 517}));

    // The handler may end the icon (Quit from the tray menu) on the press.
    received.clear();
    gTrayIcon.MouseMessage = [&received](int message) {
        received.push_back(message);
        gTrayIcon.Delete();
    };
    emit Shell()->qtIcon().activated(QSystemTrayIcon::Trigger);
    QTest::qWait(0);
    EXPECT_FALSE(gTrayIcon.Added());
    EXPECT_EQ(received, std::vector<int>{513}) << "nothing reaches the handler from an icon that went";
    QTest::qWait(0);
    EXPECT_EQ(Shell(), nullptr);
}

TEST_F(TrayIconRecordTest, AddingAgainKeepsOneIcon) {
    gTrayIcon.Add(window_, Filled(kNormal), "Veltrane");
    gTrayIcon.Add(window_, Filled(kMail), "Veltrane");
    QTest::qWait(0);
    EXPECT_EQ(window_.findChildren<TrayIcon*>().size(), 1);
    EXPECT_EQ(ColourOf(gTrayIcon.Shell()->icon()), kMail);
}

// Run by tray_host.sh on a virtual display whose panel has a tray.
TEST(TrayHost, TheRecordsIconLandsInTheTrayAndLeavesIt) {
    if (qEnvironmentVariable("VELTRANE_TRAY_HOST") != "1")
        GTEST_SKIP() << "needs the tray host (tray_host.sh)";
    ASSERT_TRUE(QTest::qWaitFor([] { return TrayIcon::available(); }, 10000))
        << "the tray host did not start";
    vb::Form window;
    gTrayIcon.Add(window, Filled(kNormal), "Veltrane");
    auto* shell = window.findChild<TrayIcon*>();
    ASSERT_NE(shell, nullptr);
    EXPECT_TRUE(QTest::qWaitFor([shell] { return !shell->qtIcon().geometry().isEmpty(); }, 5000))
        << "the tray did not embed the icon";
    gTrayIcon.Modify(Filled(kAutoCheckOff), "Auto Check is Off");
    EXPECT_EQ(shell->qtIcon().toolTip(), "Auto Check is Off");
    EXPECT_EQ(ColourOf(shell->qtIcon().icon()), kAutoCheckOff);
    gTrayIcon.Delete();
    EXPECT_FALSE(shell->qtIcon().isVisible());
}

}  // namespace
