#include "app/dialog_designer.h"

#include <QKeyEvent>

#include "app/main_window.h"

namespace kolvre {

namespace {

// The room the canvas leaves right of and below a dialog larger than the panel area.
constexpr int kCanvasMargin = 16;

// The main window counts a modal editor open for as long as this lives.
class ModalEdit {
 public:
  explicit ModalEdit(MainWindow& window) : window_(window) { window_.beginModalEdit(); }
  ~ModalEdit() { window_.endModalEdit(); }
  ModalEdit(const ModalEdit&) = delete;
  ModalEdit& operator=(const ModalEdit&) = delete;

 private:
  MainWindow& window_;
};

}  // namespace

DesignerWindow::DesignerWindow(const DialogModel& dialog, MainWindow& window)
    : QDialog(&window, Qt::Dialog | Qt::FramelessWindowHint), main_(window), dialog_(dialog) {
  setObjectName(QStringLiteral("dialogDesigner"));
  setModal(true);
  // The canvas is the panel area: from the top-right corner of the list to the main window's
  // right and bottom edges, wider or higher where the dialog needs it.
  QWidget* central = window.centralWidget();
  const QPoint origin = central->mapToGlobal(QPoint(ResourceListView::kWidth, 0));
  const QRect r(dialog.rect.x, dialog.rect.y, dialog.rect.width, dialog.rect.height);
  const int width =
      std::max(central->width() - ResourceListView::kWidth, r.right() + 1 + kCanvasMargin);
  const int height = std::max(central->height(), r.bottom() + 1 + kCanvasMargin);
  setGeometry(QRect(origin, QSize(width, height)));
  window_ = new DialogWindow(dialog_, this, QPoint(0, 0));
  window_->setObjectName(QStringLiteral("designedDialog"));
  window_->moved = [this] { showSize(); };
  window_->closeRequested = [this] { done(kClosedByBox); };
}

void DesignerWindow::showSize() {
  const QString text =
      QStringLiteral("Dialog: %1 x %2").arg(window_->width()).arg(window_->height());
  main_.setDefaultStatusText(text);
}

DesignerClosing DesignerWindow::run() {
  showSize();
  const int result = exec();
  return {result, dialog()};
}

DialogModel DesignerWindow::dialog() const {
  DialogModel dialog = dialog_;
  const QRect g = window_->geometry();
  dialog.rect = {g.x(), g.y(), g.width(), g.height()};
  const QList<QWidget*>& live = window_->controls();
  for (qsizetype i = 0; i < live.size() && i < qsizetype(dialog.aControls.size()); ++i) {
    const QRect c = live[i]->geometry();
    DialogControl& control = dialog.aControls[std::size_t(i)];
    // A drop-down list keeps its designed height: its window shows only the closed box.
    const int height = control.live == ControlClass::TComboBox2 ? control.rect.height : c.height();
    control.rect = {c.x(), c.y(), c.width(), height};
  }
  return dialog;
}

void DesignerWindow::keyPressEvent(QKeyEvent* event) {
  // Esc ends the session as a dialog ends on Esc (result 0); other keys go nowhere.
  if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
    done(QDialog::Rejected);
    return;
  }
  event->accept();
}

bool editDialog(const PanelContext& c) {
  const ModalEdit modal(c.window);
  return designDialog(c.ui, c.doc, c.position, [&](const DialogModel& dialog) {
    DesignerWindow designer(dialog, c.window);
    return designer.run();
  });
}

}  // namespace kolvre
