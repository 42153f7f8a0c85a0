// RAS and adapters on Windows: rasapi32 and iphlpapi, in their "A" forms.
#include <windows.h>
// After windows.h, which they build on.
#include <iphlpapi.h>
#include <ras.h>
#include <raserror.h>

#include <cstddef>
#include <cstring>
#include <vector>

#include "platform/rasapi.h"

namespace vexo::platform {
namespace {

// The Windows 7 layouts. The mingw headers stop at the Windows XP members of
// RASENTRYA and RASCONNA; the system's structures go on, and their sizes are
// what RAS checks in dwSize.
struct Win7RasEntryA : tagRASENTRYA {
  BYTE ipv6_dns[16];
  BYTE ipv6_dns_alt[16];
  DWORD ipv4_interface_metric;
  DWORD ipv6_interface_metric;
  BYTE ipv6_address[16];
  DWORD ipv6_prefix_length;
  DWORD network_outage_time;
};

struct Win7RasConnA : tagRASCONNA {
  GUID correlation_id;
};

// The system's IP_ADAPTER_INFO carries 64-bit lease times (648 bytes on
// 32-bit Windows); mingw's i686 header has 32-bit ones (640). Only members
// before them are read and the records are walked by Next, so the first
// buffer is sized by the system's record.
constexpr ULONG kAdapterInfoSize = 648;

#if defined(__i386__)
static_assert(sizeof(RASDEVINFOA) == 152, "RASDEVINFOA of Windows 7");
static_assert(sizeof(Win7RasEntryA) == 2948, "RASENTRYA of Windows 7");
static_assert(sizeof(RASDIALPARAMSA) == 1064, "RASDIALPARAMSA of Windows 7");
static_assert(sizeof(Win7RasConnA) == 720, "RASCONNA of Windows 7");
static_assert(sizeof(IP_ADAPTER_INFO) == 640, "mingw's IP_ADAPTER_INFO: 32-bit lease times");
static_assert(offsetof(IP_ADAPTER_INFO, IpAddressList) == 428, "IpAddressList as the system");
#endif

void CopyText(char* field, std::size_t size, const std::string& text) {
  const std::size_t n = text.size() < size ? text.size() : size - 1;
  std::memcpy(field, text.data(), n);
  field[n] = '\0';
}

class Win32Ras : public RasApi {
 public:
  bool EnumDevices(std::vector<RasDevice>& devices) override {
    devices.clear();
    DWORD bytes = 0;
    DWORD count = 0;
    RasEnumDevicesA(nullptr, &bytes, &count);
    std::vector<RASDEVINFOA> records(count > 0 ? count : 1);
    std::memset(records.data(), 0, records.size() * sizeof(RASDEVINFOA));
    records[0].dwSize = sizeof(RASDEVINFOA);
    bytes = static_cast<DWORD>(records.size() * sizeof(RASDEVINFOA));
    count = 0;
    if (RasEnumDevicesA(records.data(), &bytes, &count) != 0) return false;
    for (DWORD i = 0; i < count && i < records.size(); ++i) {
      devices.push_back({records[i].szDeviceType, records[i].szDeviceName});
    }
    return true;
  }

  unsigned long ValidateEntryName(const std::string& entry_name) override {
    return RasValidateEntryNameA(nullptr, entry_name.c_str());
  }

  unsigned long SetEntryProperties(const std::string& entry_name,
                                   const RasEntryFields& e) override {
    Win7RasEntryA entry;
    std::memset(&entry, 0, sizeof entry);
    entry.dwSize = sizeof entry;
    entry.dwfOptions = e.options;
    CopyText(entry.szLocalPhoneNumber, sizeof entry.szLocalPhoneNumber, e.local_phone_number);
    entry.ipaddrDns = {e.dns[0], e.dns[1], e.dns[2], e.dns[3]};
    entry.ipaddrDnsAlt = {e.dns_alt[0], e.dns_alt[1], e.dns_alt[2], e.dns_alt[3]};
    entry.dwfNetProtocols = e.net_protocols;
    entry.dwFramingProtocol = e.framing_protocol;
    CopyText(entry.szDeviceType, sizeof entry.szDeviceType, e.device_type);
    CopyText(entry.szDeviceName, sizeof entry.szDeviceName, e.device_name);
    entry.dwType = e.type;
    entry.dwEncryptionType = e.encryption_type;
    entry.dwVpnStrategy = e.vpn_strategy;
    return RasSetEntryPropertiesA(nullptr, entry_name.c_str(), &entry, sizeof entry, nullptr, 0);
  }

  unsigned long Dial(const RasDialFields& f, RasDialCallback callback,
                     RasConnHandle& handle) override {
    RASDIALPARAMSA params;
    std::memset(&params, 0, sizeof params);
    params.dwSize = sizeof params;
    CopyText(params.szEntryName, sizeof params.szEntryName, f.entry_name);
    CopyText(params.szPhoneNumber, sizeof params.szPhoneNumber, f.phone_number);
    CopyText(params.szUserName, sizeof params.szUserName, f.user_name);
    CopyText(params.szPassword, sizeof params.szPassword, f.password);
    HRASCONN conn = nullptr;
    const DWORD result =
        RasDialA(nullptr, nullptr, &params, 0,
                 reinterpret_cast<LPVOID>(reinterpret_cast<void*>(callback)), &conn);
    handle = reinterpret_cast<RasConnHandle>(conn);
    return result;
  }

  unsigned long HangUp(RasConnHandle handle) override {
    return RasHangUpA(reinterpret_cast<HRASCONN>(handle));
  }

  bool EnumConnections(std::vector<RasConnection>& connections) override {
    connections.clear();
    Win7RasConnA first;
    std::memset(&first, 0, sizeof first);
    first.dwSize = sizeof first;
    DWORD bytes = sizeof first;
    DWORD count = 0;
    const DWORD probe = RasEnumConnectionsA(&first, &bytes, &count);
    if (probe != 0 && probe != ERROR_BUFFER_TOO_SMALL) return false;
    if (count == 0) return true;
    std::vector<Win7RasConnA> records(count);
    std::memset(records.data(), 0, records.size() * sizeof(Win7RasConnA));
    records[0].dwSize = sizeof(Win7RasConnA);
    bytes = static_cast<DWORD>(records.size() * sizeof(Win7RasConnA));
    if (RasEnumConnectionsA(records.data(), &bytes, &count) != 0) return false;
    for (DWORD i = 0; i < count && i < records.size(); ++i) {
      connections.push_back(
          {reinterpret_cast<RasConnHandle>(records[i].hrasconn), records[i].szEntryName});
    }
    return true;
  }

  bool ErrorString(unsigned long code, std::string& text) override {
    char buffer[256] = {};
    if (RasGetErrorStringA(static_cast<UINT>(code), buffer, sizeof buffer) != 0) return false;
    text = buffer;
    return true;
  }

  bool FirstAdapterAddresses(std::vector<std::string>& addresses) override {
    addresses.clear();
    ULONG size = kAdapterInfoSize;
    std::vector<unsigned char> buffer(size);
    DWORD result = GetAdaptersInfo(reinterpret_cast<IP_ADAPTER_INFO*>(buffer.data()), &size);
    if (result == ERROR_BUFFER_OVERFLOW) {
      buffer.assign(size, 0);
      result = GetAdaptersInfo(reinterpret_cast<IP_ADAPTER_INFO*>(buffer.data()), &size);
    }
    if (result != NO_ERROR) return false;
    for (auto* a = reinterpret_cast<IP_ADAPTER_INFO*>(buffer.data()); a != nullptr; a = a->Next) {
      addresses.push_back(a->IpAddressList.IpAddress.String);
    }
    return true;
  }
};

}  // namespace

RasApi& SystemRas() {
  static Win32Ras ras;
  return ras;
}

}  // namespace vexo::platform
