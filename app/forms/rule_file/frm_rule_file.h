#pragma once
// The rules file name window: shows the rules file's name and folder and
// takes a new name; Save writes the current rules (pending Rules page edits
// included) under it and makes it the rules file, replacing an existing file
// of that name only when the user agrees. While it is loaded the start-up and
// automatic checks are paused.
#include <QPointer>
#include <optional>

#include "app/forms/checks/checks_paused.h"
#include "app/forms/main_window/main_window_link.h"
#include "app/forms/rule_file/frm_rule_file_design.h"
#include "platform/ui/form.h"

class frmRuleFile : public vb::Form, public frmRuleFileDesign {
public:
    // main: the main window this one works for; none for a window shown alone.
    explicit frmRuleFile(forms::MainWindowLink* main = nullptr);

protected:
    void Form_Load() override;
    void Form_Activate() override;
    void Form_Unload(int& Cancel) override;

private:
    // Saves under the new name and closes, or says why not and stays open.
    void SaveFileName();
    void FitIntro();

    // The main window's checks, paused from the load to the unload (or until
    // a load that failed lets the window go).
    QPointer<forms::MainWindowLink> main_;
    std::optional<forms::ChecksPaused> checksPaused_;
};

namespace forms {

// Asks whether the existing file name in the rules folder may be replaced
// with the rules (the imported ones with import); No is the default answer.
bool AskToReplace(const QString& name, bool import);

}  // namespace forms
