#include "platform/answer_lines.h"

#include <algorithm>
#include <cstring>

namespace vexo::platform {

AnswerLines::AnswerLines(HttpAnswer& answer, std::size_t buffer_size)
    : answer_(answer), buffer_(std::max<std::size_t>(buffer_size, 1)) {}

bool AnswerLines::Fill() {
  if (exhausted_) return false;
  const long got = answer_.Read(buffer_.data(), buffer_.size());
  if (got <= 0) {
    exhausted_ = true;
    failed_ = got < 0;
    return false;
  }
  begin_ = 0;
  end_ = static_cast<std::size_t>(got);
  return true;
}

bool AnswerLines::ReadLine(std::string& line) {
  line.clear();
  bool any = false;  // a byte of this line (CR included) has been seen
  for (;;) {
    if (begin_ == end_ && !Fill()) {
      // A last line without line feed still counts, unless the transfer broke.
      return any && !failed_;
    }
    any = true;
    const char* start = buffer_.data() + begin_;
    const std::size_t available = end_ - begin_;
    const void* lf = std::memchr(start, '\n', available);
    const std::size_t take =
        lf ? static_cast<std::size_t>(static_cast<const char*>(lf) - start) : available;
    // Runs between carriage returns are appended whole.
    const char* run = start;
    const char* const stop = start + take;
    while (run < stop) {
      const void* cr = std::memchr(run, '\r', static_cast<std::size_t>(stop - run));
      const char* run_end = cr ? static_cast<const char*>(cr) : stop;
      line.append(run, static_cast<std::size_t>(run_end - run));
      run = cr ? run_end + 1 : stop;
    }
    begin_ += take;
    if (lf) {
      ++begin_;  // the line feed is not part of the line
      return true;
    }
  }
}

}  // namespace vexo::platform
