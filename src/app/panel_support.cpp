#include "app/panel_support.h"

#include <QEvent>

#include "app/main_window.h"

namespace kolvre {

namespace {

// Follows the workspace's size with the panel's.
class BesideList : public QObject {
 public:
  BesideList(QWidget* panel, MainWindow& window) : QObject(panel), panel_(panel), window_(window) {
    window.centralWidget()->installEventFilter(this);
    place();
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Resize) place();
    return QObject::eventFilter(watched, event);
  }

 private:
  void place() {
    const QWidget* workspace = window_.centralWidget();
    const int left = window_.panelLeft();
    panel_->setGeometry(left, 0, std::max(workspace->width() - left, 0), workspace->height());
  }
  QWidget* panel_;
  MainWindow& window_;
};

}  // namespace

CommandRunner windowRunner(MainWindow& window) {
  return [&window](const std::function<void()>& command) { window.dispatch(command); };
}

void fillBesideList(QWidget* panel, MainWindow& window) {
  new BesideList(panel, window);
}

}  // namespace kolvre
