// Where the service lives: the API host and the web host. Compiled-in
// defaults; section SERVER of the settings file (keys api and web) points the
// client elsewhere, at the lab service for instance.
#pragma once

#include <string>

#include "platform/os.h"

namespace vexo::api {

inline constexpr char kDefaultApiHost[] = "api.vexovpn.co.kr";
inline constexpr char kDefaultWebHost[] = "www.vexovpn.co.kr";
inline constexpr char kServerSection[] = "SERVER";

struct ServiceHosts {
  std::string api = kDefaultApiHost;
  std::string web = kDefaultWebHost;
};

// Reads section SERVER of the settings file; a missing or empty key keeps
// the default.
ServiceHosts ReadServiceHosts(platform::Os& os);

// "http://" web host and `path` ("/Auth/SignUp/").
std::string WebPageUrl(const ServiceHosts& hosts, const std::string& path);

}  // namespace vexo::api
