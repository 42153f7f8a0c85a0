// The fixed-IP window: contracted addresses with expiry and memo.
#pragma once

#include "app/product_window.h"

class CMainDlg : public CProductWindow {
 public:
  explicit CMainDlg(vexo::ClientEnv env);

  bool OnInitDialog() override;

  std::string m_strSFlag = "Vs";  // product code sent as s_flag
};
