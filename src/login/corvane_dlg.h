// The login window: account, password and product choice; starts the login
// exchange and hands over to the product window of the chosen product.
#pragma once

#include <string>

#include "api/login_exchange.h"
#include "api/service_hosts.h"
#include "app/client_env.h"
#include "platform/ui/dialog.h"

class CMainDlg;
class CProductWindow;
class CDynamicVPN;

class CCorvaneDlg : public vexo::ui::Dialog {
 public:
  explicit CCorvaneDlg(vexo::ClientEnv env);
  ~CCorvaneDlg() override;

  bool OnInitDialog() override;
  void OnCommand(int id) override;
  vexo::ui::KeyRoute PreTranslateKeyDown(vexo::ui::Key key) override;
  void OnSysCommand(int id) override;
  bool MayShow() override { return m_bLoginActive != 0; }
  void OnDestroy() override;

  std::string m_strId;
  std::string m_strPassword;
  std::string m_strPwdDigest;
  std::string m_strClientVer;
  std::string m_strAuthFlag;
  std::string m_strForce = "false";
  std::string m_strVolumeSerial;
  int m_nService = 0;
  int m_nDynamicType = 0;
  int m_nFixedType = 0;
  CMainDlg* m_pFixedWnd = nullptr;
  CDynamicVPN* m_pDynamicWnd = nullptr;
  int m_bLoginActive = 1;

  const vexo::api::ServiceHosts& hosts() const { return m_hosts; }

 private:
  void LoadSavedAccount();
  void OnLogin();
  void StartFixedLogin();
  void StartDynamicLogin();
  void OnLoginResult(int command);
  // The account goes to the product window, which is shown; this window hides.
  void HandOver(CProductWindow& product);
  void ShowBox(const std::string& text);
  // The fields of a login, read on the UI thread when the worker starts.
  vexo::api::LoginFields Fields() const;

  vexo::ClientEnv m_env;
  vexo::api::ServiceHosts m_hosts;
};
