#pragma once
// The program's main window. Its controls come with the pages that use
// them; the data modules reach it only through the views it registers.
#include "app/rules/rule_set.h"
#include "platform/ui/form.h"
#include "platform/ui/label.h"

class frmMain : public vb::Form, private modRules::RulesView {
 public:
  frmMain();

  // Rules page: the rules file's name.
  vb::Label lblRulesFileName{this};

 protected:
  void Form_Load() override;
  void Form_Unload(int& Cancel) override;

 private:
  void ShowRulesFileName(const QString& caption) override;

  // Held while the window is loaded; a window destroyed without its Unload
  // (the application ending) drops it with its members.
  ViewSlot<modRules::RulesView>::Registration rulesView_;
};
