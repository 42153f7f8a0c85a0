#include "app/vexo_main.h"

#include <memory>

#include "platform/os.h"

namespace vexo {

int VexoMain() {
  platform::Os& os = platform::SystemOs();
  platform::GuardResult guard_result = platform::GuardResult::kFailed;
  const std::unique_ptr<platform::InstanceGuard> guard =
      os.CreateInstanceGuard("Global\\VexoVPN", guard_result);
  // A second copy ends at once and silently.
  if (guard_result == platform::GuardResult::kAlreadyExists) return 0;
  return 0;
}

}  // namespace vexo
