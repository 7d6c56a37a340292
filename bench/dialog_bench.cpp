// Reading and writing one dialog of 1,000 controls, beside a plain copy of its text.
#include <benchmark/benchmark.h>

#include <string>

#include "dialogs/dialog_reader.h"
#include "dialogs/dialog_writer.h"

namespace {

constexpr int kControls = 1000;

// A BEGIN/END dialog as real scripts write them: CONTROL lines of several classes, a symbolic id
// and a style name the editor does not know now and then, short statements and comments between.
const std::string& block() {
  static const std::string text = [] {
    std::string b =
        "BIG DIALOGEX DISCARDABLE 0, 0, 400, 300\r\n"
        "STYLE DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU\r\n"
        "CAPTION \"Mille controlli\"\r\n"
        "FONT 8, \"MS Shell Dlg\", 400, 0, 0x1\r\n"
        "BEGIN\r\n";
    const char* kinds[] = {
        "\"BUTTON\",BS_AUTOCHECKBOX | WS_TABSTOP",
        "\"Edit\",ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP",
        "\"COMBOBOX\",CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP",
        "\"Static\",SS_LEFT | SS_NOPREFIX",
        "\"LISTBOX\",LBS_NOTIFY | WS_VSCROLL | WS_BORDER",
    };
    for (int i = 0; i < kControls; ++i) {
      if (i % 50 == 0) b += "    // gruppo\r\n    LTEXT \"Nome:\",-1,5,5,40,8\r\n";
      b += "    CONTROL \"Voce " + std::to_string(i) + "\",";
      b += i % 7 == 0 ? "IDC_VOCE" : std::to_string(1000 + i);
      b += ",";
      b += kinds[i % 5];
      b += "," + std::to_string(i % 300) + "," + std::to_string(i % 200) + ",50,14\r\n";
    }
    b += "END";
    return b;
  }();
  return text;
}

void Copy(benchmark::State& state) {
  for (auto _ : state) {
    std::string copy = block();
    benchmark::DoNotOptimize(copy.data());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * block().size()));
}
BENCHMARK(Copy)->Unit(benchmark::kMicrosecond);

void Read(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(kolvre::readDialog(block()));
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * block().size()));
}
BENCHMARK(Read)->Unit(benchmark::kMicrosecond);

void Write(benchmark::State& state) {
  const kolvre::DialogModel dialog = kolvre::readDialog(block()).dialog;
  for (auto _ : state) benchmark::DoNotOptimize(kolvre::dialogBlock(dialog, "BIG"));
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * block().size()));
}
BENCHMARK(Write)->Unit(benchmark::kMicrosecond);

void ReadAndWrite(benchmark::State& state) {
  for (auto _ : state)
    benchmark::DoNotOptimize(kolvre::dialogBlock(kolvre::readDialog(block()).dialog, "BIG"));
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * block().size()));
}
BENCHMARK(ReadAndWrite)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
