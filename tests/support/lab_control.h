// The lab service as the scenario tests reach it: its address, and its
// control API over HTTP through the backend's own HTTP stack.
#pragma once

#include <string>
#include <vector>

namespace vexo::test {

struct LoggedRequest {
  std::string path;
  std::string query;
};

class LabControl {
 public:
  // "127.0.0.1:port" of the lab: started in this process on the host, taken
  // from VEXO_TEST_LAB under Wine.
  static std::string Address();

  // GET /control/`what`; the body.
  static std::string Control(const std::string& what);
  static void Reset() { Control("reset"); }
  static std::vector<LoggedRequest> Log();
};

}  // namespace vexo::test
