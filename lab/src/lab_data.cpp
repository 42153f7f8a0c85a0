#include "lab_data.h"

#include <fstream>
#include <iterator>
#include <nlohmann/json.hpp>
#include <stdexcept>

#include "util/md5_digest.h"

namespace vexo::lab {
namespace {

using nlohmann::json;

std::string Text(const json& object, const char* key, const std::string& fallback = "") {
  if (!object.contains(key)) return fallback;
  return object.at(key).get<std::string>();
}

Contract ParseContract(const json& j) {
  Contract c;
  c.ip = Text(j, "ip");
  c.expiry = Text(j, "expiry");
  c.memo = Text(j, "memo");
  c.in_use = j.value("in_use", false);
  c.rid = Text(j, "rid");
  c.rpwd = Text(j, "rpwd");
  c.server = Text(j, "server");
  if (c.ip.empty() || c.server.empty()) throw std::runtime_error("a contract needs ip and server");
  return c;
}

Account ParseAccount(const json& j) {
  Account a;
  a.id = Text(j, "id");
  if (a.id.empty()) throw std::runtime_error("an account needs an id");
  if (j.contains("password_md5")) {
    a.digest = Text(j, "password_md5");
  } else if (j.contains("password")) {
    a.digest = Md5Hex(Text(j, "password"));
  } else {
    throw std::runtime_error("account " + a.id + " needs password or password_md5");
  }
  a.contract = j.value("contract", true);
  if (j.contains("dynamic")) {
    const json& d = j.at("dynamic");
    a.has_dynamic = true;
    a.dynamic.types = d.value("types", std::vector<int>{8, 9});
    a.dynamic.expiry = Text(d, "expiry");
    a.dynamic.vpn_user = Text(d, "vpn_user");
    a.dynamic.vpn_password = Text(d, "vpn_password");
    a.dynamic.tunnel = Text(d, "tunnel");
  }
  if (j.contains("fixed")) {
    for (const auto& [code, list] : j.at("fixed").items()) {
      auto& contracts = a.fixed[code];
      for (const json& c : list) contracts.push_back(ParseContract(c));
    }
  }
  return a;
}

}  // namespace

std::string Md5Hex(const std::string& text) { return DigestPassword(text); }

LabData ParseLabData(const std::string& json_text) {
  try {
    const json root = json::parse(json_text);
    LabData data;
    for (const json& a : root.value("accounts", json::array())) {
      data.accounts.push_back(ParseAccount(a));
    }
    const json lists = root.value("dynamic_lists", json::object());
    for (const auto& [type, rows] : lists.items()) {
      auto& list = data.dynamic_lists[std::stoi(type)];
      for (const json& r : rows) list.push_back({Text(r, "ip"), Text(r, "server")});
    }
    for (const json& n : root.value("notices", json::array())) {
      data.notices.push_back({Text(n, "registered"), Text(n, "title")});
    }
    return data;
  } catch (const std::runtime_error&) {
    throw;
  } catch (const std::exception& e) {
    throw std::runtime_error(std::string("bad lab data: ") + e.what());
  }
}

LabData LoadLabData(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read lab data file " + path);
  return ParseLabData(
      std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>()));
}

}  // namespace vexo::lab
