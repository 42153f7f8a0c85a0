// Text conversion between the encodings the client meets.
#pragma once

#include <string>
#include <string_view>

namespace vexo::platform {

// Converts UTF-8 text to the system's ANSI code page (949 on Korean
// systems). Characters the code page lacks become '?'; invalid UTF-8 bytes
// too. Any thread.
std::string Utf8ToAnsi(std::string_view utf8);

}  // namespace vexo::platform
