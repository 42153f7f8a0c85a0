#include "settings/settings.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "api/service_hosts.h"
#include "ras/entry_name.h"
#include "support/temp_dir.h"
#include "support/test_os.h"

namespace {

using vexo::settings::FullSettings;
using vexo::settings::Product;

class SettingsTest : public ::testing::Test {
 protected:
  std::string File() { return vexo::test::ReadFileBytes(dir_.File("Vexovpn.ini")); }
  void Seed(const std::string& content) {
    vexo::test::WriteFileBytes(dir_.File("Vexovpn.ini"), content);
  }

  vexo::test::TempDir dir_;
  vexo::test::TestOs os_{dir_.path()};
};

TEST_F(SettingsTest, FirstRunGivesTheDefaults) {
  const auto account = vexo::settings::ReadAccount(os_);
  EXPECT_EQ(account.id, "");
  EXPECT_EQ(account.pwd, "");
  EXPECT_EQ(account.services, 0);
  EXPECT_EQ(account.dtype, 0);
  EXPECT_EQ(account.stype, 0);
  const auto options = vexo::settings::ReadOptions(os_);
  EXPECT_EQ(options.type, 0);
  EXPECT_EQ(options.autotime, "10");
  EXPECT_EQ(options.noticestime, "0");
  EXPECT_EQ(vexo::EntryNameForTunnelType(options.type), "Vexo-L2TP");
  EXPECT_EQ(File(), "<missing>") << "reading creates nothing";
}

TEST_F(SettingsTest, FullWriteOfEachProductInItsOrder) {
  FullSettings v;
  v.id = "user";
  v.pwd = "0cc175b9c0f1b6a831c399e269772661";
  v.autotime = "15";
  v.noticestime = "2018-03-05 09:07:04";
  v.type = 1;
  v.services = 1;
  v.product = Product::kDynamic;
  v.product_type = 1;
  vexo::settings::WriteFull(os_, v);
  const std::string dynamic_file =
      "[OPTION]\r\nid=user\r\npwd=0cc175b9c0f1b6a831c399e269772661\r\nautotime=15\r\n"
      "noticestime=2018-03-05 09:07:04\r\ntype=1\r\nservices=1\r\ndtype=1\r\n";
  // Key order of a fresh file is the writing order; the host emulation
  // appends each new key, so the file shows the order exactly.
  EXPECT_EQ(File(), dynamic_file);

  v.product = Product::kFixed;
  v.services = 0;
  v.product_type = 2;
  vexo::settings::WriteFull(os_, v);
  const auto account = vexo::settings::ReadAccount(os_);
  EXPECT_EQ(account.services, 0);
  EXPECT_EQ(account.stype, 2);
  EXPECT_EQ(account.dtype, 1) << "a fixed login leaves dtype as it was";
}

TEST_F(SettingsTest, OptionWriteLeavesTheAccountAlone) {
  Seed(
      "[OPTION]\r\nid=keep\r\npwd=d\r\nautotime=10\r\nnoticestime=0\r\ntype=0\r\nservices=1\r\n"
      "dtype=1\r\nstype=2\r\n");
  vexo::settings::WriteOptions(os_, "25", "2020-01-02 03:04:05", 2);
  EXPECT_EQ(File(),
            "[OPTION]\r\nid=keep\r\npwd=d\r\nautotime=25\r\nnoticestime=2020-01-02 03:04:05\r\n"
            "type=2\r\nservices=1\r\ndtype=1\r\nstype=2\r\n");
  const auto options = vexo::settings::ReadOptions(os_);
  EXPECT_EQ(vexo::EntryNameForTunnelType(options.type), "Vexo-PPTP") << "type 2 is PPTP";
  EXPECT_EQ(options.autotime, "25");
}

TEST_F(SettingsTest, LongIdComesBackWhole) {
  const std::string id = "a-very-long-account-id-of-forty-bytes-xx" + std::string(600, 'i');
  FullSettings v;
  v.id = id;
  vexo::settings::WriteFull(os_, v);
  EXPECT_EQ(vexo::settings::ReadAccount(os_).id, id);
}

TEST_F(SettingsTest, ReadsBufferSizesAndOddValues) {
  Seed("[OPTION]\r\npwd=" + std::string(100, 'p') +
       "\r\nservices=1x\r\nstype=7\r\ndtype=abc\r\n"
       "autotime=" +
       std::string(300, '9') + "\r\n");
  const auto account = vexo::settings::ReadAccount(os_);
  EXPECT_EQ(account.pwd, std::string(79, 'p'));
  EXPECT_EQ(account.services, 1);
  EXPECT_EQ(account.stype, 7);
  EXPECT_EQ(account.dtype, 0);
  EXPECT_EQ(vexo::settings::ReadOptions(os_).autotime, std::string(199, '9'));
}

TEST_F(SettingsTest, PathFollowsTheCurrentDirectoryHoweverLong) {
  // A current directory of 257 bytes: past the old 255-byte buffer, and with
  // the file name past MAX_PATH.
  const char sep = dir_.path().find('\\') != std::string::npos ? '\\' : '/';
  std::string deep = dir_.path();
  while (deep.size() + 61 < 257) deep += sep + std::string(60, 'd');
  deep += sep + std::string(257 - deep.size() - 1, 'e');
  ASSERT_EQ(deep.size(), 257u);
  std::error_code error;
  ASSERT_TRUE(std::filesystem::create_directories(deep, error)) << error.message();
  vexo::test::TestOs deep_os(deep);
  EXPECT_EQ(vexo::settings::SettingsPath(deep_os), deep + "\\Vexovpn.ini");
  FullSettings v;
  v.id = "deep";
  vexo::settings::WriteFull(deep_os, v);
  EXPECT_EQ(vexo::settings::ReadAccount(deep_os).id, "deep");
  EXPECT_EQ(vexo::settings::ReadAccount(os_).id, "") << "another directory, another file";
}

TEST(CurrentDirectoryTest, IsAskedWhole) {
  const std::string dir = vexo::platform::SystemOs().CurrentDirectory();
  EXPECT_FALSE(dir.empty());
  EXPECT_EQ(std::filesystem::path(dir), std::filesystem::current_path());
}

TEST(NoticeTimeTest, FormatsWithPaddingAfterTheYear) {
  EXPECT_EQ(vexo::settings::FormatNoticeTime({2018, 3, 5, 9, 7, 4}), "2018-03-05 09:07:04");
  EXPECT_EQ(vexo::settings::FormatNoticeTime({2026, 12, 31, 23, 59, 59}), "2026-12-31 23:59:59");
}

TEST_F(SettingsTest, ServiceHostsHaveDefaultsAndASectionOfTheirOwn) {
  auto hosts = vexo::api::ReadServiceHosts(os_);
  EXPECT_EQ(hosts.api, vexo::api::kDefaultApiHost);
  EXPECT_EQ(hosts.web, vexo::api::kDefaultWebHost);
  Seed("[OPTION]\r\nid=x\r\n[SERVER]\r\napi=127.0.0.1:4711\r\nweb=\r\n");
  hosts = vexo::api::ReadServiceHosts(os_);
  EXPECT_EQ(hosts.api, "127.0.0.1:4711");
  EXPECT_EQ(hosts.web, vexo::api::kDefaultWebHost) << "an empty key keeps the default";
  EXPECT_EQ(vexo::api::WebPageUrl(hosts, "/Auth/SignUp/"),
            std::string("http://") + vexo::api::kDefaultWebHost + "/Auth/SignUp/");
}

}  // namespace
