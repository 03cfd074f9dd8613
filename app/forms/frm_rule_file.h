#pragma once
// The rules file name window: shows the rules file's name and folder and
// takes a new name; Save writes the current rules (pending Rules page edits
// included) under it and makes it the rules file, never replacing another
// file. While it is loaded the start-up and automatic checks are paused.
#include "app/forms/frm_rule_file_design.h"
#include "platform/ui/form.h"

class frmRuleFile : public vb::Form, public frmRuleFileDesign {
public:
    frmRuleFile();

protected:
    void Form_Load() override;
    void Form_Activate() override;
    void Form_Unload(int& Cancel) override;

private:
    // Saves under the new name and closes, or says why not and stays open.
    void SaveFileName();
    void FitIntro();
};
