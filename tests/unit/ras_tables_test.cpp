// Device choice, entry fields, state texts and connection lookups, against
// an in-memory RAS.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "ras/ras_connection.h"
#include "ras/vpn_device.h"

namespace {

using vexo::platform::RasConnection;
using vexo::platform::RasDevice;
using vexo::platform::RasEntryFields;

class FakeRas : public vexo::platform::RasApi {
 public:
  bool EnumDevices(std::vector<RasDevice>& out) override {
    out = devices;
    return readable;
  }
  unsigned long ValidateEntryName(const std::string& name) override {
    return entries.count(name) ? 183 : 0;
  }
  unsigned long SetEntryProperties(const std::string& name, const RasEntryFields& e) override {
    if (write_error != 0) return write_error;
    entries[name] = e;
    return 0;
  }
  unsigned long Dial(const vexo::platform::RasDialFields&, vexo::platform::RasDialCallback,
                     vexo::platform::RasConnHandle&) override {
    return 0;
  }
  unsigned long HangUp(vexo::platform::RasConnHandle) override { return 0; }
  bool EnumConnections(std::vector<RasConnection>& out) override {
    out = connections;
    return true;
  }
  bool ErrorString(unsigned long, std::string&) override { return false; }
  bool FirstAdapterAddresses(std::vector<std::string>& out) override {
    out = adapters;
    return true;
  }

  std::vector<RasDevice> devices;
  bool readable = true;
  std::map<std::string, RasEntryFields> entries;
  unsigned long write_error = 0;
  std::vector<RasConnection> connections;
  std::vector<std::string> adapters;
};

TEST(RasTablesTest, DeviceChoice) {
  const RasDevice l2tp{"vpn", "WAN Miniport (L2TP)"};
  const RasDevice pptp{"vpn", "WAN Miniport (PPTP)"};
  struct Case {
    const char* name;
    std::vector<RasDevice> devices;
    const char* entry;
    int count;
    const char* chosen;
  };
  const Case cases[] = {
      {"no vpn device", {{"modem", "Modem (L2TP)"}}, "Vexo-L2TP", 0, "none"},
      {"type in capitals counts", {{"VPN", "Tunnel L2TP"}}, "Vexo-L2TP", 1, "Tunnel L2TP"},
      {"lower-case vpn in a name is no match", {{"vpn", "my vpn box"}}, "Vexo-PPTP", 1, "none"},
      {"L2TP dial passes a PPTP device", {pptp, l2tp}, "Vexo-L2TP", 2, "WAN Miniport (L2TP)"},
      {"PPTP dial takes the first", {pptp, l2tp}, "Vexo-PPTP", 2, "WAN Miniport (PPTP)"},
      {"a VPN name first wins for L2TP", {{"vpn", "Corp VPN"}, l2tp}, "Vexo-L2TP", 2, "Corp VPN"},
      {"a VPN name first wins for PPTP", {{"vpn", "Corp VPN"}, pptp}, "Vexo-PPTP", 2, "Corp VPN"},
      {"protocol word is case-sensitive", {{"vpn", "wan l2tp"}}, "Vexo-L2TP", 1, "none"},
  };
  for (const Case& c : cases) {
    FakeRas ras;
    ras.devices = c.devices;
    bool readable = false;
    EXPECT_EQ(vexo::CountVpnDevices(ras), c.count) << c.name;
    EXPECT_EQ(vexo::ChooseVpnDevice(ras, c.entry, readable), c.chosen) << c.name;
    EXPECT_EQ(readable, c.count > 0) << c.name;
  }
  FakeRas broken;
  broken.readable = false;
  bool readable = true;
  EXPECT_EQ(vexo::CountVpnDevices(broken), -1);
  EXPECT_EQ(vexo::ChooseVpnDevice(broken, "Vexo-L2TP", readable), "none");
  EXPECT_FALSE(readable);
}

TEST(RasTablesTest, EntryFieldsAndTheExistingEntry) {
  FakeRas ras;
  ASSERT_EQ(vexo::CreateVpnEntry(ras, "Vexo-L2TP", "vpn", "WAN Miniport (L2TP)", vexo::kRasNpIp,
                                 vexo::kRasFpPpp, "fix-a.lab"),
            0u);
  const RasEntryFields& e = ras.entries.at("Vexo-L2TP");
  EXPECT_EQ(e.options, 0x1018u);
  EXPECT_EQ(e.local_phone_number, "fix-a.lab");
  EXPECT_EQ(e.net_protocols, 4u);
  EXPECT_EQ(e.framing_protocol, 1u);
  EXPECT_EQ(e.device_type, "vpn");
  EXPECT_EQ(e.device_name, "WAN Miniport (L2TP)");
  EXPECT_EQ(e.type, 2u);
  EXPECT_EQ(e.encryption_type, 3u);
  EXPECT_EQ(e.vpn_strategy, 3u);
  EXPECT_EQ(e.dns[0], 8);
  EXPECT_EQ(e.dns_alt[0], 1);

  // An existing entry is used as it is.
  EXPECT_EQ(vexo::CreateVpnEntry(ras, "Vexo-L2TP", "vpn", "Other device", 4, 1, "other.lab"), 183u);
  EXPECT_EQ(ras.entries.at("Vexo-L2TP").device_name, "WAN Miniport (L2TP)");
  // The other protocol's entry stands beside it.
  ASSERT_EQ(vexo::CreateVpnEntry(ras, "Vexo-PPTP", "vpn", "WAN Miniport (PPTP)", 4, 1, "x"), 0u);
  EXPECT_EQ(ras.entries.at("Vexo-PPTP").vpn_strategy, 1u);
  EXPECT_EQ(ras.entries.size(), 2u);
  ras.write_error = 5;
  EXPECT_EQ(vexo::CreateVpnEntry(ras, "Vexo-New", "vpn", "d", 4, 1, "x"), 5u);
}

TEST(RasTablesTest, StateTexts) {
  struct Case {
    unsigned state;
    const char* text;
    bool connected;
  };
  const Case cases[] = {
      {0, "Opening the port...", false},
      {5, "Verifying the user name and password...", false},
      {13, "Reauthentication (after callback) is starting. ", false},
      {14, "The client has successfully completed authentication.", false},
      {0x1003, "Change password state supported by RASPHONE.EXE.", false},
      {0x2000, "Connect to remote server successfully!\nPlease wait...", true},
      {0x2001, "Disconnected", false},
  };
  for (const Case& c : cases) {
    std::string text = "before";
    bool connected = !c.connected;
    vexo::GetRasStateText(c.state, text, connected);
    EXPECT_EQ(text, c.text) << c.state;
    EXPECT_EQ(connected, c.connected) << c.state;
  }
  for (unsigned unlisted : {24u, 0x1004u, 0x2002u}) {
    std::string text = "previous";
    bool connected = true;
    vexo::GetRasStateText(unlisted, text, connected);
    EXPECT_EQ(text, "previous") << unlisted;
    EXPECT_FALSE(connected);
  }
}

TEST(RasTablesTest, ConnectionLookupsAndTheTunnelCheck) {
  FakeRas ras;
  vexo::platform::RasConnHandle h = 0;
  EXPECT_FALSE(vexo::FindOwnRasConnection(ras, &h));
  ras.connections = {{11, "Vexo-L2TP"}, {12, "Other"}, {13, "Vexo-PPTP"}, {14, "vexo-l2tp"}};
  ASSERT_TRUE(vexo::FindOwnRasConnection(ras, &h));
  EXPECT_EQ(h, 13u) << "exact names; the last listed wins";
  ASSERT_TRUE(vexo::FindRasConnection(ras, "Vexo-L2TP", &h));
  EXPECT_EQ(h, 14u) << "without case; the last listed wins";
  EXPECT_FALSE(vexo::FindRasConnection(ras, "Vexo-L2T", &h));

  ras.adapters = {"192.168.0.10", "10.77.0.2"};
  EXPECT_TRUE(vexo::IsTunnelUp(ras, "10.77.0.2"));
  EXPECT_FALSE(vexo::IsTunnelUp(ras, "10.77.0.20"));
  EXPECT_FALSE(vexo::IsTunnelUp(ras, ""));
}

}  // namespace
