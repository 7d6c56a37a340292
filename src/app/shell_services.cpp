#include "app/shell_services.h"

#include <QCoreApplication>
#include <QFile>
#include <QGuiApplication>
#include <QScreen>

#include "app/main_window.h"
#include "shell/error_handler.h"

namespace kolvre {

namespace {

// The main window as the placement rules see it.
class MainWindowPlacement : public WindowPlacement {
 public:
  explicit MainWindowPlacement(MainWindow& w) : w_(w) {}
  WindowRect outerRect() const override {
    const QRect r = w_.frameGeometry();
    return {r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
  }
  void setOuterRect(int left, int top, int width, int height) override {
    // The frame's extra size is known only once the window manager has framed the window.
    // Until then the size asked for is kept, and taken again once the frame is there, so that
    // the window opens at the outer size it was closed at, not one frame larger.
    const QSize extra = w_.frameGeometry().size() - w_.geometry().size();
    w_.move(left, top);
    w_.resize(std::max(width - extra.width(), 100), std::max(height - extra.height(), 100));
    if (extra.isEmpty()) w_.keepOuterSizeUntilFramed(QSize(width, height));
  }
  void showMaximized() override { w_.showMaximized(); }
  void showNormal() override { w_.showNormal(); }
  bool isMinimized() const override { return w_.isMinimized(); }
  void layOutResourceList() override { w_.layOutList(); }

 private:
  MainWindow& w_;
};

}  // namespace

void reportFailure(UserInterface& ui, const Document* doc, const ErrorRecord& record) {
  const ErrorOutcome outcome = handleError(
      ui, record, doc, QFile::encodeName(QCoreApplication::applicationFilePath()).toStdString());
  if (outcome.action == ErrorAction::Fatal) QCoreApplication::exit(0);
}

void placeWindow(MainWindow& window, UserInterface& ui, PlacementMemory& memory,
                 std::optional<SizeType> sizeType) {
  MainWindowPlacement placement(window);
  const QScreen* screen = QGuiApplication::primaryScreen();
  const QSize size = screen ? screen->geometry().size() : QSize(1024, 768);
  applyPlacement(ui, placement, memory, {size.width(), size.height()}, sizeType);
}

PlacementWrites::PlacementWrites(MainWindow& window, UserInterface& ui, PlacementMemory& memory)
    : window_(window), memory_(memory), settings_(ui) {
  timer_.setSingleShot(true);
  timer_.setInterval(kDelayMs);
  QObject::connect(&timer_, &QTimer::timeout, &timer_, [this] { settings_.flush(); });
}

void PlacementWrites::record(SizeType sizeType) {
  placeWindow(window_, settings_, memory_, sizeType);
  if (settings_.pending()) timer_.start();
}

void PlacementWrites::flush() {
  timer_.stop();
  settings_.flush();
}

}  // namespace kolvre
