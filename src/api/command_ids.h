// The commands by which workers report an exchange's outcome to a window.
// One numbering for all windows.
#pragma once

namespace vexo::cmd {

inline constexpr int kFixedLoginAccepted = 1124;
inline constexpr int kDynamicLoginAccepted = 1125;
inline constexpr int kLoginRefused = 1126;
inline constexpr int kContractEnded = 1127;  // no usable contract, or it expired
inline constexpr int kLoginServerUnreachable = 1128;
inline constexpr int kListReceived = 1129;
inline constexpr int kAddressChangeAccepted = 1133;
inline constexpr int kTakenOver = 1134;  // ended by a login elsewhere
inline constexpr int kDuplicateLogin = 1135;
inline constexpr int kLogoutFinished = 1136;

}  // namespace vexo::cmd
