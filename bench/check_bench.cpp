// The checks of every script of the corpus, one benchmark a script, with the text measure the
// batch tool uses (Qt's font metrics on the offscreen platform): the goal is under a second a
// script. Needs the shared corpus beside the project (../shared/corpus/rc).
#include <benchmark/benchmark.h>

#include <QApplication>
#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "checks/checks.h"
#include "document/script_file.h"
#include "ui/qt_text_measure.h"

namespace {

void checkOne(benchmark::State& state, const std::string& path) {
  const kolvre::FileRead read = kolvre::readWholeFile(path);
  const kolvre::ScriptText script = kolvre::fromDisk(read.bytes);
  const bool utf16 = script.form.utf16 != kolvre::Utf16::None;
  const kolvre::QtFontMeasure measure;
  std::size_t findings = 0;
  for (auto _ : state) {
    const auto found = kolvre::checkScript(script.text, path, &measure, utf16);
    findings = found.size();
    benchmark::DoNotOptimize(found.data());
  }
  state.counters["bytes"] = static_cast<double>(script.text.size());
  state.counters["findings"] = static_cast<double>(findings);
}

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  std::vector<std::filesystem::path> scripts;
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(KOLVRE_CORPUS_DIR, error))
    if (entry.is_regular_file() && entry.path().filename() != "MANIFEST.tsv")
      scripts.push_back(entry.path());
  std::sort(scripts.begin(), scripts.end());
  for (const auto& path : scripts)
    benchmark::RegisterBenchmark(path.filename().string().c_str(), [file = path.string()](
                                                                       benchmark::State& state) {
      checkOne(state, file);
    })->Unit(benchmark::kMillisecond);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
