// The settings file: the last account, the product choice and the options,
// in section OPTION of "Vexovpn.ini" in the current directory at the moment of
// each access. Nothing is cached; every value is read or written by a call of
// its own.
#pragma once

#include <string>

#include "platform/os.h"

namespace vexo::settings {

inline constexpr char kFileName[] = "Vexovpn.ini";
inline constexpr char kSection[] = "OPTION";

// Buffer sizes of the text reads.
inline constexpr std::size_t kPwdBufferSize = 80;
inline constexpr std::size_t kAutoTimeBufferSize = 200;
inline constexpr std::size_t kNoticeTimeBufferSize = 255;

inline constexpr char kDefaultAutoTime[] = "10";
inline constexpr char kDefaultNoticeTime[] = "0";

// The current directory followed by "\Vexovpn.ini", asked anew.
std::string SettingsPath(platform::Os& os);

// What the login window reads when it opens.
struct SavedAccount {
  std::string id;    // whole, however long
  std::string pwd;   // the password digest
  int services = 0;  // 0 fixed IP, 1 dynamic IP
  int dtype = 0;
  int stype = 0;
};
SavedAccount ReadAccount(platform::Os& os);

// What each product window reads when it is created.
struct SavedOptions {
  int type = 0;  // tunnel type: 0 L2TP, other PPTP
  std::string autotime = kDefaultAutoTime;
  std::string noticestime = kDefaultNoticeTime;
};
SavedOptions ReadOptions(platform::Os& os);

// Which product's type key a full write ends with.
enum class Product { kFixed, kDynamic };

// Everything a product window writes at a hand-over and at the notice page.
struct FullSettings {
  std::string id;
  std::string pwd;  // the digest, never the password
  std::string autotime;
  std::string noticestime;
  int type = 0;
  int services = 0;
  Product product = Product::kFixed;
  int product_type = 0;  // written as dtype (dynamic) or stype (fixed)
};

// Writes id, pwd, autotime, noticestime, type, services, then dtype or stype.
void WriteFull(platform::Os& os, const FullSettings& values);

// Writes autotime, noticestime, type: what a logout keeps.
void WriteOptions(platform::Os& os, const std::string& autotime, const std::string& noticestime,
                  int type);

// The notice time: "%u-%02u-%02u %02u:%02u:%02u".
std::string FormatNoticeTime(const platform::LocalTime& t);

}  // namespace vexo::settings
