// Shows the rule report (three accounts with marked messages) and the rules
// file name window on a real (virtual) X display and saves a picture of each
// (OUT-report.png, OUT-file.png) for a person to look at.
#include "app/accounts/account_table.h"
#include "app/forms/rule_file/frm_rule_file.h"
#include "app/forms/rule_report/frm_rule_report.h"
#include "app/rules/rule_set.h"
#include "tests/app/forms/screenshot_main.h"

namespace {

bool ShowAndSave(vb::Form& form, const QString& path) {
    form.Show();
    Settle(400);
    return SaveWindowPicture(form, path.toLocal8Bit().constData());
}

}  // namespace

int main(int argc, char** argv) {
    return ScreenshotMain(argc, argv, [](const char* out) {
        using namespace modAccounts;
        gAccountCount = 3;
        ResizeAccountArrays(3);
        const int16_t deletions[] = {0, 2, 0, 1};
        const int16_t spam[] = {0, 5, 1, 0};
        const char* names[] = {"", "Home", "Work", "Mailing lists"};
        for (int i = 1; i <= 3; ++i) {
            gAccounts[i].Name = QString::fromLatin1(names[i]);
            gAccounts[i].DeleteCount = deletions[i];
            gAccounts[i].SpamCount = spam[i];
        }
        modRules::gRules.Time = 30;
        QString base = QString::fromLocal8Bit(out);
        base.chop(4);  // ".png"
        bool saved = ShowAndSave(vb::Forms::Get<frmRuleReport>(), base + QStringLiteral("-report.png"));
        vb::Forms::Unload<frmRuleReport>();
        return ShowAndSave(vb::Forms::Get<frmRuleFile>(), base + QStringLiteral("-file.png")) && saved;
    });
}
