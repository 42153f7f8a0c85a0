#include "lab_service.h"

#include <algorithm>
#include <cstdio>

namespace vexo::lab {
namespace {

constexpr char kEol[] = "\r\n";
constexpr char kSep[] = "#CLEAN#";

LabAnswer Lines(std::initializer_list<std::string> lines) {
  LabAnswer answer;
  for (const std::string& l : lines) answer.body += l + kEol;
  return answer;
}

// A refusal: a line that is none of the client's tokens.
LabAnswer Refused() { return Lines({"FALSE"}); }

std::string TypeOf(const QueryPairs& q) { return QueryValue(q, "type"); }

// "YYYY-M-D h:m:s" (fields of any width) as a comparable number; false when
// the text is not of that shape.
bool ParseMoment(const std::string& text, unsigned long long& moment) {
  unsigned y = 0, mo = 0, d = 0, h = 0, mi = 0, s = 0;
  char tail = 0;
  if (std::sscanf(text.c_str(), "%u-%u-%u %u:%u:%u%c", &y, &mo, &d, &h, &mi, &s, &tail) != 6) {
    return false;
  }
  if (mo > 12 || d > 31 || h > 23 || mi > 59 || s > 60) return false;
  moment = ((((y * 100ULL + mo) * 100 + d) * 100 + h) * 100 + mi) * 100 + s;
  return true;
}

}  // namespace

std::string EndpointOfPath(const std::string& path) {
  static const std::string kPrefix = "/API/";
  if (path.compare(0, kPrefix.size(), kPrefix) != 0) return "";
  std::string name = path.substr(kPrefix.size());
  if (!name.empty() && name.back() == '/') name.pop_back();
  if (name.find('/') != std::string::npos) return "";
  return name;
}

LabService::LabService(LabData data)
    : initial_(data), data_(std::move(data)), random_(std::random_device{}()) {}

void LabService::Reset() {
  std::lock_guard<std::mutex> lock(mutex_);
  data_ = initial_;
  sessions_.clear();
  tunnels_.clear();
}

Account* LabService::FindAccount(const std::string& id) {
  for (Account& a : data_.accounts) {
    if (a.id == id) return &a;
  }
  return nullptr;
}

bool LabService::Authenticated(const QueryPairs& q, Account** account) {
  Account* a = FindAccount(QueryValue(q, "id"));
  if (a == nullptr || a->digest != QueryValue(q, "pwd")) return false;
  *account = a;
  return true;
}

LabService::Session* LabService::LiveSession(const QueryPairs& q, Account** account) {
  *account = FindAccount(QueryValue(q, "id"));
  if (*account == nullptr) return nullptr;
  const std::string auth = QueryValue(q, "auth_flag");
  for (auto& [id, session] : sessions_) {
    if (id == (*account)->id && !auth.empty() && session.auth == auth) return &session;
  }
  return nullptr;
}

std::string LabService::NewAuth() {
  char text[17];
  std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(random_()));
  return text;
}

LabAnswer LabService::Api(const std::string& endpoint, const QueryPairs& q,
                          const std::string& remote) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (endpoint == "VS_LOGIN") return VsLogin(q);
  if (endpoint == "VD_LOGIN") return VdLogin(q);
  if (endpoint == "VD_IPLIST") return VdIpList(q);
  if (endpoint == "VD_LOGIN_CHK") return VdLoginChk(q);
  if (endpoint == "VD_SET_IPADDR") return VdSetIpAddr(q);
  if (endpoint == "VD_LOGOUT") return VdLogout(q);
  if (endpoint == "MyIP") return MyIp(remote);
  if (endpoint == "Notice") return Notice(q);
  if (endpoint == "VS_CONTRACT_LIST") return ContractList(q);
  if (endpoint == "VS_CONTRACT_INFO") return ContractInfo(q);
  if (endpoint == "VS_LOGOUT") return VsLogout(q);
  LabAnswer missing;
  missing.status = 404;
  missing.content_type = "text/html";
  missing.body = "<html><body><h1>404 Not Found</h1></body></html>";
  return missing;
}

LabAnswer LabService::VsLogin(const QueryPairs& q) {
  Account* a = nullptr;
  if (!Authenticated(q, &a)) return Refused();
  const auto product = a->fixed.find(QueryValue(q, "s_flag"));
  if (product == a->fixed.end()) return Refused();
  if (!a->contract || product->second.empty()) return Lines({"END"});
  return Lines({"TRUE"});
}

LabAnswer LabService::VdLogin(const QueryPairs& q) {
  Account* a = nullptr;
  if (!Authenticated(q, &a) || !a->has_dynamic) return Refused();
  const std::string type = TypeOf(q);
  const bool holds = std::any_of(a->dynamic.types.begin(), a->dynamic.types.end(),
                                 [&](int t) { return std::to_string(t) == type; });
  if (!holds) return Refused();
  if (!a->contract) return Lines({"END"});
  const std::string pc = QueryValue(q, "pc");
  const std::string v_num = QueryValue(q, "v_num");
  auto it = std::find_if(sessions_.begin(), sessions_.end(),
                         [&](const auto& s) { return s.first == a->id; });
  const bool elsewhere =
      it != sessions_.end() && (it->second.pc != pc || it->second.v_num != v_num);
  if (elsewhere && QueryValue(q, "force") != "true") return Lines({"DUP"});
  Session session{pc, v_num, NewAuth(), ""};
  if (it != sessions_.end()) {
    it->second = session;  // the old auth value is stale from now on
  } else {
    sessions_.emplace_back(a->id, session);
  }
  return Lines({"TRUE", a->dynamic.expiry, session.auth});
}

LabAnswer LabService::VdIpList(const QueryPairs& q) {
  Account* a = nullptr;
  if (LiveSession(q, &a) == nullptr) return a ? Lines({"FORCE"}) : Refused();
  LabAnswer answer = Lines({"TRUE"});
  const auto list = data_.dynamic_lists.find(std::atoi(TypeOf(q).c_str()));
  if (list != data_.dynamic_lists.end()) {
    for (const DynamicRow& row : list->second) answer.body += row.ip + kSep + row.server + kEol;
  }
  answer.body += std::string("RADIUS") + kSep + a->dynamic.vpn_user + kSep +
                 a->dynamic.vpn_password + kSep + a->dynamic.tunnel + kEol;
  return answer;
}

LabAnswer LabService::VdLoginChk(const QueryPairs& q) {
  Account* a = nullptr;
  if (LiveSession(q, &a) == nullptr) return a ? Lines({"FORCE"}) : Refused();
  return Lines({"TRUE", a->dynamic.expiry + kSep + (a->contract ? "1" : "0")});
}

LabAnswer LabService::VdSetIpAddr(const QueryPairs& q) {
  Account* a = nullptr;
  Session* session = LiveSession(q, &a);
  if (session == nullptr) return a ? Lines({"FORCE"}) : Refused();
  const std::string ip = QueryValue(q, "ip");
  const auto list = data_.dynamic_lists.find(std::atoi(TypeOf(q).c_str()));
  if (list == data_.dynamic_lists.end()) return Refused();
  const bool listed = std::any_of(list->second.begin(), list->second.end(),
                                  [&](const DynamicRow& r) { return r.ip == ip; });
  if (!listed) return Refused();
  session->chosen_ip = ip;
  return Lines({"TRUE"});
}

LabAnswer LabService::VdLogout(const QueryPairs& q) {
  Account* a = nullptr;
  if (LiveSession(q, &a) == nullptr) return a ? Lines({"FORCE"}) : Refused();
  sessions_.erase(std::remove_if(sessions_.begin(), sessions_.end(),
                                 [&](const auto& s) { return s.first == a->id; }),
                  sessions_.end());
  return Lines({"TRUE"});
}

LabAnswer LabService::MyIp(const std::string& remote) {
  const Tunnel* latest = nullptr;
  for (const Tunnel& t : tunnels_) {
    if (latest == nullptr || t.opened > latest->opened) latest = &t;
  }
  return Lines({latest ? latest->info.public_ip : remote});
}

LabAnswer LabService::Notice(const QueryPairs& q) {
  unsigned long long since = 0;
  if (!ParseMoment(QueryValue(q, "reg_time"), since)) return Refused();
  int count = 0;
  for (const auto& n : data_.notices) {
    unsigned long long at = 0;
    if (ParseMoment(n.registered, at) && at > since) ++count;
  }
  return Lines({"TRUE", std::to_string(count)});
}

LabAnswer LabService::ContractList(const QueryPairs& q) {
  Account* a = FindAccount(QueryValue(q, "id"));
  if (a == nullptr) return Refused();
  const auto product = a->fixed.find(QueryValue(q, "s_flag"));
  if (product == a->fixed.end()) return Refused();
  LabAnswer answer = Lines({"TRUE"});
  for (const Contract& c : product->second) {
    answer.body += std::string(c.in_use ? "1" : "0") + kSep + c.ip + kSep + c.expiry + kSep +
                   c.memo + kSep + c.rid + kSep + c.rpwd + kSep + c.server + kEol;
  }
  return answer;
}

LabAnswer LabService::ContractInfo(const QueryPairs& q) {
  Account* a = FindAccount(QueryValue(q, "id"));
  if (a == nullptr) return Refused();
  const auto product = a->fixed.find(QueryValue(q, "s_flag"));
  if (product == a->fixed.end()) return Refused();
  const std::string ip = QueryValue(q, "ip");
  for (const Contract& c : product->second) {
    if (c.ip == ip) {
      return Lines({"TRUE", c.expiry + kSep + (a->contract ? "1" : "0") + kSep + c.memo});
    }
  }
  return Refused();
}

LabAnswer LabService::VsLogout(const QueryPairs& q) {
  return FindAccount(QueryValue(q, "id")) ? Lines({"TRUE"}) : Refused();
}

LabAnswer LabService::Vpn(const std::string& action, const QueryPairs& q) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (action == "open") return OpenTunnel(q);
  const std::string id = QueryValue(q, "tunnel");
  const auto it = std::find_if(tunnels_.begin(), tunnels_.end(),
                               [&](const Tunnel& t) { return t.info.id == id; });
  if (action == "status") return Lines({it != tunnels_.end() ? "UP" : "DOWN"});
  if (action == "close") {
    if (it == tunnels_.end()) return Lines({"UNKNOWN"});
    tunnels_.erase(it);
    return Lines({"OK"});
  }
  LabAnswer missing;
  missing.status = 404;
  missing.body = "UNKNOWN ACTION\r\n";
  return missing;
}

LabAnswer LabService::OpenTunnel(const QueryPairs& q) {
  const std::string server = QueryValue(q, "server");
  const std::string user = QueryValue(q, "user");
  const std::string password = QueryValue(q, "password");
  bool known_server = false;
  TunnelInfo info;
  bool accepted = false;
  // Dynamic rows: the account's dial credentials open any row of its types.
  for (const auto& [type, rows] : data_.dynamic_lists) {
    for (const DynamicRow& row : rows) {
      if (row.server != server) continue;
      known_server = true;
      for (const Account& a : data_.accounts) {
        if (accepted || !a.has_dynamic || a.dynamic.vpn_user != user ||
            a.dynamic.vpn_password != password) {
          continue;
        }
        accepted = true;
        info.adapter = a.dynamic.tunnel;
        info.public_ip = row.ip;
        // Several rows on one server: the address the account chose wins.
        for (const auto& [id, session] : sessions_) {
          if (id != a.id || session.chosen_ip.empty()) continue;
          for (const DynamicRow& r : rows) {
            if (r.server == server && r.ip == session.chosen_ip) info.public_ip = r.ip;
          }
        }
      }
    }
  }
  // Fixed contracts: each has credentials of its own.
  for (const Account& a : data_.accounts) {
    for (const auto& [code, contracts] : a.fixed) {
      for (const Contract& c : contracts) {
        if (c.server != server) continue;
        known_server = true;
        if (!accepted && c.rid == user && c.rpwd == password) {
          accepted = true;
          info.adapter = c.ip;
          info.public_ip = c.ip;
        }
      }
    }
  }
  if (!known_server) return Lines({"UNREACHABLE"});
  if (!accepted) return Lines({"REFUSED"});
  info.id = "t" + std::to_string(++tunnel_counter_);
  info.server = server;
  info.user = user;
  tunnels_.push_back({info, tunnel_counter_});
  return Lines({"OK", info.id, info.adapter, info.public_ip});
}

bool LabService::EndContract(const std::string& id) {
  std::lock_guard<std::mutex> lock(mutex_);
  Account* a = FindAccount(id);
  if (a == nullptr) return false;
  a->contract = false;
  return true;
}

bool LabService::TakeOver(const std::string& id) {
  std::lock_guard<std::mutex> lock(mutex_);
  Account* a = FindAccount(id);
  if (a == nullptr) return false;
  Session elsewhere{"ELSEWHERE", "0", NewAuth(), ""};
  for (auto& [sid, session] : sessions_) {
    if (sid == id) {
      session = elsewhere;
      return true;
    }
  }
  sessions_.emplace_back(id, elsewhere);
  return true;
}

void LabService::AddNotice(const std::string& registered, const std::string& title) {
  std::lock_guard<std::mutex> lock(mutex_);
  data_.notices.push_back({registered, title});
}

int LabService::DropTunnels(const std::string& tunnel_id) {
  std::lock_guard<std::mutex> lock(mutex_);
  const auto before = tunnels_.size();
  tunnels_.erase(
      std::remove_if(tunnels_.begin(), tunnels_.end(),
                     [&](const Tunnel& t) { return tunnel_id.empty() || t.info.id == tunnel_id; }),
      tunnels_.end());
  return static_cast<int>(before - tunnels_.size());
}

bool LabService::SetInUse(const std::string& ip, bool in_use) {
  std::lock_guard<std::mutex> lock(mutex_);
  bool found = false;
  for (Account& a : data_.accounts) {
    for (auto& [code, contracts] : a.fixed) {
      for (Contract& c : contracts) {
        if (c.ip == ip) {
          c.in_use = in_use;
          found = true;
        }
      }
    }
  }
  return found;
}

std::vector<TunnelInfo> LabService::Tunnels() const {
  std::lock_guard<std::mutex> lock(mutex_);
  std::vector<TunnelInfo> out;
  for (const Tunnel& t : tunnels_) out.push_back(t.info);
  return out;
}

}  // namespace vexo::lab
