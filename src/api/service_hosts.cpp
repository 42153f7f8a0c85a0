#include "api/service_hosts.h"

#include "settings/settings.h"

namespace vexo::api {
namespace {

constexpr std::size_t kHostBufferSize = 256;

std::string ReadHost(platform::Os& os, const char* key, const char* fallback) {
  std::string host =
      os.GetProfileString(kServerSection, key, "", kHostBufferSize, settings::SettingsPath(os));
  return host.empty() ? fallback : host;
}

}  // namespace

ServiceHosts ReadServiceHosts(platform::Os& os) {
  ServiceHosts hosts;
  hosts.api = ReadHost(os, "api", kDefaultApiHost);
  hosts.web = ReadHost(os, "web", kDefaultWebHost);
  return hosts;
}

std::string WebPageUrl(const ServiceHosts& hosts, const std::string& path) {
  return "http://" + hosts.web + path;
}

}  // namespace vexo::api
