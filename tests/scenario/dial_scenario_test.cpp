// The connection layer of a product window: the dial routine, its events,
// hang-up and the tunnel check. Against the simulated RAS and the lab's VPN
// side on the host and on real windows under Wine (VEXO_SIM_RAS), and against
// the real rasapi32 under Wine.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "fixed/main_dlg.h"
#include "res/resource_ids.h"
#include "support/client_fixture.h"

#if VEXO_SIM_RAS
#include "platform/net.h"
#include "platform/sim/sim_ras.h"
#endif

namespace {

namespace res = vexo::res;
using vexo::test::ClientFixture;
using vexo::test::LabControl;

class DialScenario : public ClientFixture {
 protected:
  void SetUp() override {
    ClientFixture::SetUp();
#if VEXO_SIM_RAS
    Sim().Reset();
    Sim().Configure(os_, vexo::platform::SystemNet(), LabControl::Address());
    Sim().SetStepDelay(2);
#endif
    StartClient();
    driver().Type(res::kLoginDialog, res::kIdEdit, "kim");
    driver().Type(res::kLoginDialog, res::kPasswordEdit, "pw1");
    driver().Click(res::kLoginDialog, res::kLoginButton);
    ASSERT_TRUE(Idle());
    ASSERT_TRUE(Visible(res::kFixedDialog));
  }
  void TearDown() override {
    ClientFixture::TearDown();
#if VEXO_SIM_RAS
    Sim().Reset();
#endif
  }

  // Runs `call` with the fixed window on the UI thread.
  void OnFixed(const std::function<void(CMainDlg&)>& call) {
    driver().Inspect(res::kFixedDialog,
                     [&](vexo::ui::Window& w) { call(dynamic_cast<CMainDlg&>(w.Events())); });
  }

  // The dial routine of the contract row, on its worker, to the end.
  void Dial(const std::string& server, const std::string& user, const std::string& password,
            const std::string& entry = "Vexo-L2TP") {
    OnFixed([&](CMainDlg& w) {
      w.m_strEntryName = entry;
      w.m_strServer = server;
      w.m_strVpnUser = user;
      w.m_strVpnPwd = password;
      w.m_strCurIp = "203.0.113.10";
      w.StartDialWorker();
    });
    Settle();
  }

  void Settle() {
    ASSERT_TRUE(Idle());
#if VEXO_SIM_RAS
    Sim().WaitForDials();
#endif
    ASSERT_TRUE(Idle());
  }

  std::string Status() { return Text(res::kFixedDialog, res::kStatusLine); }

  bool TunnelUp() {
    bool up = false;
    OnFixed([&](CMainDlg& w) { up = w.IsTunnelUp(); });
    return up;
  }

#if VEXO_SIM_RAS
  static vexo::platform::sim::SimRas& Sim() { return vexo::platform::sim::TheSimRas(); }
#endif
};

#if VEXO_SIM_RAS

TEST_F(DialScenario, DialConnectsThroughTheLabAndTheTunnelIsSeen) {
  EXPECT_FALSE(TunnelUp());
  Dial("fix-a.lab", "r10", "p10");
  using Event = std::pair<unsigned, unsigned long>;
  EXPECT_EQ(
      Sim().Reported(),
      (std::vector<Event>{{0, 0}, {1, 0}, {2, 0}, {3, 0}, {4, 0}, {5, 0}, {14, 0}, {0x2000, 0}}));
  EXPECT_EQ(Status(), "Connect to remote server successfully!\nPlease wait...");
  EXPECT_TRUE(TunnelUp());
  EXPECT_EQ(LabControl::Control("tunnels"), "t1\tfix-a.lab\t203.0.113.10\t203.0.113.10\n");
  std::string device;
  vexo::platform::RasConnHandle handle = 0;
  OnFixed([&](CMainDlg& w) {
    device = w.m_strDevice;
    handle = w.m_hRasConn;
  });
  EXPECT_EQ(device, "WAN Miniport (L2TP)");
  EXPECT_NE(handle, 0u);

  // The entry is in the phonebook beside the settings, with every field.
  const std::string pbk = vexo::test::ReadFileBytes(dir_.File("Vexovpn-sim.pbk"));
  for (const char* field :
       {"[Vexo-L2TP]", "Options=4120", "PhoneNumber=fix-a.lab", "Dns=8.8.8.8", "DnsAlt=1.1.1.1",
        "NetProtocols=4", "FramingProtocol=1", "DeviceName=WAN Miniport (L2TP)", "Type=2",
        "EncryptionType=3", "VpnStrategy=3", "DeviceType=vpn"}) {
    EXPECT_NE(pbk.find(field), std::string::npos) << field << " in\n" << pbk;
  }

  // A cut line: the connection and the address go, without any dial event.
  LabControl::Control("drop_tunnel?tunnel=t1");
  EXPECT_FALSE(TunnelUp());
  EXPECT_EQ(Status(), "Connect to remote server successfully!\nPlease wait...");
}

TEST_F(DialScenario, FailuresKeepTheStateTextAndSayWhy) {
  struct Case {
    const char* server;
    const char* password;
    std::string status;
  };
  std::string denied;
  std::string unreachable;
  Sim().ErrorString(691, denied);
  Sim().ErrorString(800, unreachable);
  const Case cases[] = {
      {"fix-a.lab", "wrong", "Verifying the user name and password...\n" + denied},
      {"nowhere.lab", "p10", "Connecting to the device...\n" + unreachable},
  };
  for (const Case& c : cases) {
    Dial(c.server, "r10", c.password);
    EXPECT_EQ(Status(), c.status) << c.server;
    EXPECT_FALSE(TunnelUp());
  }
  // The refused dial ended at the authentication, the unreachable one at the
  // device.
  using Event = std::pair<unsigned, unsigned long>;
  const std::vector<Event> expected = {{0, 0},   {1, 0}, {2, 0}, {3, 0},  {4, 0},
                                       {5, 691}, {0, 0}, {1, 0}, {2, 800}};
  EXPECT_EQ(Sim().Reported(), expected);
  // A code the system has no text for.
  OnFixed([](CMainDlg& w) { w.OnRasDialEvent(5, 12345); });
  EXPECT_EQ(Status(), "Verifying the user name and password...\nUnknow ras error.");
}

TEST_F(DialScenario, UnlistedStateKeepsTheTextAndTheNoticeShowsOnce) {
  OnFixed([](CMainDlg& w) {
    w.OnRasDialEvent(2, 0);
    w.OnRasDialEvent(24, 0);
  });
  EXPECT_EQ(Status(), "Connecting to the device...");
  OnFixed([](CMainDlg& w) {
    w.m_bHangUpAsked = 1;
    w.OnRasDialEvent(0x2001, 0);
  });
  EXPECT_EQ(Status(), "Vexo 연결이 끊어졌습니다.");
  OnFixed([](CMainDlg& w) { w.OnRasDialEvent(0, 0); });
  EXPECT_EQ(Status(), "Opening the port...");
}

TEST_F(DialScenario, RefusalsOfTheDialRoutine) {
  Sim().SetDevices({{"modem", "Standard Modem"}});
  Dial("fix-a.lab", "r10", "p10");
  EXPECT_EQ(Status(), "연결장치를 찾을 수 없습니다.");
  EXPECT_EQ(vexo::test::ReadFileBytes(dir_.File("Vexovpn-sim.pbk")), "<missing>")
      << "no entry written";

  Sim().SetDevices({{"vpn", "WAN Miniport (L2TP)"}});
  Dial(std::string(129, 'a'), "r10", "p10");
  EXPECT_EQ(Status(), "서버 주소가 너무 길어 연결할 수 없습니다.");
  EXPECT_EQ(vexo::test::ReadFileBytes(dir_.File("Vexovpn-sim.pbk")), "<missing>");

  // The entry still listed as connected (a name differing in case only is
  // found by this lookup, not by the client's own).
  Sim().AddOutsideConnection("vexo-l2tp");
  Dial("fix-a.lab", "r10", "p10");
  EXPECT_EQ(Status(), "접속 엔트리를 가져오는데 실패하였습니다.");
  EXPECT_TRUE(Sim().HungUp().empty()) << "not the client's own: not hung up";
  EXPECT_EQ(LabControl::Control("tunnels"), "\n") << "nothing dialed";
}

TEST_F(DialScenario, HangUpTakesTheHandleOrTheLastOwnConnection) {
  // No handle yet: of two own connections the last listed goes.
  Sim().AddOutsideConnection("Vexo-L2TP");
  const auto last = Sim().AddOutsideConnection("Vexo-PPTP");
  OnFixed([](CMainDlg& w) { w.StartHangUpWorker(); });
  Settle();
  ASSERT_FALSE(Sim().HungUp().empty());
  EXPECT_EQ(Sim().HungUp().back(), last);

  // After a dial the handle stays set, and the next dial hangs it up first.
  Sim().Reset();
  Sim().Configure(os_, vexo::platform::SystemNet(), LabControl::Address());
  Sim().SetStepDelay(2);
  Dial("fix-a.lab", "r10", "p10");
  vexo::platform::RasConnHandle first = 0;
  OnFixed([&](CMainDlg& w) { first = w.m_hRasConn; });
  Dial("fix-a.lab", "r10", "p10", "Vexo-PPTP");
  ASSERT_FALSE(Sim().HungUp().empty());
  EXPECT_EQ(Sim().HungUp().front(), first);
  const std::string pbk = vexo::test::ReadFileBytes(dir_.File("Vexovpn-sim.pbk"));
  EXPECT_NE(pbk.find("[Vexo-L2TP]"), std::string::npos);
  EXPECT_NE(pbk.find("[Vexo-PPTP]"), std::string::npos) << "both entries side by side";
  EXPECT_EQ(Status(), "Connect to remote server successfully!\nPlease wait...");
}

TEST_F(DialScenario, ExistingEntryIsNotRewritten) {
  Dial("fix-a.lab", "r10", "p10");
  Sim().SetDevices({{"vpn", "Another VPN"}});
  Dial("fix-a.lab", "r10", "p10");
  const std::string pbk = vexo::test::ReadFileBytes(dir_.File("Vexovpn-sim.pbk"));
  EXPECT_NE(pbk.find("DeviceName=WAN Miniport (L2TP)"), std::string::npos) << pbk;
  EXPECT_EQ(pbk.find("Another VPN"), std::string::npos);
}

TEST_F(DialScenario, TunnelCheckSeesFirstAddressesOnly) {
  Sim().SetBaseAdapters({{"192.168.0.10", "203.0.113.10"}});
  OnFixed([](CMainDlg& w) { w.m_strCurIp = "203.0.113.10"; });
  EXPECT_FALSE(TunnelUp());
  Sim().SetBaseAdapters({{"203.0.113.10"}});
  EXPECT_TRUE(TunnelUp());
}

#else

TEST_F(DialScenario, RealRasHasNoVpnDeviceAndNothingIsDialed) {
  Dial("fix-a.lab", "r10", "p10");
  EXPECT_EQ(Status(), "연결장치를 찾을 수 없습니다.");
  std::string device;
  OnFixed([&](CMainDlg& w) { device = w.m_strDevice; });
  EXPECT_EQ(device, "none");
  EXPECT_EQ(LabControl::Control("tunnels"), "\n") << "nothing dialed";
  // The real adapter list is read: no adapter holds the contract's address.
  EXPECT_FALSE(TunnelUp());
}

#endif

}  // namespace
