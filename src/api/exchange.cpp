#include "api/exchange.h"

#include <memory>

namespace vexo::api {

ExchangeResult RunExchange(const ExchangeContext& context, const std::string& url,
                           const AnswerReader& reader) {
  std::unique_ptr<platform::HttpSession> session = context.net.OpenSession(context.agent);
  if (!session) {
    context.net.PurgeCache(url);
    return ExchangeResult::kUnreachable;
  }
  context.os.Sleep(kOpenDelayMs);
  std::unique_ptr<platform::HttpAnswer> answer = session->OpenUrl(url);
  ExchangeResult result = ExchangeResult::kUnreachable;
  if (answer) {
    platform::AnswerLines lines(*answer, kReadBufferSize);
    if (reader(lines)) {
      result = ExchangeResult::kDecided;
    } else {
      result = lines.Failed() ? ExchangeResult::kUnreachable : ExchangeResult::kUndecided;
    }
  }
  // The answer goes first: it lives on the connection's handle.
  answer.reset();
  session->Close();
  session.reset();
  context.net.PurgeCache(url);
  return result;
}

}  // namespace vexo::api
