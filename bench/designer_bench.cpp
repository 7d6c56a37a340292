// The dialog on screen: building the live dialog of 1,000 controls (read, build, write), and a
// drag in the designer of 100 selected controls out of 300, one grid step per pointer move, as
// the user sees it (the move handled and the dialog painted again).
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTest>
#include <iostream>
#include <memory>
#include <string>

#include "app/dialog_designer.h"
#include "app/dialog_panel.h"
#include "app/main_window.h"
#include "cli/cli_interface.h"
#include "dialogs/dialog_reader.h"
#include "dialogs/dialog_writer.h"

namespace {

using namespace kolvre;

// A dialog of `count` push buttons in rows of ten, 30 by 12 units each.
std::string dialogOf(int count) {
  std::string b =
      "BIG DIALOG 0, 0, 420, 400\r\n"
      "STYLE DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU\r\n"
      "CAPTION \"Molti controlli\"\r\n"
      "FONT 8, \"MS Sans Serif\"\r\n"
      "{\r\n";
  for (int i = 0; i < count; ++i) {
    const int x = 5 + (i % 10) * 40, y = 5 + (i / 10) * 14;
    b += " CONTROL \"" + std::to_string(i) + "\", " + std::to_string(100 + i) +
         ", \"BUTTON\", BS_PUSHBUTTON | WS_CHILD | WS_VISIBLE | WS_TABSTOP, " + std::to_string(x) +
         ", " + std::to_string(y) + ", 30, 12\r\n";
  }
  return b + "}";
}

void ReadBuildWrite(benchmark::State& state) {
  const std::string block = dialogOf(1000);
  for (auto _ : state) {
    const DialogReading reading = readDialog(block, DialogMode::Preview);
    DialogWindow window(reading.dialog, nullptr, QPoint());
    window.setAttribute(Qt::WA_DontShowOnScreen);
    window.show();
    QApplication::processEvents();
    benchmark::DoNotOptimize(dialogBlock(reading.dialog, "BIG"));
  }
}
BENCHMARK(ReadBuildWrite)->Unit(benchmark::kMillisecond)->UseRealTime();

void DragHundredOfThreeHundred(benchmark::State& state) {
  // The batch tool's user interface: it asks nothing (the benchmark shows no message).
  CliInterface ui(std::cerr);
  Document doc;
  doc.load("", dialogOf(300));
  MainWindow main(doc, ui);
  main.resize(1000, 800);
  main.setAttribute(Qt::WA_DontShowOnScreen);
  main.show();
  DesignerWindow designer(readDialog(dialogOf(300)).dialog, designerSurroundings(main), ui, {});
  designer.setAttribute(Qt::WA_DontShowOnScreen);
  designer.show();
  QApplication::processEvents();
  Designer& core = designer.designer();
  // The first hundred selected, as a band over the first ten rows selects them.
  core.pressBackground({1, 1});
  core.mouseMove({410 * 7 / 4, 10 * 14 * 13 / 8});
  core.mouseRelease();
  QWidget* client = designer.dialogWindow()->clientArea();
  QWidget* grabbed = designer.dialogWindow()->controls()[0];
  const QPoint start = grabbed->geometry().center();
  QTest::mousePress(grabbed, Qt::LeftButton, Qt::NoModifier, grabbed->mapFrom(client, start));
  int step = 0;
  for (auto _ : state) {
    // Across 50 grid steps and back.
    const int columns = step < 50 ? step + 1 : 99 - step;
    step = (step + 1) % 100;
    const QPoint to = start + QPoint(columns * 35 / 4, 0);
    QTest::mouseMove(grabbed, grabbed->mapFrom(client, to));
    client->repaint();
  }
  QTest::mouseRelease(grabbed, Qt::LeftButton);
  state.counters["selected"] =
      double(std::count_if(core.dialog().controls.begin(), core.dialog().controls.end(),
                           [](const DialogControl& c) { return c.selected; }));
}
BENCHMARK(DragHundredOfThreeHundred)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
