// What the two product windows share: the account they received, their
// options, the settings they write and the hand-back to the login window.
#pragma once

#include <string>

#include "app/client_env.h"
#include "platform/rasapi.h"
#include "platform/ui/dialog.h"
#include "settings/settings.h"

class CCorvaneDlg;

class CProductWindow : public vexo::ui::Dialog {
 public:
  CProductWindow(const vexo::ui::DialogLayout& layout, vexo::ClientEnv env,
                 vexo::settings::Product product)
      : Dialog(layout, env.ui), m_env(env), m_product(product) {}

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
  void OnMessage(unsigned message, std::uintptr_t wparam, std::intptr_t lparam) override;

  // --- the connection layer, the same for both windows
  // Chooses the device for m_strEntryName into m_strDevice; false when the
  // device list cannot be read. UI thread.
  bool FindVpnDevice();
  // The dial routine on the window's thread (the redial after a lost tunnel);
  // true when the dial was started.
  bool PrepareAndDial();
  // The dial routine on a worker of its own.
  void StartDialWorker();
  // Hangs up m_hRasConn, or the client's own connection when there is no
  // handle, on a worker of its own.
  void StartHangUpWorker();
  // The dial event: state text, error text, disconnection notice; the
  // window's connected reaction for the connected state. Returns 1.
  long OnRasDialEvent(std::uintptr_t state, std::intptr_t error);
  // True while an adapter's first address is the window's expected address.
  bool IsTunnelUp();

  vexo::platform::RasConnHandle m_hRasConn = 0;
  std::string m_strDevice;
  std::string m_strServer;
  std::string m_strVpnUser;
  std::string m_strVpnPwd;
  std::string m_strRasState;

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
  // What the dial routine reads, taken on the UI thread when it starts.
  struct DialJob {
    vexo::platform::RasConnHandle old_handle = 0;
    std::string entry_name;
    std::string server;
    std::string user;
    std::string password;
  };
  DialJob MakeDialJob() const;
  // The routine itself; member changes go to the UI thread.
  bool RunDialRoutine(const DialJob& job);
  void SetStatus(const vexo::ui::WindowRef& self, const std::string& text);

  // What differs between the windows.
  virtual std::string ExpectedTunnelAddress() const = 0;
  virtual void OnDialConnected() {}
  virtual vexo::platform::RasDialCallback DialCallback() const = 0;
  virtual void SetDialTarget() = 0;

  // The list: the owner-drawn style of the template only serves the row
  // height; no header, full-row selection.
  void DressList();

  // The options read of the window's initialisation.
  void ReadOptions();
  // Controls into members (tunnel type, minutes).
  void UpdateFromControls();

  vexo::ClientEnv m_env;

 private:
  vexo::settings::Product m_product;
};
