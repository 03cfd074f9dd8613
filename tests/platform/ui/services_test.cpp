// Common dialogs, the tooltip window and the program's facts.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QEventLoop>
#include <QFileInfo>
#include <QTimer>
#include <QWidget>
#include <memory>

#include "platform/store/program_folder.h"
#include "platform/ui/app_info.h"
#include "platform/ui/common_dialog.h"
#include "platform/ui/tool_tip_window.h"
#include "platform/ui/vb_error.h"
#include "tests/platform/ui/qt_print.h"

namespace {

struct FilterCase {
    const char* name;
    const char* vb;
    const char* qt;
};

TEST(CommonDialog, FiltersAreConvertedPairByPair) {
    const FilterCase cases[] = {
        {"pattern as description", "(*.exe)|*.exe|", "(*.exe)"},
        {"description ending in pattern", "OutLook Express (*.eml)|*.eml|Email Message (*.msg)|*.msg|",
         "OutLook Express (*.eml);;Email Message (*.msg)"},
        {"description without pattern", "Sounds|*.wav;*.WAV", "Sounds (*.wav *.WAV)"},
        {"empty", "", ""},
        {"dangling description", "All files|", ""},
    };
    for (const FilterCase& c : cases) EXPECT_EQ(vb::CommonDialog::QtFilter(c.vb), c.qt) << c.name;
}

TEST(CommonDialog, ScriptedAnswersSetFileNameAndColourAndCancelKeepsThem) {
    vb::ScriptedDialogs script;
    script.ChooseFile("/tmp/a.wav");
    script.Cancel();
    script.ChooseColor(vb::RGB(1, 2, 3));
    vb::CommonDialog dlg;
    dlg.InitDir = "/home/u/Sounds/";
    dlg.Filter = "(*.wav)|*.wav|";
    dlg.Flags = vb::cdlOFNHideReadOnly | vb::cdlOFNLongNames;
    EXPECT_TRUE(dlg.ShowOpen());
    EXPECT_EQ(dlg.FileName, "/tmp/a.wav");
    EXPECT_FALSE(dlg.ShowSave());
    EXPECT_EQ(dlg.FileName, "/tmp/a.wav");
    dlg.Color = vb::RGB(9, 9, 9);
    EXPECT_TRUE(dlg.ShowColor());
    EXPECT_EQ(dlg.Color, vb::RGB(1, 2, 3));
    EXPECT_FALSE(dlg.ShowColor());  // nothing scripted: cancelled
    EXPECT_EQ(dlg.Color, vb::RGB(1, 2, 3));
    dlg.CancelError = true;
    try {
        dlg.ShowOpen();
        ADD_FAILURE() << "a cancel with CancelError must raise";
    } catch (const vb::VbError& e) {
        EXPECT_EQ(e.Number(), vb::cdlCancel);
    }
    ASSERT_EQ(script.Calls().size(), 5u);
    EXPECT_EQ(script.Calls()[0].kind, vb::DialogCall::Open);
    EXPECT_EQ(script.Calls()[0].initDir, "/home/u/Sounds/");
    EXPECT_EQ(script.Calls()[1].kind, vb::DialogCall::Save);
    EXPECT_EQ(script.Calls()[2].color, vb::RGB(9, 9, 9));
}

void spin(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

TEST(ToolTipWindow, ShowsThePlainTextOfTheToolUnderThePointerAndFollowsItsChanges) {
    QWidget owner;
    owner.resize(300, 200);
    auto* tool = new QWidget(&owner);
    tool->setGeometry(0, 0, 300, 200);
    owner.show();
    vb::ToolTipWindow tips(&owner);
    EXPECT_TRUE(tips.AddTool(*tool));
    EXPECT_FALSE(tips.AddTool(*tool));
    EXPECT_EQ(tips.ToolCount(), 1);
    tips.SetMaxTipWidth(240);
    tips.SetDelayTime(vb::TTDT_AUTOPOP, 5000);
    tips.SetDelayTime(vb::TTDT_INITIAL, 20);
    tips.SetBackColor(vb::RGB(252, 254, 224));
    tips.SetMargin(0, 2);
    tips.SetMargin(2, 2);
    EXPECT_EQ(tips.Margin(0), 2);
    EXPECT_EQ(tips.Margin(1), 0);
    EXPECT_EQ(tips.DelayTime(vb::TTDT_AUTOPOP), 5000);
    tips.SetMaxTipWidth(0);
    EXPECT_EQ(tips.MaxTipWidth(), -1);

    tips.SetToolText(*tool, "");
    QEvent enter(QEvent::Enter);
    QApplication::sendEvent(tool, &enter);
    spin(60);
    EXPECT_FALSE(tips.IsShowing());  // empty text: no tip
    tips.SetToolText(*tool, "a@x.org,\r\n<b>b@y.org</b>");
    QApplication::sendEvent(tool, &enter);
    spin(60);
    ASSERT_TRUE(tips.IsShowing());
    EXPECT_EQ(tips.ShownText(), "a@x.org,\n<b>b@y.org</b>");
    tips.SetToolText(*tool, "Subject");
    EXPECT_EQ(tips.ShownText(), "Subject");
    tips.SetToolText(*tool, "");
    EXPECT_FALSE(tips.IsShowing());
    QWidget stranger;
    EXPECT_EQ(tips.ToolText(stranger), "");
    EXPECT_TRUE(tips.RemoveTool(*tool));
    EXPECT_FALSE(tips.RemoveTool(*tool));
}

TEST(App, FactsAndFoldersAreThoseTheProgramGave) {
    platform::store::SetAppIdentity({"Maker\\Notifier", "notifier", "Notifier \xc3\xa9", "Maker & Sons",
                                     "help@maker.example", "https://maker.example/notifier"});
    EXPECT_EQ(vb::App::Title(), QString::fromUtf8("Notifier \xc3\xa9"));
    EXPECT_EQ(vb::App::CompanyName(), "Maker & Sons");
    EXPECT_EQ(vb::App::SupportAddress(), "help@maker.example");
    EXPECT_EQ(vb::App::HomePage(), "https://maker.example/notifier");
    EXPECT_EQ(vb::App::EXEName(), "platform_ui_test");
    EXPECT_GE(vb::App::Major(), 0);
    const QString config = QDir::tempPath() + "/app-facts-config";
    qputenv("XDG_CONFIG_HOME", config.toUtf8());
    const QString path = vb::App::Path();
    EXPECT_EQ(path, config + "/Maker/Notifier");
    EXPECT_TRUE(QFileInfo(path).isDir());
    EXPECT_EQ(QFileInfo(path).permissions() & (QFileDevice::ReadGroup | QFileDevice::ReadOther), 0);
    // Run from the build tree: the source tree's data folder, as the store has it.
    EXPECT_EQ(vb::App::DataPath(), qEnvironmentVariable("VELTRANE_SOURCE_DIR") + "/data");
    QDir(config).removeRecursively();
}

}  // namespace
