// Containers and what they pass on to the controls inside them: a disabled
// container makes its controls unusable without changing their own Enabled;
// its colours stay its own.
#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QTest>
#include <cstdlib>
#include <functional>
#include <memory>

#include "platform/ui/check_box.h"
#include "platform/ui/combo_box.h"
#include "platform/ui/command_button.h"
#include "platform/ui/frame.h"
#include "platform/ui/label.h"
#include "platform/ui/list_box.h"
#include "platform/ui/list_view.h"
#include "platform/ui/menu.h"
#include "platform/ui/option_button.h"
#include "platform/ui/picture_box.h"
#include "platform/ui/progress_bar.h"
#include "platform/ui/rich_text_box.h"
#include "platform/ui/status_bar.h"
#include "platform/ui/tab_strip.h"
#include "platform/ui/text_box.h"
#include "platform/ui/tool_bar.h"
#include "platform/ui/tree_view.h"
#include "platform/ui/up_down.h"
#include "tests/platform/ui/host_widget.h"
#include "tests/platform/ui/qt_print.h"

namespace {

using ContainersTest = HostWidgetTest;

template <class T>
vb::ControlBase* Make(QWidget* parent) {
    return new T(parent);
}

struct Kind {
    const char* name;
    std::function<vb::ControlBase*(QWidget*)> make;
};

const Kind kKinds[] = {
    {"check box", Make<vb::CheckBox>},
    {"combo box", Make<vb::ComboBox>},
    {"command button", Make<vb::CommandButton>},
    {"frame", Make<vb::Frame>},
    {"label", Make<vb::Label>},
    {"list box", Make<vb::ListBox>},
    {"list view", Make<vb::ListView>},
    {"option button", Make<vb::OptionButton>},
    {"picture box", Make<vb::PictureBox>},
    {"progress bar", Make<vb::ProgressBar>},
    {"rich text box", Make<vb::RichTextBox>},
    {"status bar", Make<vb::StatusBar>},
    {"tab strip", Make<vb::TabStrip>},
    {"text box", Make<vb::TextBox>},
    {"tool bar", Make<vb::ToolBar>},
    {"tree view", Make<vb::TreeView>},
    {"up-down", Make<vb::UpDown>},
};

TEST_F(ContainersTest, EnabledIsTheControlsOwnSettingInsideADisabledContainer) {
    for (const Kind& k : kKinds) {
        for (const bool inPicture : {false, true}) {
            vb::ControlBase* outer =
                inPicture ? Make<vb::PictureBox>(host.get()) : Make<vb::Frame>(host.get());
            vb::ControlBase* c = k.make(&outer->Widget());
            outer->SetEnabled(false);
            EXPECT_TRUE(c->Enabled()) << k.name;
            EXPECT_FALSE(c->Widget().isEnabled()) << k.name << ": still unusable";
            c->SetEnabled(false);
            outer->SetEnabled(true);
            EXPECT_FALSE(c->Enabled()) << k.name << ": its own setting outlives the container's";
            EXPECT_FALSE(c->Widget().isEnabled()) << k.name;
            c->SetEnabled(true);
            EXPECT_TRUE(c->Enabled()) << k.name;
            EXPECT_TRUE(c->Widget().isEnabled()) << k.name;
            delete &outer->Widget();
        }
    }
}

TEST_F(ContainersTest, ToolButtonsAndMenuEntriesKeepTheirOwnEnabled) {
    auto* fra = new vb::Frame(host.get());
    auto* tbr = new vb::ToolBar(fra);
    vb::ToolButton& check = tbr->AddButton("EmailCheck", "Check");
    vb::ToolButton& stop = tbr->AddButton("EmailStop", "Stop");
    stop.SetEnabled(false);
    fra->SetEnabled(false);
    EXPECT_TRUE(check.Enabled());
    EXPECT_FALSE(check.QtButton().isEnabled());
    EXPECT_FALSE(stop.Enabled());
    fra->SetEnabled(true);
    tbr->SetEnabled(false);
    EXPECT_TRUE(check.Enabled());
    EXPECT_FALSE(stop.Enabled());
    tbr->SetEnabled(true);
    EXPECT_TRUE(check.QtButton().isEnabled());
    EXPECT_FALSE(stop.QtButton().isEnabled());

    vb::Menu pop;
    vb::Menu sub(pop);
    vb::Menu entry(sub);
    entry.SetCaption("&Preview|#Preview");
    sub.SetEnabled(false);
    EXPECT_FALSE(sub.Enabled());
    EXPECT_TRUE(entry.Enabled());
    entry.SetEnabled(false);
    sub.SetEnabled(true);
    EXPECT_FALSE(entry.Enabled());
}

// Pixels of the rendered widget within `area` that are close to `c`.
int PixelsNear(const QWidget& w, const QRect& area, QColor c) {
    const QImage img = const_cast<QWidget&>(w).grab().toImage();
    int n = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            const QColor p = img.pixelColor(x, y);
            if (std::abs(p.red() - c.red()) + std::abs(p.green() - c.green()) +
                    std::abs(p.blue() - c.blue()) <
                90)
                ++n;
        }
    }
    return n;
}

TEST_F(ContainersTest, AContainersColoursPaintItButNotTheControlsInside) {
    const QColor red(255, 0, 0), blue(0, 0, 255);
    for (const bool picture : {false, true}) {
        vb::ControlBase* outer = picture ? Make<vb::PictureBox>(host.get()) : Make<vb::Frame>(host.get());
        outer->Move(0, 0, 4500, 3000);  // 300 x 200 pixels
        auto* lbl = new vb::Label(&outer->Widget());
        lbl->Move(1500, 1500, 1500, 300);
        lbl->SetCaption("inside");
        const QColor labelText = lbl->palette().color(QPalette::WindowText);
        if (!picture) static_cast<vb::Frame*>(outer)->SetCaption("Accounts Accounts");
        outer->SetForeColor(vb::RGB(255, 0, 0));
        outer->SetBackColor(vb::RGB(0, 0, 255));
        EXPECT_EQ(outer->ForeColor(), vb::RGB(255, 0, 0));
        EXPECT_EQ(outer->BackColor(), vb::RGB(0, 0, 255));
        EXPECT_EQ(lbl->palette().color(QPalette::WindowText), labelText) << picture;
        EXPECT_NE(lbl->palette().color(lbl->backgroundRole()), blue) << picture;
        const QRect below(20, 60, 60, 30);  // clear of the caption, the label and the border
        EXPECT_EQ(PixelsNear(outer->Widget(), below, blue), below.width() * below.height()) << picture;
        EXPECT_EQ(PixelsNear(*lbl, lbl->rect(), blue), 0) << picture;
        if (!picture) {
            EXPECT_GT(PixelsNear(outer->Widget(), QRect(0, 0, 300, 25), red), 5) << "the caption";
        }
        delete &outer->Widget();
    }
}

TEST_F(ContainersTest, ABorderlessFrameDrawsNothingButLeavesAFrameInsideBordered) {
    vb::Frame outer(host.get());
    outer.Move(0, 0, 4500, 3000);
    outer.SetCaption("Hidden Caption");
    outer.SetBorderStyle(0);
    auto* inner = new vb::Frame(&outer);
    inner->Move(1500, 1500, 1500, 1200);
    inner->SetCaption("Shown");
    const QImage img = outer.grab().toImage();
    const QColor ground = img.pixelColor(5, 5);
    EXPECT_EQ(PixelsNear(outer, QRect(0, 0, 90, 90), ground), 90 * 90) << "no caption, no border";
    const QRect innerArea(100, 100, 100, 80);
    EXPECT_LT(PixelsNear(outer, innerArea, ground), innerArea.width() * innerArea.height() - 50)
        << "the inner frame's caption and border";
}

}  // namespace
