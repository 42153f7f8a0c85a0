// The About box: caption, version text and an OK button; OK or Escape closes it.
#pragma once

#include "platform/ui/dialog.h"
#include "res/dialogs.h"

class CAboutDlg : public vexo::ui::Dialog {
 public:
  explicit CAboutDlg(vexo::ui::WindowSystem& system) : Dialog(vexo::res::AboutDialog(), system) {}
  bool OnInitDialog() override {
    window().CenterOnOwner();
    return true;
  }
  void OnCommand(int id) override {
    if (id == 1) OnOK();
  }
};
