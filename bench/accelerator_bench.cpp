// Setting one accelerator key as the accelerator panel does it, in a table halfway through the
// 20 MiB script of 50,000 resources: the table read, the edit computed and committed through
// Document::commit (a new index, one step of the history), and the table read again for the
// panel. Undo between iterations is not measured. Goal: under 30 ms.
#include <benchmark/benchmark.h>

#include <string>

#include "document/document.h"
#include "resources/accelerators.h"
#include "synthetic_script.h"

namespace {

using namespace kolvre;

constexpr std::size_t kMiB = 1024 * 1024;

// The synthetic script with a table of 40 rows before the statement nearest its middle.
const std::string& script() {
  static const std::string text = [] {
    std::string all = bench::syntheticScript(20 * kMiB, 50000);
    std::string table = "IDR_KEYS ACCELERATORS\r\nBEGIN\r\n";
    for (int i = 0; i < 40; ++i)
      table += "    VK_F" + std::to_string(i % 24 + 1) + ",          " + std::to_string(3000 + i) +
               ",                   VIRTKEY" + (i >= 24 ? ", CONTROL" : "") + ", NOINVERT\r\n";
    table += "END\r\n\r\n";
    const std::vector<Statement> statements = readStatements(all);
    for (const Statement& s : statements)
      if (s.kind == StatementKind::Resource && s.begin >= all.size() / 2) {
        all.insert(s.begin, table);
        break;
      }
    return all;
  }();
  return text;
}

std::size_t tableBegin(const Document& doc) {
  for (const Statement& s : doc.statements())
    if (s.kind == StatementKind::Resource && s.name(doc.text()) == "IDR_KEYS") return s.begin;
  std::abort();
}

void SetOneKeyInTheMiddleOf20MiB(benchmark::State& state) {
  Document doc;
  doc.load("bench.rc", script());
  const SymbolTable symbols = scriptSymbols(doc.text(), {});
  const std::size_t begin = tableBegin(doc);
  const AcceleratorKey key = *parseAcceleratorKey("Ctrl+Maiusc+F12");
  int round = 0;
  for (auto _ : state) {
    const AcceleratorReading table = documentAccelerators(doc, begin, &symbols);
    const std::size_t row = static_cast<std::size_t>(round++ * 7 % 40);
    doc.commit(setAcceleratorKey(doc.text(), table, row, key, acceleratorContext(doc, &symbols)));
    benchmark::DoNotOptimize(documentAccelerators(doc, begin, &symbols));
    state.PauseTiming();
    doc.undo();
    state.ResumeTiming();
  }
}
BENCHMARK(SetOneKeyInTheMiddleOf20MiB)->Unit(benchmark::kMillisecond);

// The same for an ID.
void SetOneIdInTheMiddleOf20MiB(benchmark::State& state) {
  Document doc;
  doc.load("bench.rc", script());
  const SymbolTable symbols = scriptSymbols(doc.text(), {});
  const std::size_t begin = tableBegin(doc);
  int round = 0;
  for (auto _ : state) {
    const AcceleratorReading table = documentAccelerators(doc, begin, &symbols);
    const std::size_t row = static_cast<std::size_t>(round++ * 7 % 40);
    doc.commit(setAcceleratorId(doc.text(), table, row, "4321", acceleratorContext(doc, &symbols)));
    benchmark::DoNotOptimize(documentAccelerators(doc, begin, &symbols));
    state.PauseTiming();
    doc.undo();
    state.ResumeTiming();
  }
}
BENCHMARK(SetOneIdInTheMiddleOf20MiB)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
