// Editing one string of a table of 5,000 rows as the string table's panel does it: the tables
// read, the edit computed and committed through Document::commit (a new index, one step of the
// history), and the tables read again for the panel. Undo between iterations is not measured.
// Goal: under 100 ms.
#include <benchmark/benchmark.h>

#include <string>

#include "document/document.h"
#include "resources/string_tables.h"

namespace {

using namespace kolvre;

constexpr int kRows = 5000;

// A table of `kRows` strings by symbol, the symbols defined above it, between two dialogs.
std::string script() {
  std::string text = "#include \"resource.h\"\r\n";
  for (int i = 0; i < kRows; ++i)
    text += "#define IDS_TEXT_" + std::to_string(i) + " " + std::to_string(1000 + i) + "\r\n";
  text += "\r\nA DIALOG 0, 0, 100, 50\r\n{\r\n}\r\n\r\nSTRINGTABLE DISCARDABLE\r\nBEGIN\r\n";
  for (int i = 0; i < kRows; ++i)
    text += "    IDS_TEXT_" + std::to_string(i) + "\t\"Testo numero " + std::to_string(i) +
            ", con \"\"virgolette\"\" e \\t tabulazione\"\r\n";
  return text + "END\r\n\r\nZ DIALOG 0, 0, 100, 50\r\n{\r\n}\r\n";
}

void EditOneStringOf5000(benchmark::State& state) {
  Document doc;
  doc.load("bench.rc", script());
  const SymbolTable symbols = scriptSymbols(doc.text(), {});
  int round = 0;
  for (auto _ : state) {
    const std::vector<StringTable> tables = documentStringTables(doc, &symbols);
    const std::size_t row = static_cast<std::size_t>(round++ * 997 % kRows);
    doc.commit(setStringText(doc.text(), tables.at(0), row, "Nuovo \"testo\"",
                             stringContext(doc, &symbols)));
    benchmark::DoNotOptimize(documentStringTables(doc, &symbols));
    state.PauseTiming();
    doc.undo();
    state.ResumeTiming();
  }
}
BENCHMARK(EditOneStringOf5000)->Unit(benchmark::kMillisecond);

// The tables read alone, what opening the panel costs.
void ReadTableOf5000(benchmark::State& state) {
  Document doc;
  doc.load("bench.rc", script());
  const SymbolTable symbols = scriptSymbols(doc.text(), {});
  for (auto _ : state) benchmark::DoNotOptimize(documentStringTables(doc, &symbols));
}
BENCHMARK(ReadTableOf5000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
