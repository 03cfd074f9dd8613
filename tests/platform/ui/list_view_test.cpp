#include "platform/ui/list_view.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QHeaderView>
#include <QPainter>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <memory>

#include "platform/ui/image_list.h"
#include "tests/platform/ui/qt_print.h"

namespace {

QPixmap swatch(Qt::GlobalColor c) {
    QPixmap p(16, 16);
    p.fill(c);
    return p;
}

class ListViewTest : public testing::Test {
protected:
    void SetUp() override {
        host = std::make_unique<QWidget>();
        host->resize(800, 400);
        lvw = new vb::ListView(host.get());
        lvw->setGeometry(0, 0, 780, 380);
        icons.Add(swatch(Qt::gray), "Normal");
        icons.Add(swatch(Qt::blue), "New");
        headers.Add(swatch(Qt::green), "Ascending");
        headers.Add(swatch(Qt::red), "Descending");
        headers.Add(QPixmap(), "Blank");
        lvw->SetSmallIcons(&icons);
        lvw->SetColumnHeaderIcons(&headers);
        for (const char* key : {"From", "To", "Subject"})
            lvw->AddColumn(key, key, 1500, vb::lvwColumnLeft, "Blank");
        lvw->AddColumn("", "Body", 0);
        host->show();
        QApplication::processEvents();
    }
    void Fill(const std::vector<std::vector<QString>>& rows) {
        for (const auto& r : rows) {
            vb::ListItem item = lvw->AddItem(r[0], "Normal");
            for (std::size_t i = 1; i < r.size(); ++i) item.SetSubItems(static_cast<int>(i), r[i]);
        }
    }
    QStringList Column(int c) {
        QStringList out;
        for (int i = 1; i <= lvw->ItemCount(); ++i)
            out << (c == 0 ? lvw->Item(i).Text() : lvw->Item(i).SubItems(c));
        return out;
    }
    std::unique_ptr<QWidget> host;
    vb::ListView* lvw = nullptr;
    vb::ImageList icons;
    vb::ImageList headers;
};

TEST_F(ListViewTest, ColumnsByKeyOrIndexWithWidthsInTwipsAndHeaderIcons) {
    EXPECT_EQ(lvw->ColumnCount(), 4);
    EXPECT_EQ(lvw->Column("subject").Index(), 3);  // keys ignore case
    EXPECT_EQ(lvw->Column(1).Key(), "From");
    EXPECT_EQ(lvw->Column(1).Width(), 1500);
    lvw->Column("To").SetWidth(3000);
    EXPECT_EQ(lvw->columnWidth(1), 200);
    lvw->Column(4).SetWidth(0);  // hidden columns keep width 0
    EXPECT_EQ(lvw->Column(4).Width(), 0);
    lvw->Column(1).SetIcon("Descending");
    EXPECT_EQ(lvw->Column(1).Icon(), "Descending");
    EXPECT_FALSE(lvw->headerItem()->icon(0).isNull());
    EXPECT_THROW(lvw->Column("Nope"), vb::VbError);
    EXPECT_THROW(lvw->Column(5), vb::VbError);
    EXPECT_THROW(lvw->Column(1).SetIcon("Missing"), vb::VbError);
    EXPECT_THROW(lvw->AddColumn("FROM", "again"), vb::VbError);
}

// Columns that fill the column space fit beside a vertical scroll bar; a
// pixel more needs a horizontal one.
TEST_F(ListViewTest, ColumnsThatFillTheColumnSpaceNeedNoHorizontalScrollBar) {
    Fill(std::vector<std::vector<QString>>(100, {"alice", "me", "hello", "body"}));
    const auto horizontalBarWith = [this](int extraTwips) {
        lvw->Column(1).SetWidth(lvw->ColumnSpace() - 3000 + extraTwips);
        for (int pass = 0; pass < 3; ++pass) QApplication::processEvents();
        return lvw->horizontalScrollBar()->isVisible();
    };
    EXPECT_FALSE(horizontalBarWith(0));
    EXPECT_TRUE(lvw->verticalScrollBar()->isVisible());
    EXPECT_TRUE(horizontalBarWith(vb::PixelsToTwipsX(1)));
}

TEST_F(ListViewTest, RowsKeepTextSubItemsIconBoldColourTagAndSelection) {
    Fill({{"alice", "me", "hello", "body text"}, {"bob", "me", "again", "more"}});
    vb::ListItem row = lvw->Item(2);
    EXPECT_EQ(row.Index(), 2);
    EXPECT_EQ(row.SubItems(2), "again");
    EXPECT_EQ(row.SmallIcon(), "Normal");
    row.SetSmallIcon("New");
    EXPECT_EQ(row.SmallIcon(), "New");
    row.SetBold(true);
    row.SetSubItemBold(2, true);
    EXPECT_TRUE(row.Bold());
    EXPECT_TRUE(row.SubItemBold(2));
    EXPECT_FALSE(row.SubItemBold(1));
    row.SetSubItemForeColor(3, 0xFFFFFF);
    EXPECT_EQ(row.QtItem()->foreground(3).color(), QColor(Qt::white));
    row.SetTag("uid-2");
    EXPECT_EQ(lvw->Item(2).Tag(), "uid-2");
    EXPECT_EQ(lvw->SelectedItem(), 0);
    lvw->Item(1).SetSelected(true);
    lvw->Item(2).SetSelected(true);  // one row at a time unless MultiSelect
    EXPECT_FALSE(lvw->Item(1).Selected());
    lvw->SetMultiSelect(true);
    lvw->Item(1).SetSelected(true);
    EXPECT_TRUE(lvw->Item(1).Selected());
    EXPECT_TRUE(lvw->Item(2).Selected());
    EXPECT_EQ(lvw->SelectedItem(), 1);  // the current row: the one selected last
    EXPECT_THROW(row.SubItems(4), vb::VbError);
    EXPECT_THROW(lvw->Item(3), vb::VbError);
    EXPECT_THROW(row.SetSmallIcon("Missing"), vb::VbError);
    lvw->RemoveItem(1);
    EXPECT_EQ(lvw->Item(1).Tag(), "uid-2");
    lvw->ClearItems();
    EXPECT_EQ(lvw->ItemCount(), 0);
}

TEST_F(ListViewTest, RowsAddedInOneStepFollowTheRowsBeforeThem) {
    Fill({{"first"}});
    QSignalSpy inserted(lvw->model(), &QAbstractItemModel::rowsInserted);
    std::vector<int> numbers;
    lvw->AddItems(3, [&](int row, vb::ListItem item) {
        numbers.push_back(row);
        item.SetText(QString::number(row));
        item.SetSubItems(2, "s" + QString::number(row));
        item.SetSmallIcon("New");
        item.SetBold(row == 3);
    });
    EXPECT_EQ(numbers, (std::vector<int>{2, 3, 4}));
    EXPECT_EQ(Column(0), (QStringList{"first", "2", "3", "4"}));
    EXPECT_EQ(Column(2), (QStringList{"", "s2", "s3", "s4"}));
    EXPECT_EQ(lvw->Item(4).SmallIcon(), "New");
    EXPECT_TRUE(lvw->Item(3).Bold());
    EXPECT_FALSE(lvw->Item(4).Bold());
    EXPECT_EQ(inserted.count(), 1) << "one insertion for all the rows";
    lvw->AddItems(0, [](int, vb::ListItem) { ADD_FAILURE() << "no row to fill"; });
    EXPECT_EQ(lvw->ItemCount(), 4);
}

// Rows added in one step share their icons and fonts, each row still with
// its own; the next step takes the image list as it is then.
TEST_F(ListViewTest, RowsAddedTogetherKeepTheirOwnIconsAndFonts) {
    const auto colour = [&](int row) {
        return lvw->Item(row).QtItem()->icon(0).pixmap(16, 16).toImage().pixelColor(8, 8);
    };
    const auto addRows = [&] {
        lvw->AddItems(4, [](int row, vb::ListItem item) {
            item.SetText(QString::number(row));
            item.SetSmallIcon(row % 2 ? "New" : "Normal");
            item.SetBold(row % 2 == 1);
            item.SetSubItemBold(2, row % 2 == 0);
        });
    };
    addRows();
    for (int row = 1; row <= 4; ++row) {
        const bool odd = row % 2 == 1;
        EXPECT_EQ(lvw->Item(row).SmallIcon(), odd ? "New" : "Normal") << row;
        EXPECT_EQ(colour(row), QColor(odd ? Qt::blue : Qt::gray)) << row;
        EXPECT_EQ(lvw->Item(row).Bold(), odd) << row;
        EXPECT_EQ(lvw->Item(row).SubItemBold(2), !odd) << row;
        EXPECT_EQ(lvw->Item(row).QtItem()->font(0).family(), lvw->font().family()) << row;
    }
    icons.Remove("New");
    icons.Add(swatch(Qt::yellow), "New");
    addRows();
    EXPECT_EQ(colour(5), QColor(Qt::yellow)) << "the picture the list has now";
    EXPECT_EQ(colour(1), QColor(Qt::blue)) << "rows already there keep theirs";
}

TEST_F(ListViewTest, HitTestFindsTheRowUnderAPointInTwips) {
    Fill({{"one"}, {"two"}, {"three"}});
    const QRect second = lvw->visualItemRect(lvw->Item(2).QtItem());
    const QPoint inControl = lvw->viewport()->mapTo(lvw, second.center());
    EXPECT_EQ(lvw->HitTest(vb::PixelsToTwipsX(inControl.x()), vb::PixelsToTwipsY(inControl.y())), 2);
    // The header and the empty space below the rows hit nothing.
    EXPECT_EQ(lvw->HitTest(150, 30), 0);
    EXPECT_EQ(lvw->HitTest(150, vb::PixelsToTwipsY(370)), 0);
}

TEST_F(ListViewTest, RowsStayOneLineHighWhateverTheirHiddenTextsHold) {
    const QString body = QStringLiteral("line\r\n").repeated(40);
    Fill({{"first", "to", "subject", body}, {"second", "to", "subject", "short"}});
    QApplication::processEvents();
    const int first = lvw->visualItemRect(lvw->Item(1).QtItem()).height();
    EXPECT_EQ(first, lvw->visualItemRect(lvw->Item(2).QtItem()).height());
    EXPECT_LT(first, 2 * lvw->fontMetrics().height());
    EXPECT_EQ(lvw->Item(1).SubItems(3), body) << "the text itself is kept whole";
}

TEST_F(ListViewTest, MouseEventsComeInTheOriginalOrder) {
    Fill({{"one"}, {"two"}});
    std::vector<std::string> log;
    lvw->MouseDown = [&](int b, int, int, int) { log.push_back("down" + std::to_string(b)); };
    lvw->ItemClick = [&](vb::ListItem item) {
        log.push_back("item" + std::to_string(item.Index()) + (item.Selected() ? "sel" : ""));
    };
    lvw->MouseUp = [&](int b, int, int, int) { log.push_back("up" + std::to_string(b)); };
    lvw->Click = [&] { log.push_back("click"); };
    lvw->DblClick = [&] { log.push_back("dbl"); };
    const QPoint p = lvw->visualItemRect(lvw->Item(2).QtItem()).center();
    QTest::mouseClick(lvw->viewport(), Qt::RightButton, {}, p);
    EXPECT_EQ(log, (std::vector<std::string>{"down2", "item2sel", "up2"}));
    log.clear();
    QTest::mouseClick(lvw->viewport(), Qt::LeftButton, {}, p);
    EXPECT_EQ(log, (std::vector<std::string>{"down1", "item2sel", "up1", "click"}));
    log.clear();
    QTest::mouseDClick(lvw->viewport(), Qt::LeftButton, {}, p);
    const auto dbl = std::find(log.begin(), log.end(), "dbl");
    ASSERT_NE(dbl, log.end());
    EXPECT_EQ(std::find(dbl, log.end(), "click"), log.end());  // no Click after the double click
    log.clear();
    QTest::mouseClick(lvw->viewport(), Qt::LeftButton, {}, QPoint(50, 300));  // empty space
    EXPECT_EQ(log, (std::vector<std::string>{"down1", "up1", "click"}));
}

TEST_F(ListViewTest, HeaderClickNamesTheColumnAndNeverReordersRows) {
    Fill({{"b"}, {"a"}});
    QString clicked;
    lvw->ColumnClick = [&](vb::ColumnHeader c) { clicked = c.Text(); };
    QHeaderView* h = lvw->header();
    QTest::mouseClick(h->viewport(), Qt::LeftButton, {}, QPoint(h->sectionViewportPosition(2) + 10, 5));
    EXPECT_EQ(clicked, "Subject");
    EXPECT_EQ(Column(0), (QStringList{"b", "a"}));
}

}  // namespace
