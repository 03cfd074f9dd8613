#include "app/forms/frm_main.h"

frmMain::frmMain() : frmMainDesign(this) { WireOptionsControls(); }

void frmMain::Form_Load() {
    rulesView_ = modRules::gRulesView.Register(*this);
    optionsView_ = modOptions::gOptionsView.Register(*this);
    startupEntry_ = modOptions::gStartupEntry.Register(sessionEntry_);
}

void frmMain::Form_Unload(int& Cancel) {
    (void)Cancel;
    rulesView_.Reset();
    optionsView_.Reset();
    startupEntry_.Reset();
}

void frmMain::ShowRulesFileName(const QString& caption) { lblRulesFileName.SetCaption(caption); }
