#include "app/shell/frm_main.h"

#include "app/rules/rule_set.h"

frmMain::frmMain() { SetCaption(QStringLiteral("Veltrane")); }

// A window destroyed without its Unload (the application ending) must not
// stay reachable through the hooks either.
frmMain::~frmMain() { modRules::gShowRulesFileName = nullptr; }

void frmMain::Form_Load() {
  modRules::gShowRulesFileName = [this](const QString& caption) { lblRulesFileName.SetCaption(caption); };
}

void frmMain::Form_Unload(int& Cancel) {
  (void)Cancel;
  modRules::gShowRulesFileName = nullptr;
}
