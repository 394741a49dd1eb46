// The line library: reading pieces, and cutting fields out of them.
#include <benchmark/benchmark.h>

#include "linescan/field.h"
#include "linescan/piece_reader.h"
#include "test_support/scripted_io.h"
#include "synthetic.h"

namespace {

const std::string& text() {
  static const std::string made = bench::scan_text(1, bench::input_bytes(16 << 20), 8, 100'001);
  return made;
}

void BM_ReadPieces(benchmark::State& state) {
  std::int64_t pieces = 0;
  for (auto _ : state) {
    test_support::ScriptedSource source(text());
    linescan::PieceReader reader(source);
    for (linescan::Piece piece; linescan::read_piece(reader, piece);) benchmark::DoNotOptimize(++pieces);
  }
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(text().size()));
  state.SetItemsProcessed(pieces);
}
BENCHMARK(BM_ReadPieces)->Unit(benchmark::kMillisecond);

// Both ways of cutting fields: out of every piece, and testing each piece's
// element name against a known one.
void BM_Fields(benchmark::State& state) {
  const bool known = state.range(0) != 0;
  const linescan::FieldIs is_damage('<', '>', "Damage");
  std::int64_t pieces = 0;
  for (auto _ : state) {
    test_support::ScriptedSource source(text());
    linescan::PieceReader reader(source);
    linescan::Field field;
    for (linescan::Piece piece; linescan::read_piece(reader, piece); ++pieces) {
      if (known) {
        benchmark::DoNotOptimize(is_damage(piece));
      } else {
        linescan::extract_field(piece, field, '<', '>');
        benchmark::DoNotOptimize(field);
      }
    }
  }
  state.SetItemsProcessed(pieces);
}
BENCHMARK(BM_Fields)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
