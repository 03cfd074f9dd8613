// A handler that fails where the event loop called it: the failure is told
// once in the program's box, what was being done is abandoned (retrieval
// mode left, the checks resumed, the operation slot freed), and the program
// goes on. One row per kind of dispatch.
#include <gtest/gtest.h>

#include <sys/eventfd.h>
#include <unistd.h>
#include <QAction>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <csignal>
#include <functional>
#include <memory>
#include <stdexcept>

#include "app/check/schedule.h"
#include "app/common/app_settings.h"
#include "app/forms/checks/component_object.h"
#include "app/forms/common/child_windows.h"
#include "app/forms/common/failure_box.h"
#include "app/forms/tray/tray_icon_record.h"
#include "app/general/check_status.h"
#include "app/general/server_operation.h"
#include "app/options/option_values.h"
#include "platform/desktop/shell.h"
#include "platform/loop/end_signals.h"
#include "platform/loop/fd_watch.h"
#include "platform/loop/message_loop.h"
#include "platform/ui/common_dialog.h"
#include "platform/ui/msg_box.h"
#include "tests/app/forms/desktop_files.h"
#include "tests/app/forms/laid_out_main_window.h"

using namespace frmMainElements;  // tbrClient(tbrClient::kAccount)

using namespace modGeneral;

namespace {

const QString kOptions = QStringLiteral("Settings\\Options");

// What a click on a control that the event loop delivers runs.
void QueueClick(vb::ToolBar& bar, const char* key) {
    QAbstractButton* button = &bar.Buttons(QString::fromLatin1(key)).QtButton();
    QMetaObject::invokeMethod(
        button, [button] { button->click(); }, Qt::QueuedConnection);
}

// Runs the loop until the box came or a second went by.
void RunUntilTold(const vb::ScriptedMsgBoxes& boxes) {
    QElapsedTimer waited;
    waited.start();
    while (boxes.Calls().empty() && waited.elapsed() < 1000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    // And what the loop still has to do after it.
    QCoreApplication::processEvents();
}

// A window's component notifications, as the component raises them.
class ThrowingView : public forms::ComponentEventsView {
public:
    void OnConnected() override {}
    void OnReceived() override {}
    void OnProgress(IqelPop3Com*, int32_t, int32_t) override {
        throw std::runtime_error("the progress broke");
    }
    void OnCertificateRefused(int32_t, const QString&) override {}
};

class HandlerBarrier : public ::testing::Test {
protected:
    void SetUp() override {
        // One disabled account, automatic checking on, the start-up check
        // counting down: a failure must leave all of it running.
        SaveSetting(kAppKey, QStringLiteral("Settings"), QStringLiteral("AcntNum"), QStringLiteral("1"));
        SaveSetting(kAppKey, QStringLiteral("Settings"), QStringLiteral("AcntName1"), QStringLiteral("Home"));
        SaveSetting(kAppKey, QStringLiteral("Settings"), QStringLiteral("AcntEnabled1"), QStringLiteral("0"));
        for (const auto& [key, value] :
             {std::pair{"UseInterval", "1"}, {"EmailCheckStartUp", "1"}, {"StartUpDelay", "0"}})
            SaveSetting(kAppKey, kOptions, QString::fromLatin1(key), QString::fromLatin1(value));
        gAppName = QStringLiteral("Veltrane");
        form_ = &LaidOutMainWindow();
        Run().UserStop = false;
        form_->Show();
        Run().StartUpDone = false;
        Run().StartUpPaused = true;
        form_->checks().ToggleStartUpTimer();                // counting, as the start leaves it
        form_->controls().tmrMailStartUp.SetEnabled(false);  // until a row wants its tick
    }
    void TearDown() override {
        ::close(eventFd_);
        forms::gTrayAvailable = trayAvailable_;
        modCheck::gClock = [] { return QDateTime::currentDateTime(); };
        platform::desktop::SetOpener({});
        forms::gTrayIcon.MouseMessage = nullptr;
        if (!vb::Forms::IsLoaded<frmMain>()) return;
        form_->mQuitting = true;
        vb::Forms::Unload<frmMain>();
    }
    frmMain* form_ = nullptr;
    // The checks' record of the window under test.
    modGeneral::CheckRunState& Run() { return form_->checks().Record(); }
    std::unique_ptr<platform::loop::EndSignals> endSignals_;
    const std::function<bool()> trayAvailable_ = forms::gTrayAvailable;
    const int eventFd_ = ::eventfd(0, EFD_CLOEXEC);
    platform::loop::FdWatch watch_;
};

TEST_F(HandlerBarrier, AFailedHandlerIsToldOnceItsWorkIsAbandonedAndTheProgramGoesOn) {
    frmMain& form = *form_;
    struct Row {
        const char* dispatch;
        // Makes a real handler fail and has the loop dispatch its event.
        std::function<void(vb::ScriptedDialogs&)> fail;
        const char* told;  // what the box says was being done
    };
    const Row rows[] = {
        {"a tool-bar button",
         [&](vb::ScriptedDialogs& dialogs) {
             dialogs.WhileShown = [](const vb::DialogCall&) { throw std::runtime_error("the dialog broke"); };
             QueueClick(form.controls().tbrRules, "RulesImport");
         },
         "handling a click on \"Import Rules\""},
        {"a menu entry",
         [&](vb::ScriptedDialogs&) {
             testdesktop::InstallViewer("x-scheme-handler/mailto");
             platform::desktop::SetOpener(
                 [](const QString&) -> bool { throw std::runtime_error("no mail program"); });
             QMetaObject::invokeMethod(form.controls().mnuTrayNewMessage.QtAction(), &QAction::trigger,
                                       Qt::QueuedConnection);
         },
         "handling a click on \"New Message\""},
        {"a timer, in the middle of a check",
         [&](vb::ScriptedDialogs&) {
             // The start-up check's schedule reads the clock inside retrieval
             // mode; nothing else may read it first: not the automatic check,
             // nor the status bar's clock that ticks while the check pauses it.
             form.controls().tmrMailTime.SetEnabled(false);
             form.controls().tmrStatusBar.SetInterval(3600 * 1000);
             modCheck::gClock = []() -> QDateTime { throw std::runtime_error("the clock broke"); };
             form.controls().tmrMailStartUp.SetInterval(1);
             form.controls().tmrMailStartUp.SetEnabled(true);
         },
         "running the start-up check"},
        {"the tray icon",
         [&](vb::ScriptedDialogs&) {
             forms::gTrayIcon.MouseMessage = [](int) { throw std::out_of_range("no such tray message"); };
             emit const_cast<platform::desktop::TrayIcon*>(forms::gTrayIcon.Shell())->mouseMessage(513);
         },
         "handling a click on the tray icon"},
        {"a queued call",
         [&](vb::ScriptedDialogs&) {
             platform::loop::Post([] { throw std::runtime_error("the call broke"); }).Detach();
         },
         "handling a queued call"},
        {"a connection's event",
         [&](vb::ScriptedDialogs&) {
             watch_ = platform::loop::FdWatch(eventFd_, platform::loop::kIoReadable,
                                              [](unsigned) { throw std::runtime_error("the socket broke"); });
             watch_.Wake();
         },
         "handling a connection's event"},
        {"the window's close box",
         [&](vb::ScriptedDialogs&) {
             forms::gTrayAvailable = []() -> bool { throw std::runtime_error("the tray broke"); };
             QMetaObject::invokeMethod(
                 &form, [&form] { form.close(); }, Qt::QueuedConnection);
         },
         "closing the window"},
        {"a signal that ends the session",
         [&](vb::ScriptedDialogs&) {
             endSignals_ = std::make_unique<platform::loop::EndSignals>(
                 [](int) { throw std::runtime_error("the end broke"); });
             std::raise(SIGHUP);
         },
         "ending the session"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.dispatch);
        const forms::FailureBox failures;
        vb::ScriptedMsgBoxes boxes;
        vb::ScriptedDialogs dialogs;
        row.fail(dialogs);
        RunUntilTold(boxes);
        ASSERT_EQ(boxes.Calls().size(), 1u) << "told once";
        EXPECT_EQ(boxes.Calls()[0].title, "Veltrane - Unexpected Error");
        EXPECT_TRUE(boxes.Calls()[0].prompt.contains(QStringLiteral("occurred while ") + row.told))
            << boxes.Calls()[0].prompt.toStdString();
        EXPECT_FALSE(ServerOperation::Running()) << "the operation slot is free";
        EXPECT_TRUE(form.controls().fraMainButtons.Enabled()) << "retrieval mode is left";
        EXPECT_FALSE(form.controls().tbrButtons(tbrButtons::kStopRetrieval).Visible())
            << "no Stop button without a check";
        EXPECT_TRUE(form.controls().tmrMailTime.Enabled()) << "the automatic check is not left paused";
        EXPECT_TRUE(vb::Forms::IsLoaded<frmMain>());
        modCheck::gClock = [] { return QDateTime::currentDateTime(); };
        forms::gTrayAvailable = trayAvailable_;
        watch_.Reset();
    }
    // The program still answers: the Options page comes up.
    form.controls().tbrMainButtons.Buttons(QStringLiteral("Options")).QtButton().click();
    EXPECT_TRUE(form.controls().fraMain(fraMain::kOptions).Visible());
}

// The component's notifications cross a library's interface: whoever calls,
// a failure ends at it; the operation they belong to stops as a user's stop
// does, without a second box of its own.
TEST_F(HandlerBarrier, AFailedNotificationStopsItsOperationAndNeverReachesTheComponent) {
    QString error;
    com::ComPtr<IqelPop3Com> component = forms::CreateComponent(error);
    ASSERT_TRUE(component) << error.toStdString();
    ThrowingView view;
    const auto events = com::MakeComObject<forms::ComponentEvents>(
        static_cast<forms::ComponentEventsView&>(view), Run().UserStop);
    const forms::FailureBox failures;
    vb::ScriptedMsgBoxes boxes;
    EXPECT_EQ(events->Progress(component.Get(), 1, 2), com::S_OK);
    EXPECT_TRUE(Run().UserStop);
    ASSERT_EQ(boxes.Calls().size(), 1u);
    EXPECT_TRUE(
        boxes.Calls()[0].prompt.contains(QStringLiteral("while receiving messages from the mail server")));
    EXPECT_TRUE(boxes.Calls()[0].prompt.contains(QStringLiteral("the progress broke")));
}

// Called from code (a value set from code runs a control's handler), the
// failure goes on to that code, as any failing procedure's does; and the
// same failure again, as a timer failing at every tick gives, is told once.
TEST_F(HandlerBarrier, CodeSeesItsCallsFailAndARepeatedFailureIsToldOnce) {
    const forms::FailureBox failures;
    vb::ScriptedMsgBoxes boxes;
    form_->controls().mnuTrayNewMessage.Click = [] { throw std::runtime_error("broken entry"); };
    EXPECT_THROW(vb::Fire(form_->controls().mnuTrayNewMessage.Click), std::runtime_error);
    EXPECT_TRUE(boxes.Calls().empty());
    for (int i = 0; i < 3; ++i) {
        QMetaObject::invokeMethod(form_->controls().mnuTrayNewMessage.QtAction(), &QAction::trigger,
                                  Qt::QueuedConnection);
        QCoreApplication::processEvents();
    }
    EXPECT_EQ(boxes.Calls().size(), 1u);
}

}  // namespace
