// Shows the preview window with a message on a virtual X display with a
// window manager and saves pictures of it, of its raw view and maximised, for
// a person to look at.
#include "app/forms/preview/frm_preview.h"
#include "tests/app/forms/screenshot_main.h"
#include "tests/app/stored_messages.h"

int main(int argc, char** argv) {
    return ScreenshotMain(argc, argv, [](const char* out) {
        test_store::MakeAccounts(1);
        const QString body = QStringLiteral(
            "From: Ann Smith <ann@example.org>\r\nTo: me@example.org\r\nSubject: Minutes of Tuesday\r\n"
            "MIME-Version: 1.0\r\nContent-Type: multipart/mixed; boundary=\"b1\"\r\n\r\n--b1\r\n"
            "Content-Type: text/plain\r\n\r\nHello,\r\n\r\nthe minutes are attached.\r\n--b1\r\n"
            "Content-Type: application/pdf; name=\"minutes.pdf\"\r\nContent-Disposition: attachment; "
            "filename=\"minutes.pdf\"\r\nContent-Transfer-Encoding: "
            "base64\r\n\r\nJVBERi0xLjQK\r\n--b1--\r\n");
        test_store::Store(1, {{"u1", "Ann Smith <ann@example.org>", "Minutes of Tuesday",
                               "Hello,\r\n\r\nthe minutes are attached.\r\n\r\nAnn", body},
                              {"u2", "Bob <bob@example.org>", "Lunch", "Noon?"}});
        modAccounts::gCurrentAccount = 1;
        modGeneral::gCurrentMsg = 1;
        frmPreview& form = vb::Forms::Get<frmPreview>();
        form.Show();
        if (!test_support::SaveSettledScreenshot(form, out)) return false;
        // The raw view in front, as OUT-raw.png; then maximised, as OUT-max.png.
        form.TabStrip.Select(2);
        if (!SaveAtSize(form, out, QStringLiteral("raw"), false)) return false;
        form.TabStrip.Select(1);
        return SaveAtSize(form, out, QStringLiteral("max"), true);
    });
}
