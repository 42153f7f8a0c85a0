#include "platform/answer_lines.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

namespace {

// Hands out a body in pieces of a fixed size, then ends or fails.
class PieceAnswer : public vexo::platform::HttpAnswer {
 public:
  PieceAnswer(std::string body, std::size_t piece, bool fail_at_end)
      : body_(std::move(body)), piece_(piece), fail_(fail_at_end) {}
  long Read(char* buffer, std::size_t size) override {
    if (offset_ == body_.size()) return fail_ ? -1 : 0;
    const std::size_t n = std::min({size, piece_, body_.size() - offset_});
    std::memcpy(buffer, body_.data() + offset_, n);
    offset_ += n;
    return static_cast<long>(n);
  }

 private:
  std::string body_;
  std::size_t piece_;
  bool fail_;
  std::size_t offset_ = 0;
};

std::vector<std::string> Lines(const std::string& body, std::size_t piece, bool fail = false,
                               bool* failed = nullptr) {
  PieceAnswer answer(body, piece, fail);
  vexo::platform::AnswerLines lines(answer, 4096);
  std::vector<std::string> out;
  std::string line;
  while (lines.ReadLine(line)) out.push_back(line);
  if (failed) *failed = lines.Failed();
  return out;
}

struct LineCase {
  const char* name;
  std::string body;
  std::vector<std::string> lines;
};

TEST(AnswerLinesTest, SplitsByTheServiceRules) {
  const LineCase cases[] = {
      {"CR LF", "TRUE\r\n2026-12-31\r\nabc\r\n", {"TRUE", "2026-12-31", "abc"}},
      {"LF", "TRUE\n2026-12-31\nabc\n", {"TRUE", "2026-12-31", "abc"}},
      {"CR inside a line", "TR\rUE\r\n", {"TRUE"}},
      {"CR-only line ends", "TRUE\rEND\r", {"TRUEEND"}},
      {"blank line", "a\r\n\r\nb\n", {"a", "", "b"}},
      {"last line without LF", "a\nb", {"a", "b"}},
      {"lone CR at the end", "a\n\r", {"a", ""}},
      {"only a line feed", "\n", {""}},
      {"empty body", "", {}},
      {"code page bytes", "\xb0\xa1#CLEAN#x\n", {"\xb0\xa1#CLEAN#x"}},
  };
  for (const LineCase& c : cases) {
    for (std::size_t piece : {std::size_t{1}, std::size_t{3}, std::size_t{4096}}) {
      EXPECT_EQ(Lines(c.body, piece), c.lines) << c.name << ", pieces of " << piece;
    }
  }
}

TEST(AnswerLinesTest, LineOfSeveralMegabytes) {
  const std::string big(5u << 20, 'm');
  const auto lines = Lines(big + "\r\nTRUE", 4096);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0], big);
  EXPECT_EQ(lines[1], "TRUE");
}

TEST(AnswerLinesTest, BrokenTransferIsNotAnEnd) {
  bool failed = false;
  EXPECT_EQ(Lines("one\ntw", 2, true, &failed), std::vector<std::string>{"one"})
      << "a line cut by the failure is not a line";
  EXPECT_TRUE(failed);
  EXPECT_EQ(Lines("one\ntw", 2, false, &failed), (std::vector<std::string>{"one", "tw"}));
  EXPECT_FALSE(failed);
}

}  // namespace
