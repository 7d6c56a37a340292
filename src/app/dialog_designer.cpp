#include "app/dialog_designer.h"

#include <QApplication>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QMenu>
#include <QRubberBand>
#include <QStatusBar>

#include "app/check_measure.h"
#include "app/main_window.h"
#include "app/properties_form.h"
#include "dialogs/dialog_writer.h"
#include "document/document_commands.h"
#include "document/edit.h"
#include "document/resource_edits.h"

namespace kolvre {

namespace {

// The room the canvas leaves right of and below a dialog larger than the panel area.
constexpr int kCanvasMargin = 16;
// A static being dragged or resized shows on light grey (RGB 192, 192, 192).
const QColor kGreyStatic(192, 192, 192);

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

KeyModifiers modifiersOf(Qt::KeyboardModifiers m) {
  return {m.testFlag(Qt::ShiftModifier), m.testFlag(Qt::ControlModifier)};
}

Qt::CursorShape cursorOf(HandleCursor c) {
  switch (c) {
    case HandleCursor::SizeNS:
      return Qt::SizeVerCursor;
    case HandleCursor::SizeWE:
      return Qt::SizeHorCursor;
    case HandleCursor::SizeNWSE:
      return Qt::SizeFDiagCursor;
    case HandleCursor::SizeNESW:
      return Qt::SizeBDiagCursor;
  }
  return Qt::ArrowCursor;
}

QRect qrect(const PixelRect& r) {
  return QRect(r.x, r.y, r.width, r.height);
}

const char* const kHandleType = "kolvreHandleType";

}  // namespace

DesignerSurroundings designerSurroundings(MainWindow& window) {
  DesignerSurroundings s;
  s.owner = &window;
  s.panelArea = window.panelArea();
  s.panelColour = window.centralWidget()->palette().color(QPalette::Window);
  s.formPosition = window.formPosition();
  s.showStatus = [&window](const QString& text, bool message) {
    window.setDefaultStatusText(text);
    // A message stays up over the default text until the next one: a new default text takes
    // its place, so that the bar never shows what a gesture before the last one said.
    if (message)
      window.statusBar()->showMessage(text);
    else
      window.statusBar()->clearMessage();
  };
  return s;
}

int designerKeyOf(int qtKey) {
  struct Row {
    int qt;
    DesignerKey key;
  };
  static constexpr Row kKeys[] = {
      {Qt::Key_PageUp, DesignerKey::PageUp}, {Qt::Key_PageDown, DesignerKey::PageDown},
      {Qt::Key_End, DesignerKey::End},       {Qt::Key_Home, DesignerKey::Home},
      {Qt::Key_Left, DesignerKey::Left},     {Qt::Key_Up, DesignerKey::Up},
      {Qt::Key_Right, DesignerKey::Right},   {Qt::Key_Down, DesignerKey::Down},
      {Qt::Key_Shift, DesignerKey::Shift},   {Qt::Key_Control, DesignerKey::Control},
  };
  for (const Row& row : kKeys)
    if (row.qt == qtKey) return vk(row.key);
  return virtualKeyOf(qtKey);
}

DesignerWindow::DesignerWindow(const DialogModel& dialog, DesignerSurroundings surroundings,
                               UserInterface& ui, Store store)
    : QDialog(surroundings.owner, Qt::Dialog | Qt::FramelessWindowHint),
      surroundings_(std::move(surroundings)),
      ui_(ui),
      store_(std::move(store)),
      dialog_(std::make_unique<DialogModel>(dialog)) {
  setObjectName(QStringLiteral("dialogDesigner"));
  setModal(true);
  // The canvas is the panel area, wider or higher where the dialog needs it.
  const QRect area = surroundings_.panelArea;
  const QRect r = qrect(dialog.rect);
  const int width = std::max(area.width(), r.right() + 1 + kCanvasMargin);
  const int height = std::max(area.height(), r.bottom() + 1 + kCanvasMargin);
  setGeometry(QRect(area.topLeft(), QSize(width, height)));
  QPalette canvas = palette();
  canvas.setColor(QPalette::Window, surroundings_.panelColour);
  setPalette(canvas);
  setAutoFillBackground(true);

  window_ = new DialogWindow(*dialog_, this, QPoint(0, 0), surroundings_.script);
  window_->setObjectName(QStringLiteral("designedDialog"));
  window_->moved = [this] { frameMoved(); };
  window_->closeRequested = [this] { closeAs(DesignerClose::CloseBox); };
  window_->paintClient = [this](QPainter& painter) { paintClient(painter); };
  QWidget* client = window_->clientArea();
  client->installEventFilter(this);

  const QFont font = client->font();
  designer_ = std::make_unique<Designer>(
      *dialog_, ui, *this,
      [font](std::string_view text) {
        return QFontMetrics(font).horizontalAdvance(
            QString::fromUtf8(text.data(), qsizetype(text.size())));
      },
      surroundings_.script.charset);
  // A control the dialog arrives selected with (a finding's, say) is the current one: a
  // selection only, which changes nothing to store.
  for (std::size_t i = 0; i < dialog.controls.size(); ++i)
    if (dialog.controls[i].selected) {
      designer_->selection().setCurrent(i);
      break;
    }

  band_ = new QRubberBand(QRubberBand::Rectangle, client);
  band_->hide();
  makeHandles(client);
  divertControls();
  sync();
}

DesignerWindow::~DesignerWindow() = default;

void DesignerWindow::makeHandles(QWidget* client) {
  for (int type = 1; type <= kHandleCount; ++type) {
    auto* h = new QWidget(client);
    h->setObjectName(QStringLiteral("handle%1").arg(type));
    h->setProperty(kHandleType, type);
    h->setAutoFillBackground(true);
    QPalette black = h->palette();
    black.setColor(QPalette::Window, Qt::black);
    h->setPalette(black);
    h->setCursor(cursorOf(handleCursor(type)));
    h->installEventFilter(this);
    h->hide();
    handles_[std::size_t(type - 1)] = h;
  }
}

DesignerClosing DesignerWindow::run() {
  setStatus(dialogStatusText(*dialog_), false);
  const int result = exec();
  return {designerCloseOf(result), dialog()};
}

DialogModel DesignerWindow::dialog() const {
  return *dialog_;
}

void DesignerWindow::divertControls() {
  const QList<QWidget*>& live = window_->controls();
  for (qsizetype i = 0; i < live.size(); ++i) {
    // A group box lets the mouse through to the dialog, which hit-tests it.
    if (dialog_->controls[std::size_t(i)].live == ControlClass::GroupBox) continue;
    divertInput(live[i], this);
  }
  // Controls made after the handles and the band would cover them.
  for (QWidget* h : handles_)
    if (h) h->raise();
  if (band_) band_->raise();
}

void DesignerWindow::sync() {
  const DesignerRefresh r = designer_->takeRefresh();
  syncControls(r);
  // The window follows the model (an undo may give back an older size).
  const QRect want = qrect(dialog_->rect);
  if (window_->geometry() != want) window_->setGeometry(want);
  syncGreyControl();
  placeHandles();
  syncMouseAndBand();
  // While a band is drawn the dialog is not painted again.
  if (r.repaint || r.rebuild || !r.moved.empty()) window_->clientArea()->update();
}

void DesignerWindow::syncControls(const DesignerRefresh& r) {
  if (r.rebuild) {
    window_->buildControls(*dialog_);
    divertControls();
  } else {
    const QList<QWidget*>& live = window_->controls();
    for (std::size_t i : r.moved)
      if (qsizetype(i) < live.size())
        DialogWindow::place(live[qsizetype(i)], dialog_->controls[i], dialog_->baseUnits);
  }
  // A drop-down list takes the height of its closed box, as its window does: the designer's
  // hit tests and outlines go by it. Its designed height stays in the model for the writer.
  const QList<QWidget*>& live = window_->controls();
  for (qsizetype i = 0; i < live.size(); ++i) {
    DialogControl& control = dialog_->controls[std::size_t(i)];
    if (control.live == ControlClass::ComboBox) control.rect.height = live[i]->height();
  }
}

void DesignerWindow::syncGreyControl() {
  const QList<QWidget*>& live = window_->controls();
  QWidget* grey = nullptr;
  if (const auto g = designer_->greyControl(); g && qsizetype(*g) < live.size())
    grey = live[qsizetype(*g)];
  if (grey == grey_) return;
  if (grey_) {
    grey_->setPalette(QPalette());
    grey_->setAutoFillBackground(false);
  }
  if (grey) {
    QPalette p = grey->palette();
    p.setColor(QPalette::Window, kGreyStatic);
    grey->setPalette(p);
    grey->setAutoFillBackground(true);
  }
  grey_ = grey;
}

void DesignerWindow::syncMouseAndBand() {
  // While a press is under way the client area holds the mouse: the widget that got the press
  // may be hidden (a handle during its resize) or built again, and would lose the rest of the
  // gesture with it.
  QWidget* client = window_->clientArea();
  const bool underWay = designer_->gesture() != GestureState::Idle;
  if (underWay && QWidget::mouseGrabber() != client) client->grabMouse();
  if (!underWay && QWidget::mouseGrabber() == client) client->releaseMouse();
  if (const auto b = designer_->band()) {
    band_->setGeometry(QRect(QPoint(b->left, b->top), QPoint(b->right, b->bottom)).normalized());
    band_->show();
  } else {
    band_->hide();
  }
}

void DesignerWindow::placeHandles() {
  for (const Handle& handle : designer_->handles()) {
    QWidget* h = this->handle(handle.type);
    if (!h) continue;
    h->setGeometry(qrect(handle.rect));
    h->setVisible(handle.shown);
    if (handle.shown) h->raise();
  }
}

void DesignerWindow::paintClient(QPainter& painter) {
  const QSize area = window_->clientArea()->size();
  if (grid_.size() != area || grid_.isNull()) {
    // The grid dots, drawn once for the client area's size.
    grid_ = QPixmap(area.isEmpty() ? QSize(1, 1) : area);
    grid_.fill(Qt::transparent);
    QPainter dots(&grid_);
    dots.setPen(Qt::black);
    const BaseUnits base = designer_->dialog().baseUnits;
    const std::vector<int> columns = gridColumns(area.width(), designer_->grid(), base);
    const std::vector<int> rows = gridRows(area.height(), designer_->grid(), base);
    for (int y : rows)
      for (int x : columns) dots.drawPoint(x, y);
  }
  painter.drawPixmap(0, 0, grid_);
  painter.setPen(Qt::black);
  painter.setBrush(Qt::NoBrush);
  for (const Box& b : designer_->outlines())
    painter.drawRect(b.left, b.top, b.right - b.left, b.bottom - b.top);
}

PixelPoint DesignerWindow::clientPoint(QWidget* from, QPoint at) const {
  const QPoint p = from->mapTo(window_->clientArea(), at);
  return {p.x(), p.y()};
}

std::optional<std::size_t> DesignerWindow::indexOf(QWidget* control) const {
  const qsizetype i = window_->controls().indexOf(control);
  if (i < 0) return std::nullopt;
  return std::size_t(i);
}

void DesignerWindow::frameMoved() {
  const QRect g = window_->geometry();
  dialog_->rect.x = g.x();
  dialog_->rect.y = g.y();
  if (g.width() != dialog_->rect.width || g.height() != dialog_->rect.height) {
    designer_->resized(g.width(), g.height());
    grid_ = QPixmap();
  } else {
    setStatus(dialogStatusText(*dialog_), true);
  }
  sync();
}

void DesignerWindow::showMenu(DesignerMenu menu, QPoint global) {
  sync();
  QMenu popup(this);
  std::vector<QAction*> actions;
  for (const MenuItem& item : menu.items) {
    if (item.separator()) {
      actions.push_back(popup.addSeparator());
      continue;
    }
    QAction* a = popup.addAction(QString::fromStdString(item.label));
    a->setEnabled(item.enabled);
    actions.push_back(a);
  }
  QAction* chosen = popup.exec(global);
  for (std::size_t i = 0; chosen && i < actions.size(); ++i)
    if (actions[i] == chosen) designer_->runMenuCommand(menu, i);
  sync();
}

bool DesignerWindow::eventFilter(QObject* watched, QEvent* event) {
  auto* widget = qobject_cast<QWidget*>(watched);
  const QVariant type = widget ? widget->property(kHandleType) : QVariant();
  const bool onClient = widget && widget == window_->clientArea();
  if (!widget || (!onClient && !type.isValid())) return QDialog::eventFilter(watched, event);
  if (clientOrHandleEvent(widget, onClient ? 0 : type.toInt(), event)) return true;
  return QDialog::eventFilter(watched, event);
}

// The mouse on the client area (`handleType` 0) or on a handle: true when it was used.
bool DesignerWindow::clientOrHandleEvent(QWidget* widget, int handleType, QEvent* event) {
  switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick: {
      const auto* m = static_cast<QMouseEvent*>(event);
      const PixelPoint at = clientPoint(widget, m->position().toPoint());
      if (m->button() == Qt::LeftButton) {
        if (handleType == 0)
          designer_->pressBackground(at, modifiersOf(m->modifiers()));
        else
          designer_->pressHandle(handleType, at);
      }
      sync();
      return true;
    }
    case QEvent::MouseMove: {
      const auto* m = static_cast<QMouseEvent*>(event);
      if (!(m->buttons() & Qt::LeftButton)) return false;
      // The press under way, whatever it is (a band, a group box dragged from inside, a
      // handle), follows the pointer.
      designer_->mouseMove(clientPoint(widget, m->position().toPoint()),
                           modifiersOf(m->modifiers()));
      sync();
      return true;
    }
    case QEvent::MouseButtonRelease: {
      const auto* m = static_cast<QMouseEvent*>(event);
      // The menu opens on the right button's release (see divertInput).
      if (m->button() == Qt::RightButton && handleType == 0)
        showMenu(designer_->contextMenu(std::nullopt, clientPoint(widget, m->position().toPoint())),
                 m->globalPosition().toPoint());
      if (m->button() != Qt::LeftButton) return true;
      designer_->mouseRelease();
      sync();
      return true;
    }
    default:
      return false;
  }
}

void DesignerWindow::leftPressed(QWidget* control, QPoint at, Qt::KeyboardModifiers modifiers) {
  if (const auto i = indexOf(control)) {
    designer_->pressControl(*i, clientPoint(control, at), modifiersOf(modifiers));
    sync();
  }
}

void DesignerWindow::rightClicked(QWidget* control, QPoint at, Qt::KeyboardModifiers) {
  if (const auto i = indexOf(control))
    showMenu(designer_->contextMenu(*i, clientPoint(control, at)), control->mapToGlobal(at));
}

void DesignerWindow::leftReleased(QWidget*, QPoint) {
  designer_->mouseRelease();
  sync();
}

void DesignerWindow::mouseMoved(QWidget* control, QPoint at, Qt::MouseButtons buttons) {
  if (!(buttons & Qt::LeftButton)) return;
  designer_->mouseMove(clientPoint(control, at), modifiersOf(QApplication::keyboardModifiers()));
  sync();
}

void DesignerWindow::keyPressed(QWidget* control, int key, Qt::KeyboardModifiers modifiers) {
  const int code = designerKeyOf(key);
  const auto i = indexOf(control);
  if (!code || (i && !keyReachesDesigner(dialog_->controls[*i].live, code))) return;
  designer_->keyDown(code, modifiersOf(modifiers));
  sync();
}

void DesignerWindow::keyPressEvent(QKeyEvent* event) {
  const int code = designerKeyOf(event->key());
  if (code) {
    designer_->keyDown(code, modifiersOf(event->modifiers()));
    sync();
  }
  event->accept();
}

void DesignerWindow::store(const DialogModel& dialog) {
  if (store_) store_(dialog);
}

void DesignerWindow::close() {
  closeAs(DesignerClose::Escape);
}

void DesignerWindow::closeAs(DesignerClose how) {
  if (mayClose_ && !mayClose_(dialog())) return;
  done(int(how));
}

void DesignerWindow::setStatus(std::string_view text, bool message) {
  if (surroundings_.showStatus)
    surroundings_.showStatus(QString::fromUtf8(text.data(), qsizetype(text.size())), message);
}

std::optional<ControlProperties> DesignerWindow::editProperties(const ControlProperties& shown) {
  return editControlProperties(ui_, this, surroundings_.formPosition, shown);
}

namespace {

// The designer session on the context's dialog, with `control` (when given) selected as it
// opens.
bool designDialogAt(const PanelContext& c, std::optional<std::size_t> control) {
  const ModalEdit modal(c.window);
  const ResourceKey key = keyAt(c.doc.index(), c.position);
  // F9: the dialog into the script and the script onto the disk, the designer left open.
  const DesignerWindow::Store store = [&](const DialogModel& dialog) {
    const auto position = findEntry(c.doc.index(), key);
    if (!position) return false;
    if (const auto edit =
            dialogEdit(c.doc.text(), c.doc.index(), *position, dialogBlock(dialog, key.name)))
      c.doc.commit(*edit);
    return c.window.saveScriptFile();
  };
  return designDialog(
      c.ui, c.doc, c.position,
      [&](const DialogModel& dialog, const MayCloseDesigner& mayClose) {
        DesignerSurroundings surroundings = designerSurroundings(c.window);
        const auto block = entryBlock(c.doc.statements(), c.doc.index(), c.position);
        surroundings.script = dialogScript(c.doc, block ? block->begin : 0);
        DialogModel shown = dialog;
        if (control && *control < shown.controls.size()) shown.controls[*control].selected = true;
        DesignerWindow designer(shown, std::move(surroundings), c.ui, store);
        designer.setMayClose(mayClose);
        const DesignerClosing closing = designer.run();
        // What the designer said of its controls ends with it.
        c.window.setDefaultStatusText({});
        c.window.statusBar()->clearMessage();
        return closing;
      },
      checkMeasure());
}

}  // namespace

bool editDialog(const PanelContext& context) {
  return designDialogAt(context, std::nullopt);
}

bool editDialogControl(const PanelContext& context, std::size_t control) {
  return designDialogAt(context, control);
}

}  // namespace kolvre
