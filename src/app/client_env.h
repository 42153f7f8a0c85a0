// The platform services a running client uses, handed to every window so that
// tests can give it a clock, a directory and a machine of their own.
#pragma once

#include <string>

#include "platform/net.h"
#include "platform/os.h"
#include "platform/rasapi.h"
#include "platform/ui/window.h"

namespace vexo {

struct ClientEnv {
  platform::Os& os;
  platform::Net& net;
  ui::WindowSystem& ui;
  platform::RasApi& ras;
};

// The application's name: the executable's file name without extension.
std::string AppName(const ClientEnv& env);

}  // namespace vexo
