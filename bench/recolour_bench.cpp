// Recolouring a template in memory, without the files: the copy-only case and
// the water-only case.
#include <benchmark/benchmark.h>

#include "test_support/scripted_io.h"
#include "synthetic.h"
#include "tintmere/recolour.h"

namespace {

// Takes every byte and keeps none: the output of a large template would only
// measure the copy.
struct Discard final : linescan::ByteSink {
  std::ptrdiff_t write_some(std::span<const char> bytes) override { return static_cast<std::ptrdiff_t>(bytes.size()); }
};

void BM_Recolour(benchmark::State& state) {
  const std::string text = bench::template_text(3, bench::input_bytes(16 << 20), state.range(0) != 0);
  for (auto _ : state) {
    test_support::ScriptedSource source(text);
    linescan::PieceReader reader(source);
    Discard sink;
    linescan::TextWriter writer(sink);
    benchmark::DoNotOptimize(tintmere::recolour_template(reader, writer, {1, 2, 3}));
    benchmark::DoNotOptimize(writer.flush());
  }
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(text.size()));
}
// Argument: whether the template holds water entries only, or none.
BENCHMARK(BM_Recolour)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
