// Recolouring a template in memory, without the files: the copy-only case and
// the water-only case.
#include <benchmark/benchmark.h>

#include "memory_io.h"
#include "synthetic.h"
#include "tintmere/recolour.h"

namespace {

void BM_Recolour(benchmark::State& state) {
  const std::string text = bench::template_text(3, bench::input_bytes(16 << 20), state.range(0) != 0);
  for (auto _ : state) {
    bench::MemorySource source(text);
    linescan::PieceReader reader(source);
    bench::DiscardSink sink;
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
