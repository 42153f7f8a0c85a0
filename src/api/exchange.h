// One exchange with the service, as every endpoint performs it on its worker:
// create the connection object, wait 1000 ms, open the request, read the
// answer through a 4096-byte buffer, close, purge the address from the cache.
#pragma once

#include <functional>
#include <string>

#include "platform/answer_lines.h"
#include "platform/net.h"
#include "platform/os.h"

namespace vexo::api {

inline constexpr unsigned kOpenDelayMs = 1000;
inline constexpr std::size_t kReadBufferSize = 4096;

enum class ExchangeResult {
  kUnreachable,  // not opened, no connection object, or the transfer broke
                 // before the reader decided
  kDecided,      // the reader found the line that decides
  kUndecided,    // the answer ended without a deciding line
};

// Reads the answer's lines; returns true when a line decided the outcome
// (it then stops reading).
using AnswerReader = std::function<bool(platform::AnswerLines& lines)>;

struct ExchangeContext {
  platform::Net& net;
  platform::Os& os;
  std::string agent;  // the application's name
};

// Performs one exchange of `url`. Runs on the calling (worker) thread.
ExchangeResult RunExchange(const ExchangeContext& context, const std::string& url,
                           const AnswerReader& reader);

}  // namespace vexo::api
