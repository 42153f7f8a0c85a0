// Dial states, the client's own connections and the tunnel check.
#pragma once

#include <string>

#include "platform/rasapi.h"

namespace vexo {

inline constexpr unsigned kRasDialEvent = 0xCCCD;  // wParam: state, lParam: error
inline constexpr unsigned kRasConnected = 0x2000;

// Clears `connected`, then sets `text` (and `connected` for the connected
// state) from the state table; an unlisted state leaves `text` as it was.
void GetRasStateText(unsigned state, std::string& text, bool& connected);

// The last active connection named exactly "Vexo-L2TP" or "Vexo-PPTP".
bool FindOwnRasConnection(platform::RasApi& ras, platform::RasConnHandle* handle);
// The last active connection of `entry_name`, compared without case.
bool FindRasConnection(platform::RasApi& ras, const std::string& entry_name,
                       platform::RasConnHandle* handle);

// True when an adapter's first IPv4 address is `expected`, byte for byte.
bool IsTunnelUp(platform::RasApi& ras, const std::string& expected);

}  // namespace vexo
