// The windows as a desktop's window manager (openbox) handles them: the fixed
// dialogs ask for no resize frame, no minimise and no maximise, and the
// manager lets them be neither resized nor maximised; the main window can
// be both. Run on a virtual display with the manager (app_forms_window_manager).
#include <gtest/gtest.h>

#include <QProcess>
#include <QTest>
#include <QTreeWidget>

#include "app/forms/first_use/frm_first_use.h"
#include "app/forms/new_mail/frm_message.h"
#include "app/forms/preview/frm_preview.h"
#include "app/forms/rule_file/frm_rule_file.h"
#include "app/general/check_status.h"
#include "platform/ui/fixed_frame_hints.h"
#include "tests/app/forms/laid_out_main_window.h"
#include "tests/app/stored_messages.h"

using namespace frmMainElements;  // tbrClient(tbrClient::kAccount)

namespace {

bool UnderWindowManager() { return qEnvironmentVariable("VELTRANE_WINDOW_MANAGER") == "1"; }

// How long the manager may take to answer, on a busy machine.
constexpr int kManagerDeadlineMs = 30000;

// What the manager lets the user do with the window, as it announces it.
QString AllowedActions(QWidget& window) {
    QProcess xprop;
    xprop.start(QStringLiteral("xprop"), {QStringLiteral("-id"), QString::number(window.winId()),
                                          QStringLiteral("_NET_WM_ALLOWED_ACTIONS")});
    xprop.waitForFinished(kManagerDeadlineMs);
    return QString::fromLatin1(xprop.readAllStandardOutput());
}

// Shown and taken in hand by the manager.
void ShowManaged(vb::Form& window) {
    window.Show();
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return AllowedActions(window).contains(QLatin1String("_NET_WM_ACTION_CLOSE")); },
        kManagerDeadlineMs))
        << "the window manager did not take the window";
}

class WindowManager : public testing::Test {
protected:
    void SetUp() override {
        if (!UnderWindowManager()) GTEST_SKIP() << "needs the window manager (app_forms_window_manager)";
        modGeneral::gAppName = QStringLiteral("Veltrane");
    }
    void TearDown() override { vb::Forms::End(); }
};

TEST_F(WindowManager, FixedDialogsAreNeitherResizedMinimisedNorMaximised) {
    modGeneral::CheckRunState run;
    run.CheckSummary = QStringLiteral("Account Information:\r\n      Home - 2 Messages\r\n");
    run.SummaryLines = 1;
    const std::pair<const char*, std::function<vb::Form&()>> dialogs[] = {
        {"first use", []() -> vb::Form& { return vb::Forms::Get<frmFirstUse>(); }},
        {"pop-up", [&run]() -> vb::Form& { return vb::Forms::Get<frmMessage>(nullptr, run); }},
        {"rules file name", []() -> vb::Form& { return vb::Forms::Get<frmRuleFile>(); }},
    };
    for (const auto& [name, open] : dialogs) {
        SCOPED_TRACE(name);
        vb::Form& dialog = open();
        ShowManaged(dialog);
        const std::optional<vb::FrameHints> hints = vb::FrameHintsOf(dialog);
        ASSERT_TRUE(hints.has_value());
        EXPECT_EQ(hints->functions & (vb::kMwmFuncResize | vb::kMwmFuncMinimize | vb::kMwmFuncMaximize), 0u);
        EXPECT_EQ(
            hints->decorations & (vb::kMwmDecorResizeHandle | vb::kMwmDecorMinimize | vb::kMwmDecorMaximize),
            0u);
        EXPECT_NE(hints->functions & vb::kMwmFuncClose, 0u);
        const QString allowed = AllowedActions(dialog);
        EXPECT_FALSE(allowed.contains(QLatin1String("_NET_WM_ACTION_RESIZE"))) << allowed.toStdString();
        EXPECT_FALSE(allowed.contains(QLatin1String("_NET_WM_ACTION_MAXIMIZE"))) << allowed.toStdString();
        // A request to the manager to make it larger changes nothing.
        const QSize before = dialog.size();
        dialog.windowHandle()->resize(before + QSize(200, 100));
        QTest::qWait(300);
        EXPECT_EQ(dialog.size(), before);
        dialog.Unload();
    }
}

// Pixels from the control's right edge to its window's right edge.
int RightMargin(const QWidget& control) {
    return control.window()->width() - control.mapTo(control.window(), QPoint(control.width(), 0)).x();
}

int ColumnsWidth(const QTreeWidget& list) {
    int sum = 0;
    for (int c = 0; c < 5; ++c) sum += list.columnWidth(c);
    return sum;
}

TEST_F(WindowManager, MaximisedTheMainWindowFillsTheScreenAndSizeBringsItBackCentred) {
    frmMain& main = LaidOutMainWindow();
    ShowManaged(main);
    const QString allowed = AllowedActions(main);
    EXPECT_TRUE(allowed.contains(QLatin1String("_NET_WM_ACTION_RESIZE"))) << allowed.toStdString();
    EXPECT_TRUE(allowed.contains(QLatin1String("_NET_WM_ACTION_MAXIMIZE_HORZ"))) << allowed.toStdString();
    QTest::qWait(200);
    const QSize opened = main.size();
    const QPoint openedAt = main.frameGeometry().topLeft();
    const int bannerMargin = RightMargin(main.controls().lblBanner);
    const int listMargin =
        main.controls().lvwEmail.viewport()->width() - ColumnsWidth(main.controls().lvwEmail);

    main.SetWindowState(vb::vbMaximized);
    ASSERT_TRUE(QTest::qWaitFor([&] { return main.width() > opened.width() + 100; }, kManagerDeadlineMs))
        << "not maximised";
    QTest::qWait(200);
    EXPECT_EQ(RightMargin(main.controls().lblBanner), bannerMargin)
        << "the page's name follows the right edge";
    EXPECT_NEAR(main.controls().lvwEmail.viewport()->width() - ColumnsWidth(main.controls().lvwEmail),
                listMargin, 2)
        << "the columns fill the wider list";
    EXPECT_EQ(RightMargin(main.controls().tbrButtons(tbrButtons::kClose)),
              RightMargin(main.controls().fraButtons(fraButtons::kEmail)) + vb::TwipsToPixelsX(100));

    main.controls().tbrMainButtons.Buttons(QStringLiteral("Size")).QtButton().click();
    ASSERT_TRUE(QTest::qWaitFor([&] { return main.size() == opened; }, kManagerDeadlineMs))
        << "Size did not give back the opening size";
    QTest::qWait(300);
    // Where the load put it, to the width of the frame's border.
    EXPECT_LE((main.frameGeometry().topLeft() - openedAt).manhattanLength(), 2) << "centred as the load does";
    EXPECT_NEAR(main.controls().lvwEmail.viewport()->width() - ColumnsWidth(main.controls().lvwEmail),
                listMargin, 2);
    main.mQuitting = true;
}

TEST_F(WindowManager, MaximisedThePreviewKeepsItsTabRowAndExitInTheWindow) {
    test_store::MakeAccounts(1);
    test_store::Store(1, {{"u1", "Ann <ann@example.org>", "Minutes", "Hello"}});
    modAccounts::gCurrentAccount = 1;
    modGeneral::gCurrentMsg = 1;
    frmPreview& preview = vb::Forms::Get<frmPreview>();
    ShowManaged(preview);
    const QSize opened = preview.size();
    const auto bottomMargin = [&preview](const QWidget& w) {
        return preview.height() - w.mapTo(&preview, QPoint(0, w.height())).y();
    };
    const int tabsMargin = bottomMargin(preview.TabStrip);
    const int exitMargin = bottomMargin(preview.tbrButtons(frmPreviewElements::tbrButtons::kExit));
    preview.SetWindowState(vb::vbMaximized);
    ASSERT_TRUE(QTest::qWaitFor([&] { return preview.height() > opened.height() + 100; }, kManagerDeadlineMs))
        << "not maximised";
    QTest::qWait(200);
    EXPECT_EQ(bottomMargin(preview.TabStrip), tabsMargin) << "the tab row stays at the window's bottom";
    EXPECT_EQ(bottomMargin(preview.tbrButtons(frmPreviewElements::tbrButtons::kExit)), exitMargin);
}

}  // namespace
