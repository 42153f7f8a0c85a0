#include "app/product_window.h"

#include <cstdlib>

#include "login/corvane_dlg.h"
#include "ras/entry_name.h"
#include "res/resource_ids.h"

using vexo::ui::Key;
using vexo::ui::KeyRoute;

void CProductWindow::ReceiveAccount(CCorvaneDlg* login, const std::string& id,
                                    const std::string& digest) {
  m_strId = id;
  m_strPwdDigest = digest;
  window().SetItemText(vexo::res::kUserLine, "사용자 : " + m_strId);
  m_pLoginDlg = login;
}

void CProductWindow::ReadOptions() {
  const vexo::settings::SavedOptions options = vexo::settings::ReadOptions(m_env.os);
  m_nTunnelType = options.type;
  m_strEntryName = vexo::EntryNameForTunnelType(m_nTunnelType);
  m_strNoticeTime = options.noticestime;
  window().CheckRadio(vexo::res::kL2tpRadio, vexo::res::kPptpRadio, m_nTunnelType);
  window().SetItemText(vexo::res::kMinutesEdit, std::to_string(m_nMinutes));
  window().SetItemText(vexo::res::kMinutesEdit, options.autotime);
}

void CProductWindow::UpdateFromControls() {
  m_nTunnelType = window().CheckedRadio(vexo::res::kL2tpRadio, vexo::res::kPptpRadio);
  const std::string minutes = window().ItemText(vexo::res::kMinutesEdit);
  char* end = nullptr;
  const long value = std::strtol(minutes.c_str(), &end, 10);
  // A text that is no integer keeps the old value.
  if (!minutes.empty() && end && *end == '\0') m_nMinutes = static_cast<int>(value);
}

void CProductWindow::SaveSettings() {
  UpdateFromControls();
  vexo::settings::FullSettings values;
  values.id = m_strId;
  values.pwd = m_strPwdDigest;
  values.autotime = window().ItemText(vexo::res::kMinutesEdit);
  values.noticestime = m_strNoticeTime;
  values.type = m_nTunnelType;
  values.services = m_pLoginDlg ? m_pLoginDlg->m_nService : 0;
  values.product = m_product;
  if (m_pLoginDlg) {
    values.product_type = m_product == vexo::settings::Product::kDynamic
                              ? m_pLoginDlg->m_nDynamicType
                              : m_pLoginDlg->m_nFixedType;
  }
  vexo::settings::WriteFull(m_env.os, values);
}

void CProductWindow::HandBack() {
  if (m_pLoginDlg == nullptr) return;
  m_pLoginDlg->m_bLoginActive = 1;
  m_pLoginDlg->window().Show(true);
  EndDialog(2);
}

KeyRoute CProductWindow::PreTranslateKeyDown(Key key) {
  return key == Key::kEnter ? KeyRoute::kPassOn : KeyRoute::kDialogManager;
}

void CProductWindow::OnCommand(int id) {
  // Logout, close and Escape hand back; the logout exchanges and the
  // question before it belong to each window's own flow.
  if (id == vexo::res::kLogoutButton || id == vexo::res::kCloseX) HandBack();
  if (id == vexo::res::kProductMinimize) window().Minimize();
}
