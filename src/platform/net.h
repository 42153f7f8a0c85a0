// One HTTP GET exchange, as the client's requests need it.
#pragma once

#include <cstddef>
#include <memory>
#include <string>

namespace vexo::platform {

// The body of an answer, read in pieces as it arrives.
class HttpAnswer {
 public:
  virtual ~HttpAnswer() = default;

  // Reads up to `size` bytes of the body into `buffer`. Returns the number
  // read, 0 when the body is exhausted, or -1 when the transfer failed.
  // Called by the thread that opened the answer.
  virtual long Read(char* buffer, std::size_t size) = 0;
};

// A connection object: opens requests with one agent string.
class HttpSession {
 public:
  virtual ~HttpSession() = default;

  // Sends GET `url` with the system's internet settings (proxy included) and
  // ASCII transfer, cache allowed. Returns the answer whatever its status
  // code, or null when the host cannot be reached or the request fails.
  virtual std::unique_ptr<HttpAnswer> OpenUrl(const std::string& url) = 0;

  // Closes the connection; later OpenUrl calls fail.
  virtual void Close() = 0;
};

class Net {
 public:
  virtual ~Net() = default;

  // Creates a connection object with `agent` as agent string and the
  // preconfigured access type; null when it cannot be created. Any thread.
  virtual std::unique_ptr<HttpSession> OpenSession(const std::string& agent) = 0;

  // Removes any cached copy of `url`; the result is not examined. Any thread.
  virtual void PurgeCache(const std::string& url) = 0;
};

// The backend's real HTTP stack. Lives for the whole process.
Net& SystemNet();

}  // namespace vexo::platform
