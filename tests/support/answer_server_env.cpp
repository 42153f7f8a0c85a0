#include <cstdlib>
#include <string>

#include "support/answer_server.h"

namespace vexo::test {

std::string AnswerServerAddress() {
  const char* address = std::getenv("VEXO_TEST_SERVER");
  return address ? address : "127.0.0.1:1";
}

}  // namespace vexo::test
