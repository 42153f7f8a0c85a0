// The fixed-IP window: contracted addresses with expiry and memo.
#pragma once

#include "app/dial_notifier.h"
#include "app/product_window.h"

class CMainDlg : public CProductWindow {
 public:
  explicit CMainDlg(vexo::ClientEnv env);

  bool OnInitDialog() override;

 protected:
  std::string ExpectedTunnelAddress() const override { return m_strCurIp; }
  vexo::platform::RasDialCallback DialCallback() const override {
    return &DialNotifier<CMainDlg>::Callback;
  }
  void SetDialTarget() override { DialNotifier<CMainDlg>::SetTarget(m_env.ui, window()); }

 public:
  std::string m_strSFlag = "Vs";  // product code sent as s_flag
};
