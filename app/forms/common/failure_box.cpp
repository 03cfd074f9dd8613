#include "app/forms/common/failure_box.h"

#include "app/forms/checks/component_calls.h"
#include "app/general/check_status.h"
#include "platform/ui/app_info.h"
#include "platform/ui/msg_box.h"
#include "platform/ui/vb_error.h"

namespace forms {
namespace {

const QString kCrLf = QStringLiteral("\r\n");

// The error with its number where it has one, as the program's other error
// boxes show it.
QString ErrorText(const platform::loop::HandlerFailure& failure) {
    try {
        std::rethrow_exception(failure.exception);
    } catch (const vb::VbError& e) {
        return QStringLiteral("Error %1: %2").arg(e.Number()).arg(QString::fromUtf8(e.what()));
    } catch (const CallFailure& e) {
        return QStringLiteral("Error %1: %2").arg(e.number).arg(e.text);
    } catch (...) {
    }
    return failure.error.empty() ? QStringLiteral("An error of unknown kind")
                                 : QString::fromUtf8(failure.error);
}

}  // namespace

QString HandlerFailurePrompt(const platform::loop::HandlerFailure& failure) {
    return QStringLiteral("An unexpected error occurred while ") + QString::fromStdString(failure.activity) +
           QStringLiteral(":") + kCrLf + kCrLf + ErrorText(failure) + kCrLf + kCrLf +
           QStringLiteral("That was stopped; ") + modGeneral::gAppName + QStringLiteral(" goes on running.") +
           kCrLf + kCrLf + QStringLiteral("Please report this error to ") + vb::App::CompanyName() +
           QStringLiteral(" with the text above: ") + vb::App::SupportAddress() + kCrLf;
}

FailureBox::FailureBox()
    : reporter_([](const platform::loop::HandlerFailure& failure) {
          vb::MsgBox(HandlerFailurePrompt(failure), vb::vbCritical,
                     modGeneral::gAppName + QStringLiteral(" - Unexpected Error"));
      }) {}

}  // namespace forms
