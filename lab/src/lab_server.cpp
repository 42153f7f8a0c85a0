#include "lab_server.h"

#include <arpa/inet.h>
#include <dirent.h>
#include <httplib.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstring>

#include "lab_query.h"

namespace vexo::lab {
namespace {

constexpr char kPage500[] =
    "<html><head><title>500 Internal Server Error</title></head>\r\n"
    "<body><h1>Internal Server Error</h1></body></html>\r\n";
constexpr char kPageMaintenance[] =
    "<!DOCTYPE html>\r\n<html><head><title>Vexo</title></head>\r\n"
    "<body><p>Service maintenance</p></body></html>\r\n";

std::string ReplaceAll(std::string text, const std::string& from, const std::string& to) {
  std::size_t at = 0;
  while ((at = text.find(from, at)) != std::string::npos) {
    text.replace(at, from.size(), to);
    at += to.size();
  }
  return text;
}

std::string Garbage() {
  std::string bytes(4096, '\0');
  std::uint32_t state = 0x9E3779B9u;
  for (char& c : bytes) {
    state = state * 1664525u + 1013904223u;
    c = static_cast<char>(state >> 24);
  }
  return bytes;
}

std::string StatusText(int status) {
  switch (status) {
    case 200:
      return "OK";
    case 404:
      return "Not Found";
    case 500:
      return "Internal Server Error";
    default:
      return "Status";
  }
}

// The server's own socket of the connection from `remote_port`: httplib
// does not hand it to handlers, and the faults that break a connection need it.
int FindConnectionSocket(int remote_port, int local_port) {
  DIR* dir = opendir("/proc/self/fd");
  if (dir == nullptr) return -1;
  int found = -1;
  while (dirent* entry = readdir(dir)) {
    const int fd = std::atoi(entry->d_name);
    if (fd <= 2) continue;
    sockaddr_in peer{};
    sockaddr_in local{};
    socklen_t peer_len = sizeof peer;
    socklen_t local_len = sizeof local;
    if (getpeername(fd, reinterpret_cast<sockaddr*>(&peer), &peer_len) != 0 ||
        getsockname(fd, reinterpret_cast<sockaddr*>(&local), &local_len) != 0 ||
        peer.sin_family != AF_INET) {
      continue;
    }
    if (ntohs(peer.sin_port) == remote_port && ntohs(local.sin_port) == local_port) {
      found = fd;
      break;
    }
  }
  closedir(dir);
  return found;
}

// Breaks the connection of `req`: after `bytes` bytes of `response` (none
// for a close without answer), with a reset.
void BreakConnection(const httplib::Request& req, int local_port, const std::string& response,
                     std::size_t bytes) {
  const int fd = FindConnectionSocket(req.remote_port, local_port);
  if (fd < 0) return;
  const std::size_t n = std::min(bytes, response.size());
  if (n > 0) send(fd, response.data(), n, MSG_NOSIGNAL);
  linger hard{1, 0};
  setsockopt(fd, SOL_SOCKET, SO_LINGER, &hard, sizeof hard);
  shutdown(fd, SHUT_RDWR);
}

}  // namespace

FaultKind FaultKindFromName(const std::string& name) {
  static const std::map<std::string, FaultKind> kNames = {
      {"http500", FaultKind::kHttp500}, {"html", FaultKind::kHtml},
      {"delay", FaultKind::kDelay},     {"drip", FaultKind::kDrip},
      {"reset", FaultKind::kReset},     {"garbage", FaultKind::kGarbage},
      {"huge", FaultKind::kHuge},       {"cr", FaultKind::kCrOnly},
      {"empty", FaultKind::kEmpty},     {"close", FaultKind::kClose},
  };
  const auto it = kNames.find(name);
  return it == kNames.end() ? FaultKind::kNone : it->second;
}

class LabServer::Http : public httplib::Server {};

LabServer::LabServer(LabData data) : service_(std::move(data)), http_(std::make_unique<Http>()) {
  http_->new_task_queue = [] { return new httplib::ThreadPool(64); };
  http_->set_keep_alive_max_count(1);
  signal(SIGPIPE, SIG_IGN);  // a client gone away must not end the service
  InstallRoutes();
}

LabServer::~LabServer() { Stop(); }

int LabServer::Bind(int port) {
  if (port == 0) {
    port_ = http_->bind_to_any_port("127.0.0.1");
  } else {
    port_ = http_->bind_to_port("127.0.0.1", port) ? port : -1;
  }
  return port_;
}

bool LabServer::Serve() { return http_->listen_after_bind(); }

int LabServer::StartInBackground(int port) {
  const int bound = Bind(port);
  if (bound < 0) return -1;
  thread_ = std::thread([this] { Serve(); });
  while (!http_->is_running()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  return bound;
}

void LabServer::Stop() {
  http_->stop();
  if (thread_.joinable()) thread_.join();
}

std::vector<LoggedRequest> LabServer::Log() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return log_;
}

void LabServer::ClearLog() {
  std::lock_guard<std::mutex> lock(mutex_);
  log_.clear();
}

void LabServer::Record(const std::string& path, const std::string& query) {
  std::lock_guard<std::mutex> lock(mutex_);
  log_.push_back({path, query});
}

void LabServer::SetFault(const std::string& endpoint, Fault fault) {
  std::lock_guard<std::mutex> lock(mutex_);
  faults_[endpoint] = fault;
}

void LabServer::ClearFaults(const std::string& endpoint) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (endpoint.empty()) {
    faults_.clear();
  } else {
    faults_.erase(endpoint);
  }
}

Fault LabServer::FaultFor(const std::string& endpoint) const {
  std::lock_guard<std::mutex> lock(mutex_);
  const auto it = faults_.find(endpoint);
  return it == faults_.end() ? Fault{} : it->second;
}

void LabServer::InstallRoutes() {
  using httplib::Request;
  using httplib::Response;

  // Every request but the control API goes into the log, as it arrived.
  http_->set_pre_routing_handler([this](const Request& req, Response&) {
    const auto [path, query] = SplitTarget(req.target);
    if (path.rfind("/control/", 0) != 0) Record(path, query);
    return httplib::Server::HandlerResponse::Unhandled;
  });

  http_->Get(R"(/API/.*)", [this](const Request& req, Response& res) {
    const auto [path, query] = SplitTarget(req.target);
    const std::string endpoint = EndpointOfPath(path);
    const Fault fault = FaultFor(endpoint);
    if (fault.kind == FaultKind::kDelay) {
      std::this_thread::sleep_for(std::chrono::milliseconds(fault.value));
    }
    LabAnswer answer = service_.Api(endpoint, ParseQuery(query), req.remote_addr);
    if (fault.kind == FaultKind::kClose || fault.kind == FaultKind::kReset) {
      const std::string response = "HTTP/1.1 " + std::to_string(answer.status) + " " +
                                   StatusText(answer.status) +
                                   "\r\nContent-Type: " + answer.content_type +
                                   "\r\nContent-Length: " + std::to_string(answer.body.size()) +
                                   "\r\nConnection: close\r\n\r\n" + answer.body;
      BreakConnection(req, port_, response,
                      fault.kind == FaultKind::kClose ? 0 : static_cast<std::size_t>(fault.value));
      return;
    }
    switch (fault.kind) {
      case FaultKind::kHttp500:
        answer = {500, kPage500, "text/html"};
        break;
      case FaultKind::kHtml:
        answer = {200, kPageMaintenance, "text/html"};
        break;
      case FaultKind::kGarbage:
        answer = {200, Garbage(), "application/octet-stream"};
        break;
      case FaultKind::kHuge:
        answer.body = std::string(16u << 20, 'x') + "\r\n" + answer.body;
        break;
      case FaultKind::kCrOnly:
        answer.body = ReplaceAll(answer.body, "\r\n", "\r");
        break;
      case FaultKind::kEmpty:
        answer.body.clear();
        break;
      case FaultKind::kDrip: {
        const long gap = fault.value > 0 ? fault.value : 10;
        auto body = std::make_shared<std::string>(answer.body);
        res.status = answer.status;
        res.set_chunked_content_provider(
            answer.content_type, [body, gap](size_t offset, httplib::DataSink& sink) {
              if (offset >= body->size()) {
                sink.done();
                return true;
              }
              std::this_thread::sleep_for(std::chrono::milliseconds(gap));
              return sink.write(body->data() + offset, 1);
            });
        return;
      }
      default:
        break;
    }
    res.status = answer.status;
    res.set_content(answer.body, answer.content_type);
  });

  http_->Get(R"(/VPN/(open|close|status))", [this](const Request& req, Response& res) {
    const auto [path, query] = SplitTarget(req.target);
    const LabAnswer answer = service_.Vpn(req.matches[1], ParseQuery(query));
    res.status = answer.status;
    res.set_content(answer.body, answer.content_type);
  });

  // The service's web pages, as the browser would find them.
  for (const char* page :
       {"/", "/Auth/SignUp/", "/Auth/SearchIdPW/", "/MyPage/Payment/", "/CS/Qna/", "/CS/Notice/"}) {
    http_->Get(page, [](const Request& req, Response& res) {
      res.set_content(
          "<!DOCTYPE html><html><head><meta charset=\"utf-8\"><title>Vexo</title>"
          "</head><body><h1>Vexo lab</h1><p>" +
              req.path + "</p></body></html>",
          "text/html; charset=utf-8");
    });
  }

  auto control = [this](const char* name, auto action) {
    http_->Get(std::string("/control/") + name, [action](const Request& req, Response& res) {
      const QueryPairs q = ParseQuery(SplitTarget(req.target).second);
      std::string body;
      const bool ok = action(q, body);
      res.status = ok ? 200 : 404;
      res.set_content(body.empty() ? (ok ? "OK\r\n" : "NOT FOUND\r\n") : body, "text/plain");
    });
  };
  control("end_contract", [this](const QueryPairs& q, std::string&) {
    return service_.EndContract(QueryValue(q, "id"));
  });
  control("take_over", [this](const QueryPairs& q, std::string&) {
    return service_.TakeOver(QueryValue(q, "id"));
  });
  control("add_notice", [this](const QueryPairs& q, std::string&) {
    service_.AddNotice(QueryValue(q, "registered"), QueryValue(q, "title"));
    return true;
  });
  control("drop_tunnel", [this](const QueryPairs& q, std::string& body) {
    const int dropped = service_.DropTunnels(QueryValue(q, "tunnel"));
    body = "DROPPED " + std::to_string(dropped) + "\r\n";
    return dropped > 0;
  });
  control("set_in_use", [this](const QueryPairs& q, std::string&) {
    return service_.SetInUse(QueryValue(q, "ip"), QueryValue(q, "in_use") == "1");
  });
  control("fault", [this](const QueryPairs& q, std::string& body) {
    const FaultKind kind = FaultKindFromName(QueryValue(q, "kind"));
    const std::string endpoint = QueryValue(q, "endpoint");
    if (kind == FaultKind::kNone || endpoint.empty()) {
      body = "BAD FAULT\r\n";
      return false;
    }
    SetFault(endpoint, {kind, std::atol(QueryValue(q, "value", "0").c_str())});
    return true;
  });
  control("clear_faults", [this](const QueryPairs& q, std::string&) {
    ClearFaults(QueryValue(q, "endpoint"));
    return true;
  });
  control("log", [this](const QueryPairs&, std::string& body) {
    for (const LoggedRequest& r : Log()) body += r.path + "\t" + r.query + "\n";
    if (body.empty()) body = "\n";
    return true;
  });
  control("clear_log", [this](const QueryPairs&, std::string&) {
    ClearLog();
    return true;
  });
  control("reset", [this](const QueryPairs&, std::string&) {
    service_.Reset();
    ClearFaults("");
    ClearLog();
    return true;
  });
  control("tunnels", [this](const QueryPairs&, std::string& body) {
    for (const TunnelInfo& t : service_.Tunnels()) {
      body += t.id + "\t" + t.server + "\t" + t.adapter + "\t" + t.public_ip + "\n";
    }
    if (body.empty()) body = "\n";
    return true;
  });
}

}  // namespace vexo::lab
