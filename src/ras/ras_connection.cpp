#include "ras/ras_connection.h"

#include <cctype>
#include <vector>

namespace vexo {

void GetRasStateText(unsigned state, std::string& text, bool& connected) {
  connected = false;
  static const struct {
    unsigned state;
    const char* text;
  } kTexts[] = {
      {0, "Opening the port..."},
      {1, "Port has been opened successfully"},
      {2, "Connecting to the device..."},
      {3, "The device has connected successfully."},
      {4, "All devices in the device chain have successfully connected."},
      {5, "Verifying the user name and password..."},
      {6, "An authentication event has occurred."},
      {7, "Requested another validation attempt with a new user."},
      {8, "Server has requested a callback number."},
      {9, "The client has requested to change the password"},
      {10, "Registering your computer on the network..."},
      {11, "The link-speed calculation phase is starting..."},
      {12, "An authentication request is being acknowledged."},
      {13, "Reauthentication (after callback) is starting. "},
      {14, "The client has successfully completed authentication."},
      {15, "The line is about to disconnect for callback."},
      {16, "Delaying to give the modem time to reset for callback."},
      {17, "Waiting for an incoming call from server."},
      {18, "Projection result information is available."},
      {19, "User authentication is being initiated or retried."},
      {20, "Client has been called back and is about to resume authentication."},
      {21, "Logging on to the network..."},
      {22, "Subentry has been connected"},
      {23, "Subentry has been disconnected"},
      {0x1000, "Terminal state supported by RASPHONE.EXE."},
      {0x1001, "Retry authentication state supported by RASPHONE.EXE."},
      {0x1002, "Callback state supported by RASPHONE.EXE."},
      {0x1003, "Change password state supported by RASPHONE.EXE."},
      {0x2000, "Connect to remote server successfully!\nPlease wait..."},
      {0x2001, "Disconnected"},
  };
  for (const auto& entry : kTexts) {
    if (entry.state == state) {
      text = entry.text;
      connected = state == kRasConnected;
      return;
    }
  }
}

namespace {

bool SameWithoutCase(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    const auto x = static_cast<unsigned char>(a[i]);
    const auto y = static_cast<unsigned char>(b[i]);
    if (x >= 0x80 || y >= 0x80) {
      // A double-byte character is compared as it stands, both bytes.
      if (x != y || i + 1 >= a.size() || a[i + 1] != b[i + 1]) return false;
      ++i;
      continue;
    }
    if (std::tolower(x) != std::tolower(y)) return false;
  }
  return true;
}

}  // namespace

bool FindOwnRasConnection(platform::RasApi& ras, platform::RasConnHandle* handle) {
  std::vector<platform::RasConnection> connections;
  if (!ras.EnumConnections(connections)) return false;
  bool found = false;
  for (const auto& c : connections) {
    if (c.entry_name == "Vexo-L2TP" || c.entry_name == "Vexo-PPTP") {
      *handle = c.handle;  // the last match wins
      found = true;
    }
  }
  return found;
}

bool FindRasConnection(platform::RasApi& ras, const std::string& entry_name,
                       platform::RasConnHandle* handle) {
  std::vector<platform::RasConnection> connections;
  if (!ras.EnumConnections(connections)) return false;
  bool found = false;
  for (const auto& c : connections) {
    if (SameWithoutCase(c.entry_name, entry_name)) {
      *handle = c.handle;
      found = true;
    }
  }
  return found;
}

bool IsTunnelUp(platform::RasApi& ras, const std::string& expected) {
  std::vector<std::string> addresses;
  if (!ras.FirstAdapterAddresses(addresses)) return false;
  for (const std::string& a : addresses) {
    if (a == expected) return true;
  }
  return false;
}

}  // namespace vexo
