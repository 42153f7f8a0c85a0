// How a request address is built: "http://" host "/API/" endpoint "/?" and the
// pairs in the endpoint's order, every value percent-encoded byte by byte.
#pragma once

#include <string>
#include <string_view>

#include "platform/os.h"

namespace vexo::api {

// Endpoint names, as they stand in the path.
inline constexpr char kVsLogin[] = "VS_LOGIN";
inline constexpr char kVdLogin[] = "VD_LOGIN";
inline constexpr char kVdIpList[] = "VD_IPLIST";
inline constexpr char kVdLoginChk[] = "VD_LOGIN_CHK";
inline constexpr char kVdSetIpAddr[] = "VD_SET_IPADDR";
inline constexpr char kVdLogout[] = "VD_LOGOUT";
inline constexpr char kNotice[] = "Notice";
inline constexpr char kVsContractList[] = "VS_CONTRACT_LIST";
inline constexpr char kVsContractInfo[] = "VS_CONTRACT_INFO";
inline constexpr char kVsLogout[] = "VS_LOGOUT";

// The client version every request whose first key is id ends with.
inline constexpr char kClientVersion[] = "V1.0";

// Unreserved bytes (letters, digits, '-', '.', '_', '~') stay; every other
// byte becomes "%XX". The service decodes it, so values reach it exactly and
// can neither add nor cut parameters.
std::string PercentEncode(std::string_view value);

// The time stamp rnd: year, month, day, hour, minute, second as unsigned
// decimals without padding or separator ("%u%u%u%u%u%u").
std::string MakeTimeStamp(const platform::LocalTime& t);

class RequestAddress {
 public:
  // Starts "http://" host "/API/" endpoint "/".
  RequestAddress(const std::string& host, std::string_view endpoint);

  // Appends key=value: '?' before the first pair, '&' before the others.
  RequestAddress& Add(std::string_view key, std::string_view value);

  const std::string& Url() const { return url_; }

 private:
  std::string url_;
  bool has_query_ = false;
};

// "http://" host "/API/MyIP": no query, no trailing slash.
std::string MyIpUrl(const std::string& host);

}  // namespace vexo::api
