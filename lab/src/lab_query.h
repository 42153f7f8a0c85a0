// Query strings as the lab reads them: pairs split at '&' and '=', values
// percent-decoded byte by byte; raw bytes (CP949 from older clients) are
// kept as they came, and '+' stays a plus.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace vexo::lab {

using QueryPairs = std::vector<std::pair<std::string, std::string>>;

std::string PercentDecode(const std::string& text);

// The pairs of `raw_query` in their order, names and values decoded.
QueryPairs ParseQuery(const std::string& raw_query);

// The value of the first pair named `key`, or `fallback`.
std::string QueryValue(const QueryPairs& pairs, const std::string& key,
                       const std::string& fallback = "");

// Splits a request target into path and raw query (without the '?').
std::pair<std::string, std::string> SplitTarget(const std::string& target);

}  // namespace vexo::lab
