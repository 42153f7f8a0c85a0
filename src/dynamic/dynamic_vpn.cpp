#include "dynamic/dynamic_vpn.h"

#include "login/corvane_dlg.h"
#include "res/dialogs.h"
#include "res/resource_ids.h"

using vexo::ui::ColumnFormat;

CDynamicVPN::CDynamicVPN(vexo::ClientEnv env)
    : CProductWindow(vexo::res::DynamicDialog(), env, vexo::settings::Product::kDynamic) {}

bool CDynamicVPN::OnInitDialog() {
  window().SetIcon(vexo::res::kIcon);
  window().SetText("Vexo - VPN");
  // A connection left over from an earlier run is dropped.
  StartHangUpWorker();
  ReadOptions();
  const struct {
    const char* title;
    ColumnFormat format;
    int width;
  } columns[] = {{"상태", ColumnFormat::kCenter, 105},
                 {"아이피", ColumnFormat::kLeft, 130},
                 {"상품", ColumnFormat::kCenter, 120},
                 {"server", ColumnFormat::kCenter, 0}};
  DressList();
  int index = 0;
  for (const auto& c : columns) {
    window().InsertColumn(vexo::res::kServerList, index++, c.title, c.format, c.width);
  }
  return true;
}

void CDynamicVPN::HandBack() {
  if (m_pLoginDlg == nullptr) return;
  // Every return to the login window stops the account check.
  window().KillTimer(kCheckTimer);
  m_bCheckTimer = 0;
  m_pLoginDlg->m_strForce = "false";
  m_pLoginDlg->m_strAuthFlag.clear();
  CProductWindow::HandBack();
}
