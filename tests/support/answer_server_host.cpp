#include <httplib.h>

#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "support/answer_routes.h"
#include "support/answer_server.h"

namespace vexo::test {
namespace {

struct RunningServer {
  httplib::Server server;
  std::thread thread;
  int port = 0;
};

}  // namespace

std::string AnswerServerAddress() {
  // One server for the whole test process; it ends with the process.
  static RunningServer* running = [] {
    auto* r = new RunningServer;
    InstallAnswerRoutes(r->server);
    r->port = r->server.bind_to_any_port("127.0.0.1");
    r->thread = std::thread([r] { r->server.listen_after_bind(); });
    r->thread.detach();
    while (!r->server.is_running()) std::this_thread::yield();
    return r;
  }();
  return "127.0.0.1:" + std::to_string(running->port);
}

}  // namespace vexo::test
