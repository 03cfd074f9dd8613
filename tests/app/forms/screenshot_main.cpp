// Shows the main window on a virtual X display, laid out as the load lays it
// out, and saves a picture of each page for a person to look at. Fails when a
// picture could not be saved or shows nothing but one colour.
#include <QApplication>
#include <QImage>
#include <QPixmap>
#include <cstdio>

#include "app/common/program_identity.h"
#include "platform/ui/forms.h"
#include "tests/app/forms/laid_out_main_window.h"

namespace {

bool OneColour(const QImage& image) {
    const QRgb first = image.pixel(0, 0);
    for (int y = 0; y < image.height(); y += 4)
        for (int x = 0; x < image.width(); x += 4)
            if (image.pixel(x, y) != first) return false;
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    SetProgramIdentity();
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT_FOLDER\n", argv[0]);
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    frmMain& form = LaidOutMainWindow();
    // As the load leaves them: designed tabs gone, one tab per account.
    QPixmap mail(16, 16);
    mail.fill(Qt::darkYellow);
    if (!form.imlTabIcons.Exists(QStringLiteral("MailNo"))) form.imlTabIcons.Add(mail, QStringLiteral("MailNo"));
    for (vb::TabStrip* strip : {&form.TabStripEmail, &form.TabStripAcnts, &form.TabStripRules, &form.TabStripOptions})
        strip->ClearTabs();
    for (vb::TabStrip* strip : {&form.TabStripEmail, &form.TabStripAcnts})
        for (const char* name : {"Home", "Work (3)"}) strip->AddTab(QString::fromLatin1(name), QStringLiteral("MailNo"));
    form.Show();
    int failures = 0;
    for (int page = 0; page < 4; ++page) {
        for (int i = 0; i < 4; ++i) form.fraMain(i).SetVisible(i == page);
        // The Email page shows the no-accounts banner over its tab row.
        form.fraNoAcntsBanner.SetVisible(page == 0);
        form.fraNoAcntsBanner.ZOrder(0);
        for (int k = 0; k < 20; ++k) QApplication::processEvents();
        const QImage picture = form.grab().toImage();
        const QString path = QStringLiteral("%1/frm_main_page%2.png").arg(folder).arg(page);
        if (picture.isNull() || OneColour(picture) || !picture.save(path)) {
            std::fprintf(stderr, "page %d: no picture at %s\n", page, qPrintable(path));
            ++failures;
        }
    }
    vb::Forms::End();
    return failures == 0 ? 0 : 1;
}
