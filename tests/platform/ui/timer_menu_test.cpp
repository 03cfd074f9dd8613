#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QMenu>
#include <QTimer>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "platform/ui/form.h"
#include "platform/ui/forms.h"
#include "platform/ui/image_list.h"
#include "platform/ui/menu.h"
#include "platform/ui/menu_style_file.h"
#include "platform/ui/timer.h"
#include "tests/platform/ui/qt_print.h"

namespace {

void spin(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

TEST(Timer, TicksAtItsIntervalOnlyWhileEnabled) {
    vb::Timer tmr;
    int ticks = 0;
    tmr.Tick = [&] { ++ticks; };
    tmr.SetInterval(20);
    spin(110);
    EXPECT_GE(ticks, 3);
    tmr.SetEnabled(false);
    const int stopped = ticks;
    spin(80);
    EXPECT_EQ(ticks, stopped);
    tmr.SetInterval(0);
    tmr.SetEnabled(true);  // interval 0: still no ticks
    spin(50);
    EXPECT_EQ(ticks, stopped);
}

TEST(Timer, RunsOneTickAtATimeEvenInsideANestedLoop) {
    vb::Timer tmr;
    int entered = 0;
    int depth = 0;
    int deepest = 0;
    tmr.Tick = [&] {
        ++entered;
        ++depth;
        deepest = std::max(deepest, depth);
        if (entered == 1) spin(100);  // a message box or a blocking call would pump like this
        --depth;
    };
    tmr.SetInterval(10);
    spin(200);
    EXPECT_EQ(deepest, 1);
    EXPECT_GT(entered, 1);  // ticks go on after the long one returns
}

TEST(Timer, EnablingAgainRestartsTheCount) {
    vb::Timer tmr;
    int ticks = 0;
    tmr.Tick = [&] { ++ticks; };
    // Re-armed every 100 ms for 600 ms: a count that went on would fire at
    // 400 ms; the margin lets a loaded machine run late without a tick.
    tmr.SetInterval(400);
    for (int i = 0; i < 6; ++i) {
        spin(100);
        tmr.SetEnabled(true);
    }
    EXPECT_EQ(ticks, 0);
}

// A window with a running timer, as a form description makes it.
class frmTicking : public vb::Form {
public:
    vb::Timer tmrTick{this};
    int ticks = 0;

protected:
    void Form_Load() override {
        tmrTick.Tick = [this] { ++ticks; };
        tmrTick.SetInterval(10);
    }
};

TEST(Timer, AFormsTimerStopsWithTheUnloadNotWhenTheObjectGoes) {
    frmTicking& form = vb::Forms::Get<frmTicking>();
    QPointer<frmTicking> object(&form);
    int loaded = 0;
    int unloaded = -1;
    bool stillThere = false;
    // Unloaded from a handler: the object goes when the loop is back from it,
    // while a loop nested in the handler (a message box, a blocking call)
    // delivers the timer's events all the same.
    QTimer::singleShot(60, [&] {
        loaded = form.ticks;
        form.Unload();
        spin(60);
        stillThere = !object.isNull();
        if (object) unloaded = object->ticks - loaded;
    });
    spin(200);
    EXPECT_GT(loaded, 0) << "ticks while loaded";
    ASSERT_TRUE(stillThere);
    EXPECT_EQ(unloaded, 0);
    EXPECT_TRUE(object.isNull());
}

TEST(Menu, CaptionsCarryTheirPictureKeyAndEntriesRunClick) {
    vb::ImageList pictures;
    QPixmap p(16, 16);
    p.fill(Qt::green);
    pictures.Add(p, "CheckAll");
    vb::Menu mnuTrayPopMenu;
    mnuTrayPopMenu.SetCaption("PopUpMenu");
    vb::Menu mnuTrayCheckAll(mnuTrayPopMenu);
    vb::Menu mnuTraySep1(mnuTrayPopMenu);
    vb::Menu mnuTrayQuit(mnuTrayPopMenu);
    mnuTrayPopMenu.SetPictures(&pictures);
    mnuTrayCheckAll.SetCaption("&Check All|#CheckAll");
    mnuTraySep1.SetCaption("-");
    mnuTrayQuit.SetCaption("&Quit Application|#Quit");            // no such picture: no icon
    EXPECT_EQ(mnuTrayCheckAll.QtAction()->text(), "&Check All");  // the access key stays
    EXPECT_EQ(mnuTrayCheckAll.PictureKey(), "CheckAll");
    EXPECT_FALSE(mnuTrayCheckAll.QtAction()->icon().isNull());
    EXPECT_TRUE(mnuTraySep1.QtAction()->isSeparator());
    EXPECT_TRUE(mnuTrayQuit.QtAction()->icon().isNull());
    EXPECT_EQ(mnuTrayCheckAll.Caption(), "&Check All|#CheckAll");
    int clicks = 0;
    mnuTrayCheckAll.Click = [&] { ++clicks; };
    mnuTrayCheckAll.QtAction()->trigger();
    mnuTrayCheckAll.SetEnabled(false);
    EXPECT_FALSE(mnuTrayCheckAll.Enabled());
    mnuTrayCheckAll.QtAction()->trigger();  // disabled entries do not run
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(mnuTrayPopMenu.QtMenu()->actions().size(), 3);
}

TEST(Menu, PopupRunsTheChosenEntryBeforeItReturns) {
    vb::Menu pop;
    vb::Menu entry(pop);
    entry.SetCaption("&Preview|#Preview");
    int clicks = 0;
    entry.Click = [&] { ++clicks; };
    QTimer::singleShot(50, [&] {
        pop.QtMenu()->setActiveAction(entry.QtAction());
        entry.QtAction()->trigger();
        pop.QtMenu()->close();
    });
    pop.Popup(QPoint(10, 10));
    EXPECT_EQ(clicks, 1);
}

TEST(Menu, StyleFourColoursEveryMenuAndOtherStylesUseTheDesktopLook) {
    vb::Menu before;
    vb::ApplyMenuStyle({4, 10072511, 15724527, 5733521});
    vb::Menu after;
    const QString sheet = before.QtMenu()->styleSheet();
    EXPECT_FALSE(sheet.isEmpty());
    EXPECT_EQ(after.QtMenu()->styleSheet(), sheet);
    EXPECT_TRUE(sheet.contains(vb::ToQColor(15724527).name()));   // middle colour
    EXPECT_EQ(vb::ToQColor(10072511), QColor(0xBF, 0xB1, 0x99));  // BGR order
    vb::ApplyMenuStyle({0, 0, 0, 0});
    EXPECT_TRUE(before.QtMenu()->styleSheet().isEmpty());
}

struct StyleFileCase {
    const char* name;
    const char* text;  // nullptr: no file
    vb::MenuStyle expected;
};

TEST(Menu, TheStyleFileGivesStyleAndColoursAndKeepsTheFallbackForWhatItLacks) {
    const vb::MenuStyle fallback{0, 1, 2, 3};
    const StyleFileCase cases[] = {
        {"as the options write it",
         "[Menu]\r\nMenuStyle=4\r\n[New3D]\r\nNew3DColor1=10072511\r\nNew3DColor2=15724527\r\nNew3DColor3="
         "5733521\r\n",
         {4, 10072511, 15724527, 5733521}},
        {"no file", nullptr, fallback},
        {"names in any case, blanks around",
         "[menu]\n menustyle = 4 \n[NEW3D]\nnew3dcolor2 = 255\n",
         {4, 1, 255, 3}},
        {"signed Long and unsigned system colour",
         "[New3D]\nNew3DColor1=-2147483633\nNew3DColor2=2147483663\nNew3DColor3=0\n",
         {0, 0x8000000F, 0x8000000F, 0}},
        {"no numbers", "[Menu]\nMenuStyle=four\n[New3D]\nNew3DColor1=12abc\nNew3DColor2=\nNew3DColor3=0x10\n",
         fallback},
        {"beyond 32 bits",
         "[Menu]\nMenuStyle=4294967295\n[New3D]\nNew3DColor1=4294967296\nNew3DColor2=-2147483649\n",
         fallback},
        {"keys in the wrong section", "[Menu]\nNew3DColor1=7\n[New3D]\nMenuStyle=4\n", fallback},
    };
    const std::filesystem::path file = std::filesystem::path(std::getenv("TMPDIR")) / "frmMain.ini";
    for (const StyleFileCase& c : cases) {
        std::filesystem::remove(file);
        if (c.text) std::ofstream(file, std::ios::binary) << c.text;
        const vb::MenuStyle got = vb::ReadMenuStyleFile(file, fallback);
        EXPECT_EQ(got.style, c.expected.style) << c.name;
        EXPECT_EQ(got.color1, c.expected.color1) << c.name;
        EXPECT_EQ(got.color2, c.expected.color2) << c.name;
        EXPECT_EQ(got.color3, c.expected.color3) << c.name;
    }
}

}  // namespace
