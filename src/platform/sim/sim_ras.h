// A simulated Remote Access Service and adapter table for the host build and
// the lab build: VPN devices, a phonebook kept in a file beside the settings
// file, an asynchronous dial that reports the real state sequence through
// its callback on a thread of its own and authenticates at the lab's VPN
// side, active connections, hang-up, and the tunnel adapter's address while
// connected.
#pragma once

#include <string>
#include <vector>

#include "platform/net.h"
#include "platform/os.h"
#include "platform/rasapi.h"

namespace vexo::platform::sim {

class SimRas : public RasApi {
 public:
  SimRas();
  ~SimRas() override;

  // --- what tests and the lab build set up
  // The services the simulation uses: the phonebook file lives in `os`'s
  // current directory; the VPN side is reached through `net` at the host
  // the settings file names (section SERVER, key api) unless `vpn_host` is
  // given.
  void Configure(Os& os, Net& net, const std::string& vpn_host = "");
  void SetDevices(std::vector<RasDevice> devices);
  // Adapters other than the tunnels, each with its addresses in order.
  void SetBaseAdapters(std::vector<std::vector<std::string>> adapters);
  // Real time between two dial states.
  void SetStepDelay(unsigned milliseconds);
  // A connection of `entry_name` made outside the client; its handle.
  RasConnHandle AddOutsideConnection(const std::string& entry_name);
  // Cuts the connection as a broken line does: no dial event follows.
  void Drop(RasConnHandle handle);
  // Waits until no dial runs.
  void WaitForDials();
  // The handles hung up so far, oldest first.
  std::vector<RasConnHandle> HungUp() const;
  // The (state, error) pairs the dials reported through their callbacks.
  std::vector<std::pair<unsigned, unsigned long>> Reported() const;
  // Back to the defaults; the phonebook file is left alone.
  void Reset();

  // --- RasApi
  bool EnumDevices(std::vector<RasDevice>& devices) override;
  unsigned long ValidateEntryName(const std::string& entry_name) override;
  unsigned long SetEntryProperties(const std::string& entry_name,
                                   const RasEntryFields& entry) override;
  unsigned long Dial(const RasDialFields& fields, RasDialCallback callback,
                     RasConnHandle& handle) override;
  unsigned long HangUp(RasConnHandle handle) override;
  bool EnumConnections(std::vector<RasConnection>& connections) override;
  bool ErrorString(unsigned long code, std::string& text) override;
  bool FirstAdapterAddresses(std::vector<std::string>& addresses) override;

  // The phonebook file of the current directory.
  std::string PhonebookPath();

 private:
  struct State;
  State* state_;
};

// The simulation behind SystemRas() in builds that carry it.
SimRas& TheSimRas();

}  // namespace vexo::platform::sim
