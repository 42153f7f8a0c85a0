#include "util/machine_identity.h"

#include <cstdio>

namespace vexo {

std::string FormatVolumeSerial(std::optional<std::uint32_t> serial) {
  if (!serial) return "unknown";
  char text[16];
  std::snprintf(text, sizeof text, "%X", static_cast<unsigned>(*serial));
  return text;
}

std::string VolumeSerialText(platform::Os& os) {
  const std::string root = os.ModulePath().substr(0, 3);
  return FormatVolumeSerial(os.VolumeSerial(root));
}

std::string ComputerNameText(platform::Os& os) { return os.ComputerName(); }

std::string AppNameFromModulePath(const std::string& module_path) {
  const std::size_t slash = module_path.find_last_of("\\/");
  std::string name = slash == std::string::npos ? module_path : module_path.substr(slash + 1);
  const std::size_t dot = name.rfind('.');
  if (dot != std::string::npos && dot > 0) name.resize(dot);
  return name;
}

}  // namespace vexo
