// Shows the new-mail pop-up of a run over three accounts on a real (virtual)
// X display and saves a picture of it for a person to look at.
#include "app/forms/new_mail/frm_message.h"
#include "app/options/option_values.h"
#include "tests/app/forms/screenshot_main.h"

int main(int argc, char** argv) {
    return ScreenshotMain(argc, argv, [](const char* out) {
        modGeneral::CheckRunState run;
        run.AutoCheckText = QStringLiteral("Auto Check at 3:45 PM");
        run.CheckSummary = QStringLiteral(
            "Account Information:\r\n"
            "      Home - 3 New Message(s)\r\n"
            "      Work - 12 Message(s)\r\n"
            "      Lists - Connection Failed\r\n");
        run.SummaryLines = 3;
        modOptions::gOpt.MsgBoxTime = 15;
        frmMessage::ShowReport(QStringLiteral("3 New Message(s) found at 3:35 PM"), run, nullptr);
        Settle(400);
        return SaveWindowPicture(vb::Forms::Get<frmMessage>(), out);
    });
}
