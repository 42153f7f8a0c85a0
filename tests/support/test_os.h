// An Os for tests: the backend's real profile functions on a directory of the
// test's own, and a fixed clock, machine and a wait that only records.
#pragma once

#include <atomic>
#include <functional>
#include <mutex>
#include <string>

#include "platform/os.h"

namespace vexo::test {

class TestOs : public platform::Os {
 public:
  explicit TestOs(std::string directory) : directory_(std::move(directory)) {}

  std::string GetProfileString(const std::string& section, const std::string& key,
                               const std::string& default_value, std::size_t buffer_size,
                               const std::string& path) override {
    return platform::SystemOs().GetProfileString(section, key, default_value, buffer_size, path);
  }
  int GetProfileInt(const std::string& section, const std::string& key, int default_value,
                    const std::string& path) override {
    return platform::SystemOs().GetProfileInt(section, key, default_value, path);
  }
  bool WriteProfileString(const std::string& section, const std::string& key,
                          const std::string& value, const std::string& path) override {
    return platform::SystemOs().WriteProfileString(section, key, value, path);
  }
  // The name is made this test's own, so that tests running side by side in
  // other processes do not see each other's client.
  std::unique_ptr<platform::InstanceGuard> CreateInstanceGuard(
      const std::string& name, platform::GuardResult& result) override {
    return platform::SystemOs().CreateInstanceGuard(
        name + "-" + std::to_string(std::hash<std::string>{}(directory_)), result);
  }
  std::string ComputerName() override { return computer_name; }
  std::optional<std::uint32_t> VolumeSerial(const std::string& root) override {
    last_volume_root = root;
    return volume_serial;
  }
  platform::LocalTime Now() override { return now; }
  void Sleep(unsigned milliseconds) override { slept_ms += milliseconds; }
  std::string CurrentDirectory() override { return directory_; }
  std::string ModulePath() override { return module_path; }
  void ShellOpen(const std::string& url) override {
    std::lock_guard<std::mutex> lock(mutex_);
    last_opened_ = url;
  }
  std::string LastOpened() {
    std::lock_guard<std::mutex> lock(mutex_);
    return last_opened_;
  }
  bool CapsLockOn() override { return caps_lock; }

  std::string computer_name = "TESTPC";
  std::optional<std::uint32_t> volume_serial = 0x1234ABCDu;
  std::string last_volume_root;
  platform::LocalTime now{2018, 3, 5, 9, 7, 4};
  std::atomic<unsigned> slept_ms{0};
  std::string module_path = "C:\\Program Files\\Vexo\\Vexovpn.exe";
  std::atomic<bool> caps_lock{false};

 private:
  std::string directory_;
  std::mutex mutex_;
  std::string last_opened_;
};

}  // namespace vexo::test
