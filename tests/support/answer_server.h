// A small HTTP server on loopback with fixed answers for the exchange tests:
// the body shapes the client must read alike, an error page, a cut transfer.
// Host only (it is built on cpp-httplib); the Windows lane runs it as a
// process of its own and finds it through VEXO_TEST_SERVER.
#pragma once

#include <string>

namespace vexo::test {

// "127.0.0.1:port" of a running answer server: started in this process on
// the host, taken from the environment under Wine.
std::string AnswerServerAddress();

}  // namespace vexo::test
