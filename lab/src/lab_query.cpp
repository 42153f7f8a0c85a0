#include "lab_query.h"

namespace vexo::lab {
namespace {

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

std::string PercentDecode(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '%' && i + 2 < text.size() && HexValue(text[i + 1]) >= 0 &&
        HexValue(text[i + 2]) >= 0) {
      out.push_back(static_cast<char>(HexValue(text[i + 1]) * 16 + HexValue(text[i + 2])));
      i += 2;
    } else {
      out.push_back(text[i]);  // a lone '%' stays as it is
    }
  }
  return out;
}

QueryPairs ParseQuery(const std::string& raw_query) {
  QueryPairs pairs;
  std::size_t start = 0;
  while (start <= raw_query.size()) {
    std::size_t end = raw_query.find('&', start);
    if (end == std::string::npos) end = raw_query.size();
    const std::string part = raw_query.substr(start, end - start);
    if (!part.empty()) {
      const std::size_t eq = part.find('=');
      if (eq == std::string::npos) {
        pairs.emplace_back(PercentDecode(part), "");
      } else {
        pairs.emplace_back(PercentDecode(part.substr(0, eq)), PercentDecode(part.substr(eq + 1)));
      }
    }
    start = end + 1;
  }
  return pairs;
}

std::string QueryValue(const QueryPairs& pairs, const std::string& key,
                       const std::string& fallback) {
  for (const auto& [name, value] : pairs) {
    if (name == key) return value;
  }
  return fallback;
}

std::pair<std::string, std::string> SplitTarget(const std::string& target) {
  const std::size_t q = target.find('?');
  if (q == std::string::npos) return {target, ""};
  return {target.substr(0, q), target.substr(q + 1)};
}

}  // namespace vexo::lab
