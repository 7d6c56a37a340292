#include "app/dialog_designer.h"

#include <QApplication>
#include <QFontMetrics>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QRubberBand>
#include <QStatusBar>
#include <QToolBar>

#include "app/main_window.h"
#include "dialogs/dialog_writer.h"
#include "document/document_commands.h"
#include "document/edit.h"
#include "platform/system_metrics.h"
#include "ui/qt_form_check.h"

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

QRect qrect(const UnitRect& r) {
  return QRect(r.x, r.y, r.width, r.height);
}

const char* const kHandleType = "kolvreHandleType";

}  // namespace

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

DesignerWindow::DesignerWindow(const DialogModel& dialog, MainWindow& window, UserInterface& ui,
                               TextEncoding encoding, Store store)
    : QDialog(&window, Qt::Dialog | Qt::FramelessWindowHint),
      main_(window),
      ui_(ui),
      store_(std::move(store)),
      dialog_(std::make_unique<DialogModel>(dialog)) {
  setObjectName(QStringLiteral("dialogDesigner"));
  setModal(true);
  // The canvas is the panel area: from the top-right corner of the list to the main window's
  // right and bottom edges, wider or higher where the dialog needs it.
  QWidget* central = window.centralWidget();
  const QPoint origin = central->mapToGlobal(QPoint(ResourceListView::kWidth, 0));
  const QRect r = qrect(dialog.rect);
  const int width =
      std::max(central->width() - ResourceListView::kWidth, r.right() + 1 + kCanvasMargin);
  const int height = std::max(central->height(), r.bottom() + 1 + kCanvasMargin);
  setGeometry(QRect(origin, QSize(width, height)));
  // The canvas has the colour of the panel area it covers.
  QPalette canvas = palette();
  canvas.setColor(QPalette::Window, central->palette().color(QPalette::Window));
  setPalette(canvas);
  setAutoFillBackground(true);

  window_ = new DialogWindow(*dialog_, this, QPoint(0, 0));
  window_->setObjectName(QStringLiteral("designedDialog"));
  window_->moved = [this] { frameMoved(); };
  window_->closeRequested = [this] { done(kClosedByBox); };
  window_->paintClient = [this](QPainter& painter) { paintClient(painter); };
  QWidget* client = window_->clientArea();
  client->installEventFilter(this);

  const QFont font = client->font();
  drag_ = std::make_unique<TDrag>(
      *dialog_, ui, *this,
      [font](std::string_view text) {
        return QFontMetrics(font).horizontalAdvance(
            QString::fromUtf8(text.data(), qsizetype(text.size())));
      },
      encoding);

  band_ = new QRubberBand(QRubberBand::Rectangle, client);
  band_->hide();
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
  divertControls();
  sync();
}

DesignerWindow::~DesignerWindow() = default;

DesignerClosing DesignerWindow::run() {
  setStatus(dialogStatusText(*dialog_), false);
  const int result = exec();
  return {result, dialog()};
}

DialogModel DesignerWindow::dialog() const {
  return *dialog_;
}

void DesignerWindow::divertControls() {
  const QList<QWidget*>& live = window_->controls();
  for (qsizetype i = 0; i < live.size(); ++i) {
    // A group box lets the mouse through to the dialog, which hit-tests it.
    if (dialog_->aControls[std::size_t(i)].live == ControlClass::TGroup) continue;
    divertInput(live[i], this);
  }
  // Controls made after the handles and the band would cover them.
  for (QWidget* h : handles_)
    if (h) h->raise();
  if (band_) band_->raise();
}

void DesignerWindow::sync() {
  const DesignerRefresh r = drag_->takeRefresh();
  const QList<QWidget*>* live = &window_->controls();
  if (r.rebuild) {
    window_->buildControls(*dialog_);
    live = &window_->controls();
    divertControls();
  } else {
    for (std::size_t i : r.moved)
      if (qsizetype(i) < live->size())
        DialogWindow::place((*live)[qsizetype(i)], dialog_->aControls[i].live,
                            dialog_->aControls[i].rect);
  }
  // A drop-down list takes the height of its closed box, as its window does: the designer's
  // hit tests and outlines go by it. Its designed height stays in the model for the writer.
  for (qsizetype i = 0; i < live->size(); ++i) {
    DialogControl& control = dialog_->aControls[std::size_t(i)];
    if (control.live == ControlClass::TComboBox2) control.rect.height = (*live)[i]->height();
  }
  // The window follows the model (an undo may give back an older size).
  const QRect want = qrect(dialog_->rect);
  if (window_->geometry() != want) window_->setGeometry(want);

  QWidget* grey = nullptr;
  if (const auto g = drag_->greyControl(); g && qsizetype(*g) < live->size())
    grey = (*live)[qsizetype(*g)];
  if (grey != grey_) {
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
  placeHandles();
  // While a press is under way the client area holds the mouse: the widget that got the press
  // may be hidden (a handle during its resize) or built again, and would lose the rest of the
  // gesture with it.
  QWidget* client = window_->clientArea();
  if (drag_->gesture() != Gesture::None && QWidget::mouseGrabber() != client) client->grabMouse();
  if (drag_->gesture() == Gesture::None && QWidget::mouseGrabber() == client)
    client->releaseMouse();
  if (const auto b = drag_->band()) {
    band_->setGeometry(QRect(QPoint(b->left, b->top), QPoint(b->right, b->bottom)).normalized());
    band_->show();
  } else {
    band_->hide();
  }
  // While a band is drawn the dialog is not painted again.
  if (r.repaint || r.rebuild || !r.moved.empty()) window_->clientArea()->update();
}

void DesignerWindow::placeHandles() {
  for (const TSize& size : drag_->aSize) {
    QWidget* h = handle(size.nType);
    if (!h) continue;
    h->setGeometry(qrect(size.rect));
    h->setVisible(size.shown);
    if (size.shown) h->raise();
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
    const std::vector<int> columns = gridColumns(area.width(), drag_->nGrid);
    const std::vector<int> rows = gridRows(area.height(), drag_->nGrid);
    for (int y : rows)
      for (int x : columns) dots.drawPoint(x, y);
  }
  painter.drawPixmap(0, 0, grid_);
  painter.setPen(Qt::black);
  painter.setBrush(Qt::NoBrush);
  for (const Box& b : drag_->outlines())
    painter.drawRect(b.left, b.top, b.right - b.left, b.bottom - b.top);
}

Point DesignerWindow::clientPoint(QWidget* from, QPoint at) const {
  const QPoint p = from->mapTo(window_->clientArea(), at);
  return {p.y(), p.x()};
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
    drag_->Resized(g.width(), g.height());
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
    if (actions[i] == chosen) drag_->runMenuCommand(menu, i);
  sync();
}

bool DesignerWindow::eventFilter(QObject* watched, QEvent* event) {
  auto* widget = qobject_cast<QWidget*>(watched);
  const QVariant type = widget ? widget->property(kHandleType) : QVariant();
  const bool onClient = widget && widget == window_->clientArea();
  if (!widget || (!onClient && !type.isValid())) return QDialog::eventFilter(watched, event);
  switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick: {
      const auto* m = static_cast<QMouseEvent*>(event);
      const Point at = clientPoint(widget, m->position().toPoint());
      if (m->button() == Qt::LeftButton) {
        if (onClient)
          drag_->InitSel(at, modifiersOf(m->modifiers()));
        else
          drag_->InitSize(type.toInt(), at);
      }
      sync();
      return true;
    }
    case QEvent::MouseMove: {
      const auto* m = static_cast<QMouseEvent*>(event);
      if (!(m->buttons() & Qt::LeftButton)) return false;
      // The press under way, whatever it is (a band, a group box dragged from inside, a
      // handle), follows the pointer.
      drag_->MouseMove(clientPoint(widget, m->position().toPoint()), modifiersOf(m->modifiers()));
      sync();
      return true;
    }
    case QEvent::MouseButtonRelease: {
      const auto* m = static_cast<QMouseEvent*>(event);
      // The menu opens on the right button's release (see divertInput).
      if (m->button() == Qt::RightButton && onClient)
        showMenu(drag_->RightMenu(std::nullopt, clientPoint(widget, m->position().toPoint())),
                 m->globalPosition().toPoint());
      if (m->button() != Qt::LeftButton) return true;
      drag_->MouseRelease();
      sync();
      return true;
    }
    default:
      return QDialog::eventFilter(watched, event);
  }
}

void DesignerWindow::bLClicked(QWidget* control, QPoint at, Qt::KeyboardModifiers modifiers) {
  if (const auto i = indexOf(control)) {
    drag_->InitDrg(*i, clientPoint(control, at), modifiersOf(modifiers));
    sync();
  }
}

void DesignerWindow::bRClicked(QWidget* control, QPoint at, Qt::KeyboardModifiers) {
  if (const auto i = indexOf(control))
    showMenu(drag_->RightMenu(*i, clientPoint(control, at)), control->mapToGlobal(at));
}

void DesignerWindow::bLReleased(QWidget*, QPoint) {
  drag_->MouseRelease();
  sync();
}

void DesignerWindow::bMouseMoved(QWidget* control, QPoint at, Qt::MouseButtons buttons) {
  if (!(buttons & Qt::LeftButton)) return;
  drag_->MouseMove(clientPoint(control, at), modifiersOf(QApplication::keyboardModifiers()));
  sync();
}

void DesignerWindow::bKeyDown(QWidget* control, int key, Qt::KeyboardModifiers modifiers) {
  const int code = designerKeyOf(key);
  const auto i = indexOf(control);
  if (!code || (i && !keyReachesDesigner(dialog_->aControls[*i].live, code))) return;
  drag_->KeyDown(code, modifiersOf(modifiers));
  sync();
}

void DesignerWindow::keyPressEvent(QKeyEvent* event) {
  const int code = designerKeyOf(event->key());
  if (code) {
    drag_->KeyDown(code, modifiersOf(event->modifiers()));
    sync();
  }
  event->accept();
}

void DesignerWindow::store(const DialogModel& dialog) {
  if (store_) store_(dialog);
}

void DesignerWindow::close() {
  done(QDialog::Rejected);
}

void DesignerWindow::setStatus(std::string_view text, bool message) {
  const QString shown = QString::fromUtf8(text.data(), qsizetype(text.size()));
  main_.setDefaultStatusText(shown);
  // A message stays up over the default text until the next one: a new default text takes
  // its place, so that the bar never shows what a gesture before the last one said.
  if (message)
    main_.statusBar()->showMessage(shown);
  else
    main_.statusBar()->clearMessage();
}

std::optional<ControlProperties> DesignerWindow::editProperties(const ControlProperties& shown) {
  CheckedDialog form(ui_, true, this);
  form.setWindowTitle(
      QString::fromUtf8(kPropertiesTitle.data(), qsizetype(kPropertiesTitle.size())));
  form.setObjectName(QStringLiteral("PROPCTL"));
  auto* grid = new QGridLayout(&form);
  ControlProperties values = shown;
  // Each field's widget and how its text is read.
  std::vector<std::function<std::string()>> texts;
  int row = 0;
  for (const PropertyField& field : kPropertyFields) {
    const QString label = QString::fromUtf8(field.label.data(), qsizetype(field.label.size()));
    const QString value = QString::fromStdString(propertyValue(values, field.id));
    grid->addWidget(new QLabel(label, &form), row, 0);
    QWidget* widget = nullptr;
    if (field.multiLine) {
      auto* edit = new QPlainTextEdit(value, &form);
      edit->setObjectName(QStringLiteral("field%1").arg(field.id));
      edit->setTabChangesFocus(true);
      edit->setFixedHeight(60);
      texts.push_back([edit] { return edit->toPlainText().toStdString(); });
      widget = edit;
    } else {
      auto* edit = new QLineEdit(value, &form);
      edit->setObjectName(QStringLiteral("field%1").arg(field.id));
      edit->setReadOnly(field.readOnly);
      if (field.id == 101) edit->setMaxLength(int(kCaptionMaxLength));
      // A number field takes as many digits as its picture; the id may still show a symbol.
      // Id, X and Y: Insert has no global action there.
      if (field.id == 102 || field.id == 104 || field.id == 105)
        edit->setProperty(kNoGlobalInsert, true);
      if (!field.picture.empty() && field.id != 102)
        edit->setValidator(new QRegularExpressionValidator(
            QRegularExpression(QStringLiteral("\\d{0,%1}").arg(field.picture.size())), edit));
      texts.push_back([edit] { return edit->text().toStdString(); });
      widget = edit;
    }
    grid->addWidget(widget, row, 1);
    const int id = field.id;
    const std::size_t index = texts.size() - 1;
    FormField check;
    check.check = [&, id] {
      ControlProperties now = shown;
      for (std::size_t f = 0; f < texts.size(); ++f)
        propertyValue(now, kPropertyFields[f].id) = texts[f]();
      const auto fault = checkProperties(now, shown);
      if (!fault || fault->field != id) return true;
      form.form().fields[index].failMessage = fault->message;
      return false;
    };
    form.addField(widget, std::move(check));
    if (auto* edit = qobject_cast<QPlainTextEdit*>(widget))
      connect(edit, &QPlainTextEdit::textChanged, &form,
              [&form, index] { form.form().fields[index].modified = true; });
    ++row;
  }
  auto* confirm = new QPushButton(QStringLiteral("&Conferma"), &form);
  auto* cancel = new QPushButton(QStringLiteral("&Annulla"), &form);
  confirm->setDefault(true);
  connect(confirm, &QPushButton::clicked, &form, &CheckedDialog::confirm);
  connect(cancel, &QPushButton::clicked, &form, &CheckedDialog::cancel);
  grid->addWidget(confirm, row, 0);
  grid->addWidget(cancel, row, 1, Qt::AlignRight);
  // Below the main window's button bar, 200 pixels from its left edge.
  const auto* bar = main_.findChild<QToolBar*>(QStringLiteral("buttonBar"));
  form.move(main_.geometry().topLeft() +
            QPoint(200, SM_CYCAPTION + SM_CYMENU + (bar ? bar->height() : 0) + 22));
  if (form.exec() != QDialog::Accepted) return std::nullopt;
  for (std::size_t f = 0; f < texts.size(); ++f)
    propertyValue(values, kPropertyFields[f].id) = texts[f]();
  return values;
}

bool editDialog(const PanelContext& c) {
  const ModalEdit modal(c.window);
  const ResourceKey key = keyAt(c.doc.index(), c.position);
  // F9: the dialog into the script and the script onto the disk, the designer left open.
  const DesignerWindow::Store store = [&](const DialogModel& dialog) {
    const auto position = findEntry(c.doc.index(), key);
    if (!position) return false;
    if (const auto edit =
            SAVEDLG(c.doc.text(), c.doc.index(), *position, MAKEDLG(dialog, key.name)))
      c.doc.commit(*edit);
    return SALVARC(c.ui, c.doc);
  };
  return designDialog(c.ui, c.doc, c.position, [&](const DialogModel& dialog) {
    DesignerWindow designer(dialog, c.window, c.ui, c.doc.encoding(), store);
    return designer.run();
  });
}

}  // namespace kolvre
