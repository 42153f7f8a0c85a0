// The service's behaviour, apart from HTTP: logins and sessions with their
// auth values, take-over, the address lists, contracts, notices, MyIP, and
// the VPN side that the simulated dial talks to. Thread-safe: every call
// takes one lock.
#pragma once

#include <cstdint>
#include <mutex>
#include <random>
#include <string>
#include <vector>

#include "lab_data.h"
#include "lab_query.h"

namespace vexo::lab {

struct LabAnswer {
  int status = 200;
  std::string body;
  std::string content_type = "text/plain";
};

struct TunnelInfo {
  std::string id;
  std::string server;
  std::string user;
  std::string adapter;  // the address the tunnel adapter carries
  std::string public_ip;
};

class LabService {
 public:
  explicit LabService(LabData data);

  // Back to the world as loaded: sessions, tunnels and control changes gone.
  void Reset();

  // An API endpoint ("VD_LOGIN", "MyIP", ...) with its decoded query pairs;
  // `remote` is the caller's own address. Unknown endpoints give 404.
  LabAnswer Api(const std::string& endpoint, const QueryPairs& query, const std::string& remote);

  // The VPN side: "open" (server, user, password), "close" and "status"
  // (tunnel).
  LabAnswer Vpn(const std::string& action, const QueryPairs& query);

  // Controls for tests and the demo. Each returns false when it found
  // nothing to act on.
  bool EndContract(const std::string& id);
  bool TakeOver(const std::string& id);  // a login of the account elsewhere
  void AddNotice(const std::string& registered, const std::string& title);
  int DropTunnels(const std::string& tunnel_id);  // "" drops all; returns how many
  bool SetInUse(const std::string& ip, bool in_use);
  std::vector<TunnelInfo> Tunnels() const;

 private:
  struct Session {
    std::string pc;
    std::string v_num;
    std::string auth;
    std::string chosen_ip;  // the last address of VD_SET_IPADDR
  };
  struct Tunnel {
    TunnelInfo info;
    std::uint64_t opened = 0;  // order of opening
  };

  Account* FindAccount(const std::string& id);
  bool Authenticated(const QueryPairs& query, Account** account);
  // The account's live session when the request's auth value is its own.
  Session* LiveSession(const QueryPairs& query, Account** account);
  std::string NewAuth();

  LabAnswer VsLogin(const QueryPairs& q);
  LabAnswer VdLogin(const QueryPairs& q);
  LabAnswer VdIpList(const QueryPairs& q);
  LabAnswer VdLoginChk(const QueryPairs& q);
  LabAnswer VdSetIpAddr(const QueryPairs& q);
  LabAnswer VdLogout(const QueryPairs& q);
  LabAnswer MyIp(const std::string& remote);
  LabAnswer Notice(const QueryPairs& q);
  LabAnswer ContractList(const QueryPairs& q);
  LabAnswer ContractInfo(const QueryPairs& q);
  LabAnswer VsLogout(const QueryPairs& q);
  LabAnswer OpenTunnel(const QueryPairs& q);

  mutable std::mutex mutex_;
  const LabData initial_;
  LabData data_;
  std::vector<std::pair<std::string, Session>> sessions_;  // by account id
  std::vector<Tunnel> tunnels_;
  std::uint64_t tunnel_counter_ = 0;
  std::mt19937_64 random_;
};

// The endpoint name of an API path: "/API/VD_LOGIN/" gives "VD_LOGIN";
// empty when the path is not under /API/.
std::string EndpointOfPath(const std::string& path);

}  // namespace vexo::lab
