#include <windows.h>

#include <string>
#include <string_view>

#include "platform/text.h"

namespace vexo::platform {

std::string Utf8ToAnsi(std::string_view utf8) {
  if (utf8.empty()) return std::string();
  const int size = static_cast<int>(utf8.size());
  const int wide_len = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, nullptr, 0);
  if (wide_len <= 0) return std::string();
  std::wstring wide(static_cast<std::size_t>(wide_len), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, wide.data(), wide_len);
  const int ansi_len =
      WideCharToMultiByte(CP_ACP, 0, wide.data(), wide_len, nullptr, 0, nullptr, nullptr);
  if (ansi_len <= 0) return std::string();
  std::string ansi(static_cast<std::size_t>(ansi_len), '\0');
  WideCharToMultiByte(CP_ACP, 0, wide.data(), wide_len, ansi.data(), ansi_len, nullptr, nullptr);
  return ansi;
}

}  // namespace vexo::platform
