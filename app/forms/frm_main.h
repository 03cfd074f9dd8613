#pragma once
// The program's main window. Its designed controls come from frm_main.form;
// the data modules reach it only through the views it registers.
#include <cstdint>

#include "app/forms/frm_main_design.h"
#include "app/rules/rule_set.h"
#include "platform/ui/form.h"

class frmMain : public vb::Form, public frmMainDesign, private modRules::RulesView {
public:
    frmMain();

    // ---- mail-client button ----
    // Stores the icon of the program at path under "MailClient" & number in
    // imlPopMenu and imlClientButtons, replacing an older one: the program's
    // own icon at 16 by 16, or the "FolderX" picture when it has none.
    // Number 0 is the default client, 1 and up the accounts' own.
    void LoadMailClientIcon(const QString& path, int16_t number);
    // Points the start button, the tray entry and the Test buttons at the
    // picture of number, or at the "no client" pictures for -1.
    void SetMailClientButton(int16_t number);

protected:
    void Form_Load() override;
    void Form_Unload(int& Cancel) override;

private:
    void ShowRulesFileName(const QString& caption) override;

    // Held while the window is loaded; a window destroyed without its Unload
    // (the application ending) drops it with its members.
    ViewSlot<modRules::RulesView>::Registration rulesView_;
};
