// The work that grows with the input: splitting answers into lines (a 16 MB
// line, many short lines) and percent-encoding request values.
#include <benchmark/benchmark.h>

#include <cstring>
#include <string>

#include "api/request.h"
#include "platform/answer_lines.h"

namespace {

class StringAnswer : public vexo::platform::HttpAnswer {
 public:
  explicit StringAnswer(const std::string& body) : body_(body) {}
  long Read(char* buffer, std::size_t size) override {
    const std::size_t n = std::min(size, body_.size() - offset_);
    std::memcpy(buffer, body_.data() + offset_, n);
    offset_ += n;
    return static_cast<long>(n);
  }

 private:
  const std::string& body_;
  std::size_t offset_ = 0;
};

void SplitLines(benchmark::State& state, const std::string& body) {
  for (auto _ : state) {
    StringAnswer answer(body);
    vexo::platform::AnswerLines lines(answer, 4096);
    std::string line;
    std::size_t count = 0;
    while (lines.ReadLine(line)) ++count;
    benchmark::DoNotOptimize(count);
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * body.size()));
}

void BM_OneHugeLine(benchmark::State& state) {
  static const std::string body = std::string(16u << 20, 'x') + "\r\nTRUE\r\n";
  SplitLines(state, body);
}
BENCHMARK(BM_OneHugeLine)->Unit(benchmark::kMillisecond);

void BM_ManyListLines(benchmark::State& state) {
  std::string body = "TRUE\r\n";
  for (int i = 0; i < state.range(0); ++i) body += "211.45.10.11#CLEAN#dyn-a1.vpn.lab\r\n";
  SplitLines(state, body);
}
BENCHMARK(BM_ManyListLines)->Range(8, 8 << 10);

void BM_PercentEncode(benchmark::State& state) {
  const std::string value(static_cast<std::size_t>(state.range(0)), '\xb0');
  for (auto _ : state) benchmark::DoNotOptimize(vexo::api::PercentEncode(value));
  state.SetBytesProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_PercentEncode)->Range(16, 1 << 20);

}  // namespace

BENCHMARK_MAIN();
