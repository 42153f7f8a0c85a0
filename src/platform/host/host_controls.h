// What only the host backend offers: the parts of the machine that a Linux
// test must set or read because there is no real keyboard or browser.
#pragma once

#include <string>
#include <vector>

namespace vexo::platform::host {

// Sets the Caps Lock state that SystemOs().CapsLockOn() reports.
void SetCapsLock(bool on);

// The URLs that SystemOs().ShellOpen() was asked to open, oldest first.
std::vector<std::string> OpenedUrls();
void ClearOpenedUrls();

// Windows paths use '\'; the host file system uses '/'.
std::string ToHostPath(const std::string& path);

}  // namespace vexo::platform::host
