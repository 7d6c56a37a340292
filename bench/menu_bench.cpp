// Editing one item of a menu halfway through the 20 MiB script of 50,000 resources as the menu
// panel does it: the menu read, the edit computed and committed through Document::commit (a new
// index, one step of the history), and the menu read again for the panel. Undo between
// iterations is not measured. Goal: under 30 ms.
#include <benchmark/benchmark.h>

#include <optional>
#include <string>

#include "document/document.h"
#include "document/reorder.h"
#include "resources/menus.h"
#include "synthetic_script.h"

namespace {

using namespace kolvre;

constexpr std::size_t kMiB = 1024 * 1024;

const std::string& bigScript() {
  static const std::string text = reorderScript(bench::syntheticScript(20 * kMiB, 50000));
  return text;
}

// The menu statement nearest the middle of the text.
std::size_t middleMenu(const Document& doc) {
  const std::size_t half = doc.text().size() / 2;
  std::optional<std::size_t> best;
  const auto distance = [&](std::size_t i) {
    const std::size_t at = doc.statements()[i].begin;
    return at > half ? at - half : half - at;
  };
  for (std::size_t i = 0; i < doc.statements().size(); ++i)
    if (entryType(doc.statements()[i], doc.text()) == ResourceType::Menu &&
        (!best || distance(i) < distance(*best)))
      best = i;
  return *best;
}

MenuReading menuAt(const Document& doc, std::size_t statement) {
  return readMenu(doc.text(), doc.statements()[statement], nullptr, {});
}

enum class Kind { Text, Move, Insert };

void EditMenuItem(benchmark::State& state, Kind kind) {
  Document doc;
  doc.load("bench.rc", bigScript());
  const std::size_t statement = middleMenu(doc);
  for (auto _ : state) {
    const MenuReading menu = menuAt(doc, statement);
    switch (kind) {
      case Kind::Text:
        doc.commit(setMenuText(doc.text(), menu, {0, 0}, "&Apri file...\tCtrl+Maiusc+O", {}));
        break;
      case Kind::Move:
        doc.commit(moveMenuItem(doc.text(), menu, {0, 0}, MenuMove::Down));
        break;
      case Kind::Insert:
        doc.commit(insertMenuItem(doc.text(), menu, {0, 1}, {false, "&Nuovo", "101"}, {}, nullptr));
        break;
    }
    benchmark::DoNotOptimize(menuAt(doc, statement));
    state.PauseTiming();
    doc.undo();
    state.ResumeTiming();
  }
}
BENCHMARK_CAPTURE(EditMenuItem, Text, Kind::Text)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(EditMenuItem, Move, Kind::Move)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(EditMenuItem, Insert, Kind::Insert)->Unit(benchmark::kMillisecond);

// The menu read and the text's edit computed alone, without the commit: the menu's own share.
void ComputeTextEdit(benchmark::State& state) {
  Document doc;
  doc.load("bench.rc", bigScript());
  const std::size_t statement = middleMenu(doc);
  for (auto _ : state)
    benchmark::DoNotOptimize(
        setMenuText(doc.text(), menuAt(doc, statement), {0, 0}, "&Apri file...\tCtrl+O", {}));
}
BENCHMARK(ComputeTextEdit)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
