// Tool bars, status bars, progress bars and image lists.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QPainter>
#include <QTest>
#include <memory>

#include "platform/ui/image_list.h"
#include "platform/ui/progress_bar.h"
#include "platform/ui/status_bar.h"
#include "platform/ui/tool_bar.h"
#include "tests/platform/ui/host_widget.h"
#include "tests/platform/ui/qt_print.h"

namespace {

QPixmap filled(QColor c, int size = 16) {
    QPixmap p(size, size);
    p.fill(c);
    return p;
}

using BarsTest = HostWidgetTest;

TEST_F(BarsTest, ToolBarButtonsByKeyAndIndexAndButtonClickNamesThem) {
    vb::ImageList icons;
    for (const char* key : {"EmailPreview", "EmailDelete", "EmailCheck"}) icons.Add(filled(Qt::blue), key);
    auto* tbr = new vb::ToolBar(host.get());
    tbr->SetImageList(&icons);
    tbr->AddButton("EmailPreview", "Preview ", vb::tbrDefault, "EmailPreview");
    tbr->AddButton("EmailDelete", "Delete   ", vb::tbrDefault, "EmailDelete");
    tbr->AddButton("EmailCheck", "Check   ", vb::tbrDefault, "EmailCheck");
    EXPECT_EQ(tbr->ButtonCount(), 3);
    EXPECT_EQ(tbr->Buttons("emailcheck").Index(), 3);  // keys ignore case
    EXPECT_EQ(tbr->Buttons(2).Key(), "EmailDelete");
    EXPECT_THROW(tbr->Buttons("Nope"), vb::VbError);
    EXPECT_THROW(tbr->Buttons(4), vb::VbError);
    EXPECT_THROW(tbr->AddButton("EMAILCHECK"), vb::VbError);
    EXPECT_THROW(tbr->Buttons(1).SetImage("Missing"), vb::VbError);

    std::vector<QString> clicked;
    tbr->ButtonClick = [&](vb::ToolButton& b) { clicked.push_back(b.Key()); };
    tbr->Buttons("EmailDelete").QtButton().click();
    tbr->Buttons("EmailCheck").SetEnabled(false);
    tbr->Buttons("EmailCheck").QtButton().click();  // disabled: nothing
    tbr->Buttons(1).SetValue(vb::tbrPressed);       // from code: no click
    EXPECT_EQ(clicked, (std::vector<QString>{"EmailDelete"}));
    EXPECT_EQ(tbr->Buttons(1).Value(), vb::tbrPressed);
}

TEST_F(BarsTest, ToolBarButtonsShareOneWidthAndKeepTheirProperties) {
    auto* tbr = new vb::ToolBar(host.get());
    vb::ToolButton& a = tbr->AddButton("Help", "Help     ");
    vb::ToolButton& b = tbr->AddButton("StopRetrieval", "Stop Retrieval      ");
    EXPECT_EQ(a.QtButton().width(), b.QtButton().width());
    EXPECT_EQ(tbr->ButtonWidth(), vb::PixelsToTwipsX(b.QtButton().width()));
    EXPECT_GT(tbr->ButtonHeight(), 0);
    b.SetCaption("Terminating...      ");
    EXPECT_EQ(b.Caption(), "Terminating...      ");
    b.SetToolTipText("Stop Retrieving <Messages>");
    EXPECT_EQ(b.ToolTipText(), "Stop Retrieving <Messages>");
    EXPECT_TRUE(b.QtButton().toolTip().contains("&lt;Messages&gt;"));
    b.SetVisible(false);
    EXPECT_FALSE(b.Visible());
    b.SetTag("On");
    EXPECT_EQ(b.Tag(), "On");
    tbr->SetStyle(vb::tbrFlat);
    EXPECT_TRUE(a.QtButton().autoRaise());
    tbr->SetStyle(vb::tbrStandard);
    EXPECT_FALSE(a.QtButton().autoRaise());
    vb::ToolButton& c = tbr->AddButton("Save", "Save && Quit");
    EXPECT_EQ(c.QtButton().text(), "Save &&&& Quit");  // shown literally
}

TEST_F(BarsTest, StatusBarPanelsKeepTextPictureAndPlace) {
    auto* sb = new vb::StatusBar(host.get());
    sb->setGeometry(0, 0, 780, 24);
    sb->AddPanel("Home - 2 Messages", 1440, vb::sbrSpring);
    sb->AddPanel("", 900);
    sb->AddPanel(" Dec 8/26 9:05 PM ", 1800);
    sb->show();  // made after its parent was shown
    EXPECT_EQ(sb->PanelCount(), 3);
    sb->SetPanelText(1, "<b>x</b>");
    EXPECT_EQ(sb->PanelText(1), "<b>x</b>");
    EXPECT_EQ(sb->findChildren<QLabel*>()[1]->textFormat(), Qt::PlainText);
    sb->SetPanelPicture(2, filled(Qt::red));
    EXPECT_TRUE(sb->PanelHasPicture(2));
    sb->SetPanelPicture(2, QPixmap());
    EXPECT_FALSE(sb->PanelHasPicture(2));
    QApplication::processEvents();
    EXPECT_EQ(sb->PanelWidth(3), 1800);
    EXPECT_LT(sb->PanelLeft(1), sb->PanelLeft(2));
    EXPECT_EQ(sb->PanelLeft(3) + sb->PanelWidth(3),
              vb::PixelsToTwipsX(780 - 1));  // the spring takes the rest
    EXPECT_THROW(sb->SetPanelText(4, "x"), vb::VbError);
    int movedX = -1;
    sb->MouseMove = [&](int, int, int x, int) { movedX = x; };
    // The pointer may rest at the target from an earlier test: a move there
    // alone would be no move.
    QTest::mouseMove(sb, QPoint(10, 10));
    QTest::mouseMove(sb, QPoint(700, 10));
    EXPECT_EQ(movedX, vb::PixelsToTwipsX(700));
}

TEST_F(BarsTest, ProgressBarRefusesValuesOutsideItsRange) {
    auto* bar = new vb::ProgressBar(host.get());
    bar->SetMin(0);
    bar->SetMax(5);
    bar->SetValue(5);
    EXPECT_EQ(bar->Value(), 5);
    EXPECT_THROW(bar->SetValue(6), vb::VbError);
}

TEST(ImageList, KeysIgnoreCaseAndIndexesAreOneBased) {
    vb::ImageList iml;
    EXPECT_EQ(iml.Add(filled(Qt::red), "MailNo"), 1);
    EXPECT_EQ(iml.Add(filled(Qt::green), "MailYes"), 2);
    EXPECT_EQ(iml.Add(filled(Qt::blue), "MailSpin1", 1), 1);  // inserted in front
    EXPECT_EQ(iml.IndexOf("mailyes"), 3);
    EXPECT_EQ(iml.Key(2), "MailNo");
    EXPECT_THROW(iml.Add(filled(Qt::red), "MAILNO"), vb::VbError);
    EXPECT_THROW(iml.Picture(0), vb::VbError);
    EXPECT_THROW(iml.Picture("Nope"), vb::VbError);
    iml.Remove("MailNo");
    EXPECT_EQ(iml.Count(), 2);
    EXPECT_FALSE(iml.Exists("MailNo"));
    iml.SetTag(1, "Default Client Icon");
    EXPECT_EQ(iml.Tag(1), "Default Client Icon");
}

TEST(ImageList, OverlayDrawsTheSecondPictureOverTheFirst) {
    vb::ImageList iml;
    iml.Add(filled(Qt::red), "base");
    QPixmap digit(16, 16);
    digit.fill(Qt::transparent);
    {
        QPainter p(&digit);
        p.fillRect(0, 0, 8, 16, Qt::blue);
    }
    iml.Add(digit, "digit");
    const QImage out = iml.Overlay(1, 2).toImage();
    EXPECT_EQ(QColor(out.pixel(2, 8)), QColor(Qt::blue));
    EXPECT_EQ(QColor(out.pixel(12, 8)), QColor(Qt::red));
    EXPECT_EQ(QColor(iml.Picture(1).toImage().pixel(2, 8)), QColor(Qt::red));  // the base is unchanged
}

}  // namespace
