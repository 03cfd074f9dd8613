#include "app/forms/frm_main.h"

frmMain::frmMain() : frmMainDesign(this) {}

void frmMain::Form_Load() { rulesView_ = modRules::gRulesView.Register(*this); }

void frmMain::Form_Unload(int& Cancel) {
    (void)Cancel;
    rulesView_.Reset();
}

void frmMain::ShowRulesFileName(const QString& caption) { lblRulesFileName.SetCaption(caption); }
