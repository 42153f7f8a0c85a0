#include "settings/settings.h"

#include <cstdio>

namespace vexo::settings {
namespace {

// Reads a text however long it is: a value that fills the buffer may have
// been cut, so it is read again with a larger one.
std::string ReadWhole(platform::Os& os, const char* key, const std::string& path) {
  std::size_t size = 256;
  for (;;) {
    std::string value = os.GetProfileString(kSection, key, "", size, path);
    if (value.size() + 1 < size) return value;
    size *= 4;
  }
}

void Write(platform::Os& os, const char* key, const std::string& value, const std::string& path) {
  os.WriteProfileString(kSection, key, value, path);
}

}  // namespace

std::string SettingsPath(platform::Os& os) { return os.CurrentDirectory() + "\\" + kFileName; }

SavedAccount ReadAccount(platform::Os& os) {
  SavedAccount account;
  account.id = ReadWhole(os, "id", SettingsPath(os));
  account.pwd = os.GetProfileString(kSection, "pwd", "", kPwdBufferSize, SettingsPath(os));
  account.services = os.GetProfileInt(kSection, "services", 0, SettingsPath(os));
  account.dtype = os.GetProfileInt(kSection, "dtype", 0, SettingsPath(os));
  account.stype = os.GetProfileInt(kSection, "stype", 0, SettingsPath(os));
  return account;
}

SavedOptions ReadOptions(platform::Os& os) {
  SavedOptions options;
  options.type = os.GetProfileInt(kSection, "type", 0, SettingsPath(os));
  options.autotime = os.GetProfileString(kSection, "autotime", kDefaultAutoTime,
                                         kAutoTimeBufferSize, SettingsPath(os));
  options.noticestime = os.GetProfileString(kSection, "noticestime", kDefaultNoticeTime,
                                            kNoticeTimeBufferSize, SettingsPath(os));
  return options;
}

void WriteFull(platform::Os& os, const FullSettings& v) {
  const std::string path = SettingsPath(os);
  Write(os, "id", v.id, path);
  Write(os, "pwd", v.pwd, path);
  Write(os, "autotime", v.autotime, path);
  Write(os, "noticestime", v.noticestime, path);
  Write(os, "type", std::to_string(v.type), path);
  Write(os, "services", std::to_string(v.services), path);
  Write(os, v.product == Product::kDynamic ? "dtype" : "stype", std::to_string(v.product_type),
        path);
}

void WriteOptions(platform::Os& os, const std::string& autotime, const std::string& noticestime,
                  int type) {
  const std::string path = SettingsPath(os);
  Write(os, "autotime", autotime, path);
  Write(os, "noticestime", noticestime, path);
  Write(os, "type", std::to_string(type), path);
}

std::string FormatNoticeTime(const platform::LocalTime& t) {
  char text[64];
  std::snprintf(text, sizeof text, "%u-%02u-%02u %02u:%02u:%02u", t.year, t.month, t.day, t.hour,
                t.minute, t.second);
  return text;
}

}  // namespace vexo::settings
