// HTTP for the host backend: libcurl, driven step by step through its multi
// interface so that the body is read as it arrives, like a socket read.
#include <curl/curl.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <mutex>
#include <string>

#include "platform/net.h"

namespace vexo::platform {
namespace {

void GlobalInitOnce() {
  static std::once_flag once;
  std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

class CurlAnswer : public HttpAnswer {
 public:
  CurlAnswer(CURLM* multi, CURL* easy) : multi_(multi), easy_(easy) {}
  ~CurlAnswer() override {
    curl_multi_remove_handle(multi_, easy_);
    curl_easy_cleanup(easy_);
    curl_multi_cleanup(multi_);
  }

  static size_t OnData(char* data, size_t size, size_t count, void* self) {
    auto* answer = static_cast<CurlAnswer*>(self);
    answer->pending_.append(data, size * count);
    return size * count;
  }

  // Drives the transfer until a first byte of the body arrived or it ended.
  // Returns false when the transfer failed before any byte of the answer.
  bool Start() {
    while (pending_.empty() && !done_) Step();
    if (done_ && result_ != CURLE_OK) {
      long code = 0;
      curl_easy_getinfo(easy_, CURLINFO_RESPONSE_CODE, &code);
      return code != 0;  // headers arrived: an answer, cut while reading
    }
    return true;
  }

  long Read(char* buffer, std::size_t size) override {
    while (pending_.size() <= offset_ && !done_) Step();
    if (pending_.size() > offset_) {
      const std::size_t n = std::min(size, pending_.size() - offset_);
      std::memcpy(buffer, pending_.data() + offset_, n);
      offset_ += n;
      if (offset_ == pending_.size()) {
        pending_.clear();
        offset_ = 0;
      }
      return static_cast<long>(n);
    }
    return result_ == CURLE_OK ? 0 : -1;
  }

 private:
  void Step() {
    int running = 0;
    curl_multi_perform(multi_, &running);
    int queued = 0;
    while (CURLMsg* msg = curl_multi_info_read(multi_, &queued)) {
      if (msg->msg == CURLMSG_DONE) {
        done_ = true;
        result_ = msg->data.result;
      }
    }
    if (!done_ && running == 0) {
      done_ = true;  // ended without a message: count it as failed
      result_ = CURLE_RECV_ERROR;
    }
    if (!done_) curl_multi_poll(multi_, nullptr, 0, 1000, nullptr);
  }

  CURLM* multi_;
  CURL* easy_;
  std::string pending_;
  std::size_t offset_ = 0;
  bool done_ = false;
  CURLcode result_ = CURLE_OK;
};

class CurlSession : public HttpSession {
 public:
  explicit CurlSession(std::string agent) : agent_(std::move(agent)) {}

  std::unique_ptr<HttpAnswer> OpenUrl(const std::string& url) override {
    if (closed_) return nullptr;
    CURLM* multi = curl_multi_init();
    CURL* easy = curl_easy_init();
    if (!multi || !easy) {
      if (easy) curl_easy_cleanup(easy);
      if (multi) curl_multi_cleanup(multi);
      return nullptr;
    }
    auto answer = std::make_unique<CurlAnswer>(multi, easy);
    curl_easy_setopt(easy, CURLOPT_URL, url.c_str());
    curl_easy_setopt(easy, CURLOPT_USERAGENT, agent_.c_str());
    curl_easy_setopt(easy, CURLOPT_HTTPGET, 1L);
    curl_easy_setopt(easy, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(easy, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(easy, CURLOPT_WRITEFUNCTION, &CurlAnswer::OnData);
    curl_easy_setopt(easy, CURLOPT_WRITEDATA, answer.get());
    // libcurl takes the proxy from the environment (http_proxy, no_proxy), the
    // system's settings on this platform. No time-outs of the client's own.
    curl_multi_add_handle(multi, easy);
    if (!answer->Start()) return nullptr;
    return answer;
  }

  void Close() override { closed_ = true; }

 private:
  std::string agent_;
  bool closed_ = false;
};

class CurlNet : public Net {
 public:
  std::unique_ptr<HttpSession> OpenSession(const std::string& agent) override {
    GlobalInitOnce();
    return std::make_unique<CurlSession>(agent);
  }

  // libcurl keeps no cache of its own: nothing to remove.
  void PurgeCache(const std::string&) override {}
};

}  // namespace

Net& SystemNet() {
  static CurlNet net;
  return net;
}

}  // namespace vexo::platform
