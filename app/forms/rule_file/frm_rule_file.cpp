#include "app/forms/rule_file/frm_rule_file.h"

#include <QDir>
#include <algorithm>

#include "app/forms/common/child_tool_bar_style.h"
#include "app/forms/common/pictures.h"
#include "app/general/check_status.h"
#include "app/options/option_values.h"
#include "app/rules/rule_set.h"
#include "app/rules/rules_file_change.h"
#include "platform/store/program_folder.h"
#include "platform/ui/forms.h"
#include "platform/ui/msg_box.h"
#include "platform/ui/twips.h"

frmRuleFile::frmRuleFile(forms::MainWindowLink* main) : frmRuleFileDesign(this), main_(main) {
    forms::FillImageList(imlButtons, forms::PictureSet::RuleFileButtons);
    for (int i = 1; i <= tbrButtons.ButtonCount(); ++i) tbrButtons.Buttons(i).RefreshImage();
    tbrButtons.ButtonClick = [this](vb::ToolButton& button) {
        if (button.Key() == QLatin1String("Save"))
            SaveFileName();
        else if (button.Key() == QLatin1String("Cancel"))
            Unload();
    };
}

void frmRuleFile::Form_Load() {
    checksPaused_.emplace(main_.data(), forms::PausedChecks::AutomaticAndStartUp);

    lblRuleFileIntro.SetCaption(QStringLiteral("Changing the Rules FileName will allow ") +
                                QStringLiteral("multiple users to have their own set of rules if ") +
                                QStringLiteral("the FileName is different for each user. The location ") +
                                QStringLiteral("of the Rule File cannot be changed and the new FileName ") +
                                QStringLiteral("will always have the prefix 'Rules'. It is suggested to ") +
                                QStringLiteral("use your name as the FileName to keep each user's file ") +
                                QStringLiteral("separate and therefore unique."));
    lblRuleFilePathCurrent.SetCaption(
        QDir::toNativeSeparators(QString::fromStdString(platform::store::UserDataFolder().string())));
    lblRuleFileNameCurrent.SetCaption(modRules::gRulesFileName);
    txtRuleFileName.SetText(QStringLiteral("Rules"));
    FitIntro();
    tbrButtons.SetStyle(forms::ChildToolBarStyle(modOptions::gOpt.ButtonStyle, modOptions::gOpt.ApplyStyle,
                                                 tbrButtons.Style()));
    Move((vb::ScreenWidth() - Width()) / 2, (vb::ScreenHeight() - Height()) / 2);
}

void frmRuleFile::FitIntro() {
    // The explanation and the folder get the lines their texts need; the rows
    // below them move down.
    const auto needed = [](vb::Label& label) {
        return std::max(label.Height(), vb::PixelsToTwipsY(label.heightForWidth(label.width())));
    };
    lblRuleFileIntro.SetHeight(needed(lblRuleFileIntro));
    fraRuleFileIntro.SetHeight(lblRuleFileIntro.Top() + lblRuleFileIntro.Height() + 120);
    int top = fraRuleFileIntro.Top() + fraRuleFileIntro.Height() + 180;
    lblRuleFileName.SetTop(top);
    lblRuleFileNameCurrent.SetTop(top);
    top += lblRuleFileName.Height() + 60;
    lblRuleFile.SetTop(top);
    lblRuleFilePathCurrent.SetTop(top);
    lblRuleFilePathCurrent.SetHeight(needed(lblRuleFilePathCurrent));
    top += lblRuleFilePathCurrent.Height() + 120;
    lblRuleFileNameNew.SetTop(top + 30);
    txtRuleFileName.SetTop(top);
    top += txtRuleFileName.Height() + 120;

    const int barWidth = tbrButtons.ButtonCount() * tbrButtons.ButtonWidth();
    tbrButtons.Move(fraButtons.Width() - barWidth, 60, barWidth, tbrButtons.ButtonHeight());
    fraButtons.Move(fraButtons.Left(), top, -1, tbrButtons.Height() + 120);
    SetClientSize(ScaleWidth(), fraButtons.Top() + fraButtons.Height() + 60);
}

void frmRuleFile::Form_Activate() {
    txtRuleFileName.SetFocus();
    txtRuleFileName.SetSelStart(static_cast<int>(txtRuleFileName.Text().size()));
}

void frmRuleFile::SaveFileName() {
    const modRules::RulesFileOutcome outcome = modRules::SaveRulesFileAs(
        txtRuleFileName.Text(), [](const QString& name) { return forms::AskToReplace(name, false); });
    if (outcome.status == modRules::RulesFileStatus::Kept) {  // the user keeps that file: another name
        txtRuleFileName.SetFocus();
        return;
    }
    if (outcome.status == modRules::RulesFileStatus::Done) {
        // The written edits are the live rules now: nothing is left to save.
        if (main_) main_->RulesChanged();
        Unload();
        return;
    }
    const modRules::RulesFileMessage message = modRules::RenameMessage(outcome);
    vb::MsgBox(
        message.text,
        (outcome.status == modRules::RulesFileStatus::WriteFailed ? vb::vbCritical : vb::vbExclamation),
        message.title);
    txtRuleFileName.SetFocus();
}

void frmRuleFile::Form_Unload(int& Cancel) {
    (void)Cancel;
    checksPaused_.reset();
}

namespace forms {

bool AskToReplace(const QString& name, bool import) {
    const modRules::RulesFileMessage question = modRules::ReplaceQuestionText(name, import);
    return vb::MsgBox(question.text, vb::vbYesNo + vb::vbQuestion + vb::vbDefaultButton2, question.title) ==
           vb::vbYes;
}

}  // namespace forms
