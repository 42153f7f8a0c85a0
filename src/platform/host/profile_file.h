// A private-profile (INI) file with the rules of the Windows profile API:
// names compared without case, the first match wins, blanks around names and
// values trimmed, one pair of surrounding quotes removed on read, comment
// lines, and writes that change one line and keep every other line in order.
#pragma once

#include <optional>
#include <string>

namespace vexo::platform::host {

// The value of `key` in `section` of the file at `path`, or nothing when the
// file, the section or the key is missing.
std::optional<std::string> ReadProfileValue(const std::string& path, const std::string& section,
                                            const std::string& key);

// Sets `key` to `value` in `section`, creating file and section as needed.
// Returns false when the file could not be written.
bool WriteProfileValue(const std::string& path, const std::string& section, const std::string& key,
                       const std::string& value);

// Reads an integer as the profile API does: blanks, an optional sign, then
// the leading decimal digits; 0 when there are none.
int ParseProfileInt(const std::string& text);

}  // namespace vexo::platform::host
