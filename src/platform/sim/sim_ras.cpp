#include "platform/sim/sim_ras.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <map>
#include <memory>
#include <mutex>
#include <thread>

namespace vexo::platform::sim {
namespace {

constexpr unsigned kDialEvent = 0xCCCD;
constexpr unsigned kOpenPort = 0, kPortOpened = 1, kConnectDevice = 2, kDeviceConnected = 3,
                   kAllDevicesConnected = 4, kAuthenticate = 5, kAuthenticated = 14,
                   kConnected = 0x2000;

std::string Encode(const std::string& value) {
  static const char kHex[] = "0123456789ABCDEF";
  std::string out;
  for (const char ch : value) {
    const auto c = static_cast<unsigned char>(ch);
    if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ||
        c == '.' || c == '_' || c == '~') {
      out.push_back(ch);
    } else {
      out += {'%', kHex[c >> 4], kHex[c & 15]};
    }
  }
  return out;
}

// One GET to the lab's VPN side; its lines, empty when it cannot be reached.
std::vector<std::string> AskVpnSide(Net& net, const std::string& url) {
  std::vector<std::string> lines;
  auto session = net.OpenSession("vexo-sim");
  if (!session) return lines;
  auto answer = session->OpenUrl(url);
  std::string body;
  if (answer) {
    char buffer[1024];
    long n = 0;
    while ((n = answer->Read(buffer, sizeof buffer)) > 0) body.append(buffer, n);
  }
  answer.reset();
  session->Close();
  std::size_t start = 0;
  while (start < body.size()) {
    std::size_t end = body.find('\n', start);
    if (end == std::string::npos) end = body.size();
    std::string line = body.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
    start = end + 1;
  }
  return lines;
}

}  // namespace

struct SimRas::State {
  struct Connection {
    RasConnHandle handle = 0;
    std::string entry_name;
    std::string tunnel;   // the lab's tunnel id once open
    std::string adapter;  // the tunnel adapter's address once connected
    bool connected = false;
    bool outside = false;
  };

  std::mutex mutex;
  std::condition_variable idle;
  Os* os = nullptr;
  Net* net = nullptr;
  std::string vpn_host;
  std::vector<RasDevice> devices;
  std::vector<std::vector<std::string>> base_adapters;
  unsigned step_delay_ms = 150;
  std::vector<Connection> connections;
  std::vector<RasConnHandle> hung_up;
  std::vector<std::pair<unsigned, unsigned long>> reported;
  RasConnHandle next_handle = 0x1000;
  int dials_running = 0;

  void Defaults() {
    devices = {{"modem", "Standard Modem"},
               {"vpn", "WAN Miniport (L2TP)"},
               {"vpn", "WAN Miniport (PPTP)"}};
    base_adapters = {{"192.168.0.10"}};
    step_delay_ms = 150;  // a dial takes about a second, as a real one does
    connections.clear();
    hung_up.clear();
    reported.clear();
  }

  std::string Host() {
    if (!vpn_host.empty()) return vpn_host;
    const std::string path = os->CurrentDirectory() + "\\Vexovpn.ini";
    return os->GetProfileString("SERVER", "api", "", 256, path);
  }

  // Takes the connection out of the list; its tunnel id, or nothing when
  // there was no such connection. Under the lock.
  bool Remove(RasConnHandle handle, std::string& tunnel) {
    Connection* c = Find(handle);
    if (c == nullptr) return false;
    tunnel = c->tunnel;
    connections.erase(std::remove_if(connections.begin(), connections.end(),
                                     [&](const Connection& x) { return x.handle == handle; }),
                      connections.end());
    return true;
  }

  Connection* Find(RasConnHandle handle) {
    for (Connection& c : connections) {
      if (c.handle == handle) return &c;
    }
    return nullptr;
  }

  // Connections whose tunnel the lab no longer holds are gone, as after a
  // cut line. Called without the lock.
  void ForgetDropped() {
    std::vector<std::pair<RasConnHandle, std::string>> open;
    std::string host;
    {
      std::lock_guard<std::mutex> lock(mutex);
      for (const Connection& c : connections) {
        if (c.connected && !c.outside) open.emplace_back(c.handle, c.tunnel);
      }
      if (open.empty()) return;
      host = Host();
    }
    for (const auto& [handle, tunnel] : open) {
      std::string url = "http://" + host;
      url += "/VPN/status?tunnel=";
      url += tunnel;
      const auto lines = AskVpnSide(*net, url);
      if (!lines.empty() && lines[0] == "DOWN") {
        std::lock_guard<std::mutex> lock(mutex);
        std::string unused;
        Remove(handle, unused);
      }
    }
  }
};

SimRas::SimRas() : state_(new State) {
  state_->os = &SystemOs();
  state_->net = &SystemNet();
  state_->Defaults();
}

SimRas::~SimRas() {
  WaitForDials();
  delete state_;
}

void SimRas::Configure(Os& os, Net& net, const std::string& vpn_host) {
  std::lock_guard<std::mutex> lock(state_->mutex);
  state_->os = &os;
  state_->net = &net;
  state_->vpn_host = vpn_host;
}

void SimRas::SetDevices(std::vector<RasDevice> devices) {
  std::lock_guard<std::mutex> lock(state_->mutex);
  state_->devices = std::move(devices);
}

void SimRas::SetBaseAdapters(std::vector<std::vector<std::string>> adapters) {
  std::lock_guard<std::mutex> lock(state_->mutex);
  state_->base_adapters = std::move(adapters);
}

void SimRas::SetStepDelay(unsigned milliseconds) {
  std::lock_guard<std::mutex> lock(state_->mutex);
  state_->step_delay_ms = milliseconds;
}

RasConnHandle SimRas::AddOutsideConnection(const std::string& entry_name) {
  std::lock_guard<std::mutex> lock(state_->mutex);
  State::Connection c;
  c.handle = ++state_->next_handle;
  c.entry_name = entry_name;
  c.connected = true;
  c.outside = true;
  state_->connections.push_back(c);
  return c.handle;
}

void SimRas::Drop(RasConnHandle handle) {
  std::string tunnel;
  std::string host;
  {
    std::lock_guard<std::mutex> lock(state_->mutex);
    if (!state_->Remove(handle, tunnel)) return;
    host = state_->Host();
  }
  if (!tunnel.empty()) AskVpnSide(*state_->net, "http://" + host + "/VPN/close?tunnel=" + tunnel);
}

void SimRas::WaitForDials() {
  std::unique_lock<std::mutex> lock(state_->mutex);
  state_->idle.wait(lock, [this] { return state_->dials_running == 0; });
}

std::vector<std::pair<unsigned, unsigned long>> SimRas::Reported() const {
  std::lock_guard<std::mutex> lock(state_->mutex);
  return state_->reported;
}

std::vector<RasConnHandle> SimRas::HungUp() const {
  std::lock_guard<std::mutex> lock(state_->mutex);
  return state_->hung_up;
}

void SimRas::Reset() {
  WaitForDials();
  std::lock_guard<std::mutex> lock(state_->mutex);
  state_->Defaults();
  state_->vpn_host.clear();
  state_->os = &SystemOs();
  state_->net = &SystemNet();
}

std::string SimRas::PhonebookPath() {
  std::lock_guard<std::mutex> lock(state_->mutex);
  return state_->os->CurrentDirectory() + "\\Vexovpn-sim.pbk";
}

bool SimRas::EnumDevices(std::vector<RasDevice>& devices) {
  std::lock_guard<std::mutex> lock(state_->mutex);
  devices = state_->devices;
  return true;
}

unsigned long SimRas::ValidateEntryName(const std::string& entry_name) {
  const std::string path = PhonebookPath();
  const std::string missing = "\x01";
  const std::string type =
      state_->os->GetProfileString(entry_name, "DeviceType", missing, 64, path);
  return type == missing ? 0 : kRasErrorAlreadyExists;
}

unsigned long SimRas::SetEntryProperties(const std::string& entry_name, const RasEntryFields& e) {
  const std::string path = PhonebookPath();
  Os& os = *state_->os;
  auto ip = [](const std::uint8_t(&a)[4]) {
    return std::to_string(a[0]) + "." + std::to_string(a[1]) + "." + std::to_string(a[2]) + "." +
           std::to_string(a[3]);
  };
  const std::pair<const char*, std::string> values[] = {
      {"Options", std::to_string(e.options)},
      {"PhoneNumber", e.local_phone_number},
      {"Dns", ip(e.dns)},
      {"DnsAlt", ip(e.dns_alt)},
      {"NetProtocols", std::to_string(e.net_protocols)},
      {"FramingProtocol", std::to_string(e.framing_protocol)},
      {"DeviceName", e.device_name},
      {"Type", std::to_string(e.type)},
      {"EncryptionType", std::to_string(e.encryption_type)},
      {"VpnStrategy", std::to_string(e.vpn_strategy)},
      {"DeviceType", e.device_type},  // last: its presence marks a whole entry
  };
  for (const auto& [key, value] : values) {
    if (!os.WriteProfileString(entry_name, key, value, path)) return 5;  // access denied
  }
  return 0;
}

unsigned long SimRas::Dial(const RasDialFields& fields, RasDialCallback callback,
                           RasConnHandle& handle) {
  if (ValidateEntryName(fields.entry_name) != kRasErrorAlreadyExists) {
    handle = 0;
    return kRasErrorCannotFindEntry;
  }
  std::string host;
  unsigned delay = 0;
  {
    std::lock_guard<std::mutex> lock(state_->mutex);
    State::Connection c;
    c.handle = ++state_->next_handle;
    c.entry_name = fields.entry_name;
    state_->connections.push_back(c);
    handle = c.handle;
    ++state_->dials_running;
    host = state_->Host();
    delay = state_->step_delay_ms;
  }
  const RasConnHandle mine = handle;
  State* s = state_;
  std::thread([s, mine, fields, callback, host, delay] {
    // Each state after a pause; false once the connection was hung up.
    auto step = [&](unsigned state, unsigned long error) {
      std::this_thread::sleep_for(std::chrono::milliseconds(delay));
      {
        std::lock_guard<std::mutex> lock(s->mutex);
        if (s->Find(mine) == nullptr) return false;
        std::string unused;
        if (error != 0) s->Remove(mine, unused);
        s->reported.emplace_back(state, error);
      }
      callback(kDialEvent, state, error);
      return error == 0;
    };
    [&] {
      if (!step(kOpenPort, 0) || !step(kPortOpened, 0)) return;
      const auto lines =
          AskVpnSide(*s->net, "http://" + host + "/VPN/open?server=" + Encode(fields.phone_number) +
                                  "&user=" + Encode(fields.user_name) +
                                  "&password=" + Encode(fields.password));
      const std::string verdict = lines.empty() ? "UNREACHABLE" : lines[0];
      if (verdict == "UNREACHABLE" || (verdict != "OK" && verdict != "REFUSED")) {
        step(kConnectDevice, kRasErrorVpnFailed);
        return;
      }
      if (!step(kConnectDevice, 0) || !step(kDeviceConnected, 0) ||
          !step(kAllDevicesConnected, 0)) {
        return;
      }
      if (verdict == "REFUSED" || lines.size() < 4) {
        step(kAuthenticate, kRasErrorAuthenticationFailure);
        return;
      }
      if (!step(kAuthenticate, 0) || !step(kAuthenticated, 0)) {
        AskVpnSide(*s->net, "http://" + host + "/VPN/close?tunnel=" + lines[1]);
        return;
      }
      {
        std::lock_guard<std::mutex> lock(s->mutex);
        State::Connection* c = s->Find(mine);
        if (c == nullptr) return;
        c->tunnel = lines[1];
        c->adapter = lines[2];
        c->connected = true;
        s->reported.emplace_back(kConnected, 0);
      }
      callback(kDialEvent, kConnected, 0);
    }();
    std::lock_guard<std::mutex> lock(s->mutex);
    --s->dials_running;
    s->idle.notify_all();
  }).detach();
  return 0;
}

unsigned long SimRas::HangUp(RasConnHandle handle) {
  std::string tunnel;
  std::string host;
  {
    std::lock_guard<std::mutex> lock(state_->mutex);
    state_->hung_up.push_back(handle);
    if (!state_->Remove(handle, tunnel)) return kRasErrorInvalidHandle;
    host = state_->Host();
  }
  if (!tunnel.empty()) AskVpnSide(*state_->net, "http://" + host + "/VPN/close?tunnel=" + tunnel);
  return 0;
}

bool SimRas::EnumConnections(std::vector<RasConnection>& connections) {
  state_->ForgetDropped();
  std::lock_guard<std::mutex> lock(state_->mutex);
  connections.clear();
  for (const State::Connection& c : state_->connections) {
    connections.push_back({c.handle, c.entry_name});
  }
  return true;
}

bool SimRas::ErrorString(unsigned long code, std::string& text) {
  static const std::map<unsigned long, std::string> kTexts = {
      {kRasErrorInvalidHandle, "The handle is invalid."},
      {kRasErrorCannotFindEntry,
       "The system could not find the phone book entry for this connection."},
      {kRasErrorAuthenticationFailure,
       "The remote connection was denied because the user name and password combination you "
       "provided is not recognized, or the selected authentication protocol is not permitted "
       "on the remote access server."},
      {kRasErrorVpnFailed,
       "The remote connection was not made because the attempted VPN "
       "tunnels failed. The VPN server might be unreachable."},
  };
  const auto it = kTexts.find(code);
  if (it == kTexts.end()) return false;
  text = it->second;
  return true;
}

bool SimRas::FirstAdapterAddresses(std::vector<std::string>& addresses) {
  state_->ForgetDropped();
  std::lock_guard<std::mutex> lock(state_->mutex);
  addresses.clear();
  for (const auto& adapter : state_->base_adapters) {
    addresses.push_back(adapter.empty() ? "0.0.0.0" : adapter.front());
  }
  for (const State::Connection& c : state_->connections) {
    if (c.connected && !c.adapter.empty()) addresses.push_back(c.adapter);
  }
  return true;
}

SimRas& TheSimRas() {
  static SimRas* ras = new SimRas;  // dial threads may outlive static destruction
  return *ras;
}

}  // namespace vexo::platform::sim

namespace vexo::platform {

RasApi& SystemRas() { return sim::TheSimRas(); }

}  // namespace vexo::platform
