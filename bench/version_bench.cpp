// Editing version information on the 20 MiB script of 50,000 resources as the version panel does
// it: the resource read from the document's statements, the edit computed and committed through
// Document::commit (a new index, one step of the history). The step is undone outside the
// measure. Goal: each under 30 ms.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <string>

#include "document/document.h"
#include "document/reorder.h"
#include "resources/version_info.h"
#include "synthetic_script.h"

namespace {

using namespace kolvre;
using Clock = std::chrono::steady_clock;

constexpr std::size_t kMiB = 1024 * 1024;

// 20 MiB with 50,000 resources, reordered as a saved script is after any edit.
const std::string& reorderedScript() {
  static const std::string text = reorderScript(bench::syntheticScript(20 * kMiB, 50000));
  return text;
}

enum class Kind { Field, Value, NewValue, LanguageBlock };

// The version resource in the middle of the text, read as the panel reads it.
VersionInfo middleVersion(const Document& doc) {
  std::vector<const Statement*> versions;
  for (const Statement& s : doc.statements())
    if (s.listed == ResourceType::VersionInfo) versions.push_back(&s);
  if (versions.empty()) return {};
  return readVersionInfo(doc.text(), *versions[versions.size() / 2], stringContext(doc, nullptr));
}

Edit edit(const Document& doc, const VersionInfo& info, Kind kind) {
  const StringContext context = stringContext(doc, nullptr);
  const std::size_t block = info.stringBlocks().at(0);
  switch (kind) {
    case Kind::Field:
      return setVersionField(doc.text(), info, info.fieldsNamed("FILEVERSION").at(0), "2.1.0.7",
                             context);
    case Kind::Value:
      return setVersionValue(doc.text(), info, block, "FileDescription", "Nuova descrizione",
                             context);
    case Kind::NewValue:
      return insertVersionValue(doc.text(), info, block, 0, "Comments", "Nuovo", context);
    case Kind::LanguageBlock:
      return addLanguageBlock(doc.text(), info, block, "041004e4", true, true, context);
  }
  return {};
}

void VersionEdit(benchmark::State& state, Kind kind) {
  Document doc;
  doc.load("bench.rc", reorderedScript());
  for (auto _ : state) {
    const auto from = Clock::now();
    const VersionInfo info = middleVersion(doc);
    if (!info.problem.empty() || info.blocks.empty()) {
      state.SkipWithError("no version resource that reads");
      break;
    }
    if (!doc.commit(edit(doc, info, kind))) state.SkipWithError("nothing changed");
    state.SetIterationTime(std::chrono::duration<double>(Clock::now() - from).count());
    doc.undo();
  }
  state.counters["MiB"] = static_cast<double>(doc.text().size()) / kMiB;
  state.counters["resources"] = static_cast<double>(doc.index().size());
}

// The resource read and the edit computed alone, without the commit: what is the version
// edit's own, beside what every commit of the document costs.
void VersionEditComputed(benchmark::State& state, Kind kind) {
  Document doc;
  doc.load("bench.rc", reorderedScript());
  for (auto _ : state) {
    const auto from = Clock::now();
    const VersionInfo info = middleVersion(doc);
    benchmark::DoNotOptimize(edit(doc, info, kind));
    state.SetIterationTime(std::chrono::duration<double>(Clock::now() - from).count());
  }
}

void Timed(benchmark::internal::Benchmark* b) {
  b->UseManualTime()->Unit(benchmark::kMillisecond);
}

BENCHMARK_CAPTURE(VersionEdit, FileVersion, Kind::Field)->Apply(Timed);
BENCHMARK_CAPTURE(VersionEdit, Value, Kind::Value)->Apply(Timed);
BENCHMARK_CAPTURE(VersionEdit, NewValue, Kind::NewValue)->Apply(Timed);
BENCHMARK_CAPTURE(VersionEdit, LanguageBlock, Kind::LanguageBlock)->Apply(Timed);
BENCHMARK_CAPTURE(VersionEditComputed, FileVersion, Kind::Field)->Apply(Timed);
BENCHMARK_CAPTURE(VersionEditComputed, LanguageBlock, Kind::LanguageBlock)->Apply(Timed);

}  // namespace

BENCHMARK_MAIN();
