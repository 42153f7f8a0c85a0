#include "platform/net.h"

#include <windows.h>
#include <wininet.h>

#include <memory>
#include <string>

namespace vexo::platform {
namespace {

constexpr DWORD_PTR kContext = 1;

class WinInetAnswer : public HttpAnswer {
 public:
  explicit WinInetAnswer(HINTERNET request) : request_(request) {
    DWORD length = 0;
    DWORD size = sizeof length;
    if (HttpQueryInfoA(request_, HTTP_QUERY_CONTENT_LENGTH | HTTP_QUERY_FLAG_NUMBER, &length, &size,
                       nullptr)) {
      expected_ = length;
      known_length_ = true;
    }
  }
  ~WinInetAnswer() override { InternetCloseHandle(request_); }

  long Read(char* buffer, std::size_t size) override {
    DWORD got = 0;
    if (!InternetReadFile(request_, buffer, static_cast<DWORD>(size), &got)) return -1;
    received_ += got;
    // WinINet ends a body that the server cut short like a complete one; the
    // announced length tells the two apart.
    if (got == 0 && known_length_ && received_ < expected_) return -1;
    return static_cast<long>(got);
  }

 private:
  HINTERNET request_;
  unsigned long long expected_ = 0;
  unsigned long long received_ = 0;
  bool known_length_ = false;
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
    // A server that closed without any answer gives no status line: that is
    // no answer at all, whatever handle WinINet made of it.
    DWORD status = 0;
    DWORD size = sizeof status;
    if (!HttpQueryInfoA(request, HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status, &size,
                        nullptr) ||
        status == 0) {
      InternetCloseHandle(request);
      return nullptr;
    }
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
