// The value scan in memory: few distinct values, or every value new, with
// repeats suppressed or shown.
#include <benchmark/benchmark.h>

#include "test_support/scripted_io.h"
#include "synthetic.h"
#include "tagsieve/tag_scan.h"

namespace {

class CountLines final : public tagsieve::LineList {
 public:
  void clear() override {}
  void append(std::span<const std::string_view> lines) override { count += static_cast<std::int64_t>(lines.size()); }
  std::int64_t count = 0;
};

class DiscardMessages final : public messaging::MessageSink {
 public:
  void show_message(std::string_view) override {}
};

void BM_Scan(benchmark::State& state) {
  const bool many = state.range(0) != 0;
  const std::string text = bench::scan_text(1, bench::input_bytes(16 << 20), many ? 1 : 8, many ? 0 : 100'001);
  CountLines pane;
  DiscardMessages messages;
  for (auto _ : state) {
    test_support::ScriptedSource source(text);
    linescan::PieceReader reader(source);
    tagsieve::scan_pieces(reader, "Damage", state.range(1) != 0, pane, messages);
  }
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(text.size()));
  state.counters["values"] = benchmark::Counter(static_cast<double>(pane.count), benchmark::Counter::kAvgIterations);
}
// Arguments: every value new (1) or few distinct values (0); repeats
// suppressed (1) or shown (0).
BENCHMARK(BM_Scan)->ArgsProduct({{0, 1}, {0, 1}})->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
