// Tree view, up-down, rich text box, list box, picture box.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>
#include <QTextCursor>
#include <QTextDocument>
#include <memory>

#include "platform/ui/image_list.h"
#include "platform/ui/list_box.h"
#include "platform/ui/picture_box.h"
#include "platform/ui/rich_text_box.h"
#include "platform/ui/text_box.h"
#include "platform/ui/tree_view.h"
#include "platform/ui/up_down.h"
#include "tests/platform/ui/qt_print.h"

namespace {

class MoreControlsTest : public testing::Test {
protected:
    void SetUp() override {
        host = std::make_unique<QWidget>();
        host->resize(600, 400);
    }
    std::unique_ptr<QWidget> host;
};

TEST_F(MoreControlsTest, TreeViewRunsClickForTheUserButNotForCode) {
    vb::ImageList iml;
    QPixmap p(16, 16);
    p.fill(Qt::cyan);
    for (int i = 0; i < 6; ++i) iml.Add(p);
    auto* tvw = new vb::TreeView(host.get());
    tvw->setGeometry(0, 0, 200, 300);
    tvw->SetImageList(&iml);
    for (const char* text : {"StartUp", "Auto Check", "Defaults", "Menu Colours", "Miscellaneous", "About"}) {
        tvw->AddNode(text, tvw->NodeCount() + 1);
    }
    host->show();
    int clicks = 0;
    tvw->Click = [&] { ++clicks; };
    EXPECT_EQ(tvw->SelectedItem(), 0);
    tvw->Select(4);
    EXPECT_EQ(tvw->SelectedItem(), 4);
    EXPECT_EQ(tvw->NodeText(4), "Menu Colours");
    EXPECT_EQ(tvw->NodeImage(4), 4);
    EXPECT_EQ(clicks, 0);
    QTest::mouseClick(tvw->viewport(), Qt::LeftButton, {},
                      tvw->visualItemRect(tvw->topLevelItem(1)).center());
    EXPECT_EQ(tvw->SelectedItem(), 2);
    EXPECT_EQ(clicks, 1);
    tvw->setFocus();
    QTest::keyClick(tvw, Qt::Key_Down);
    EXPECT_EQ(tvw->SelectedItem(), 3);
    EXPECT_EQ(clicks, 2);
    EXPECT_THROW(tvw->NodeText(7), vb::VbError);
}

TEST_F(MoreControlsTest, UpDownStepsFromItsBuddyAndWritesBack) {
    auto* txt = new vb::TextBox(host.get());
    auto* upd = new vb::UpDown(host.get());
    upd->SetMin(0);
    upd->SetMax(59);
    upd->SetBuddy(txt);
    std::vector<QString> changes;
    txt->Change = [&] { changes.push_back("txt " + txt->Text()); };
    upd->Change = [&] { changes.push_back("upd " + QString::number(upd->Value())); };
    txt->SetText("30");  // typed by the user
    changes.clear();
    upd->StepUp();
    EXPECT_EQ(upd->Value(), 31);
    EXPECT_EQ(txt->Text(), "31");
    EXPECT_EQ(changes, (std::vector<QString>{"txt 31", "upd 31"}));
    txt->SetText("59");
    upd->StepUp();  // at the top: stays
    EXPECT_EQ(upd->Value(), 59);
    txt->SetText("abc");
    upd->StepDown();  // not a number: steps from the value
    EXPECT_EQ(txt->Text(), "58");
    upd->SetValue(5);  // from code: Change and the buddy follow
    EXPECT_EQ(txt->Text(), "5");
    EXPECT_THROW(upd->SetValue(60), vb::VbError);
    upd->SetMax(3);  // narrowing the range pulls the value in
    EXPECT_EQ(upd->Value(), 3);
}

TEST_F(MoreControlsTest, UpDownWithoutABuddyOnlyReportsItsValue) {
    auto* upd = new vb::UpDown(host.get());
    upd->SetMin(0);
    upd->SetMax(23);
    int changes = 0;
    upd->Change = [&] { ++changes; };
    upd->StepDown();  // at the bottom already: nothing changes
    EXPECT_EQ(changes, 0);
    upd->SetWrap(true);
    upd->StepDown();
    EXPECT_EQ(upd->Value(), 23);
    EXPECT_EQ(changes, 1);
}

TEST_F(MoreControlsTest, RichTextBoxFormatsWhatIsInsertedNextAndKeepsTextPlain) {
    auto* rtb = new vb::RichTextBox(host.get());
    rtb->SetText("<b>not markup</b>\r\nline 2");
    EXPECT_EQ(rtb->Text(), "<b>not markup</b>\r\nline 2");
    rtb->SetText("");
    rtb->SetSelBold(true);
    rtb->SetSelText("From:  ");
    rtb->SetSelBold(false);
    rtb->SetSelText("alice@example.com\r\n");
    EXPECT_EQ(rtb->Text(), "From:  alice@example.com\r\n");
    QTextCursor c(&rtb->Document());
    c.setPosition(2);
    EXPECT_EQ(c.charFormat().fontWeight(), QFont::Bold);
    c.setPosition(10);
    EXPECT_NE(c.charFormat().fontWeight(), QFont::Bold);
    rtb->SetSelStart(7);
    rtb->SetSelLength(5);
    EXPECT_EQ(rtb->SelText(), "alice");
    rtb->SetSelColor(vb::RGB(192, 0, 0));
    rtb->SetSelFontSize(10);
    rtb->SetSelFontName("Sans Serif");
    EXPECT_EQ(rtb->SelColor(), vb::RGB(192, 0, 0));
    EXPECT_DOUBLE_EQ(rtb->SelFontSize(), 10.0);
    EXPECT_EQ(rtb->SelFontName(), "Sans Serif");
    rtb->SetSelText("bob");
    EXPECT_EQ(rtb->Text(), "From:  bob@example.com\r\n");
}

TEST_F(MoreControlsTest, CheckListBoxReportsItemCheckAndClick) {
    auto* lst = new vb::ListBox(host.get(), vb::vbListBoxCheckbox);
    std::vector<int> checked;
    int clicks = 0;
    lst->ItemCheck = [&](int item) { checked.push_back(item); };
    lst->Click = [&] { ++clicks; };
    lst->AddItem("Spam rule");
    lst->AddItem("Boss rule");
    EXPECT_EQ(lst->ListIndex(), -1);
    EXPECT_TRUE(checked.empty());
    lst->SetSelected(1, true);
    EXPECT_TRUE(lst->Selected(1));
    EXPECT_EQ(checked, (std::vector<int>{1}));
    lst->SetListIndex(0);
    EXPECT_EQ(clicks, 1);
    lst->SetList(0, "Renamed");  // renaming is not a check
    EXPECT_EQ(checked.size(), 1u);
    EXPECT_EQ(lst->List(0), "Renamed");
    lst->RemoveItem(0);
    EXPECT_EQ(lst->ListCount(), 1);
    EXPECT_THROW(lst->RemoveItem(3), vb::VbError);
}

}  // namespace
