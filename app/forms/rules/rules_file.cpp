// The rule report after a check, and the Rules page's commands that change
// the rules file: import and rename.
#include <QStringList>

#include "app/accounts/account_table.h"
#include "app/forms/common/child_windows.h"
#include "app/forms/rule_file/frm_rule_file.h"
#include "app/forms/rule_report/frm_rule_report.h"
#include "app/forms/rules/rules_page.h"
#include "app/general/check_status.h"
#include "app/rules/rule_report.h"
#include "app/rules/rules_editor.h"
#include "app/rules/rules_file_change.h"
#include "platform/store/program_folder.h"
#include "platform/ui/forms.h"
#include "platform/ui/msg_box.h"

void RulesPage::WireRulesFile() {
    commands_.Add(u"tbrRules", u"RulesImport", [this](int16_t) { ImportRules(); });
    commands_.Add(u"tbrRules", u"RulesRename", [this](int16_t) { RenameRulesFile(); });
}

void RulesPage::CheckRuleReport(const std::vector<int16_t>& checked) {
    // One report at a time: an open one keeps the run that opened it.
    if (forms::RuleReportShown() || vb::Forms::IsLoaded<frmRuleReport>()) return;
    const modRules::ReportedAccounts accounts = modRules::RuleReportAccounts(checked);
    if (!modRules::RuleReportWanted(accounts)) return;
    modRules::gRuleReportAccounts = accounts;
    vb::Forms::Get<frmRuleReport>(&children_).Show();
}

void RulesPage::ImportRules() {
    // The start-up countdown and the automatic check rest while the import's
    // dialog and boxes are open.
    host_.RunDialogWithChecksPaused([this](QWidget* owner) {
        CommonDialog.FileName.clear();
        CommonDialog.InitDir = QString::fromStdString(platform::store::UserDataFolder().string());
        CommonDialog.Filter = QStringLiteral("(*.ini)|*.ini|");
        CommonDialog.Flags = vb::cdlOFNHideReadOnly | vb::cdlOFNLongNames;
        const QString path = CommonDialog.ShowOpen(owner) ? CommonDialog.FileName : QString();

        QStringList accounts;
        for (int i = 1; i <= modAccounts::gAccountCount; ++i) accounts.append(modAccounts::gAccounts[i].Name);
        const modRules::RulesFileOutcome outcome = modRules::ImportRulesFile(
            path, accounts, [](const QString& name) { return forms::AskToReplace(name, true); });
        if (outcome.status == modRules::RulesFileStatus::Cancelled ||
            outcome.status == modRules::RulesFileStatus::Kept)
            return;
        if (outcome.status == modRules::RulesFileStatus::Done) {
            // Edits pending on the Rules page give way to the imported rules.
            modRules::gCurrentRule = 1;
            ResetRulesEditor();
        }
        const bool refused = outcome.status == modRules::RulesFileStatus::WriteFailed;
        const modRules::RulesFileMessage message = modRules::ImportMessage(outcome);
        vb::MsgBox(message.text, refused ? vb::vbExclamation : vb::vbInformation, message.title);
    });
}

void RulesPage::RenameRulesFile() { vb::Forms::Get<frmRuleFile>(&children_).Show(vb::vbModeless, &window_); }

void RulesPage::UnloadRuleWindows() {
    vb::Forms::Unload<frmRuleFile>();
    vb::Forms::Unload<frmRuleReport>();
}
