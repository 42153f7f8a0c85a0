#include "ras/vpn_device.h"

#include <algorithm>
#include <cctype>

namespace vexo {
namespace {

bool IsVpnType(const std::string& type) {
  std::string lower = type;
  std::transform(lower.begin(), lower.end(), lower.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return lower == "vpn";
}

}  // namespace

int CountVpnDevices(platform::RasApi& ras) {
  std::vector<platform::RasDevice> devices;
  if (!ras.EnumDevices(devices)) return -1;
  return static_cast<int>(std::count_if(devices.begin(), devices.end(),
                                        [](const auto& d) { return IsVpnType(d.type); }));
}

bool GetVpnDeviceNames(platform::RasApi& ras, std::vector<std::string>& names) {
  std::vector<platform::RasDevice> devices;
  if (!ras.EnumDevices(devices)) return false;
  names.clear();
  for (const auto& d : devices) {
    if (IsVpnType(d.type)) names.push_back(d.name);
  }
  return true;
}

std::string ChooseVpnDevice(platform::RasApi& ras, const std::string& entry_name, bool& readable) {
  readable = false;
  const int count = CountVpnDevices(ras);
  if (count <= 0) return "none";
  std::vector<std::string> names;
  if (!GetVpnDeviceNames(ras, names)) return "none";
  readable = true;
  const std::string word = entry_name == "Vexo-L2TP" ? "L2TP" : "PPTP";
  for (const std::string& name : names) {
    if (name.find("VPN") != std::string::npos || name.find(word) != std::string::npos) {
      return name;
    }
  }
  return "none";
}

platform::RasEntryFields MakeVpnEntry(const std::string& entry_name, const std::string& device_type,
                                      const std::string& device_name, std::uint32_t net_protocols,
                                      std::uint32_t framing_protocol,
                                      const std::string& phone_number) {
  platform::RasEntryFields e;
  e.options = kEntryOptions;
  e.local_phone_number = phone_number;
  std::copy(std::begin(kPrimaryDns), std::end(kPrimaryDns), e.dns);
  std::copy(std::begin(kAlternateDns), std::end(kAlternateDns), e.dns_alt);
  e.net_protocols = net_protocols;
  e.framing_protocol = framing_protocol;
  e.device_type = device_type;
  e.device_name = device_name;
  e.type = kRasEtVpn;
  e.encryption_type = kEtOptional;
  e.vpn_strategy = entry_name == "Vexo-L2TP" ? kVsL2tpOnly : kVsPptpOnly;
  return e;
}

unsigned long CreateVpnEntry(platform::RasApi& ras, const std::string& entry_name,
                             const std::string& device_type, const std::string& device_name,
                             std::uint32_t net_protocols, std::uint32_t framing_protocol,
                             const std::string& phone_number) {
  if (ras.ValidateEntryName(entry_name) == platform::kRasErrorAlreadyExists) {
    return platform::kRasErrorAlreadyExists;  // used as it is
  }
  return ras.SetEntryProperties(entry_name,
                                MakeVpnEntry(entry_name, device_type, device_name, net_protocols,
                                             framing_protocol, phone_number));
}

}  // namespace vexo
