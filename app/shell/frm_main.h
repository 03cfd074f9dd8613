#pragma once
// The program's main window. Its controls come with the pages that use
// them; the data modules reach it only through their display hooks.
#include "platform/ui/form.h"
#include "platform/ui/label.h"

class frmMain : public vb::Form {
 public:
  frmMain();
  ~frmMain() override;

  // Rules page: the rules file's name.
  vb::Label lblRulesFileName{this};

 protected:
  void Form_Load() override;
  void Form_Unload(int& Cancel) override;
};
