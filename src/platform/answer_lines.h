// Splits an answer body into lines by the service's rules: a line ends at a
// line feed, carriage returns are dropped wherever they stand, an empty line
// is a line, a last line without line feed is still a line, and a line may be
// as long as the answer.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "platform/net.h"

namespace vexo::platform {

class AnswerLines {
 public:
  // Reads `answer` through a buffer of `buffer_size` bytes.
  AnswerLines(HttpAnswer& answer, std::size_t buffer_size);

  // Puts the next line into `line`. Returns false when no line is left or the
  // transfer failed (then Failed() is true).
  bool ReadLine(std::string& line);

  // True when the transfer failed before the body ended.
  bool Failed() const { return failed_; }

 private:
  bool Fill();

  HttpAnswer& answer_;
  std::vector<char> buffer_;
  std::size_t begin_ = 0;
  std::size_t end_ = 0;
  bool exhausted_ = false;
  bool failed_ = false;
};

}  // namespace vexo::platform
