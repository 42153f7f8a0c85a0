#include "support/lab_control.h"

#include <cstdlib>

#include "platform/net.h"

#ifndef _WIN32
#include <memory>

#include "lab_data.h"
#include "lab_server.h"
#endif

namespace vexo::test {

std::string LabControl::Address() {
#ifdef _WIN32
  const char* address = std::getenv("VEXO_TEST_LAB");
  return address ? address : "127.0.0.1:1";
#else
  static vexo::lab::LabServer* server = [] {
    auto* s = new vexo::lab::LabServer(vexo::lab::LoadLabData(VEXO_SCENARIO_LAB_DATA));
    s->StartInBackground(0);
    return s;
  }();
  static const int port = [] {
    // StartInBackground already bound; ask the lab for nothing but its port.
    return server->Port();
  }();
  return "127.0.0.1:" + std::to_string(port);
#endif
}

std::string LabControl::Control(const std::string& what) {
  auto session = platform::SystemNet().OpenSession("vexo-tests");
  if (!session) return "";
  const std::string url = "http://" + Address() + "/control/" + what;
  auto answer = session->OpenUrl(url);
  std::string body;
  if (answer) {
    char buffer[4096];
    long n = 0;
    while ((n = answer->Read(buffer, sizeof buffer)) > 0) body.append(buffer, n);
  }
  answer.reset();
  session->Close();
  platform::SystemNet().PurgeCache(url);
  return body;
}

std::vector<LoggedRequest> LabControl::Log() {
  std::vector<LoggedRequest> log;
  const std::string text = Control("log");
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    const std::string line = text.substr(start, end - start);
    const std::size_t tab = line.find('\t');
    if (tab != std::string::npos) log.push_back({line.substr(0, tab), line.substr(tab + 1)});
    start = end + 1;
  }
  return log;
}

}  // namespace vexo::test
