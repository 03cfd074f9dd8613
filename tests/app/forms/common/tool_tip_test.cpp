// The tooltip class: inert until its window exists, the values it reads
// back, and a tip that shows only over its own tool, as wide and as long as
// it is told.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QPointer>
#include <QTest>
#include <QWidget>
#include <memory>

#include "app/forms/common/tool_tip.h"

namespace {

class ToolTipTest : public testing::Test {
protected:
    ToolTipTest() {
        form_.resize(400, 300);
        list_.setGeometry(0, 0, 200, 300);
        other_.setGeometry(200, 0, 200, 300);
    }
    QWidget form_;
    QWidget list_{&form_};
    QWidget other_{&form_};
    ToolTip tip_;
};

// The tip window on the screen, or null when none shows.
QLabel* ShownTip() {
    for (QWidget* w : QApplication::topLevelWidgets()) {
        auto* label = qobject_cast<QLabel*>(w);
        if (label && label->isVisible() && (label->windowFlags() & Qt::ToolTip) == Qt::ToolTip) return label;
    }
    return nullptr;
}

void Send(QWidget& to, QEvent::Type type) {
    QEvent event(type);
    QApplication::sendEvent(&to, &event);
}

TEST_F(ToolTipTest, EveryMemberIsInertUntilCreate) {
    EXPECT_FALSE(tip_.AddTool(list_, "text"));
    tip_.SetToolText(list_, "text");
    tip_.SetMaxTipWidth(240);
    tip_.SetDelayTime(2, 5000);
    tip_.SetMargin(0, 2);
    tip_.SetBackColor(vb::RGB(252, 254, 224));
    EXPECT_EQ(tip_.ToolText(list_), "");
    EXPECT_FALSE(tip_.RemoveTool(list_));
    EXPECT_EQ(tip_.ToolCount(), 0);
    EXPECT_EQ(tip_.MaxTipWidth(), 0);
    EXPECT_EQ(tip_.DelayTime(2), 0);
    EXPECT_EQ(tip_.Margin(0), 0);
    EXPECT_EQ(tip_.BackColor(), 0u);
    EXPECT_EQ(tip_.ForeColor(), 0u);
    EXPECT_EQ(tip_.hWnd(), nullptr);

    ASSERT_TRUE(tip_.Create(form_));
    const vb::ToolTipWindow* window = tip_.hWnd();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(tip_.Create(form_)) << "a second Create keeps the window";
    EXPECT_EQ(tip_.hWnd(), window);
    EXPECT_EQ(tip_.ToolTipHandle(), window);
    EXPECT_EQ(tip_.ToolCount(), 0) << "nothing from before Create was kept";
}

TEST_F(ToolTipTest, ToolsAndTheirTexts) {
    ASSERT_TRUE(tip_.Create(form_));
    EXPECT_TRUE(tip_.AddTool(list_));
    EXPECT_FALSE(tip_.AddTool(list_, "second")) << "a control is a tool once";
    EXPECT_EQ(tip_.ToolText(list_), "") << "the first text stays";
    EXPECT_EQ(tip_.ToolCount(), 1);

    struct Case {
        QString written;
        QString read;
    };
    const Case cases[] = {
        {"short", "short"},
        {QString(500, QChar('x')), QString(500, QChar('x'))},  // longer than any before: read whole
        {"alice@example.org\r\nbob@example.org", "alice@example.org\r\nbob@example.org"},
        {QStringLiteral("before") + QChar(u'\0') + QStringLiteral("after"), "before"},
        {"", ""},
    };
    for (const Case& c : cases) {
        tip_.SetToolText(list_, c.written);
        EXPECT_EQ(tip_.ToolText(list_), c.read) << c.written.left(20).toStdString();
    }

    tip_.SetToolText(other_, "not a tool");
    EXPECT_EQ(tip_.ToolText(other_), "") << "a control without a tool is left alone";
    EXPECT_EQ(tip_.ToolCount(), 1);
    EXPECT_FALSE(tip_.RemoveTool(other_));
    EXPECT_TRUE(tip_.RemoveTool(list_));
    EXPECT_EQ(tip_.ToolCount(), 0);
}

TEST_F(ToolTipTest, PropertiesReadBackAsTheyWereWritten) {
    ASSERT_TRUE(tip_.Create(form_));
    struct Width {
        int written;
        int read;
    };
    for (const Width w : {Width{240, 240}, Width{0, -1}, Width{-5, -1}, Width{1, 1}}) {
        tip_.SetMaxTipWidth(w.written);
        EXPECT_EQ(tip_.MaxTipWidth(), w.read) << "written " << w.written;
    }

    tip_.SetDelayTime(6, 4321);  // 6 And 3 = 2: how long a tip stays up
    EXPECT_EQ(tip_.DelayTime(2), 4321);
    EXPECT_EQ(tip_.DelayTime(6), 4321);
    tip_.SetDelayTime(3, 70);
    EXPECT_EQ(tip_.DelayTime(3), 70);
    EXPECT_EQ(tip_.DelayTime(2), 4321) << "the other delays stay";

    tip_.SetMargin(0, 2);
    tip_.SetMargin(2, 3);
    tip_.SetMargin(4, 9);  // no such side: the margins go back unchanged
    EXPECT_EQ(tip_.Margin(0), 2);
    EXPECT_EQ(tip_.Margin(1), 0);
    EXPECT_EQ(tip_.Margin(2), 3);
    EXPECT_EQ(tip_.Margin(3), 0);
    EXPECT_EQ(tip_.Margin(4), 0);

    tip_.SetBackColor(vb::RGB(252, 254, 224));
    tip_.SetForeColor(0);
    EXPECT_EQ(tip_.BackColor(), 0xE0FEFCu);
    EXPECT_EQ(tip_.ForeColor(), 0u);
}

TEST_F(ToolTipTest, ShowsOnlyOverItsToolAfterTheDelayAndForItsTime) {
    ASSERT_TRUE(tip_.Create(form_));
    ASSERT_TRUE(tip_.AddTool(list_));
    tip_.SetMaxTipWidth(240);
    tip_.SetDelayTime(3, 50);    // before it shows
    tip_.SetDelayTime(2, 1500);  // how long it stays
    tip_.SetBackColor(vb::RGB(252, 254, 224));
    form_.show();

    tip_.SetToolText(list_, "");
    Send(list_, QEvent::Enter);
    QTest::qWait(150);
    EXPECT_EQ(ShownTip(), nullptr) << "an empty text shows nothing";
    Send(list_, QEvent::Leave);

    const QString longText = QStringLiteral("Subject: ") + QString(40, QChar('w')).replace("w", "word ");
    tip_.SetToolText(list_, longText);
    Send(other_, QEvent::Enter);
    QTest::qWait(150);
    EXPECT_EQ(ShownTip(), nullptr) << "no tip over a control that is no tool";

    Send(list_, QEvent::Enter);
    EXPECT_EQ(ShownTip(), nullptr) << "not before the delay";
    ASSERT_TRUE(QTest::qWaitFor([] { return ShownTip() != nullptr; }, 1000));
    const QLabel* shown = ShownTip();
    ASSERT_NE(shown, nullptr);
    EXPECT_EQ(shown->text(), longText);
    EXPECT_LE(shown->width(), 240) << "a long text wraps at the maximum width";
    EXPECT_GT(shown->height(), shown->fontMetrics().height() * 2) << "on several lines";
    EXPECT_EQ(shown->palette().color(QPalette::Window), QColor(252, 254, 224));

    tip_.SetToolText(list_, "changed while up");
    ASSERT_NE(ShownTip(), nullptr);
    EXPECT_EQ(ShownTip()->text(), "changed while up") << "a new text shows at once";
    QTest::qWait(500);
    EXPECT_NE(ShownTip(), nullptr) << "up for its time";
    EXPECT_TRUE(QTest::qWaitFor([] { return ShownTip() == nullptr; }, 4000)) << "gone after its time";

    Send(list_, QEvent::Enter);
    ASSERT_TRUE(QTest::qWaitFor([] { return ShownTip() != nullptr; }, 1000));
    Send(list_, QEvent::Leave);
    EXPECT_EQ(ShownTip(), nullptr) << "leaving the tool hides the tip";
}

TEST_F(ToolTipTest, EndsItsWindowAndOutlivesItsForm) {
    QPointer<const QObject> window;
    {
        ToolTip scoped;
        ASSERT_TRUE(scoped.Create(form_));
        ASSERT_TRUE(scoped.AddTool(list_, "text"));
        window = scoped.hWnd();
        ASSERT_FALSE(window.isNull());
    }
    EXPECT_TRUE(window.isNull()) << "the object's end ends the window";

    ToolTip outliving;
    {
        auto form = std::make_unique<QWidget>();
        QWidget tool(form.get());
        ASSERT_TRUE(outliving.Create(*form));
        ASSERT_TRUE(outliving.AddTool(tool, "text"));
    }
    EXPECT_EQ(outliving.hWnd(), nullptr) << "the window went with its form";
    EXPECT_EQ(outliving.ToolCount(), 0);
}

}  // namespace
