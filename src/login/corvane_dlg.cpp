#include "login/corvane_dlg.h"

#include "api/command_ids.h"
#include "api/request.h"
#include "app/about_dlg.h"
#include "dynamic/dynamic_vpn.h"
#include "fixed/main_dlg.h"
#include "res/dialogs.h"
#include "res/resource_ids.h"
#include "settings/settings.h"
#include "util/machine_identity.h"
#include "util/md5_digest.h"

namespace res = vexo::res;
namespace cmd = vexo::cmd;
using vexo::ui::BoxAnswer;
using vexo::ui::BoxButtons;
using vexo::ui::Key;
using vexo::ui::KeyRoute;

CCorvaneDlg::CCorvaneDlg(vexo::ClientEnv env) : Dialog(res::LoginDialog(), env.ui), m_env(env) {}

CCorvaneDlg::~CCorvaneDlg() { DestroyWindow(); }

bool CCorvaneDlg::OnInitDialog() {
  window().AddSystemMenuItem(res::kAboutMenuCommand, res::kAboutMenuText);
  window().SetIcon(res::kIcon);
  window().SetText("Vexo - VPN");
  m_strClientVer = vexo::api::kClientVersion;
  window().SetItemFontHeight(res::kIdEdit, 18);
  window().SetItemFontHeight(res::kPasswordEdit, 18);
  m_hosts = vexo::api::ReadServiceHosts(m_env.os);

  m_pFixedWnd = new CMainDlg(m_env);
  m_pFixedWnd->Create(this);
  m_pDynamicWnd = new CDynamicVPN(m_env);
  m_pDynamicWnd->Create(this);

  LoadSavedAccount();
  m_strVolumeSerial = vexo::VolumeSerialText(m_env.os);
  return true;
}

void CCorvaneDlg::LoadSavedAccount() {
  const vexo::settings::SavedAccount saved = vexo::settings::ReadAccount(m_env.os);
  m_strId = saved.id;
  m_strPwdDigest = saved.pwd;
  m_strPassword = saved.pwd;
  m_nService = saved.services;
  m_nDynamicType = saved.dtype;
  vexo::ui::Window& w = window();
  w.SetListItemHeight(res::kDynamicTypeList, -1, 16);
  w.SetListItemHeight(res::kDynamicTypeList, 0, 16);
  w.SelectListItem(res::kDynamicTypeList, m_nDynamicType != 0 ? 1 : 0);
  m_nFixedType = saved.stype;
  w.SetListItemHeight(res::kFixedTypeList, -1, 16);
  w.SetListItemHeight(res::kFixedTypeList, 0, 16);
  const int fixed_index = m_nFixedType == 0 ? 0 : m_nFixedType == 1 ? 1 : 2;
  w.SelectListItem(res::kFixedTypeList, fixed_index);
  m_pFixedWnd->m_strSFlag = vexo::api::FixedProductCode(fixed_index);
  // Only the list of the chosen product is enabled.
  w.EnableItem(m_nService != 0 ? res::kFixedTypeList : res::kDynamicTypeList, false);
  w.SetItemText(res::kIdEdit, m_strId);
  w.SetItemText(res::kPasswordEdit, m_strPassword);
  w.CheckRadio(res::kFixedRadio, res::kDynamicRadio, m_nService);
}

void CCorvaneDlg::OnCommand(int id) {
  vexo::ui::Window& w = window();
  switch (id) {
    case res::kLoginButton:
      OnLogin();
      break;
    case res::kCloseButton:
      OnCancel();
      break;
    case res::kMinimizeButton:
      w.Minimize();
      break;
    case res::kSignUpButton:
      m_env.os.ShellOpen(vexo::api::WebPageUrl(m_hosts, "/Auth/SignUp/"));
      break;
    case res::kFindIdButton:
      m_env.os.ShellOpen(vexo::api::WebPageUrl(m_hosts, "/Auth/SearchIdPW/"));
      break;
    case res::kFixedRadio:
      w.EnableItem(res::kFixedTypeList, true);
      w.EnableItem(res::kDynamicTypeList, false);
      break;
    case res::kDynamicRadio:
      w.EnableItem(res::kDynamicTypeList, true);
      w.EnableItem(res::kFixedTypeList, false);
      break;
    case cmd::kFixedLoginAccepted:
    case cmd::kDynamicLoginAccepted:
    case cmd::kLoginRefused:
    case cmd::kContractEnded:
    case cmd::kLoginServerUnreachable:
    case cmd::kDuplicateLogin:
      OnLoginResult(id);
      break;
    default:
      break;
  }
}

KeyRoute CCorvaneDlg::PreTranslateKeyDown(Key key) {
  if (key != Key::kEnter) return KeyRoute::kDialogManager;
  // Enter is never a default button here; it logs in while this window is
  // the one in use and no login runs.
  if (m_bLoginActive && window().IsItemEnabled(res::kLoginButton)) OnLogin();
  return KeyRoute::kSwallowed;
}

void CCorvaneDlg::OnSysCommand(int id) {
  if ((id & 0xFFF0) == res::kAboutMenuCommand) {
    CAboutDlg about(m_env.ui);
    about.DoModal(this);
  }
}

void CCorvaneDlg::OnDestroy() {
  if (m_pFixedWnd) {
    m_pFixedWnd->DestroyWindow();
    delete m_pFixedWnd;
    m_pFixedWnd = nullptr;
  }
  if (m_pDynamicWnd) {
    m_pDynamicWnd->DestroyWindow();
    delete m_pDynamicWnd;
    m_pDynamicWnd = nullptr;
  }
}

void CCorvaneDlg::ShowBox(const std::string& text) {
  window().ShowMessageBox(text, vexo::AppName(m_env), BoxButtons::kOk);
}

void CCorvaneDlg::OnLogin() {
  vexo::ui::Window& w = window();
  w.EnableItem(res::kLoginButton, false);
  m_strId = w.ItemText(res::kIdEdit);
  m_strPassword = w.ItemText(res::kPasswordEdit);
  m_nService = w.CheckedRadio(res::kFixedRadio, res::kDynamicRadio);
  if (m_strId.empty()) {
    ShowBox("아이디를 입력하세요");
    w.EnableItem(res::kLoginButton, true);
    return;
  }
  if (m_strPassword.empty()) {
    ShowBox("패스워드를 입력하세요");
    w.EnableItem(res::kLoginButton, true);
    return;
  }
  // The box still holding the saved digest sends it unchanged.
  if (m_strPassword != m_strPwdDigest) m_strPwdDigest = DigestPassword(m_strPassword);
  if (m_nService == 0) {
    StartFixedLogin();
  } else {
    StartDynamicLogin();
  }
}

vexo::api::LoginFields CCorvaneDlg::Fields() const {
  vexo::api::LoginFields f;
  f.id = m_strId;
  f.pwd_digest = m_strPwdDigest;
  f.v_num = m_strVolumeSerial;
  f.c_ver = m_strClientVer;
  return f;
}

void CCorvaneDlg::StartFixedLogin() {
  const vexo::ui::WindowRef self(m_env.ui, window());
  const vexo::ClientEnv env = m_env;
  const std::string host = m_hosts.api;
  const std::string agent = vexo::AppName(m_env);
  vexo::api::LoginFields fields = Fields();
  m_env.ui.StartWorker([this, self, env, host, agent, fields]() mutable {
    fields.rnd = vexo::api::MakeTimeStamp(env.os.Now());
    fields.pc = vexo::ComputerNameText(env.os);
    std::string s_flag;
    self.Send([this, &s_flag] {
      m_nFixedType = window().ListSelection(res::kFixedTypeList);
      s_flag = vexo::api::FixedProductCode(m_nFixedType);
      m_pFixedWnd->m_strSFlag = s_flag;
      m_pFixedWnd->window().SetItemText(res::kProductLabel,
                                        vexo::api::FixedProductLabel(m_nFixedType));
    });
    if (s_flag.empty()) return;  // the window is gone
    const vexo::api::ExchangeContext context{env.net, env.os, agent};
    const vexo::api::LoginOutcome outcome =
        vexo::api::RunVsLogin(context, vexo::api::VsLoginUrl(host, fields, s_flag));
    self.PostCommand(outcome.command);
  });
}

void CCorvaneDlg::StartDynamicLogin() {
  const vexo::ui::WindowRef self(m_env.ui, window());
  const vexo::ClientEnv env = m_env;
  const std::string host = m_hosts.api;
  const std::string agent = vexo::AppName(m_env);
  const std::string force = m_strForce;
  vexo::api::LoginFields fields = Fields();
  m_env.ui.StartWorker([this, self, env, host, agent, force, fields]() mutable {
    fields.rnd = vexo::api::MakeTimeStamp(env.os.Now());
    fields.pc = vexo::ComputerNameText(env.os);
    std::string type;
    self.Send([this, &type] {
      m_nDynamicType = window().ListSelection(res::kDynamicTypeList);
      type = vexo::api::DynamicTypeValue(m_nDynamicType);
    });
    if (type.empty()) return;  // the window is gone
    const vexo::api::ExchangeContext context{env.net, env.os, agent};
    const vexo::api::LoginOutcome outcome =
        vexo::api::RunVdLogin(context, vexo::api::VdLoginUrl(host, fields, force, type));
    if (outcome.command == cmd::kDynamicLoginAccepted) {
      self.Send([this, &outcome] {
        m_pDynamicWnd->window().SetItemText(res::kExpiryLine, outcome.expiry);
        m_strAuthFlag = outcome.auth;
      });
    }
    self.PostCommand(outcome.command);
  });
}

void CCorvaneDlg::OnLoginResult(int command) {
  vexo::ui::Window& w = window();
  switch (command) {
    case cmd::kFixedLoginAccepted:
      HandOver(*m_pFixedWnd);
      return;
    case cmd::kDynamicLoginAccepted:
      HandOver(*m_pDynamicWnd);
      return;
    case cmd::kLoginRefused:
      ShowBox(m_env.os.CapsLockOn() ? "로그인에 실패하였습니다. Caps Lock 키가 켜져 있습니다."
                                    : "로그인에 실패하였습니다. 아이디와 패스워드를 확인하세요");
      break;
    case cmd::kContractEnded:
      ShowBox("사용 가능한 계약이 없거나 만료되었습니다.");
      break;
    case cmd::kLoginServerUnreachable:
      ShowBox("로그인서버에 접속할 수 없습니다.");
      break;
    case cmd::kDuplicateLogin:
      if (w.ShowMessageBox("중복접속을 시도하였습니다. 기존 접속을 로그아웃 하시겠습니까?", "Vexo",
                           BoxButtons::kYesNo) == BoxAnswer::kYes) {
        m_strForce = "true";
        StartDynamicLogin();  // the login button stays disabled
        return;
      }
      break;
    default:
      return;
  }
  w.EnableItem(res::kLoginButton, true);
}

void CCorvaneDlg::HandOver(CProductWindow& product) {
  product.ReceiveAccount(this, m_strId, m_strPwdDigest);
  product.SaveSettings();
  product.window().CenterOnOwner();
  product.window().Show(true);
  // The dynamic window's account check; a second hand-over starts no second timer.
  if (&product == m_pDynamicWnd && m_pDynamicWnd->m_bCheckTimer == 0) {
    product.window().SetTimer(CDynamicVPN::kCheckTimer, CDynamicVPN::kCheckIntervalMs);
    m_pDynamicWnd->m_bCheckTimer = 1;
  }
  m_bLoginActive = 0;
  window().Show(false);
  window().EnableItem(res::kLoginButton, true);
}
