#pragma once
// The program's main window. Its designed controls come from frm_main.form;
// the data modules reach it only through the views it registers.
#include "app/forms/frm_main_design.h"
#include "app/rules/rule_set.h"
#include "platform/ui/form.h"

class frmMain : public vb::Form, public frmMainDesign, private modRules::RulesView {
public:
    frmMain();

protected:
    void Form_Load() override;
    void Form_Unload(int& Cancel) override;

private:
    void ShowRulesFileName(const QString& caption) override;

    // Held while the window is loaded; a window destroyed without its Unload
    // (the application ending) drops it with its members.
    ViewSlot<modRules::RulesView>::Registration rulesView_;
};
