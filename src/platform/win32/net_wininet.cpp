#include <windows.h>
#include <wininet.h>

#include <memory>
#include <string>

#include "platform/net.h"

namespace vexo::platform {
namespace {

constexpr DWORD_PTR kContext = 1;

class WinInetAnswer : public HttpAnswer {
 public:
  explicit WinInetAnswer(HINTERNET request) : request_(request) {}
  ~WinInetAnswer() override { InternetCloseHandle(request_); }

  long Read(char* buffer, std::size_t size) override {
    DWORD got = 0;
    if (!InternetReadFile(request_, buffer, static_cast<DWORD>(size), &got)) return -1;
    return static_cast<long>(got);
  }

 private:
  HINTERNET request_;
};

class WinInetSession : public HttpSession {
 public:
  explicit WinInetSession(HINTERNET internet) : internet_(internet) {}
  ~WinInetSession() override { Close(); }

  std::unique_ptr<HttpAnswer> OpenUrl(const std::string& url) override {
    if (internet_ == nullptr) return nullptr;
    HINTERNET request = InternetOpenUrlA(internet_, url.c_str(), nullptr, 0,
                                         INTERNET_FLAG_TRANSFER_ASCII, kContext);
    if (request == nullptr) return nullptr;
    return std::make_unique<WinInetAnswer>(request);
  }

  void Close() override {
    if (internet_ != nullptr) {
      InternetCloseHandle(internet_);
      internet_ = nullptr;
    }
  }

 private:
  HINTERNET internet_;
};

class WinInetNet : public Net {
 public:
  std::unique_ptr<HttpSession> OpenSession(const std::string& agent) override {
    HINTERNET internet =
        InternetOpenA(agent.c_str(), INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0);
    if (internet == nullptr) return nullptr;
    return std::make_unique<WinInetSession>(internet);
  }

  void PurgeCache(const std::string& url) override { DeleteUrlCacheEntryA(url.c_str()); }
};

}  // namespace

Net& SystemNet() {
  static WinInetNet net;
  return net;
}

}  // namespace vexo::platform
