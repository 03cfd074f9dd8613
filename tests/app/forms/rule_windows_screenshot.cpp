// Shows the rule report (three accounts with marked messages) and the rules
// file name window on a real (virtual) X display and saves a picture of each
// (OUT-report.png, OUT-file.png) for a person to look at.
#include <QApplication>
#include <QEventLoop>
#include <QTimer>
#include <cstdio>

#include "app/accounts/account_table.h"
#include "app/common/program_identity.h"
#include "app/forms/frm_rule_file.h"
#include "app/forms/frm_rule_report.h"
#include "app/general/check_status.h"
#include "app/rules/rule_set.h"
#include "platform/ui/forms.h"
#include "tests/support/qt/screenshot.h"

namespace {

void Settle() {
    QEventLoop loop;
    QTimer::singleShot(400, &loop, &QEventLoop::quit);
    loop.exec();
}

bool Save(vb::Form& form, const QString& path) {
    form.Show();
    Settle();
    return test_support::SaveScreenshot(form.frameGeometry().adjusted(-10, -10, 10, 10), form,
                                        path.toLocal8Bit().constData());
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s OUT.png\n", argv[0]);
        return 2;
    }
    QApplication app(argc, argv);
    SetProgramIdentity();
    modGeneral::gAppName = QStringLiteral("Veltrane");
    using namespace modAccounts;
    gAccountCount = 3;
    ResizeAccountArrays(3);
    const int16_t deletions[] = {0, 2, 0, 1};
    const int16_t spam[] = {0, 5, 1, 0};
    const char* names[] = {"", "Home", "Work", "Mailing lists"};
    for (int i = 1; i <= 3; ++i) {
        gAcntName[i] = QString::fromLatin1(names[i]);
        gAcntDeleteCount[i] = deletions[i];
        gAcntSpamCount[i] = spam[i];
    }
    modRules::gRuleTime = 30;
    QString out = QString::fromLocal8Bit(argv[1]);
    out.chop(4);  // ".png"
    bool saved = Save(vb::Forms::Get<frmRuleReport>(), out + QStringLiteral("-report.png"));
    vb::Forms::Unload<frmRuleReport>();
    saved = Save(vb::Forms::Get<frmRuleFile>(), out + QStringLiteral("-file.png")) && saved;
    vb::Forms::End();
    return saved ? 0 : 1;
}
