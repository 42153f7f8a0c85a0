// Arbitrary settings files through the profile reader and writer: every read
// ends, and a write then reads back what was written.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <string>

#include "platform/host/profile_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const std::string path = "/tmp/vexo-profile-fuzz-" + std::to_string(getpid()) + ".ini";
  {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  }
  for (const char* key : {"id", "pwd", "type", ""}) {
    vexo::platform::host::ReadProfileValue(path, "OPTION", key);
  }
  const std::string value = "v" + std::to_string(size);
  if (vexo::platform::host::WriteProfileValue(path, "OPTION", "id", value)) {
    const auto back = vexo::platform::host::ReadProfileValue(path, "OPTION", "id");
    if (!back || *back != value) __builtin_trap();
  }
  vexo::platform::host::ParseProfileInt(std::string(reinterpret_cast<const char*>(data), size));
  std::remove(path.c_str());
  return 0;
}
