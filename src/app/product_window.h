// What the two product windows share: the account they received, their
// options, the settings they write and the hand-back to the login window.
#pragma once

#include <string>

#include "app/client_env.h"
#include "platform/ui/dialog.h"
#include "settings/settings.h"

class CCorvaneDlg;

class CProductWindow : public vexo::ui::Dialog {
 public:
  CProductWindow(const vexo::ui::DialogSpec& spec, vexo::ClientEnv env,
                 vexo::settings::Product product)
      : Dialog(spec, env.ui), m_env(env), m_product(product) {}

  // The hand-over's part of the window: the account and the user line.
  void ReceiveAccount(CCorvaneDlg* login, const std::string& id, const std::string& digest);
  // The full write of the settings, with the controls as they are now.
  void SaveSettings();
  // The window's use ends: the login window is shown again, this one hides.
  virtual void HandBack();

  // Enter belongs to the login window's pre-translation; everything else to
  // this dialog's own key handling.
  vexo::ui::KeyRoute PreTranslateKeyDown(vexo::ui::Key key) override;
  void OnCommand(int id) override;
  void OnCancel() override { HandBack(); }

  CCorvaneDlg* m_pLoginDlg = nullptr;
  std::string m_strId;
  std::string m_strPwdDigest;
  std::string m_strCurIp;
  std::string m_strNoticeTime;
  std::string m_strEntryName = "Vexo-L2TP";
  int m_nCurRow = -1;
  int m_nTunnelType = 0;
  int m_nMinutes = 0;
  int m_bWatchTimer = 0;
  int m_bCheckTimer = 0;
  int m_bCountdown = 0;
  int m_bAutoChange = 0;
  int m_bHangUpAsked = 0;

 protected:
  // The options read of the window's initialisation.
  void ReadOptions();
  // Controls into members (tunnel type, minutes).
  void UpdateFromControls();

  vexo::ClientEnv m_env;

 private:
  vexo::settings::Product m_product;
};
