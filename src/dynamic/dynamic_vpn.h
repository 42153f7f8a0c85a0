// The dynamic-IP window: addresses from a list, changed on a countdown.
#pragma once

#include "app/dial_notifier.h"
#include "app/product_window.h"

class CDynamicVPN : public CProductWindow {
 public:
  explicit CDynamicVPN(vexo::ClientEnv env);

  bool OnInitDialog() override;

 protected:
  std::string ExpectedTunnelAddress() const override { return m_strTunnelAddr; }
  vexo::platform::RasDialCallback DialCallback() const override {
    return &DialNotifier<CDynamicVPN>::Callback;
  }
  void SetDialTarget() override { DialNotifier<CDynamicVPN>::SetTarget(m_env.ui, window()); }

 public:
  void HandBack() override;

  static constexpr int kCheckTimer = 2;
  static constexpr unsigned kCheckIntervalMs = 300000;

  std::string m_strTunnelAddr;
};
