// The operating-system services the client needs, behind one narrow
// interface. The backend's SystemOs() is the real one; tests derive from it
// to shorten waits or fix the clock.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace vexo::platform {

// The local wall-clock time, as the system's local-time call gives it.
struct LocalTime {
  unsigned year = 0;
  unsigned month = 0;
  unsigned day = 0;
  unsigned hour = 0;
  unsigned minute = 0;
  unsigned second = 0;
};

// Outcome of creating the named single-instance object.
enum class GuardResult {
  kCreated,        // this process now holds the name
  kAlreadyExists,  // another process holds it
  kFailed,         // could not be created for another reason
};

// Holds a named instance object for as long as it lives.
class InstanceGuard {
 public:
  virtual ~InstanceGuard() = default;
};

class Os {
 public:
  virtual ~Os() = default;

  // Reads `key` of `section` from the profile file at `path` into a buffer
  // of `buffer_size` bytes: the value, or `default_value` when the file,
  // section or key is missing, cut to buffer_size - 1 bytes. Any thread.
  virtual std::string GetProfileString(const std::string& section, const std::string& key,
                                       const std::string& default_value, std::size_t buffer_size,
                                       const std::string& path) = 0;

  // Reads `key` as an integer (optional sign, leading digits; 0 when the value
  // has none); `default_value` when the key is missing. Any thread.
  virtual int GetProfileInt(const std::string& section, const std::string& key, int default_value,
                            const std::string& path) = 0;

  // Writes `key`=`value` into `section`, creating file and section as needed
  // and replacing the key in place. Returns false when the write failed.
  // Any thread.
  virtual bool WriteProfileString(const std::string& section, const std::string& key,
                                  const std::string& value, const std::string& path) = 0;

  // Creates the named instance object `name`; `result` tells what happened.
  // The returned guard (null on kFailed) holds the name until destroyed.
  virtual std::unique_ptr<InstanceGuard> CreateInstanceGuard(const std::string& name,
                                                             GuardResult& result) = 0;

  // The computer's NetBIOS name, at most 15 characters; empty when unreadable.
  virtual std::string ComputerName() = 0;

  // The serial number of the volume whose root is `root` (for example
  // "C:\"), or nothing when its information cannot be read.
  virtual std::optional<std::uint32_t> VolumeSerial(const std::string& root) = 0;

  // The local time now.
  virtual LocalTime Now() = 0;

  // Blocks the calling thread for `milliseconds`.
  virtual void Sleep(unsigned milliseconds) = 0;

  // The process's current directory, whole, however long it is.
  virtual std::string CurrentDirectory() = 0;

  // The full path of the running executable.
  virtual std::string ModulePath() = 0;

  // Opens `url` in the user's default browser; the result is not reported.
  virtual void ShellOpen(const std::string& url) = 0;

  // True while Caps Lock is on.
  virtual bool CapsLockOn() = 0;
};

// The backend's real operating system. Lives for the whole process.
Os& SystemOs();

}  // namespace vexo::platform
