// The system's VPN devices and the phonebook entry of each tunnel protocol.
#pragma once

#include <string>
#include <vector>

#include "platform/rasapi.h"

namespace vexo {

// Members of the entry the client writes.
inline constexpr std::uint32_t kEntryOptions =
    0x1018;  // encryption, default gateway, IP header compression
inline constexpr std::uint32_t kRasNpIp = 4;
inline constexpr std::uint32_t kRasFpPpp = 1;
inline constexpr std::uint32_t kRasEtVpn = 2;
inline constexpr std::uint32_t kEtOptional = 3;
inline constexpr std::uint32_t kVsPptpOnly = 1;
inline constexpr std::uint32_t kVsL2tpOnly = 3;
// The entry's DNS servers (stored, not used: the server assigns its own).
inline constexpr std::uint8_t kPrimaryDns[4] = {8, 8, 8, 8};
inline constexpr std::uint8_t kAlternateDns[4] = {1, 1, 1, 1};
// The longest server address the entry and the dial parameters take.
inline constexpr std::size_t kMaxPhoneNumber = 128;

// The number of devices of type "vpn" (any case), or -1 when the device list
// cannot be read.
int CountVpnDevices(platform::RasApi& ras);
// The names of the "vpn" devices in the system's order; false when the list
// cannot be read.
bool GetVpnDeviceNames(platform::RasApi& ras, std::vector<std::string>& names);

// The device a dial of `entry_name` uses: the first in order whose name holds
// "VPN" or the protocol's word ("L2TP" for "Vexo-L2TP", "PPTP" otherwise);
// "none" when no name does. Sets `readable` false when the list cannot be read.
std::string ChooseVpnDevice(platform::RasApi& ras, const std::string& entry_name, bool& readable);

// The entry as the client writes it.
platform::RasEntryFields MakeVpnEntry(const std::string& entry_name, const std::string& device_type,
                                      const std::string& device_name, std::uint32_t net_protocols,
                                      std::uint32_t framing_protocol,
                                      const std::string& phone_number);

// Writes the entry unless one of that name exists: 0 when written, 183 when it
// exists (nothing written), otherwise the system's error.
unsigned long CreateVpnEntry(platform::RasApi& ras, const std::string& entry_name,
                             const std::string& device_type, const std::string& device_name,
                             std::uint32_t net_protocols, std::uint32_t framing_protocol,
                             const std::string& phone_number);

}  // namespace vexo
