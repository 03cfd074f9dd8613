// Shows the new-mail pop-up of a run over three accounts on a real (virtual)
// X display and saves a picture of it for a person to look at.
#include <QApplication>
#include <QEventLoop>
#include <QTimer>
#include <cstdio>

#include "app/common/program_identity.h"
#include "app/forms/frm_message.h"
#include "app/general/check_status.h"
#include "app/options/option_values.h"
#include "platform/ui/forms.h"
#include "tests/support/qt/screenshot.h"

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s OUT.png\n", argv[0]);
        return 2;
    }
    QApplication app(argc, argv);
    SetProgramIdentity();
    modGeneral::gAppName = QStringLiteral("Veltrane");
    modGeneral::gAutoCheckText = QStringLiteral("Auto Check at 3:45 PM");
    modGeneral::gCheckSummary = QStringLiteral(
        "Account Information:\r\n"
        "      Home - 3 New Message(s)\r\n"
        "      Work - 12 Message(s)\r\n"
        "      Lists - Connection Failed\r\n");
    modGeneral::gSummaryLines = 3;
    modOptions::gOptMsgBoxTime = 15;
    frmMessage::ShowReport(QStringLiteral("3 New Message(s) found at 3:35 PM"));
    frmMessage& form = vb::Forms::Get<frmMessage>();
    QEventLoop loop;
    QTimer::singleShot(400, &loop, &QEventLoop::quit);
    loop.exec();

    const QRect area = form.frameGeometry().adjusted(-10, -10, 10, 10);
    const bool saved = test_support::SaveScreenshot(area, form, argv[1]);
    vb::Forms::End();
    return saved ? 0 : 1;
}
