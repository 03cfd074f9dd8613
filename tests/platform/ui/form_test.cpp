#include "platform/ui/form.h"

#include <gtest/gtest.h>

#include "tests/platform/ui/qt_print.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDialog>
#include <QMenu>
#include <QPointer>
#include <QTimer>
#include <QWindow>
#include <cstdlib>
#include <vector>

#include "platform/ui/forms.h"
#include "platform/ui/modal_windows.h"
#include "platform/ui/msg_box.h"
#include "platform/ui/vb_error.h"
#include "platform/ui/window_frame.h"

namespace {

std::vector<std::string> gLog;

class frmProbe : public vb::Form {
public:
    int cancelQuery = 0;
    int cancelUnload = 0;
    int modes = -1;

protected:
    void Form_Load() override {
        gLog.push_back("Load");
        // Reaching the form from its own load finds the same instance.
        gLog.push_back(&vb::Forms::Get<frmProbe>() == this ? "same" : "other");
    }
    void Form_QueryUnload(int& Cancel, int UnloadMode) override {
        gLog.push_back("QueryUnload");
        modes = UnloadMode;
        Cancel = cancelQuery;
    }
    void Form_Unload(int& Cancel) override {
        gLog.push_back("Unload");
        Cancel = cancelUnload;
    }
    void Form_Resize() override { gLog.push_back("Resize"); }
    void Form_Activate() override { gLog.push_back("Activate"); }
};

class frmOther : public vb::Form {};

// Its Load fails the first time, as a handler that raises an error does.
class frmFailing : public vb::Form {
public:
    static inline int loads = 0;

protected:
    void Form_Load() override {
        ++loads;
        Show();
        if (loads == 1) throw vb::VbError(35600, "Index out of bounds");
    }
};

class FormTest : public testing::Test {
protected:
    void SetUp() override { gLog.clear(); }
    void TearDown() override {
        vb::Forms::End();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
};

TEST_F(FormTest, OneInstancePerClassLoadedOnFirstReach) {
    EXPECT_FALSE(vb::Forms::IsLoaded<frmProbe>());
    frmProbe& a = vb::Forms::Get<frmProbe>();
    frmProbe& b = vb::Forms::Get<frmProbe>();
    EXPECT_EQ(&a, &b);
    EXPECT_TRUE(vb::Forms::IsLoaded<frmProbe>());
    EXPECT_FALSE(vb::Forms::IsLoaded<frmOther>());
    EXPECT_EQ(gLog, (std::vector<std::string>{"Load", "same"}));
    EXPECT_FALSE(a.isVisible());  // loading does not show
}

TEST_F(FormTest, UnloadRunsQueryUnloadThenUnloadAndReleasesTheInstance) {
    frmProbe* first = &vb::Forms::Get<frmProbe>();
    first->Show();
    gLog.clear();
    EXPECT_TRUE(first->Unload());
    EXPECT_EQ(gLog, (std::vector<std::string>{"QueryUnload", "Unload"}));
    EXPECT_EQ(first->modes, vb::vbFormCode);
    EXPECT_FALSE(first->isVisible());
    EXPECT_FALSE(vb::Forms::IsLoaded<frmProbe>());
    gLog.clear();
    vb::Forms::Get<frmProbe>();  // a new load, run afresh
    EXPECT_EQ(gLog.front(), "Load");
}

struct CancelCase {
    const char* name;
    int cancelQuery;
    int cancelUnload;
    std::vector<std::string> log;
};

TEST_F(FormTest, EitherHandlerCancelsTheUnload) {
    const CancelCase cases[] = {
        {"query cancels", 1, 0, {"QueryUnload"}},
        {"unload cancels", 0, 1, {"QueryUnload", "Unload"}},
    };
    for (const CancelCase& c : cases) {
        frmProbe& f = vb::Forms::Get<frmProbe>();
        f.Show();
        f.cancelQuery = c.cancelQuery;
        f.cancelUnload = c.cancelUnload;
        gLog.clear();
        EXPECT_FALSE(f.Unload()) << c.name;
        EXPECT_EQ(gLog, c.log) << c.name;
        EXPECT_TRUE(vb::Forms::IsLoaded<frmProbe>()) << c.name;
        EXPECT_TRUE(f.isVisible()) << c.name;
    }
}

TEST_F(FormTest, TheCloseBoxUnloadsWithTheControlMenuMode) {
    frmProbe& f = vb::Forms::Get<frmProbe>();
    f.Show();
    gLog.clear();
    f.close();
    EXPECT_EQ(gLog, (std::vector<std::string>{"QueryUnload", "Unload"}));
    EXPECT_EQ(f.modes, vb::vbFormControlMenu);
    EXPECT_FALSE(vb::Forms::IsLoaded<frmProbe>());
}

TEST_F(FormTest, ModalShowReturnsWhenTheFormUnloads) {
    frmProbe& f = vb::Forms::Get<frmProbe>();
    QTimer::singleShot(20, [&f] { f.Unload(); });
    f.Show(vb::vbModal);
    EXPECT_FALSE(vb::Forms::IsLoaded<frmProbe>());
}

TEST_F(FormTest, ClosingModalWindowsEndsEveryModalLoopNewestFirstUnlessAFormRefuses) {
    frmProbe& f = vb::Forms::Get<frmProbe>();
    f.cancelUnload = 1;
    int dialogResult = -1;
    bool refusedStayed = false;
    QTimer::singleShot(20, [&] {
        QDialog dialog;
        QTimer::singleShot(20, [&] {
            vb::CloseModalWindows();  // the dialog goes; the form refuses and stays
            refusedStayed = vb::ModalWindowOpen() && f.isVisible();
            f.cancelUnload = 0;
            vb::CloseModalWindows();
        });
        dialogResult = dialog.exec();
    });
    f.Show(vb::vbModal);
    EXPECT_EQ(dialogResult, QDialog::Rejected);
    EXPECT_TRUE(refusedStayed);
    EXPECT_FALSE(vb::Forms::IsLoaded<frmProbe>());
    EXPECT_FALSE(vb::ModalWindowOpen());
}

TEST_F(FormTest, ActivateRunsWhenTheWindowBecomesActive) {
    frmProbe& f = vb::Forms::Get<frmProbe>();
    f.Show();
    f.SetForeground();
    QApplication::processEvents();
    EXPECT_NE(std::find(gLog.begin(), gLog.end(), "Activate"), gLog.end());
}

TEST_F(FormTest, UnloadAllUnloadsEveryForm) {
    vb::Forms::Get<frmProbe>();
    vb::Forms::Get<frmOther>();
    EXPECT_EQ(vb::Forms::Count(), 2);
    EXPECT_TRUE(vb::Forms::UnloadAll());
    EXPECT_EQ(vb::Forms::Count(), 0);
}

TEST_F(FormTest, AFailedLoadLeavesNoFormBehind) {
    frmFailing::loads = 0;
    EXPECT_THROW(vb::Forms::Get<frmFailing>(), vb::VbError);
    EXPECT_FALSE(vb::Forms::IsLoaded<frmFailing>());
    frmFailing& second = vb::Forms::Get<frmFailing>();  // a new load, run afresh
    EXPECT_EQ(frmFailing::loads, 2);
    EXPECT_TRUE(second.IsLoaded());
    EXPECT_EQ(vb::Forms::Count(), 1);
}

// Forms still loaded when the application object goes are destroyed with
// it, not later by the registry's static clean-up, when no widget may live.
TEST_F(FormTest, LoadedFormsGoWithTheApplication) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            const QPointer<QWidget> form = &vb::Forms::Get<frmOther>();
            static_cast<QApplication*>(QCoreApplication::instance())->~QApplication();
            std::_Exit(form.isNull() && vb::Forms::Count() == 0 ? 0 : 1);
        },
        testing::ExitedWithCode(0), "");
}

TEST_F(FormTest, GeometryIsInTwips) {
    frmProbe& f = vb::Forms::Get<frmProbe>();
    f.SetClientSize(6084, 1524);
    EXPECT_EQ(f.width(), 406);
    EXPECT_EQ(f.height(), 102);
    EXPECT_EQ(f.ScaleWidth(), 6090);  // whole pixels
    f.Show();                         // the outer size counts the window frame, known once shown
    f.Move(1500, 3000, 4500, 3000);
    EXPECT_EQ(f.Left(), 1500);
    EXPECT_EQ(f.Top(), 3000);
    EXPECT_EQ(f.Width(), 4500);
    EXPECT_EQ(f.Height(), 3000);
}

TEST(WindowFrame, CaptionAndFrameComeFromTheOuterSizeLessTheClientSize) {
    struct Case {
        QSize extra;
        int caption;
        int frame;
        bool measured;
    };
    const Case cases[] = {
        {{0, 0}, 0, 0, false},     // no frame seen: the client area is sized
        {{-4, -2}, 0, 0, false},   // a frame smaller than the window is none
        {{4, 4}, 0, 30, true},     // the off-screen platform's 2-pixel edge
        {{8, 38}, 450, 60, true},  // 4-pixel edges and a 30-pixel caption
        {{0, 24}, 360, 0, true},   // a caption only
        {{7, 3}, 0, 45, true},     // odd totals: never a negative caption
    };
    for (const Case& c : cases) {
        const vb::WindowFrame f = vb::WindowFrameFromExtra(c.extra);
        EXPECT_EQ(f.captionHeight, c.caption) << c.extra.width() << "x" << c.extra.height();
        EXPECT_EQ(f.frameThickness, c.frame) << c.extra.width() << "x" << c.extra.height();
        EXPECT_EQ(f.measured, c.measured) << c.extra.width() << "x" << c.extra.height();
        EXPECT_EQ(f.borderWidth, 15);
    }
}

TEST_F(FormTest, AHiddenFormIsSizedWithTheFrameItWillHaveOnceShown) {
    frmOther& shown = vb::Forms::Get<frmOther>();
    shown.Show();
    const vb::WindowFrame frame = vb::CurrentWindowFrame();
    ASSERT_TRUE(frame.measured) << "the off-screen platform reports a frame";
    frmProbe& hidden = vb::Forms::Get<frmProbe>();
    const int outerWidth = 9000 + 2 * frame.frameThickness + 3 * frame.borderWidth;
    const int outerHeight = 6000 + frame.captionHeight + 2 * frame.frameThickness;
    hidden.Move(0, 0, outerWidth, outerHeight);
    EXPECT_EQ(hidden.ScaleWidth(), 9000 + 3 * frame.borderWidth);
    EXPECT_EQ(hidden.ScaleHeight(), 6000);
    EXPECT_EQ(hidden.Width(), outerWidth);
    hidden.Show();
    EXPECT_EQ(hidden.Width(), outerWidth);
    EXPECT_EQ(hidden.Height(), outerHeight);
    EXPECT_EQ(hidden.ScaleHeight(), 6000);
    hidden.SetBorderStyle(vb::vbBSNone);
    hidden.Hide();
    EXPECT_EQ(hidden.Width(), hidden.ScaleWidth()) << "a window without border has no frame";
}

TEST_F(FormTest, WindowStateIsKeptWhileHiddenAndResizeRuns) {
    frmProbe& f = vb::Forms::Get<frmProbe>();
    f.Show();
    gLog.clear();
    f.SetWindowState(vb::vbMinimized);
    EXPECT_EQ(f.WindowState(), vb::vbMinimized);
    EXPECT_NE(std::find(gLog.begin(), gLog.end(), "Resize"), gLog.end());
    f.Hide();  // hidden to the tray: still minimised
    EXPECT_EQ(f.WindowState(), vb::vbMinimized);
    f.SetWindowState(vb::vbNormal);
    f.Show();
    EXPECT_EQ(f.WindowState(), vb::vbNormal);
}

// What the window manager reports: the state follows a shown window, and its
// handler runs once the toolkit's delivery is over; a hidden window keeps the
// state it was hidden in, whatever late word comes for it.
TEST_F(FormTest, AStateTheWindowManagerReportsRunsResizeFromTheLoopAndPassesAHiddenForm) {
    frmProbe& f = vb::Forms::Get<frmProbe>();
    f.Show();
    QApplication::processEvents();
    gLog.clear();
    f.setWindowState(Qt::WindowMinimized);  // as the toolkit delivers the window manager's minimise
    EXPECT_EQ(f.WindowState(), vb::vbMinimized);
    EXPECT_TRUE(gLog.empty()) << "not inside the delivery";
    QApplication::processEvents();
    EXPECT_NE(std::find(gLog.begin(), gLog.end(), "Resize"), gLog.end());
    f.Hide();
    gLog.clear();
    f.setWindowState(Qt::WindowNoState);  // a late report for the withdrawn window
    QApplication::processEvents();
    EXPECT_EQ(f.WindowState(), vb::vbMinimized);
    EXPECT_TRUE(gLog.empty());
}

TEST_F(FormTest, ClosingModalWindowsClosesAnOpenMenuWithoutRunningAnEntry) {
    QMenu menu;
    bool ran = false;
    QObject::connect(menu.addAction(QStringLiteral("Entry")), &QAction::triggered, [&] { ran = true; });
    QTimer::singleShot(20, [] { vb::CloseModalWindows(); });
    EXPECT_EQ(menu.exec(QPoint(10, 10)), nullptr);
    EXPECT_FALSE(ran);
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
}

TEST_F(FormTest, AnOwnedFormIsTheTransientWindowOfItsOwnerUntilEitherUnloads) {
    frmProbe& owner = vb::Forms::Get<frmProbe>();
    frmOther& owned = vb::Forms::Get<frmOther>();
    owner.Show();
    owned.Show(vb::vbModeless, &owner);
    ASSERT_NE(owned.windowHandle(), nullptr);
    EXPECT_EQ(owned.Owner(), &owner);
    EXPECT_EQ(owned.windowHandle()->transientParent(), owner.windowHandle());
    EXPECT_EQ(owned.parentWidget(), nullptr) << "the registry, not the owner, deletes it";
    owned.SetTopmost(true);  // new window flags keep the owner
    owned.SetShowInTaskbar(false);
    owned.Show();  // shown again without one: the owner stays
    EXPECT_EQ(owned.windowHandle()->transientParent(), owner.windowHandle());
    EXPECT_THROW(owner.Show(vb::vbModeless, &owner), vb::VbError);
    owned.Hide();
    EXPECT_TRUE(owned.Unload());
    frmOther& again = vb::Forms::Get<frmOther>();  // a new load has no owner
    again.Show();
    EXPECT_EQ(again.Owner(), nullptr);
    EXPECT_EQ(again.windowHandle()->transientParent(), nullptr);
    again.Show(vb::vbModeless, &owner);
    EXPECT_TRUE(owner.Unload());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(again.Owner(), nullptr);
    EXPECT_EQ(again.windowHandle()->transientParent(), nullptr);
    EXPECT_TRUE(again.isVisible()) << "an owned form outlives its owner";
}

TEST_F(FormTest, CaptionTopmostPointerAndTaskbarKeepTheirValues) {
    frmProbe& f = vb::Forms::Get<frmProbe>();
    f.SetCaption("Veltrane:  Auto Check - &Home <b>");
    EXPECT_EQ(f.windowTitle(), "Veltrane:  Auto Check - &Home <b>");
    f.Move(300, 300, 3000, 2000);
    f.Show();
    const QRect before = f.geometry();
    f.SetTopmost(true);
    EXPECT_TRUE(f.windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_TRUE(f.isVisible());
    EXPECT_EQ(f.geometry(), before);
    f.SetTopmost(false);
    EXPECT_FALSE(f.windowFlags() & Qt::WindowStaysOnTopHint);
    f.SetMousePointer(vb::vbHourglass);
    EXPECT_EQ(f.cursor().shape(), Qt::WaitCursor);
    f.SetMousePointer(vb::vbHourglass);  // not a stack: one reset is enough
    f.SetMousePointer(vb::vbDefault);
    EXPECT_EQ(f.cursor().shape(), Qt::ArrowCursor);
    EXPECT_EQ(f.MousePointer(), vb::vbDefault);
    f.SetShowInTaskbar(false);
    EXPECT_EQ(f.windowFlags() & Qt::WindowType_Mask, Qt::Tool);
}

}  // namespace
