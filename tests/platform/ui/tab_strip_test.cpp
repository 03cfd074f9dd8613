#include "platform/ui/tab_strip.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QMimeData>
#include <QTest>
#include <memory>

#include "platform/ui/image_list.h"
#include "tests/platform/ui/qt_print.h"

namespace {

class TabStripTest : public testing::Test {
protected:
    void SetUp() override {
        host = std::make_unique<QWidget>();
        host->resize(600, 300);
        tabs = new vb::TabStrip(host.get());
        tabs->Move(0, 0, 8000, 4000);
        QPixmap p(16, 16);
        p.fill(Qt::yellow);
        for (const char* key : {"MailNo", "MailYes", "MailError"}) images.Add(p, key);
        tabs->SetImageList(&images);
        tabs->Click = [this] { clicks.push_back(tabs->SelectedItem()); };
        tabs->BeforeClick = [this](int& cancel) {
            ++before;
            cancel = cancelNext;
        };
        host->show();
    }
    std::unique_ptr<QWidget> host;
    vb::TabStrip* tabs = nullptr;
    vb::ImageList images;
    std::vector<int> clicks;
    int before = 0;
    int cancelNext = 0;
};

TEST_F(TabStripTest, AddingAndRemovingTabsRunsNoClick) {
    tabs->AddTab("Home", "MailNo");
    tabs->AddTab("Work", "MailNo");
    tabs->AddTab("Isp", "MailNo", 1);
    EXPECT_EQ(tabs->TabCount(), 3);
    EXPECT_EQ(tabs->TabCaption(1), "Isp");
    tabs->RemoveTab(1);
    tabs->ClearTabs();
    EXPECT_TRUE(clicks.empty());
    EXPECT_EQ(before, 0);
    EXPECT_EQ(tabs->SelectedItem(), 0);
}

TEST_F(TabStripTest, SelectingFromCodeRunsBeforeClickAndClickOnlyWhenTheTabChanges) {
    tabs->AddTab("Home");
    tabs->AddTab("Work");
    tabs->Select(2);
    EXPECT_EQ(clicks, (std::vector<int>{2}));
    tabs->Select(2);  // already selected: nothing runs again
    EXPECT_EQ(clicks, (std::vector<int>{2}));
    EXPECT_EQ(before, 1);
    cancelNext = 1;
    tabs->Select(1);  // BeforeClick cancels
    EXPECT_EQ(tabs->SelectedItem(), 2);
    EXPECT_EQ(clicks.size(), 1u);
    tabs->SetEnabled(false);  // a disabled strip still selects from code
    cancelNext = 0;
    tabs->Select(1);
    EXPECT_EQ(clicks, (std::vector<int>{2, 1}));
    EXPECT_THROW(tabs->Select(3), vb::VbError);
}

TEST_F(TabStripTest, AUserClickRunsBeforeClickAndClickAndCanBeCancelled) {
    tabs->AddTab("Home");
    tabs->AddTab("Work");
    QTabBar& bar = tabs->Bar();
    cancelNext = 1;
    QTest::mouseClick(&bar, Qt::LeftButton, {}, bar.tabRect(1).center());
    EXPECT_EQ(tabs->SelectedItem(), 1);
    EXPECT_TRUE(clicks.empty());
    cancelNext = 0;
    QTest::mouseClick(&bar, Qt::LeftButton, {}, bar.tabRect(1).center());
    EXPECT_EQ(tabs->SelectedItem(), 2);
    EXPECT_EQ(clicks, (std::vector<int>{2}));
    EXPECT_EQ(before, 2);
}

TEST_F(TabStripTest, CaptionsAreLiteralAndImagesGoByKeyOrIndex) {
    tabs->AddTab("Tom & Jerry  (3)", "MailNo");
    EXPECT_EQ(tabs->Bar().tabText(0), "Tom && Jerry  (3)");
    EXPECT_EQ(tabs->TabCaption(1), "Tom & Jerry  (3)");
    tabs->SetTabImage(1, "MailYes");
    EXPECT_EQ(tabs->TabImage(1), "MailYes");
    tabs->SetTabImage(1, 3);
    EXPECT_EQ(tabs->TabImage(1), "3");
    EXPECT_THROW(tabs->SetTabImage(1, "Nope"), vb::VbError);
    EXPECT_THROW(tabs->SetTabImage(1, 9), vb::VbError);
}

TEST_F(TabStripTest, TabGeometryAndMouseEventsAreInTwipsOfTheStrip) {
    tabs->AddTab("Home");
    tabs->AddTab("Work");
    const QRect r = tabs->Bar().tabRect(1);
    EXPECT_EQ(tabs->TabLeft(2), vb::PixelsToTwipsX(r.x()));
    EXPECT_EQ(tabs->TabWidth(2), vb::PixelsToTwipsX(r.width()));
    EXPECT_EQ(tabs->TabHeight(1), vb::PixelsToTwipsY(r.height()));
    EXPECT_EQ(tabs->ClientTop(), vb::PixelsToTwipsY(tabs->Bar().height()));
    // The row starts at 0 and the tabs touch: summed widths give the right edges.
    EXPECT_EQ(tabs->TabLeft(1), 0);
    EXPECT_EQ(tabs->TabLeft(1) + tabs->TabWidth(1), tabs->TabLeft(2));
    int downX = -1;
    int upButton = 0;
    tabs->MouseDown = [&](int, int, int x, int) {
        downX = x;
        clicks.push_back(-tabs->SelectedItem());  // the press has selected the tab already
    };
    tabs->MouseUp = [&](int b, int, int, int) { upButton = b; };
    QTest::mouseClick(&tabs->Bar(), Qt::RightButton, {}, QPoint(r.x() + 4, 5));
    EXPECT_EQ(downX, vb::PixelsToTwipsX(r.x() + 4));
    EXPECT_EQ(upButton, vb::vbRightButton);
    clicks.clear();
    QTest::mouseClick(&tabs->Bar(), Qt::LeftButton, {}, QPoint(r.x() + 4, 5));
    EXPECT_EQ(clicks, (std::vector<int>{2, -2}));  // Click, then MouseDown
}

TEST_F(TabStripTest, DragOverAndDragDropReachTheTargetStrip) {
    tabs->AddTab("Home");
    std::vector<int> states;
    int dropX = -1;
    tabs->DragOver = [&](QWidget*, int, int, int state) { states.push_back(state); };
    tabs->DragDrop = [&](QWidget*, int x, int) { dropX = x; };
    QMimeData mime;
    mime.setData(vb::TabStrip::kDragFormat, QByteArray());
    QDragEnterEvent enter(QPoint(30, 10), Qt::MoveAction, &mime, Qt::LeftButton, {});
    QApplication::sendEvent(tabs, &enter);
    QDragMoveEvent move(QPoint(40, 10), Qt::MoveAction, &mime, Qt::LeftButton, {});
    QApplication::sendEvent(tabs, &move);
    QDropEvent drop(QPointF(45, 10), Qt::MoveAction, &mime, Qt::LeftButton, {});
    QApplication::sendEvent(tabs, &drop);
    EXPECT_EQ(states, (std::vector<int>{vb::vbEnter, vb::vbOver}));
    EXPECT_EQ(dropX, 675);
    // Other drags (files, text) are not ours.
    QMimeData text;
    text.setText("x");
    QDropEvent other(QPointF(45, 10), Qt::MoveAction, &text, Qt::LeftButton, {});
    QApplication::sendEvent(tabs, &other);
    EXPECT_EQ(dropX, 675);
}

}  // namespace
