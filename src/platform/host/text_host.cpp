#include <iconv.h>

#include <cerrno>
#include <string>
#include <string_view>

#include "platform/text.h"

namespace vexo::platform {

std::string Utf8ToAnsi(std::string_view utf8) {
  iconv_t cd = iconv_open("CP949", "UTF-8");
  // iconv_open reports failure as (iconv_t)-1.
  // NOLINTNEXTLINE(performance-no-int-to-ptr)
  if (cd == reinterpret_cast<iconv_t>(-1)) return std::string(utf8);
  std::string out;
  out.reserve(utf8.size());
  char* in = const_cast<char*>(utf8.data());
  std::size_t in_left = utf8.size();
  char chunk[256];
  while (in_left > 0) {
    char* dst = chunk;
    std::size_t dst_left = sizeof chunk;
    const std::size_t rc = iconv(cd, &in, &in_left, &dst, &dst_left);
    out.append(chunk, sizeof chunk - dst_left);
    if (rc == static_cast<std::size_t>(-1) && errno != E2BIG) {
      // An unconvertible or broken sequence: a '?' for each UTF-16 unit it
      // stands for, as the system's conversion does, then go on after it.
      out.push_back('?');
      if (static_cast<unsigned char>(*in) >= 0xF0) out.push_back('?');
      ++in;
      --in_left;
      while (in_left > 0 && (static_cast<unsigned char>(*in) & 0xC0) == 0x80) {
        ++in;
        --in_left;
      }
    }
  }
  iconv_close(cd);
  return out;
}

}  // namespace vexo::platform
