// Which computer a request comes from, and the application's own name.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/os.h"

namespace vexo {

// The serial in upper-case hexadecimal without leading zeros, or "unknown".
std::string FormatVolumeSerial(std::optional<std::uint32_t> serial);

// The serial text of the volume that holds the executable: the root is the
// first three characters of the module path ("C:\").
std::string VolumeSerialText(platform::Os& os);

// The computer's NetBIOS name, read anew; empty when it cannot be read.
std::string ComputerNameText(platform::Os& os);

// The executable's file name without its extension ("Vexovpn"): the caption
// of message boxes and the agent string of requests.
std::string AppNameFromModulePath(const std::string& module_path);

}  // namespace vexo
