// The answer server as a process of its own: prints its port, serves until
// killed.
#include <httplib.h>

#include <cstdio>

#include "support/answer_routes.h"

int main() {
  httplib::Server server;
  vexo::test::InstallAnswerRoutes(server);
  const int port = server.bind_to_any_port("127.0.0.1");
  std::printf("%d\n", port);
  std::fflush(stdout);
  return server.listen_after_bind() ? 0 : 1;
}
