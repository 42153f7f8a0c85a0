// The Remote Access Service calls the connection layer makes, and the
// machine's adapter list. The win32 backend is rasapi32 and iphlpapi; the
// sim backend (platform/sim) simulates them against the lab's VPN side.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vexo::platform {

using RasConnHandle = std::uintptr_t;  // 0: none

// Error codes the connection layer tells apart.
inline constexpr unsigned long kRasErrorAlreadyExists = 183;
inline constexpr unsigned long kRasErrorInvalidHandle = 6;
inline constexpr unsigned long kRasErrorCannotFindEntry = 623;
inline constexpr unsigned long kRasErrorAuthenticationFailure = 691;
inline constexpr unsigned long kRasErrorVpnFailed = 800;

struct RasDevice {
  std::string type;  // "vpn", "modem", ...
  std::string name;
};

// The members of a phonebook entry the client sets; all others stay zero.
struct RasEntryFields {
  std::uint32_t options = 0;
  std::string local_phone_number;  // at most 128 characters
  std::uint8_t dns[4] = {};        // a.b.c.d
  std::uint8_t dns_alt[4] = {};
  std::uint32_t net_protocols = 0;
  std::uint32_t framing_protocol = 0;
  std::string device_type;
  std::string device_name;
  std::uint32_t type = 0;
  std::uint32_t encryption_type = 0;
  std::uint32_t vpn_strategy = 0;
};

struct RasDialFields {
  std::string entry_name;
  std::string phone_number;
  std::string user_name;
  std::string password;
};

struct RasConnection {
  RasConnHandle handle = 0;
  std::string entry_name;
};

// The RasDialFunc form: message, connection state, error code.
using RasDialCallback = void (*)(unsigned message, unsigned state, unsigned long error);

class RasApi {
 public:
  virtual ~RasApi() = default;

  // The system's RAS devices in its order. False when the list cannot be read.
  virtual bool EnumDevices(std::vector<RasDevice>& devices) = 0;
  // 183 when an entry of that name exists in the default phonebook.
  virtual unsigned long ValidateEntryName(const std::string& entry_name) = 0;
  // Writes the entry into the default phonebook; 0 when written.
  virtual unsigned long SetEntryProperties(const std::string& entry_name,
                                           const RasEntryFields& entry) = 0;
  // Starts an asynchronous dial; progress comes through `callback` on a
  // thread of the system's. `handle` receives the connection handle.
  virtual unsigned long Dial(const RasDialFields& fields, RasDialCallback callback,
                             RasConnHandle& handle) = 0;
  // Hangs up without waiting for the end of the connection.
  virtual unsigned long HangUp(RasConnHandle handle) = 0;
  // The active connections in the system's order. False when unreadable.
  virtual bool EnumConnections(std::vector<RasConnection>& connections) = 0;
  // The system's text for a RAS error; false when it has none.
  virtual bool ErrorString(unsigned long code, std::string& text) = 0;
  // The first IPv4 address of each adapter in the system's order, dotted.
  // False when the list cannot be read.
  virtual bool FirstAdapterAddresses(std::vector<std::string>& addresses) = 0;
};

// The RAS of this build: rasapi32 in Vexovpn.exe, the simulation in the host
// build and in Vexovpn-lab.exe. Lives for the whole process.
RasApi& SystemRas();

}  // namespace vexo::platform
