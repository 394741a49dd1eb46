// The tag viewer's pane with many values: filling it, widening it once it is
// full, and copying all of it for another program.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QClipboard>
#include <QPlainTextEdit>

#include <string>
#include <vector>

#include "pane_lines.h"
#include "synthetic.h"
#include "tform1.h"

namespace {

// Values as a scan lists them: short, all different.
std::vector<std::string> values(std::int64_t count) {
  std::vector<std::string> made;
  for (std::int64_t i = 0; i < count; ++i) made.push_back("value " + std::to_string(i * 7919 % 1'000'003));
  return made;
}

void fill(QPlainTextEdit& pane, const std::vector<std::string>& made) {
  const std::vector<std::string_view> lines(made.begin(), made.end());
  tagsieve::PaneLines lines_of(pane);
  lines_of.clear();
  lines_of.append(lines);
}

void BM_PaneFill(benchmark::State& state) {
  const auto made = values(state.range(0));
  tagsieve::TForm1 form;
  auto& pane = form.control<QPlainTextEdit>("RichEdit1");
  form.show();
  for (auto _ : state) {
    fill(pane, made);
    QApplication::processEvents();
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}

void BM_PaneWiden(benchmark::State& state) {
  tagsieve::TForm1 form;
  auto& pane = form.control<QPlainTextEdit>("RichEdit1");
  form.show();
  fill(pane, values(state.range(0)));
  QApplication::processEvents();
  int width = 620;
  for (auto _ : state) {
    width = width == 620 ? 660 : 620;
    form.resize(width, 505);
    pane.repaint();
    QApplication::processEvents();
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}

// Ctrl+A, Ctrl+C, and what another program that pastes it is handed.
void BM_PaneCopy(benchmark::State& state) {
  tagsieve::TForm1 form;
  auto& pane = form.control<QPlainTextEdit>("RichEdit1");
  fill(pane, values(state.range(0)));
  for (auto _ : state) {
    pane.selectAll();
    pane.copy();
    benchmark::DoNotOptimize(QApplication::clipboard()->text().size());
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}


}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  // A quick run (CI's) on 1,000 values; the figures are for 100,000 and 1,000,000.
  const std::vector<std::int64_t> counts =
      bench::quick_run() ? std::vector<std::int64_t>{1'000} : std::vector<std::int64_t>{100'000, 1'000'000};
  for (const std::int64_t count : counts) {
    for (const auto& [name, run] : {std::pair{"BM_PaneFill", &BM_PaneFill}, std::pair{"BM_PaneWiden", &BM_PaneWiden},
                                    std::pair{"BM_PaneCopy", &BM_PaneCopy}}) {
      benchmark::RegisterBenchmark(name, run)->Arg(count)->Unit(benchmark::kMillisecond)->Iterations(3);
    }
  }
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
