// The one-exchange routine against a real HTTP server on loopback.
#include "api/exchange.h"

#include <gtest/gtest.h>

#include <atomic>
#include <mutex>
#include <string>
#include <vector>

#include "api/request.h"
#include "support/answer_server.h"
#include "support/test_os.h"

namespace {

using vexo::api::ExchangeResult;
using vexo::platform::HttpAnswer;
using vexo::platform::HttpSession;

// Wraps the backend's HTTP stack and records what became of every
// connection object and which addresses were purged.
class RecordingNet : public vexo::platform::Net {
 public:
  class Session : public HttpSession {
   public:
    Session(RecordingNet& net, std::unique_ptr<HttpSession> inner)
        : net_(net), inner_(std::move(inner)) {}
    ~Session() override { ++net_.destroyed; }
    std::unique_ptr<HttpAnswer> OpenUrl(const std::string& url) override {
      return inner_->OpenUrl(url);
    }
    void Close() override {
      ++net_.closed;
      inner_->Close();
    }

   private:
    RecordingNet& net_;
    std::unique_ptr<HttpSession> inner_;
  };

  std::unique_ptr<HttpSession> OpenSession(const std::string& agent) override {
    agent_seen = agent;
    if (refuse_sessions) return nullptr;
    ++opened;
    return std::make_unique<Session>(*this, vexo::platform::SystemNet().OpenSession(agent));
  }
  void PurgeCache(const std::string& url) override {
    purged.push_back(url);
    vexo::platform::SystemNet().PurgeCache(url);
  }

  bool refuse_sessions = false;
  int opened = 0;
  int closed = 0;
  int destroyed = 0;
  std::string agent_seen;
  std::vector<std::string> purged;
};

class ExchangeTest : public ::testing::Test {
 protected:
  std::string Url(const char* endpoint) {
    return vexo::api::RequestAddress(vexo::test::AnswerServerAddress(), endpoint).Url();
  }

  // Runs an exchange whose reader collects every line and decides on "TRUE".
  ExchangeResult Run(const std::string& url) {
    lines_.clear();
    vexo::api::ExchangeContext context{net_, os_, "Vexovpn"};
    return vexo::api::RunExchange(context, url, [this](vexo::platform::AnswerLines& lines) {
      std::string line;
      while (lines.ReadLine(line)) {
        lines_.push_back(line);
        if (line == "TRUE") return true;
      }
      return false;
    });
  }

  void ExpectReleasedAndPurged(const std::string& url) {
    EXPECT_EQ(net_.closed, net_.opened);
    EXPECT_EQ(net_.destroyed, net_.opened);
    ASSERT_FALSE(net_.purged.empty());
    EXPECT_EQ(net_.purged.back(), url);
  }

  RecordingNet net_;
  vexo::test::TestOs os_{"."};
  std::vector<std::string> lines_;
};

TEST_F(ExchangeTest, ReadsUntilTheDecidingLine) {
  const std::string url = Url("OK");
  EXPECT_EQ(Run(url), ExchangeResult::kDecided);
  EXPECT_EQ(lines_, (std::vector<std::string>{"banner", "", "TRUE"}));
  EXPECT_EQ(os_.slept_ms.load(), 1000u) << "the fixed wait before opening";
  EXPECT_EQ(net_.agent_seen, "Vexovpn");
  ExpectReleasedAndPurged(url);
}

TEST_F(ExchangeTest, ErrorPageIsReadLikeAnyAnswer) {
  EXPECT_EQ(Run(Url("ERROR500")), ExchangeResult::kDecided);
  EXPECT_EQ(Run(Url("NOTFOUND")), ExchangeResult::kUndecided);
  EXPECT_EQ(lines_, std::vector<std::string>{"<html><body>404 Not Found</body></html>"});
  EXPECT_EQ(Run(Url("EMPTY")), ExchangeResult::kUndecided);
  EXPECT_TRUE(lines_.empty());
  ExpectReleasedAndPurged(Url("EMPTY"));
}

TEST_F(ExchangeTest, PiecesAndLongLinesArriveWhole) {
  EXPECT_EQ(Run(Url("DRIP")), ExchangeResult::kDecided);
  EXPECT_EQ(lines_, std::vector<std::string>{"TRUE"});
  EXPECT_EQ(Run(Url("BIG")), ExchangeResult::kDecided);
  ASSERT_EQ(lines_.size(), 2u);
  EXPECT_EQ(lines_[0].size(), 6u << 20);
}

TEST_F(ExchangeTest, ValuesReachTheServiceExactly) {
  vexo::api::RequestAddress address(vexo::test::AnswerServerAddress(), "ECHO");
  address.Add("id", "a&b=c #%+가").Add("rnd", "1");
  EXPECT_EQ(Run(address.Url()), ExchangeResult::kUndecided);
  ASSERT_EQ(lines_.size(), 2u);
  EXPECT_EQ(lines_[0], "/API/ECHO/?id=a%26b%3Dc%20%23%25%2B%B0%A1&rnd=1");
  EXPECT_EQ(lines_[1], "Vexovpn");
}

TEST_F(ExchangeTest, RefusedPortTakesTheUnreachablePath) {
  const std::string url = vexo::api::RequestAddress("127.0.0.1:1", "VS_LOGIN").Url();
  bool reader_called = false;
  vexo::api::ExchangeContext context{net_, os_, "Vexovpn"};
  EXPECT_EQ(vexo::api::RunExchange(context, url,
                                   [&](vexo::platform::AnswerLines&) {
                                     reader_called = true;
                                     return true;
                                   }),
            ExchangeResult::kUnreachable);
  EXPECT_FALSE(reader_called);
  EXPECT_EQ(net_.opened, 1);
  ExpectReleasedAndPurged(url);
}

TEST_F(ExchangeTest, NoConnectionObjectIsLikeUnreachable) {
  net_.refuse_sessions = true;
  const std::string url = Url("OK");
  EXPECT_EQ(Run(url), ExchangeResult::kUnreachable);
  EXPECT_TRUE(lines_.empty());
  EXPECT_EQ(net_.purged, std::vector<std::string>{url});
}

}  // namespace
