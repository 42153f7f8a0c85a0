// Feeds arbitrary answer bodies, in arbitrary pieces, to the line rules and
// the login readers: they must end, and never read out of bounds.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "api/login_exchange.h"
#include "platform/answer_lines.h"

namespace {

class Pieces : public vexo::platform::HttpAnswer {
 public:
  Pieces(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
  long Read(char* buffer, std::size_t capacity) override {
    if (offset_ >= size_) return size_ % 7 == 3 ? -1 : 0;  // sometimes a broken transfer
    // The first byte chooses the piece size.
    const std::size_t piece = 1 + (size_ > 0 ? data_[0] % 64 : 0);
    std::size_t n = piece < capacity ? piece : capacity;
    if (n > size_ - offset_) n = size_ - offset_;
    std::memcpy(buffer, data_ + offset_, n);
    offset_ += n;
    return static_cast<long>(n);
  }

 private:
  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t offset_ = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  {
    Pieces answer(data, size);
    vexo::platform::AnswerLines lines(answer, 4096);
    std::string line;
    std::size_t total = 0;
    while (lines.ReadLine(line)) total += line.size();
    if (total > size) __builtin_trap();  // lines never hold more than the body
  }
  for (auto reader : {&vexo::api::ReadVsLoginAnswer, &vexo::api::ReadVdLoginAnswer}) {
    Pieces answer(data, size);
    vexo::platform::AnswerLines lines(answer, 4096);
    vexo::api::LoginOutcome outcome;
    reader(lines, outcome);
  }
  return 0;
}
