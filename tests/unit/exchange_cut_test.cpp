// A transfer that breaks while the answer is read.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "api/exchange.h"
#include "api/request.h"
#include "support/answer_server.h"
#include "support/test_os.h"

namespace {

TEST(ExchangeCutTest, BrokenTransferBeforeTheDecisionIsUnreachable) {
  vexo::test::TestOs os(".");
  vexo::api::ExchangeContext context{vexo::platform::SystemNet(), os, "Vexovpn"};
  const std::string url = vexo::api::RequestAddress(vexo::test::AnswerServerAddress(), "CUT").Url();
  std::vector<std::string> seen;
  const auto result = vexo::api::RunExchange(context, url, [&](vexo::platform::AnswerLines& l) {
    std::string line;
    while (l.ReadLine(line)) seen.push_back(line);
    return false;
  });
  EXPECT_EQ(result, vexo::api::ExchangeResult::kUnreachable);
  EXPECT_EQ(seen, std::vector<std::string>{"partial"});
}

}  // namespace
