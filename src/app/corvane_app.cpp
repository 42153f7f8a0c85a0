#include "app/corvane_app.h"

#include <memory>

#include "login/corvane_dlg.h"
#include "util/machine_identity.h"

namespace vexo {

std::string AppName(const ClientEnv& env) { return AppNameFromModulePath(env.os.ModulePath()); }

}  // namespace vexo

bool CCorvaneApp::InitInstance() {
  m_env.ui.InitCommonControls();
  vexo::platform::GuardResult guard_result = vexo::platform::GuardResult::kFailed;
  const std::unique_ptr<vexo::platform::InstanceGuard> guard =
      m_env.os.CreateInstanceGuard("Global\\VexoVPN", guard_result);
  // Another copy runs: end at once, silently. A guard that could not be made
  // for another reason lets the client run without one.
  if (guard_result == vexo::platform::GuardResult::kAlreadyExists) return false;
  {
    CCorvaneDlg dlg(m_env);
    dlg.DoModal(nullptr);
  }
  // Workers still running get a bounded time; their late calls to the
  // windows are no-ops by now.
  m_env.ui.WaitForWorkers(kWorkerWaitMs);
  return false;
}
