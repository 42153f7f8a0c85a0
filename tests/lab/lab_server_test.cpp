// The lab over HTTP: decoding, the log, every fault, malformed requests and
// a load of concurrent clients.
#include "lab_server.h"

#include <gtest/gtest.h>
#include <httplib.h>

#include <atomic>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "lab_data.h"
#include "lab_fixture.h"

namespace {

using vexo::lab::FaultKind;

class LabServerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    server_ = std::make_unique<vexo::lab::LabServer>(vexo::test::LabFixture());
    port_ = server_->StartInBackground(0);
    ASSERT_GT(port_, 0);
  }
  void TearDown() override { server_->Stop(); }

  std::unique_ptr<httplib::Client> Client() {
    auto client = std::make_unique<httplib::Client>("127.0.0.1", port_);
    client->set_url_encode(false);  // the target goes out byte for byte
    client->set_read_timeout(20, 0);
    return client;
  }

  // GET `target`: the body, "<status N>" for another status, "<error>" when
  // no answer arrived.
  std::string Get(const std::string& target) {
    auto result = Client()->Get(target);
    if (!result) return "<error>";
    if (result->status != 200) return "<status " + std::to_string(result->status) + ">";
    return result->body;
  }

  std::unique_ptr<vexo::lab::LabServer> server_;
  int port_ = 0;
};

const std::string kFixedLogin = "/API/VS_LOGIN/?id=kim&pwd=" + vexo::lab::Md5Hex("pw1") +
                                "&s_flag=Vs&pc=PC1&v_num=AB&rnd=1"
                                "&c_ver=V1.0";

TEST_F(LabServerTest, DecodesValuesAndLogsRequestsAsReceived) {
  // The id "a&b =#%+é" percent-encoded; é is sent as its raw UTF-8 bytes too.
  const std::string encoded =
      "/API/VS_LOGIN/?id=a%26b%20%3D%23%25%2B%C3%A9&pwd=0cc175b9c0f1b6a831c399e269772661"
      "&s_flag=VsETC";
  EXPECT_EQ(Get(encoded), "TRUE\r\n");
  const std::string raw_bytes =
      "/API/VS_LOGIN/?id=a%26b%20%3D%23%25+\xc3\xa9&pwd=0cc175b9c0f1b6a831c399e269772661"
      "&s_flag=VsETC";
  EXPECT_EQ(Get(raw_bytes), "TRUE\r\n") << "raw bytes kept as bytes, '+' stays a plus";
  EXPECT_EQ(Get("/API/VS_LOGIN/?id=a&b&pwd=0cc175b9c0f1b6a831c399e269772661&s_flag=VsETC"),
            "FALSE\r\n")
      << "unencoded, the '&' cuts the id";
  EXPECT_EQ(Get("/API/MyIP"), "127.0.0.1\r\n");

  const auto log = server_->Log();
  ASSERT_EQ(log.size(), 4u);
  EXPECT_EQ(log[0].path, "/API/VS_LOGIN/");
  EXPECT_EQ(log[0].query, encoded.substr(encoded.find('?') + 1));
  EXPECT_EQ(log[1].query, raw_bytes.substr(raw_bytes.find('?') + 1));
  EXPECT_EQ(log[3].path, "/API/MyIP");
  EXPECT_EQ(log[3].query, "");
  EXPECT_EQ(Get("/control/log"), "/API/VS_LOGIN/\t" + log[0].query + "\n/API/VS_LOGIN/\t" +
                                     log[1].query + "\n/API/VS_LOGIN/\t" + log[2].query +
                                     "\n/API/MyIP\t\n");
  EXPECT_EQ(server_->Log().size(), 4u) << "the control API is not logged";
}

TEST_F(LabServerTest, EachFaultShapesTheAnswer) {
  struct Case {
    const char* kind;
    long value;
    std::string expected;  // body, "<status N>" or "<error>"
  };
  const Case cases[] = {
      {"http500", 0, "<status 500>"},
      {"delay", 30, "TRUE\r\n"},
      {"drip", 2, "TRUE\r\n"},
      {"cr", 0, "TRUE\r"},
      {"empty", 0, ""},
      {"close", 0, "<error>"},
      {"reset", 20, "<error>"},
  };
  for (const Case& c : cases) {
    server_->SetFault("VS_LOGIN", {vexo::lab::FaultKindFromName(c.kind), c.value});
    EXPECT_EQ(Get(kFixedLogin), c.expected) << c.kind;
  }
  server_->SetFault("VS_LOGIN", {FaultKind::kHtml, 0});
  EXPECT_NE(Get(kFixedLogin).find("<html>"), std::string::npos);
  server_->SetFault("VS_LOGIN", {FaultKind::kGarbage, 0});
  const std::string garbage = Get(kFixedLogin);
  EXPECT_EQ(garbage.size(), 4096u);
  EXPECT_NE(garbage.find('\0'), std::string::npos);
  server_->SetFault("VS_LOGIN", {FaultKind::kHuge, 0});
  const std::string huge = Get(kFixedLogin);
  EXPECT_EQ(huge.size(), (16u << 20) + 2 + 6);
  EXPECT_EQ(huge.substr(huge.size() - 8), "\r\nTRUE\r\n");

  EXPECT_EQ(Get("/API/MyIP"), "127.0.0.1\r\n") << "faults are per endpoint";
  EXPECT_EQ(Get("/control/fault?endpoint=VS_LOGIN&kind=nonsense"), "<status 404>");
  EXPECT_EQ(Get("/control/clear_faults?endpoint=VS_LOGIN"), "OK\r\n");
  EXPECT_EQ(Get(kFixedLogin), "TRUE\r\n");
  EXPECT_EQ(Get("/control/fault?endpoint=VS_LOGIN&kind=close"), "OK\r\n");
  EXPECT_EQ(Get(kFixedLogin), "<error>") << "set through the control API";
  EXPECT_EQ(server_->Log().back().path, "/API/VS_LOGIN/") << "a broken request is logged too";
}

TEST_F(LabServerTest, MalformedRequestsAreAnsweredAndTheServerStaysUp) {
  EXPECT_EQ(Get("/API/VS_LOGIN/"), "FALSE\r\n") << "no query";
  EXPECT_EQ(Get("/API/NO_SUCH/?id=x"), "<status 404>");
  EXPECT_EQ(Get("/nowhere"), "<status 404>");
  const std::string big = Get("/API/VS_LOGIN/?id=" + std::string(1u << 20, 'a'));
  EXPECT_NE(big, "<error>") << "a 1 MB query is answered";
  EXPECT_NE(Get("/API/VS_LOGIN/?id=\x01\x02\xff\x7f"), "<error>");
  EXPECT_EQ(Get("/control/end_contract?id=nobody"), "<status 404>");
  EXPECT_EQ(Get("/CS/Notice/").find("<!DOCTYPE html>"), 0u) << "the web pages";
  EXPECT_EQ(Get(kFixedLogin), "TRUE\r\n");
}

TEST_F(LabServerTest, ControlsChangeTheService) {
  EXPECT_EQ(Get("/control/set_in_use?ip=203.0.113.10&in_use=1"), "OK\r\n");
  EXPECT_NE(Get("/API/VS_CONTRACT_LIST/?id=kim&s_flag=Vs").find("1#CLEAN#203.0.113.10"),
            std::string::npos);
  EXPECT_EQ(Get("/control/add_notice?registered=2027-01-01%2000:00:00&title=x"), "OK\r\n");
  EXPECT_EQ(Get("/API/Notice/?reg_time=2026-12-31%2000:00:00"), "TRUE\r\n1\r\n");
  EXPECT_EQ(Get("/VPN/open?server=dyn-a1.lab&user=vd_kim&password=vd-pw"),
            "OK\r\nt1\r\n10.77.0.2\r\n211.45.10.11\r\n");
  EXPECT_EQ(Get("/control/tunnels"), "t1\tdyn-a1.lab\t10.77.0.2\t211.45.10.11\n");
  EXPECT_EQ(Get("/control/drop_tunnel?tunnel=t1"), "DROPPED 1\r\n");
  EXPECT_EQ(Get("/VPN/status?tunnel=t1"), "DOWN\r\n");
  EXPECT_EQ(Get("/control/end_contract?id=kim"), "OK\r\n");
  EXPECT_EQ(Get(kFixedLogin), "END\r\n");
}

TEST_F(LabServerTest, FiftyConcurrentClientsTwoThousandRequests) {
  constexpr int kClients = 50;
  constexpr int kEach = 40;
  std::atomic<int> answered{0};
  std::atomic<int> failed{0};
  std::vector<std::thread> clients;
  clients.reserve(kClients);
  for (int c = 0; c < kClients; ++c) {
    clients.emplace_back([&] {
      for (int i = 0; i < kEach; ++i) {
        httplib::Client client("127.0.0.1", port_);
        auto result = client.Get(kFixedLogin);
        if (result && result->status == 200 && result->body == "TRUE\r\n") {
          ++answered;
        } else {
          ++failed;
        }
      }
    });
  }
  for (auto& t : clients) t.join();
  EXPECT_EQ(answered.load(), kClients * kEach);
  EXPECT_EQ(failed.load(), 0);
  EXPECT_EQ(server_->Log().size(), static_cast<std::size_t>(kClients * kEach));
}

}  // namespace
