// The lab service on HTTP: cpp-httplib on 127.0.0.1, the API endpoints, the
// VPN side, the web pages, the control API, per-endpoint faults and the log
// of every request as received.
#pragma once

#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "lab_data.h"
#include "lab_service.h"

namespace vexo::lab {

struct LoggedRequest {
  std::string path;   // as received, not decoded
  std::string query;  // raw, without the '?'
};

enum class FaultKind {
  kNone,
  kHttp500,  // an error status with an HTML page
  kHtml,     // status 200 with an HTML page
  kDelay,    // the normal answer after `value` ms
  kDrip,     // the normal answer one byte at a time, `value` ms apart
  kReset,    // the normal response cut after `value` bytes by a reset
  kGarbage,  // binary bytes
  kHuge,     // a 16 MB line before the normal answer
  kCrOnly,   // the normal answer with CR-only line ends
  kEmpty,    // status 200, no body
  kClose,    // the connection closed without any answer
};

struct Fault {
  FaultKind kind = FaultKind::kNone;
  long value = 0;
};

// "http500", "html", "delay", ...; kNone for an unknown name.
FaultKind FaultKindFromName(const std::string& name);

class LabServer {
 public:
  explicit LabServer(LabData data);
  ~LabServer();
  LabServer(const LabServer&) = delete;
  LabServer& operator=(const LabServer&) = delete;

  // Binds 127.0.0.1:`port` (0 picks a free port). Returns the port, or -1.
  int Bind(int port);
  // Serves until Stop(); blocks the calling thread.
  bool Serve();
  // Bind and serve on a thread of the server's own; returns the port or -1.
  int StartInBackground(int port);
  // Stops serving and waits for the background thread. Any thread.
  void Stop();

  LabService& service() { return service_; }
  int Port() const { return port_; }

  std::vector<LoggedRequest> Log() const;
  void ClearLog();
  void SetFault(const std::string& endpoint, Fault fault);
  void ClearFaults(const std::string& endpoint);  // "" clears all
  Fault FaultFor(const std::string& endpoint) const;

  void Record(const std::string& path, const std::string& query);

 private:
  class Http;

  void InstallRoutes();

  LabService service_;
  std::unique_ptr<Http> http_;
  int port_ = -1;
  std::thread thread_;
  mutable std::mutex mutex_;
  std::vector<LoggedRequest> log_;
  std::map<std::string, Fault> faults_;
};

}  // namespace vexo::lab
