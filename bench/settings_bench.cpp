// Settings writes on a real settings file in a folder on disk: one key, the recent-files list
// after opening a file, and what one window move writes, at once or held until the move ends.
// The counter "writes" is the number of file writes per iteration.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/user_interface.h"
#include "settings/ini_file.h"
#include "settings/pending_settings.h"
#include "settings/placement.h"
#include "settings/recent_files.h"

namespace {

namespace fs = std::filesystem;

// A settings file as a user's looks after a while: the window, the flags, the editors and a
// full recent-files list.
std::string realisticIni() {
  std::string ini =
      "[Parametri]\r\nMaximized=No\r\nTop=120\r\nLeft=340\r\nWidth=1024\r\nHeight=768\r\n"
      "Esc=Sì\r\nKolv=No\r\nMemoriaAnnulla=64\r\n\r\n"
      "[Edit]\r\nTXT=/usr/bin/gedit\r\nBMP=/usr/bin/gimp\r\nICO=/usr/bin/gimp\r\n\r\n[Mru]\r\n";
  for (int n = 1; n <= 15; ++n)
    ini += "File" + std::to_string(n) + "=/home/utente/progetti/gestionale/risorse/modulo" +
           std::to_string(n) + ".rc\r\n";
  return ini;
}

// A fresh folder under $TMPDIR (else /tmp) holding the settings file; removed afterwards.
class SettingsFolder {
 public:
  SettingsFolder() {
    std::string pattern = (fs::temp_directory_path() / "kolvre-bench-XXXXXX").string();
    folder_ = ::mkdtemp(pattern.data());
    file_ = (folder_ / kolvre::kSettingsFileName).string();
    std::ofstream(file_, std::ios::binary) << realisticIni();
  }
  ~SettingsFolder() {
    std::error_code ec;
    fs::remove_all(folder_, ec);
  }
  const std::string& file() const { return file_; }

 private:
  fs::path folder_;
  std::string file_;
};

// The settings part of the Qt user interface, a settings file held as it holds one; nothing else
// is used.
// Counts its writes of the file.
class FileUi : public kolvre::UserInterface {
 public:
  explicit FileUi(std::string path) : settings_(std::move(path)) {}
  int messageBox(std::string_view, kolvre::MessageKind, std::string_view) override { return 0; }
  bool inputBox(std::string_view, std::string_view, std::string&, std::size_t) override {
    return false;
  }
  std::string chooseFile(kolvre::FileDialogMode, std::string_view) override { return {}; }
  std::string clipboardText() override { return {}; }
  void setClipboardText(std::string_view) override {}
  int runAndWait(const std::string&, const std::vector<std::string>&) override { return -1; }
  int runCapturing(const std::string&, const std::vector<std::string>&, std::string&) override {
    return -1;
  }
  std::string readSetting(std::string_view section, std::string_view key,
                          std::string_view defaultValue) override {
    return settings_.read(section, key, defaultValue);
  }
  void writeSetting(std::string_view section, std::string_view key,
                    std::string_view value) override {
    ++writes;
    (void)settings_.write(section, {{std::string(key), std::string(value)}});
  }
  void writeSettings(std::string_view section,
                     const std::vector<std::pair<std::string, std::string>>& values) override {
    ++writes;
    (void)settings_.write(section, values);
  }
  void beep() override {}
  void openUrl(std::string_view) override {}

  int writes = 0;

 private:
  kolvre::SettingsFile settings_;
};

void countWrites(benchmark::State& state, const FileUi& ui) {
  state.counters["writes"] = benchmark::Counter(ui.writes, benchmark::Counter::kAvgIterations);
}

// A window that is somewhere else every time it is asked.
class MovingWindow : public kolvre::WindowPlacement {
 public:
  kolvre::WindowRect outerRect() const override {
    ++moves_;
    const int x = 100 + moves_ % 200;
    const int y = 80 + moves_ % 150;
    return {x, y, x + 1024, y + 768};
  }
  void setOuterRect(int, int, int, int) override {}
  void showMaximized() override {}
  void showNormal() override {}
  bool isMinimized() const override { return false; }
  void layOutResourceList() override {}

 private:
  mutable int moves_ = 0;
};

void WriteOneKey(benchmark::State& state) {
  SettingsFolder folder;
  kolvre::SettingsFile settings(folder.file());
  int n = 0;
  for (auto _ : state) {
    // A value that differs from the one in the file, so that every call writes.
    const bool written = settings.write("Parametri", {{"Top", std::to_string(100 + n++ % 2)}});
    benchmark::DoNotOptimize(written);
  }
}

void AddRecentFile(benchmark::State& state) {
  SettingsFolder folder;
  FileUi ui(folder.file());
  int n = 0;
  for (auto _ : state) {
    // A file that is not in the list yet, so that all 15 entries move down.
    const auto list =
        kolvre::addRecentFile(ui, "/home/utente/progetti/altro/file" + std::to_string(n++) + ".rc");
    benchmark::DoNotOptimize(list.data());
  }
  countWrites(state, ui);
}

// One move event with its writes made at once, as every move used to be.
void MoveWindowWrittenAtOnce(benchmark::State& state) {
  SettingsFolder folder;
  FileUi ui(folder.file());
  MovingWindow window;
  kolvre::PlacementMemory memory;
  for (auto _ : state)
    kolvre::applyPlacement(ui, window, memory, {1920, 1080}, kolvre::SizeType::Moved);
  countWrites(state, ui);
}

// One move event of a drag, as the main window handles it: the writes are held.
void MoveWindow(benchmark::State& state) {
  SettingsFolder folder;
  FileUi ui(folder.file());
  kolvre::PendingSettings held(ui);
  MovingWindow window;
  kolvre::PlacementMemory memory;
  for (auto _ : state)
    kolvre::applyPlacement(held, window, memory, {1920, 1080}, kolvre::SizeType::Moved);
  countWrites(state, ui);
}

// The last move of a drag and the one write that follows it.
void MoveWindowAndStop(benchmark::State& state) {
  SettingsFolder folder;
  FileUi ui(folder.file());
  kolvre::PendingSettings held(ui);
  MovingWindow window;
  kolvre::PlacementMemory memory;
  for (auto _ : state) {
    kolvre::applyPlacement(held, window, memory, {1920, 1080}, kolvre::SizeType::Moved);
    held.flush();
  }
  countWrites(state, ui);
}

BENCHMARK(WriteOneKey)->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK(AddRecentFile)->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK(MoveWindowWrittenAtOnce)->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK(MoveWindow)->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK(MoveWindowAndStop)->Unit(benchmark::kMicrosecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
