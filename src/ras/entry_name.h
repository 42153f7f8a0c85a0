// The phonebook entry of each tunnel protocol.
#pragma once

#include <string>

namespace vexo {

inline constexpr char kL2tpEntryName[] = "Vexo-L2TP";
inline constexpr char kPptpEntryName[] = "Vexo-PPTP";

// "Vexo-L2TP" for tunnel type 0, "Vexo-PPTP" for any other value.
inline std::string EntryNameForTunnelType(int tunnel_type) {
  return tunnel_type == 0 ? kL2tpEntryName : kPptpEntryName;
}

}  // namespace vexo
