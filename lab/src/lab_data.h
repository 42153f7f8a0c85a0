// The lab service's world: accounts with their products, the dynamic address
// lists, the fixed contracts and the notices, as loaded from its JSON file.
#pragma once

#include <map>
#include <string>
#include <vector>

namespace vexo::lab {

struct DynamicRow {
  std::string ip;      // the public address the row gives
  std::string server;  // the dial target
};

struct DynamicProduct {
  std::vector<int> types;  // 8 ("유동-A"), 9 ("유동-B")
  std::string expiry;
  std::string vpn_user;
  std::string vpn_password;
  std::string tunnel;  // the tunnel adapter's address while connected
};

struct Contract {
  std::string ip;
  std::string expiry;
  std::string memo;     // UTF-8
  bool in_use = false;  // in use elsewhere
  std::string rid;
  std::string rpwd;
  std::string server;
};

struct Account {
  std::string id;
  std::string digest;  // MD5 of the password, lower-case hex
  bool contract = true;
  bool has_dynamic = false;
  DynamicProduct dynamic;
  std::map<std::string, std::vector<Contract>> fixed;  // by product code: Vs, VsKT, VsETC
};

struct Notice {
  std::string registered;  // "YYYY-MM-DD hh:mm:ss"
  std::string title;
};

struct LabData {
  std::vector<Account> accounts;
  std::map<int, std::vector<DynamicRow>> dynamic_lists;  // by type
  std::vector<Notice> notices;
};

// Parses the JSON text of a data file. Throws std::runtime_error with a
// message that names the fault when the text is not a valid data file.
LabData ParseLabData(const std::string& json_text);

// Reads and parses a data file; throws std::runtime_error on failure.
LabData LoadLabData(const std::string& path);

// MD5 of `text` as 32 lower-case hexadecimal characters.
std::string Md5Hex(const std::string& text);

}  // namespace vexo::lab
