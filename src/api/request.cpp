#include "api/request.h"

#include <cstdio>

namespace vexo::api {

std::string PercentEncode(std::string_view value) {
  static const char kHex[] = "0123456789ABCDEF";
  std::string out;
  out.reserve(value.size());
  for (const char ch : value) {
    const auto c = static_cast<unsigned char>(ch);
    const bool unreserved = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') ||
                            (c >= '0' && c <= '9') || c == '-' || c == '.' || c == '_' || c == '~';
    if (unreserved) {
      out.push_back(ch);
    } else {
      out.push_back('%');
      out.push_back(kHex[c >> 4]);
      out.push_back(kHex[c & 0xF]);
    }
  }
  return out;
}

std::string MakeTimeStamp(const platform::LocalTime& t) {
  char text[80];
  std::snprintf(text, sizeof text, "%u%u%u%u%u%u", t.year, t.month, t.day, t.hour, t.minute,
                t.second);
  return text;
}

RequestAddress::RequestAddress(const std::string& host, std::string_view endpoint)
    : url_("http://" + host + "/API/") {
  url_.append(endpoint);
  url_.push_back('/');
}

RequestAddress& RequestAddress::Add(std::string_view key, std::string_view value) {
  url_.push_back(has_query_ ? '&' : '?');
  has_query_ = true;
  url_.append(key);
  url_.push_back('=');
  url_.append(PercentEncode(value));
  return *this;
}

std::string MyIpUrl(const std::string& host) { return "http://" + host + "/API/MyIP"; }

}  // namespace vexo::api
