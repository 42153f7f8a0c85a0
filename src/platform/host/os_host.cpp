#include <fcntl.h>
#include <sys/file.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <climits>
#include <ctime>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "platform/host/host_controls.h"
#include "platform/host/profile_file.h"
#include "platform/os.h"

namespace vexo::platform {
namespace host {
namespace {

std::atomic<bool> g_caps_lock{false};
std::mutex g_urls_mutex;
std::vector<std::string> g_urls;

// Holds an exclusive lock on a file named after the guard.
class LockFileGuard : public InstanceGuard {
 public:
  explicit LockFileGuard(int fd) : fd_(fd) {}
  ~LockFileGuard() override { close(fd_); }

 private:
  int fd_;
};

std::string LockPathFor(const std::string& name) {
  std::string file;
  for (char c : name) {
    const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
    file.push_back(plain ? c : '_');
  }
  const char* dir = getenv("TMPDIR");
  return std::string(dir && *dir ? dir : "/tmp") + "/vexo-" + file + ".lock";
}

class HostOs : public Os {
 public:
  std::string GetProfileString(const std::string& section, const std::string& key,
                               const std::string& default_value, std::size_t buffer_size,
                               const std::string& path) override {
    std::optional<std::string> value = ReadProfileValue(ToHostPath(path), section, key);
    std::string result;
    if (value) {
      result = *value;
    } else {
      // The system drops trailing blanks of the default.
      result = default_value;
      while (!result.empty() && (result.back() == ' ' || result.back() == '\t')) result.pop_back();
    }
    if (buffer_size == 0) return std::string();
    if (result.size() > buffer_size - 1) result.resize(buffer_size - 1);
    return result;
  }

  int GetProfileInt(const std::string& section, const std::string& key, int default_value,
                    const std::string& path) override {
    std::optional<std::string> value = ReadProfileValue(ToHostPath(path), section, key);
    if (!value || value->empty()) return default_value;
    return ParseProfileInt(*value);
  }

  bool WriteProfileString(const std::string& section, const std::string& key,
                          const std::string& value, const std::string& path) override {
    return WriteProfileValue(ToHostPath(path), section, key, value);
  }

  std::unique_ptr<InstanceGuard> CreateInstanceGuard(const std::string& name,
                                                     GuardResult& result) override {
    const int fd = open(LockPathFor(name).c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    if (fd < 0) {
      result = GuardResult::kFailed;
      return nullptr;
    }
    if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
      const bool held = errno == EWOULDBLOCK;
      close(fd);
      result = held ? GuardResult::kAlreadyExists : GuardResult::kFailed;
      return nullptr;
    }
    result = GuardResult::kCreated;
    return std::make_unique<LockFileGuard>(fd);
  }

  std::string ComputerName() override {
    char name[HOST_NAME_MAX + 1] = {};
    if (gethostname(name, sizeof name - 1) != 0) return std::string();
    std::string text(name);
    const std::size_t dot = text.find('.');
    if (dot != std::string::npos) text.resize(dot);
    // A NetBIOS name: at most 15 characters, upper case.
    if (text.size() > 15) text.resize(15);
    for (char& c : text) {
      if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    }
    return text;
  }

  std::optional<std::uint32_t> VolumeSerial(const std::string& root) override {
    // A drive root ("C:\") or a host path stands for the root file system;
    // anything else (a share, "\\server\...") has no volume information.
    const bool drive = root.size() == 3 && root[1] == ':' && root[2] == '\\';
    if (!drive && (root.empty() || root[0] != '/')) return std::nullopt;
    struct statvfs info {};
    if (statvfs("/", &info) != 0) return std::nullopt;
    return static_cast<std::uint32_t>(info.f_fsid & 0xFFFFFFFFu);
  }

  LocalTime Now() override {
    const std::time_t t = std::time(nullptr);
    std::tm tm{};
    localtime_r(&t, &tm);
    LocalTime now;
    now.year = static_cast<unsigned>(tm.tm_year + 1900);
    now.month = static_cast<unsigned>(tm.tm_mon + 1);
    now.day = static_cast<unsigned>(tm.tm_mday);
    now.hour = static_cast<unsigned>(tm.tm_hour);
    now.minute = static_cast<unsigned>(tm.tm_min);
    now.second = static_cast<unsigned>(tm.tm_sec);
    return now;
  }

  void Sleep(unsigned milliseconds) override {
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
  }

  std::string CurrentDirectory() override {
    std::vector<char> buffer(256);
    while (getcwd(buffer.data(), buffer.size()) == nullptr) {
      if (errno != ERANGE) return std::string();
      buffer.resize(buffer.size() * 2);
    }
    return std::string(buffer.data());
  }

  std::string ModulePath() override {
    std::vector<char> buffer(256);
    for (;;) {
      const ssize_t n = readlink("/proc/self/exe", buffer.data(), buffer.size());
      if (n < 0) return std::string();
      if (static_cast<std::size_t>(n) < buffer.size()) return std::string(buffer.data(), n);
      buffer.resize(buffer.size() * 2);
    }
  }

  void ShellOpen(const std::string& url) override {
    std::lock_guard<std::mutex> lock(g_urls_mutex);
    g_urls.push_back(url);
  }

  bool CapsLockOn() override { return g_caps_lock.load(); }
};

}  // namespace

void SetCapsLock(bool on) { g_caps_lock.store(on); }

std::vector<std::string> OpenedUrls() {
  std::lock_guard<std::mutex> lock(g_urls_mutex);
  return g_urls;
}

void ClearOpenedUrls() {
  std::lock_guard<std::mutex> lock(g_urls_mutex);
  g_urls.clear();
}

std::string ToHostPath(const std::string& path) {
  std::string p = path;
  for (char& c : p) {
    if (c == '\\') c = '/';
  }
  return p;
}

}  // namespace host

Os& SystemOs() {
  static host::HostOs os;
  return os;
}

}  // namespace vexo::platform
