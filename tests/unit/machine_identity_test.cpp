#include "util/machine_identity.h"

#include <gtest/gtest.h>

#include "support/test_os.h"

namespace {

TEST(MachineIdentityTest, VolumeSerialText) {
  EXPECT_EQ(vexo::FormatVolumeSerial(0x1234ABCDu), "1234ABCD");
  EXPECT_EQ(vexo::FormatVolumeSerial(0x0ABCDEF1u), "ABCDEF1") << "no leading zero";
  EXPECT_EQ(vexo::FormatVolumeSerial(0u), "0");
  EXPECT_EQ(vexo::FormatVolumeSerial(std::nullopt), "unknown");
}

TEST(MachineIdentityTest, SerialOfTheExecutablesRoot) {
  vexo::test::TestOs os("C:\\work");
  os.module_path = "D:\\Apps\\Vexo\\Vexovpn.exe";
  os.volume_serial = 0xDEADBEEFu;
  EXPECT_EQ(vexo::VolumeSerialText(os), "DEADBEEF");
  EXPECT_EQ(os.last_volume_root, "D:\\");
  os.module_path = "\\\\server\\share\\Vexovpn.exe";
  os.volume_serial = std::nullopt;  // a share has no drive root
  EXPECT_EQ(vexo::VolumeSerialText(os), "unknown");
  EXPECT_EQ(os.last_volume_root, "\\\\s");
}

TEST(MachineIdentityTest, RealMachineAnswers) {
  auto& os = vexo::platform::SystemOs();
  const std::string name = vexo::ComputerNameText(os);
  EXPECT_FALSE(name.empty());
  EXPECT_LE(name.size(), 15u);
  const std::string serial = vexo::VolumeSerialText(os);
  EXPECT_FALSE(serial.empty());
  EXPECT_EQ(serial.find_first_not_of("0123456789ABCDEFunkow"), std::string::npos) << serial;
}

TEST(MachineIdentityTest, AppNameIsTheExecutablesNameWithoutExtension) {
  EXPECT_EQ(vexo::AppNameFromModulePath("C:\\Program Files\\Vexo\\Vexovpn.exe"), "Vexovpn");
  EXPECT_EQ(vexo::AppNameFromModulePath("/opt/vexo/vexovpn"), "vexovpn");
  EXPECT_EQ(vexo::AppNameFromModulePath("C:\\a.b\\Vexo.lab.exe"), "Vexo.lab");
}

}  // namespace
