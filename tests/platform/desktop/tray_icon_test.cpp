#include "platform/desktop/tray_icon.h"

#include <QPixmap>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <vector>

namespace platform::desktop {
namespace {

QIcon RedIcon() {
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::red);
    return QIcon(pixmap);
}

TEST(TrayIcon, ReportsThatTheDesktopHasNoTray) {
    // The offscreen platform has no notification area, like many desktops.
    TrayIcon tray;
    EXPECT_FALSE(TrayIcon::available());
    EXPECT_FALSE(tray.add(RedIcon(), "Veltrane"));
    EXPECT_TRUE(tray.added());
    EXPECT_FALSE(tray.modify(RedIcon(), "Auto Check is Off"));
    EXPECT_EQ(tray.tip(), "Auto Check is Off") << "the values are kept for when a tray appears";
    tray.remove();
    EXPECT_FALSE(tray.added());
}

TEST(TrayIcon, TipIsNotCut) {
    TrayIcon tray;
    const QString tip =
        QStringLiteral("Veltrane - 3 New Messages\nwork: 2 (of 7)\nhome: 1 (of 12)\nNext check at 10:45 PM");
    ASSERT_GT(tip.size(), 63);
    tray.modify(RedIcon(), tip);
    EXPECT_EQ(tray.tip(), tip);
}

TEST(TrayIcon, ClicksArriveAsPressAndReleaseMessages) {
    struct Case {
        QSystemTrayIcon::ActivationReason reason;
        std::vector<int> messages;
    };
    const Case cases[] = {
        {QSystemTrayIcon::Trigger, {kTrayLeftButtonDown, kTrayLeftButtonUp}},
        {QSystemTrayIcon::DoubleClick, {kTrayLeftButtonDoubleClick, kTrayLeftButtonUp}},
        {QSystemTrayIcon::Context, {kTrayRightButtonDown, kTrayRightButtonUp}},
        {QSystemTrayIcon::MiddleClick, {kTrayMiddleButtonDown, kTrayMiddleButtonUp}},
        {QSystemTrayIcon::Unknown, {}},
    };
    for (const Case& c : cases) {
        TrayIcon tray;
        std::vector<int> received;
        QObject::connect(&tray, &TrayIcon::mouseMessage, [&](int message) { received.push_back(message); });
        emit tray.qtIcon().activated(c.reason);
        EXPECT_EQ(received, c.messages) << "reason " << c.reason;
    }
    EXPECT_EQ(kTrayLeftButtonDown, 513);
    EXPECT_EQ(kTrayRightButtonUp, 517);
}

TEST(TrayIcon, HandlerMayDestroyTheIconOnThePress) {
    auto* tray = new TrayIcon;
    int received = 0;
    QObject::connect(tray, &TrayIcon::mouseMessage, [&](int) {
        ++received;
        delete tray;
    });
    emit tray->qtIcon().activated(QSystemTrayIcon::Context);
    EXPECT_EQ(received, 1);
}

}  // namespace
}  // namespace platform::desktop

namespace platform::desktop {
namespace {

// Run by tray_host.sh on a virtual display whose panel has a tray.
TEST(TrayHost, IconGoesIntoTheTray) {
    if (qEnvironmentVariable("VELTRANE_TRAY_HOST") != "1")
        GTEST_SKIP() << "needs the tray host (tray_host.sh)";
    ASSERT_TRUE(QTest::qWaitFor([] { return TrayIcon::available(); }, 10000))
        << "the tray host did not start";

    TrayIcon tray;
    EXPECT_TRUE(tray.add(RedIcon(), "Veltrane"));
    EXPECT_TRUE(tray.modify(RedIcon(), "Auto Check is Off"));
    EXPECT_TRUE(QTest::qWaitFor([&] { return !tray.qtIcon().geometry().isEmpty(); }, 5000))
        << "the tray did not embed the icon";
    tray.remove();
    EXPECT_FALSE(tray.modify(RedIcon(), "Veltrane")) << "a removed icon is in no tray";
}

}  // namespace
}  // namespace platform::desktop
