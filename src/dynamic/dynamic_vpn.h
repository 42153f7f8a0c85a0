// The dynamic-IP window: addresses from a list, changed on a countdown.
#pragma once

#include "app/product_window.h"

class CDynamicVPN : public CProductWindow {
 public:
  explicit CDynamicVPN(vexo::ClientEnv env);

  bool OnInitDialog() override;
  void HandBack() override;

  static constexpr int kCheckTimer = 2;
  static constexpr unsigned kCheckIntervalMs = 300000;

  std::string m_strTunnelAddr;
};
