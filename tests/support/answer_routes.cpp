#include "support/answer_routes.h"

#include <httplib.h>

#include <chrono>
#include <string>
#include <thread>

namespace vexo::test {

void InstallAnswerRoutes(httplib::Server& server) {
  server.Get("/API/OK/", [](const httplib::Request&, httplib::Response& res) {
    res.set_content("banner\r\n\r\nTRUE\r\nafter\r\n", "text/plain");
  });
  // An error status with a body that holds the token: the body counts.
  server.Get("/API/ERROR500/", [](const httplib::Request&, httplib::Response& res) {
    res.status = 500;
    res.set_content("<html>\r\nTRUE\r\n</html>", "text/html");
  });
  server.Get("/API/NOTFOUND/", [](const httplib::Request&, httplib::Response& res) {
    res.status = 404;
    res.set_content("<html><body>404 Not Found</body></html>", "text/html");
  });
  server.Get("/API/EMPTY/", [](const httplib::Request&, httplib::Response& res) {
    res.set_content("", "text/plain");
  });
  // The raw request target, so a test sees what reached the service.
  server.Get(R"(/API/ECHO/.*)", [](const httplib::Request& req, httplib::Response& res) {
    res.set_content(req.target + "\n" + req.get_header_value("User-Agent"), "text/plain");
  });
  // Promises 100 bytes, sends one line and drops the connection.
  server.Get("/API/CUT/", [](const httplib::Request&, httplib::Response& res) {
    res.set_content_provider(100, "text/plain", [](size_t offset, size_t, httplib::DataSink& sink) {
      if (offset > 0) return false;
      sink.write("partial\r\n", 9);
      return true;
    });
  });
  // Trickles the answer in pieces that split a CR LF pair.
  server.Get("/API/DRIP/", [](const httplib::Request&, httplib::Response& res) {
    res.set_chunked_content_provider("text/plain", [](size_t offset, httplib::DataSink& sink) {
      static const char* const kPieces[] = {"TR", "UE\r", "\nEN", "D"};
      const size_t index = offset == 0 ? 0 : offset == 2 ? 1 : offset == 5 ? 2 : 3;
      if (offset >= 9) {
        sink.done();
        return true;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
      sink.write(kPieces[index], std::char_traits<char>::length(kPieces[index]));
      return true;
    });
  });
  server.Get("/API/BIG/", [](const httplib::Request&, httplib::Response& res) {
    res.set_content(std::string(6u << 20, 'x') + "\nTRUE", "text/plain");
  });
}

}  // namespace vexo::test
