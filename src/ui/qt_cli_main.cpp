// The batch tool's start where Qt is there: the checks measure texts with the preview's font
// on Qt's font metrics. The font system starts only when a command measures (check), so the
// other commands start as fast as without it; it runs on the offscreen platform, which needs
// no display and measures alike on every machine.
#include <QApplication>
#include <iostream>
#include <memory>

#include "cli/cli.h"
#include "ui/qt_text_measure.h"

int main(int argc, char** argv) {
  std::ios::sync_with_stdio(false);
  const std::vector<std::string> args(argv + 1, argv + argc);
  std::unique_ptr<QApplication> app;
  std::unique_ptr<kolvre::QtFontMeasure> measure;
  const kolvre::MeasureSource source = [&]() -> const kolvre::FontMeasure* {
    if (!measure) {
      qputenv("QT_QPA_PLATFORM", "offscreen");
      // The tool speaks through its own output; Qt's notes on the platform are not for its user.
      qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
      app = std::make_unique<QApplication>(argc, argv);
      measure = std::make_unique<kolvre::QtFontMeasure>();
    }
    return measure.get();
  };
  return kolvre::runCli(args, std::cin, std::cout, std::cerr, source);
}
