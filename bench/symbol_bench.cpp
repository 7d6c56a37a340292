// Renaming a symbol of the 20 MiB script of 50,000 resources, defined at its top and used by a
// dialog's controls halfway through it: the edit committed through Document::commit (a new
// index, one step of the history); goal: under 30 ms. Beside it what the symbols panel costs:
// the whole list read (every statement's tree and every preprocessor line), and the rename's
// edit computed from it (the list, and a look for the new name among every word).
#include <benchmark/benchmark.h>

#include <string>

#include "document/document.h"
#include "resources/symbol_list.h"
#include "synthetic_script.h"

namespace {

using namespace kolvre;

constexpr std::size_t kMiB = 1024 * 1024;

// The synthetic script with two symbols defined first and a dialog using them before the
// statement nearest its middle.
const std::string& script() {
  static const std::string text = [] {
    std::string all = bench::syntheticScript(20 * kMiB, 50000);
    const std::string dialog =
        "IDD_BENCH DIALOG 0, 0, 100, 50\r\nBEGIN\r\n"
        "    EDITTEXT IDC_BENCH_NAME, 5, 5, 40, 14\r\n"
        "    PUSHBUTTON \"Vai\", IDC_BENCH_GO, 50, 5, 40, 14\r\nEND\r\n\r\n";
    const std::vector<Statement> statements = readStatements(all);
    for (const Statement& s : statements)
      if (s.kind == StatementKind::Resource && s.begin >= all.size() / 2) {
        all.insert(s.begin, dialog);
        break;
      }
    return "#define IDD_BENCH 4000\r\n#define IDC_BENCH_NAME 4001\r\n#define IDC_BENCH_GO "
           "4002\r\n" +
           all;
  }();
  return text;
}

void RenameCommitIn20MiB(benchmark::State& state) {
  Document doc;
  doc.load("bench.rc", script());
  const SymbolList list = documentSymbols(doc);
  const Edit there =
      renameSymbolEdit(doc.text(), doc.tree(), list, {}, "IDC_BENCH_NAME", "IDC_BENCH_USER");
  for (auto _ : state) {
    doc.commit(there);
    state.PauseTiming();
    doc.undo();
    state.ResumeTiming();
  }
}
BENCHMARK(RenameCommitIn20MiB)->Unit(benchmark::kMillisecond);

void UndoRenameIn20MiB(benchmark::State& state) {
  Document doc;
  doc.load("bench.rc", script());
  const SymbolList list = documentSymbols(doc);
  const Edit there =
      renameSymbolEdit(doc.text(), doc.tree(), list, {}, "IDC_BENCH_NAME", "IDC_BENCH_USER");
  for (auto _ : state) {
    state.PauseTiming();
    doc.commit(there);
    state.ResumeTiming();
    doc.undo();
  }
}
BENCHMARK(UndoRenameIn20MiB)->Unit(benchmark::kMillisecond);

// One splice of the rename alone: the #define at the top, or the control halfway.
void OneSpliceCommitIn20MiB(benchmark::State& state) {
  Document doc;
  doc.load("bench.rc", script());
  const SymbolList list = documentSymbols(doc);
  Edit there = renameSymbolEdit(doc.text(), doc.tree(), list, {}, "IDC_BENCH_NAME",
                                "IDC_BENCH_USER");
  there.splices = {there.splices[static_cast<std::size_t>(state.range(0))]};
  for (auto _ : state) {
    doc.commit(there);
    state.PauseTiming();
    doc.undo();
    state.ResumeTiming();
  }
}
BENCHMARK(OneSpliceCommitIn20MiB)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// The list as the panel reads it, every statement's tree already kept by the document.
void ListSymbolsOf20MiB(benchmark::State& state) {
  Document doc;
  doc.load("bench.rc", script());
  benchmark::DoNotOptimize(documentSymbols(doc));
  for (auto _ : state) benchmark::DoNotOptimize(documentSymbols(doc));
}
BENCHMARK(ListSymbolsOf20MiB)->Unit(benchmark::kMillisecond);

// The rename's edit from the list: the checks of the new name and the splices.
void ComputeRenameIn20MiB(benchmark::State& state) {
  Document doc;
  doc.load("bench.rc", script());
  const SymbolList list = documentSymbols(doc);
  for (auto _ : state)
    benchmark::DoNotOptimize(
        renameSymbolEdit(doc.text(), doc.tree(), list, {}, "IDC_BENCH_NAME", "IDC_BENCH_USER"));
}
BENCHMARK(ComputeRenameIn20MiB)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
