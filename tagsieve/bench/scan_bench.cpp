#include <benchmark/benchmark.h>

#include <string>

#include "tagsieve/tag_scan.h"
#include "test_support/files.h"

namespace {

class DiscardLines final : public tagsieve::LineList {
 public:
  void clear() override {}
  void append(std::span<const std::string_view> lines) override { benchmark::DoNotOptimize(lines.size()); }
};

class DiscardMessages final : public linescan::MessageSink {
 public:
  void show_message(std::string_view) override {}
};

// A scan of a file of N one-line elements, every value distinct: with repeats
// suppressed, the case that is quadratic if the repeat test searches the list.
void BM_ScanDistinctValues(benchmark::State& state) {
  const auto count = static_cast<std::size_t>(state.range(0));
  test_support::TempDir dir;
  std::string text;
  for (std::size_t i = 0; i < count; ++i) text += "  <Damage>" + std::to_string(i) + "</Damage>\r\n";
  test_support::write_file(dir / "big.xml", text);
  const std::filesystem::path path = dir / "big.xml";
  DiscardLines pane;
  DiscardMessages messages;
  for (auto _ : state) tagsieve::scan_tag_values(path, "Damage", state.range(1) != 0, pane, messages);
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * count));
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}
// Arguments: the number of values, and whether repeats are suppressed.
BENCHMARK(BM_ScanDistinctValues)
    ->ArgsProduct({benchmark::CreateRange(1 << 14, 1 << 20, 4), {0, 1}})
    ->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
