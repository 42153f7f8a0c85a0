// vexo-lab --port N --data FILE: the lab service on 127.0.0.1. Port 0 picks a
// free port; the port is printed on stdout. SIGTERM and SIGINT stop it.
#include <pthread.h>
#include <signal.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <string>
#include <thread>

#include "lab_data.h"
#include "lab_server.h"

int main(int argc, char** argv) {
  int port = 0;
  std::string data_path;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--port" && i + 1 < argc) {
      port = std::atoi(argv[++i]);
    } else if (arg == "--data" && i + 1 < argc) {
      data_path = argv[++i];
    } else {
      std::fprintf(stderr, "usage: vexo-lab --port N --data FILE\n");
      return 2;
    }
  }
  if (data_path.empty() || port < 0 || port > 65535) {
    std::fprintf(stderr, "usage: vexo-lab --port N --data FILE\n");
    return 2;
  }
  vexo::lab::LabData data;
  try {
    data = vexo::lab::LoadLabData(data_path);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "vexo-lab: %s\n", e.what());
    return 2;
  }

  // Signals go to one thread that stops the server; the others never see them.
  sigset_t stop_signals;
  sigemptyset(&stop_signals);
  sigaddset(&stop_signals, SIGTERM);
  sigaddset(&stop_signals, SIGINT);
  pthread_sigmask(SIG_BLOCK, &stop_signals, nullptr);
  signal(SIGPIPE, SIG_IGN);

  vexo::lab::LabServer server(std::move(data));
  const int bound = server.Bind(port);
  if (bound < 0) {
    std::fprintf(stderr, "vexo-lab: cannot bind 127.0.0.1:%d\n", port);
    return 1;
  }
  std::printf("%d\n", bound);
  std::fflush(stdout);

  std::thread waiter([&] {
    int sig = 0;
    sigwait(&stop_signals, &sig);
    server.Stop();
  });
  const bool served = server.Serve();
  // Wakes the waiter if serving ended for another reason; it is joined before
  // the server goes away.
  // NOLINTNEXTLINE(bugprone-bad-signal-to-kill-thread): the signal wakes sigwait
  pthread_kill(waiter.native_handle(), SIGTERM);
  waiter.join();
  return served ? 0 : 1;
}
