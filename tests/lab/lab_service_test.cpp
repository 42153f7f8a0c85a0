#include "lab_service.h"

#include <gtest/gtest.h>

#include <string>

#include "lab_data.h"
#include "lab_fixture.h"

namespace {

using vexo::lab::LabService;
using vexo::lab::ParseQuery;

const std::string kKimDigest = vexo::lab::Md5Hex("pw1");

std::string Body(LabService& s, const std::string& endpoint, const std::string& query,
                 const std::string& remote = "127.0.0.9") {
  return s.Api(endpoint, ParseQuery(query), remote).body;
}

std::string DynLogin(LabService& s, const std::string& pc, const std::string& force = "false") {
  return Body(s, "VD_LOGIN",
              "id=kim&pwd=" + kKimDigest + "&force=" + force + "&type=8&pc=" + pc +
                  "&v_num=AB12&rnd=1&c_ver=V1.0");
}

// The auth value of a dynamic login's answer "TRUE", expiry, auth.
std::string AuthOf(const std::string& answer) {
  const std::size_t second = answer.find("\r\n", answer.find("\r\n") + 2);
  return answer.substr(second + 2, answer.size() - second - 4);
}

std::string DynQuery(const std::string& auth, const std::string& extra = "") {
  return "id=kim" + extra + "&type=8&auth_flag=" + auth + "&pc=PC1&rnd=1&c_ver=V1.0";
}

TEST(LabServiceTest, LoginsAnswerByAccountProductAndContract) {
  struct Case {
    const char* endpoint;
    std::string query;
    std::string answer;
  };
  const std::string a = "&pc=PC1&v_num=AB&rnd=1&c_ver=V1.0";
  const Case cases[] = {
      {"VS_LOGIN", "id=kim&pwd=" + kKimDigest + "&s_flag=Vs" + a, "TRUE\r\n"},
      {"VS_LOGIN", "id=kim&pwd=" + kKimDigest + "&s_flag=VsKT" + a, "END\r\n"},     // no contract
      {"VS_LOGIN", "id=kim&pwd=" + kKimDigest + "&s_flag=VsETC" + a, "FALSE\r\n"},  // lacks it
      {"VS_LOGIN", "id=kim&pwd=0cc175b9c0f1b6a831c399e269772661&s_flag=Vs" + a, "FALSE\r\n"},
      {"VS_LOGIN", "id=nobody&pwd=" + kKimDigest + "&s_flag=Vs" + a, "FALSE\r\n"},
      {"VD_LOGIN", "id=kim&pwd=" + kKimDigest + "&force=false&type=9" + a, "FALSE\r\n"},
      {"VD_LOGIN", "id=kim&pwd=bad&force=false&type=8" + a, "FALSE\r\n"},
  };
  for (const Case& c : cases) {
    LabService service(vexo::test::LabFixture());
    EXPECT_EQ(Body(service, c.endpoint, c.query), c.answer) << c.endpoint << " " << c.query;
  }
  LabService service(vexo::test::LabFixture());
  const std::string ok = DynLogin(service, "PC1");
  EXPECT_EQ(ok.substr(0, 18), "TRUE\r\n2027-06-30\r\n");
  EXPECT_EQ(AuthOf(ok).size(), 16u);
  EXPECT_NE(AuthOf(DynLogin(service, "PC1")), AuthOf(ok)) << "every login a fresh auth value";
  ASSERT_TRUE(service.EndContract("kim"));
  EXPECT_EQ(DynLogin(service, "PC1"), "END\r\n");
  EXPECT_EQ(Body(service, "VS_LOGIN", "id=kim&pwd=" + kKimDigest + "&s_flag=Vs" + a), "END\r\n");
}

TEST(LabServiceTest, DuplicateLoginAndTakeOverAcrossTwoMachines) {
  LabService service(vexo::test::LabFixture());
  const std::string first = AuthOf(DynLogin(service, "PC1"));
  EXPECT_EQ(DynLogin(service, "PC2"), "DUP\r\n");
  EXPECT_EQ(Body(service, "VD_IPLIST", DynQuery(first)).substr(0, 6), "TRUE\r\n")
      << "a refused duplicate changes nothing";
  const std::string second = AuthOf(DynLogin(service, "PC2", "true"));
  ASSERT_EQ(second.size(), 16u);
  for (const char* endpoint : {"VD_IPLIST", "VD_LOGIN_CHK"}) {
    EXPECT_EQ(Body(service, endpoint, DynQuery(first)), "FORCE\r\n") << endpoint;
    EXPECT_EQ(Body(service, endpoint, DynQuery(second)).substr(0, 6), "TRUE\r\n") << endpoint;
  }
  EXPECT_EQ(Body(service, "VD_SET_IPADDR", DynQuery(first, "&ip=211.45.10.11")), "FORCE\r\n");
  EXPECT_EQ(Body(service, "VD_SET_IPADDR", DynQuery(second, "&ip=211.45.10.11")), "TRUE\r\n");

  ASSERT_TRUE(service.TakeOver("kim"));  // from the control API
  EXPECT_EQ(Body(service, "VD_LOGIN_CHK", DynQuery(second)), "FORCE\r\n");
  EXPECT_EQ(DynLogin(service, "PC2"), "DUP\r\n");
}

TEST(LabServiceTest, DynamicListCheckAndAddress) {
  LabService service(vexo::test::LabFixture());
  const std::string auth = AuthOf(DynLogin(service, "PC1"));
  EXPECT_EQ(Body(service, "VD_IPLIST", DynQuery(auth)),
            "TRUE\r\n211.45.10.11#CLEAN#dyn-a1.lab\r\n211.45.10.12#CLEAN#dyn-a2.lab\r\n"
            "RADIUS#CLEAN#vd_kim#CLEAN#vd-pw#CLEAN#10.77.0.2\r\n");
  EXPECT_EQ(Body(service, "VD_LOGIN_CHK", DynQuery(auth)), "TRUE\r\n2027-06-30#CLEAN#1\r\n");
  EXPECT_EQ(Body(service, "VD_SET_IPADDR", DynQuery(auth, "&ip=175.20.30.41")), "FALSE\r\n")
      << "not in the list of the type";
  service.EndContract("kim");
  EXPECT_EQ(Body(service, "VD_LOGIN_CHK", DynQuery(auth)), "TRUE\r\n2027-06-30#CLEAN#0\r\n");
  EXPECT_EQ(Body(service, "VD_LOGOUT", DynQuery(auth)), "TRUE\r\n");
  EXPECT_EQ(Body(service, "VD_IPLIST", DynQuery(auth)), "FORCE\r\n") << "logged out";
}

TEST(LabServiceTest, NoticesCountAfterTheRegistrationTime) {
  LabService service(vexo::test::LabFixture());
  EXPECT_EQ(Body(service, "Notice", "reg_time=0"), "FALSE\r\n");
  EXPECT_EQ(Body(service, "Notice", "reg_time=2026-01-01 00:00:00"), "TRUE\r\n3\r\n");
  EXPECT_EQ(Body(service, "Notice", "reg_time=2026-12-01 14:30:00"), "TRUE\r\n1\r\n");
  EXPECT_EQ(Body(service, "Notice", "reg_time=2026-12-1 14:30:01"), "TRUE\r\n1\r\n");
  service.AddNotice("2026-12-11 08:00:00", "four");
  EXPECT_EQ(Body(service, "Notice", "reg_time=2026-12-10 18:00:00"), "TRUE\r\n1\r\n");
}

TEST(LabServiceTest, ContractsListAndInfo) {
  LabService service(vexo::test::LabFixture());
  const std::string list = "id=kim&s_flag=Vs&nn=PC1&rnd=1&c_ver=V1.0";
  EXPECT_EQ(Body(service, "VS_CONTRACT_LIST", list),
            "TRUE\r\n0#CLEAN#203.0.113.10#CLEAN#2027-03-31#CLEAN#본사#CLEAN#r10#CLEAN#p10#CLEAN#"
            "fix-a.lab\r\n1#CLEAN#203.0.113.11#CLEAN#2027-04-30#CLEAN#지점#CLEAN#r11#CLEAN#p11"
            "#CLEAN#fix-b.lab\r\n");
  ASSERT_TRUE(service.SetInUse("203.0.113.11", false));
  EXPECT_EQ(Body(service, "VS_CONTRACT_LIST", list).find("\n1#CLEAN#"), std::string::npos);
  const std::string info = "id=kim&s_flag=Vs&ip=203.0.113.10&pc=PC1&rnd=1&c_ver=V1.0";
  EXPECT_EQ(Body(service, "VS_CONTRACT_INFO", info), "TRUE\r\n2027-03-31#CLEAN#1#CLEAN#본사\r\n");
  EXPECT_EQ(Body(service, "VS_CONTRACT_INFO", "id=kim&s_flag=Vs&ip=1.2.3.4"), "FALSE\r\n");
  service.EndContract("kim");
  EXPECT_EQ(Body(service, "VS_CONTRACT_INFO", info), "TRUE\r\n2027-03-31#CLEAN#0#CLEAN#본사\r\n");
  EXPECT_EQ(Body(service, "VS_LOGOUT", "id=kim&s_flag=Vs"), "TRUE\r\n");
}

TEST(LabServiceTest, TunnelsDecideWhatMyIpSees) {
  LabService service(vexo::test::LabFixture());
  auto vpn = [&](const std::string& action, const std::string& q) {
    return service.Vpn(action, ParseQuery(q)).body;
  };
  EXPECT_EQ(Body(service, "MyIP", ""), "127.0.0.9\r\n") << "the caller's own address";
  EXPECT_EQ(vpn("open", "server=dyn-a2.lab&user=vd_kim&password=wrong"), "REFUSED\r\n");
  EXPECT_EQ(vpn("open", "server=nowhere.lab&user=vd_kim&password=vd-pw"), "UNREACHABLE\r\n");
  EXPECT_EQ(vpn("open", "server=dyn-a2.lab&user=vd_kim&password=vd-pw"),
            "OK\r\nt1\r\n10.77.0.2\r\n211.45.10.12\r\n");
  EXPECT_EQ(Body(service, "MyIP", ""), "211.45.10.12\r\n");
  EXPECT_EQ(vpn("status", "tunnel=t1"), "UP\r\n");
  EXPECT_EQ(vpn("open", "server=fix-b.lab&user=r11&password=p11"),
            "OK\r\nt2\r\n203.0.113.11\r\n203.0.113.11\r\n");
  EXPECT_EQ(vpn("close", "tunnel=t2"), "OK\r\n");
  EXPECT_EQ(Body(service, "MyIP", ""), "211.45.10.12\r\n");
  EXPECT_EQ(service.DropTunnels("t1"), 1) << "as a line cut would";
  EXPECT_EQ(vpn("status", "tunnel=t1"), "DOWN\r\n");
  EXPECT_EQ(Body(service, "MyIP", ""), "127.0.0.9\r\n");
}

TEST(LabDataTest, BadFilesAreRefusedWithAReason) {
  for (const char* text :
       {"", "{", "[1,2]", R"({"accounts":[{"password":"x"}]})", R"({"accounts":[{"id":"x"}]})",
        R"({"dynamic_lists":{"eight":[]}})", R"({"accounts":[{"id":7,"password":"x"}]})"}) {
    EXPECT_THROW(vexo::lab::ParseLabData(text), std::runtime_error) << text;
  }
  EXPECT_THROW(vexo::lab::LoadLabData("/nonexistent/demo.json"), std::runtime_error);
  EXPECT_NO_THROW(vexo::lab::LoadLabData(VEXO_LAB_DEMO_DATA));
}

}  // namespace
