// Value changes made by code run the same handler a user edit runs.
#include <gtest/gtest.h>

#include "tests/platform/ui/host_widget.h"
#include "tests/platform/ui/qt_print.h"

#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <QWidget>
#include <memory>

#include "platform/ui/check_box.h"
#include "platform/ui/combo_box.h"
#include "platform/ui/command_button.h"
#include "platform/ui/control_array.h"
#include "platform/ui/frame.h"
#include "platform/ui/label.h"
#include "platform/ui/option_button.h"
#include "platform/ui/text_box.h"

namespace {

using ControlsTest = HostWidgetTest;

TEST_F(ControlsTest, TextBoxChangeRunsForCodeAndTypingButNotForTheSameText) {
    auto* txt = new vb::TextBox(host.get());
    int changes = 0;
    txt->Change = [&] { ++changes; };
    txt->SetText("pop.example.com");
    EXPECT_EQ(changes, 1);
    txt->SetText("pop.example.com");
    EXPECT_EQ(changes, 1);
    txt->SetFocus();
    QTest::keyClicks(txt->findChild<QLineEdit*>(), "x");
    EXPECT_EQ(changes, 2);
    EXPECT_EQ(txt->Text(), "pop.example.comx");
}

TEST_F(ControlsTest, MultiLineTextBoxKeepsCrLfAtItsInterface) {
    auto* txt = new vb::TextBox(host.get(), true);
    int changes = 0;
    txt->Change = [&] { ++changes; };
    txt->SetText("From contains a\r\nAND Subject contains b");
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(txt->Text(), "From contains a\r\nAND Subject contains b");
    txt->SetText("From contains a\r\nAND Subject contains b");
    EXPECT_EQ(changes, 1);
    txt->SetSelStart(14);  // across the line break, which Qt holds as one character
    txt->SetSelLength(5);
    EXPECT_EQ(txt->SelText(), "a\r\nAND");
    txt->SetMaxLength(4);
    EXPECT_EQ(txt->Text(), "From");
}

TEST_F(ControlsTest, TextBoxSelectionAndCaretAfterTheLastCharacter) {
    auto* txt = new vb::TextBox(host.get());
    txt->SetText("Rules");
    txt->SetSelStart(static_cast<int>(txt->Text().size()));
    EXPECT_EQ(txt->SelStart(), 5);
    EXPECT_EQ(txt->SelLength(), 0);
    txt->SetSelStart(1);
    txt->SetSelLength(3);
    EXPECT_EQ(txt->SelText(), "ule");
    txt->SetSelLength(99);  // clamped to the end
    EXPECT_EQ(txt->SelText(), "ules");
    txt->SetPasswordChar("*");
    EXPECT_EQ(txt->findChild<QLineEdit*>()->echoMode(), QLineEdit::Password);
}

TEST_F(ControlsTest, CheckBoxClickRunsOnEveryValueChange) {
    auto* chk = new vb::CheckBox(host.get());
    std::vector<int> seen;
    chk->Click = [&] { seen.push_back(chk->Value()); };
    chk->SetValue(vb::vbChecked);
    chk->SetValue(vb::vbChecked);  // unchanged: no click
    chk->SetValue(vb::vbGrayed);
    chk->click();  // the user: grey becomes ticked
    chk->click();  // ticked becomes clear, never grey
    EXPECT_EQ(seen, (std::vector<int>{1, 2, 1, 0}));
    EXPECT_THROW(chk->SetValue(3), vb::VbError);
}

TEST_F(ControlsTest, OptionButtonsChooseOnePerContainerAndClickFromCode) {
    auto* fra = new vb::Frame(host.get());
    vb::ControlArray<vb::OptionButton> opt(vb::Element<QWidget*>{1, fra}, vb::Element<QWidget*>{2, fra});
    std::vector<int> clicks;
    opt.Wire(&vb::OptionButton::Click, [&clicks](int Index) { clicks.push_back(Index); });
    opt.Load(3, fra);  // loaded at run time: the wired handler reaches it too
    EXPECT_THROW(opt.Load(3, fra), vb::VbError);
    auto* other = new vb::OptionButton(host.get());  // another container: its own group
    other->SetValue(true);
    opt(2).SetValue(true);
    opt(2).SetValue(true);  // chosen again from code: Click again
    opt(3).click();         // the user
    EXPECT_EQ(clicks, (std::vector<int>{2, 2, 3}));
    EXPECT_FALSE(opt(2).Value());
    EXPECT_TRUE(opt(3).Value());
    EXPECT_TRUE(other->Value());
    opt(3).SetValue(false);
    EXPECT_FALSE(opt(3).Value());
    EXPECT_THROW(opt(0), vb::VbError);
    EXPECT_EQ(opt.LBound(), 1);
    EXPECT_EQ(opt.UBound(), 3);
    opt.Unload(3);
    EXPECT_FALSE(opt.Exists(3));
    EXPECT_EQ(fra->findChildren<vb::OptionButton*>().size(), 2U)
        << "an unloaded element leaves its container";
}

TEST_F(ControlsTest, AControlArrayInsideItsOwnElementIsTornDownChildFirst) {
    // Frames of one array nested in one another: destroying the array must not
    // delete an element its container already took down.
    auto fra = std::make_unique<vb::ControlArray<vb::Frame>>(vb::Element<QWidget*>{0, host.get()});
    fra->Load(1, &(*fra)(0));
    fra->Load(2, &(*fra)(1));
    EXPECT_EQ((*fra)(2).parentWidget(), &(*fra)(1));
    fra.reset();
    EXPECT_TRUE(host->findChildren<vb::Frame*>().isEmpty());
}

TEST_F(ControlsTest, ComboBoxClickRunsWhenTheChoiceChanges) {
    auto* cbo = new vb::ComboBox(host.get());
    int clicks = 0;
    cbo->Click = [&] { ++clicks; };
    for (const char* item : {"From", "To", "Subject", "Size"}) cbo->AddItem(item);
    EXPECT_EQ(cbo->ListIndex(), -1);  // adding chooses nothing
    EXPECT_EQ(clicks, 0);
    cbo->SetListIndex(2);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(cbo->Text(), "Subject");
    EXPECT_TRUE(cbo->SetText("size"));  // case does not matter
    EXPECT_EQ(cbo->ListIndex(), 3);
    EXPECT_EQ(clicks, 2);
    EXPECT_FALSE(cbo->SetText("Gone Account"));
    EXPECT_EQ(cbo->ListIndex(), -1);
    cbo->AddItem("Body", 0);  // insertion keeps the order given
    EXPECT_EQ(cbo->List(0), "Body");
    EXPECT_EQ(cbo->List(1), "From");
    cbo->Clear();
    EXPECT_EQ(cbo->ListCount(), 0);
    EXPECT_THROW(cbo->SetListIndex(0), vb::VbError);
}

TEST_F(ControlsTest, UserDataIsShownLiterally) {
    auto* lbl = new vb::Label(host.get());
    lbl->SetCaption("<b>Tom & Jerry</b>\r\nline 2");
    EXPECT_EQ(lbl->textFormat(), Qt::PlainText);
    EXPECT_EQ(lbl->text(), "<b>Tom & Jerry</b>\nline 2");
    auto* chk = new vb::CheckBox(host.get());
    chk->SetCaption("Save & Exit");
    EXPECT_EQ(chk->text(), "Save && Exit");  // no access key: the "&" shows
    EXPECT_EQ(chk->Caption(), "Save & Exit");
    auto* fra = new vb::Frame(host.get());
    fra->SetCaption("3 New Message(s) & more");
    EXPECT_EQ(fra->title(), "3 New Message(s) && more");
    lbl->SetToolTipText("a <i>b</i>");
    EXPECT_TRUE(lbl->toolTip().contains("&lt;i&gt;"));
}

TEST_F(ControlsTest, GeometryVisibleEnabledAndClicks) {
    auto* fra = new vb::Frame(host.get());
    fra->Move(144, 144, 5772, 840);
    EXPECT_EQ(fra->geometry(), QRect(10, 10, 385, 56));
    EXPECT_EQ(fra->Width(), 5775);
    auto* lbl = new vb::Label(fra);
    lbl->Move(180, 396, 4512, 264);
    EXPECT_EQ(lbl->Left(), 180);
    lbl->SetVisible(false);
    EXPECT_FALSE(lbl->Visible());
    fra->SetFontBold(true);
    EXPECT_FALSE(lbl->font().bold());  // a bold frame caption leaves its children alone
    auto* cmd = new vb::CommandButton(host.get());
    int clicks = 0;
    cmd->Click = [&] { ++clicks; };
    cmd->SetValue(true);
    cmd->click();
    cmd->SetEnabled(false);
    cmd->click();
    EXPECT_EQ(clicks, 2);
    int labelClicks = 0;
    lbl->SetVisible(true);
    lbl->Click = [&] { ++labelClicks; };
    QTest::mouseClick(lbl, Qt::LeftButton);
    EXPECT_EQ(labelClicks, 1);
}

}  // namespace
