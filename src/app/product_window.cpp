#include "app/product_window.h"

#include <cstdlib>

#include "login/corvane_dlg.h"
#include "ras/entry_name.h"
#include "ras/ras_connection.h"
#include "ras/vpn_device.h"
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

void CProductWindow::DressList() {
  window().ModifyListStyle(vexo::res::kServerList, vexo::ui::kNoColumnHeader,
                           vexo::ui::kOwnerDrawFixed);
  window().SetListExtendedStyle(vexo::res::kServerList, vexo::ui::kFullRowSelect);
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

void CProductWindow::OnMessage(unsigned message, std::uintptr_t wparam, std::intptr_t lparam) {
  if (message == vexo::kRasDialEvent) OnRasDialEvent(wparam, lparam);
}

bool CProductWindow::FindVpnDevice() {
  bool readable = false;
  m_strDevice = vexo::ChooseVpnDevice(m_env.ras, m_strEntryName, readable);
  return readable;
}

CProductWindow::DialJob CProductWindow::MakeDialJob() const {
  DialJob job;
  job.old_handle = m_hRasConn;
  job.entry_name = m_strEntryName;
  job.server = m_strServer;
  job.user = m_strVpnUser;
  job.password = m_strVpnPwd;
  return job;
}

void CProductWindow::SetStatus(const vexo::ui::WindowRef& self, const std::string& text) {
  self.Send([this, &text] { window().SetItemText(vexo::res::kStatusLine, text); });
}

bool CProductWindow::PrepareAndDial() { return RunDialRoutine(MakeDialJob()); }

void CProductWindow::StartDialWorker() {
  const DialJob job = MakeDialJob();
  m_env.ui.StartWorker([this, job] { RunDialRoutine(job); });
}

bool CProductWindow::RunDialRoutine(const DialJob& job) {
  vexo::platform::RasApi& ras = m_env.ras;
  const vexo::ui::WindowRef self(m_env.ui, window());
  // 1. A leftover connection is dropped, without waiting for its end.
  vexo::platform::RasConnHandle old = job.old_handle;
  if (old != 0 || vexo::FindOwnRasConnection(ras, &old)) ras.HangUp(old);
  // 2. The device.
  bool readable = false;
  const std::string device = vexo::ChooseVpnDevice(ras, job.entry_name, readable);
  self.Send([this, &device] { m_strDevice = device; });
  if (device == "none") {
    SetStatus(self, "연결장치를 찾을 수 없습니다.");
    return false;
  }
  // The entry and the dial parameters hold 128 characters of address; a
  // longer one is refused rather than cut.
  if (job.server.size() > vexo::kMaxPhoneNumber) {
    SetStatus(self, "서버 주소가 너무 길어 연결할 수 없습니다.");
    return false;
  }
  // 3. The phonebook entry.
  const unsigned long created = vexo::CreateVpnEntry(ras, job.entry_name, "vpn", device,
                                                     vexo::kRasNpIp, vexo::kRasFpPpp, job.server);
  if (created != 0 && created != vexo::platform::kRasErrorAlreadyExists) {
    SetStatus(self, "Vexo 어댑터를 생성할 수 없습니다.");
    return false;
  }
  // 4. The entry must not be connected still.
  vexo::platform::RasConnHandle listed = 0;
  if (vexo::FindRasConnection(ras, job.entry_name, &listed)) {
    SetStatus(self, "접속 엔트리를 가져오는데 실패하였습니다.");
    return false;
  }
  // 5. The dial.
  self.Send([this] {
    SetDialTarget();
    m_hRasConn = 0;
  });
  vexo::platform::RasConnHandle handle = 0;
  ras.Dial({job.entry_name, job.server, job.user, job.password}, DialCallback(), handle);
  self.Send([this, handle] { m_hRasConn = handle; });
  return true;
}

void CProductWindow::StartHangUpWorker() {
  const vexo::platform::RasConnHandle handle = m_hRasConn;
  vexo::platform::RasApi& ras = m_env.ras;
  m_env.ui.StartWorker([handle, &ras] {
    vexo::platform::RasConnHandle target = handle;
    if (target != 0 || vexo::FindOwnRasConnection(ras, &target)) ras.HangUp(target);
  });
}

long CProductWindow::OnRasDialEvent(std::uintptr_t state, std::intptr_t error) {
  bool connected = false;
  vexo::GetRasStateText(static_cast<unsigned>(state), m_strRasState, connected);
  std::string status = m_strRasState;
  if (error != 0) {
    // The state at which the dial failed, and why, on a line of its own.
    std::string reason;
    if (!m_env.ras.ErrorString(static_cast<unsigned long>(error), reason)) {
      reason = "Unknow ras error.";
    }
    status += "\n" + reason;
  }
  window().SetItemText(vexo::res::kStatusLine, status);
  if (m_bHangUpAsked) {
    window().SetItemText(vexo::res::kStatusLine, "Vexo 연결이 끊어졌습니다.");
    m_bHangUpAsked = 0;
  }
  if (connected) OnDialConnected();
  return 1;
}

bool CProductWindow::IsTunnelUp() { return vexo::IsTunnelUp(m_env.ras, ExpectedTunnelAddress()); }
