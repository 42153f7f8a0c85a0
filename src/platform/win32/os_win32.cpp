#include <windows.h>
// After windows.h, which it builds on.
#include <shellapi.h>

#include <string>
#include <vector>

#include "platform/os.h"

namespace vexo::platform {
namespace {

// The profile functions take paths shorter than MAX_PATH. A longer one (a deep
// current directory) goes through the short form of its directory.
std::string ProfilePath(const std::string& path) {
  const std::size_t slash = path.find_last_of('\\');
  if (path.size() < MAX_PATH || slash == std::string::npos) return path;
  const std::string dir = path.substr(0, slash);
  const DWORD needed = GetShortPathNameA(dir.c_str(), nullptr, 0);
  if (needed == 0) return path;
  std::vector<char> buffer(needed + 1, '\0');
  const DWORD n = GetShortPathNameA(dir.c_str(), buffer.data(), static_cast<DWORD>(buffer.size()));
  if (n == 0 || n >= buffer.size()) return path;
  return std::string(buffer.data(), n) + path.substr(slash);
}

class EventGuard : public InstanceGuard {
 public:
  explicit EventGuard(HANDLE event) : event_(event) {}
  ~EventGuard() override { CloseHandle(event_); }

 private:
  HANDLE event_;
};

class Win32Os : public Os {
 public:
  std::string GetProfileString(const std::string& section, const std::string& key,
                               const std::string& default_value, std::size_t buffer_size,
                               const std::string& path) override {
    if (buffer_size == 0) return std::string();
    std::vector<char> buffer(buffer_size, '\0');
    const DWORD n =
        GetPrivateProfileStringA(section.c_str(), key.c_str(), default_value.c_str(), buffer.data(),
                                 static_cast<DWORD>(buffer_size), ProfilePath(path).c_str());
    return std::string(buffer.data(), n);
  }

  int GetProfileInt(const std::string& section, const std::string& key, int default_value,
                    const std::string& path) override {
    return static_cast<int>(GetPrivateProfileIntA(section.c_str(), key.c_str(), default_value,
                                                  ProfilePath(path).c_str()));
  }

  bool WriteProfileString(const std::string& section, const std::string& key,
                          const std::string& value, const std::string& path) override {
    return WritePrivateProfileStringA(section.c_str(), key.c_str(), value.c_str(),
                                      ProfilePath(path).c_str()) != FALSE;
  }

  std::unique_ptr<InstanceGuard> CreateInstanceGuard(const std::string& name,
                                                     GuardResult& result) override {
    HANDLE event = CreateEventA(nullptr, FALSE, FALSE, name.c_str());
    const DWORD error = GetLastError();
    if (event == nullptr) {
      result = error == ERROR_ALREADY_EXISTS ? GuardResult::kAlreadyExists : GuardResult::kFailed;
      return nullptr;
    }
    result = error == ERROR_ALREADY_EXISTS ? GuardResult::kAlreadyExists : GuardResult::kCreated;
    return std::make_unique<EventGuard>(event);
  }

  std::string ComputerName() override {
    char name[MAX_COMPUTERNAME_LENGTH + 1] = {};
    DWORD size = sizeof name;
    if (!GetComputerNameA(name, &size)) return std::string();
    return std::string(name, size);
  }

  std::optional<std::uint32_t> VolumeSerial(const std::string& root) override {
    char volume_name[256] = {};
    char file_system[256] = {};
    DWORD serial = 0;
    DWORD max_component = 0;
    DWORD flags = 0;
    if (!GetVolumeInformationA(root.c_str(), volume_name, sizeof volume_name, &serial,
                               &max_component, &flags, file_system, sizeof file_system)) {
      return std::nullopt;
    }
    return static_cast<std::uint32_t>(serial);
  }

  LocalTime Now() override {
    SYSTEMTIME st{};
    GetLocalTime(&st);
    LocalTime now;
    now.year = st.wYear;
    now.month = st.wMonth;
    now.day = st.wDay;
    now.hour = st.wHour;
    now.minute = st.wMinute;
    now.second = st.wSecond;
    return now;
  }

  void Sleep(unsigned milliseconds) override { ::Sleep(milliseconds); }

  std::string CurrentDirectory() override {
    // Asked with the size the system says it needs, so a long directory works.
    DWORD size = GetCurrentDirectoryA(0, nullptr);
    for (int attempt = 0; attempt < 4 && size > 0; ++attempt) {
      std::vector<char> buffer(size + 1, '\0');
      const DWORD n = GetCurrentDirectoryA(static_cast<DWORD>(buffer.size()), buffer.data());
      if (n == 0) return std::string();
      if (n < buffer.size()) return std::string(buffer.data(), n);
      size = n;  // it grew meanwhile
    }
    return std::string();
  }

  std::string ModulePath() override {
    std::vector<char> buffer(MAX_PATH);
    for (;;) {
      const DWORD n = GetModuleFileNameA(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
      if (n == 0) return std::string();
      if (n < buffer.size()) return std::string(buffer.data(), n);
      buffer.resize(buffer.size() * 2);
    }
  }

  void ShellOpen(const std::string& url) override {
    ShellExecuteA(nullptr, "open", url.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
  }

  bool CapsLockOn() override { return (GetKeyState(VK_CAPITAL) & 1) != 0; }
};

}  // namespace

Os& SystemOs() {
  static Win32Os os;
  return os;
}

}  // namespace vexo::platform
