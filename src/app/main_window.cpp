#include "app/main_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDateTime>
#include <QFile>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QProcess>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

#include "app/dialog_forms.h"
#include "app/shell_services.h"
#include "app/show_resource.h"
#include "document/document_commands.h"
#include "document/resource_commands.h"
#include "document/resource_edits.h"
#include "messages/error_record.h"
#include "messages/messages.h"
#include "platform/system_metrics.h"
#include "settings/recent_files.h"
#include "ui/qt_about_box.h"

namespace kolvre {

namespace {

constexpr const char* kRecentMenuTitle = "File di risorse aperti di recente";

// A menu item's key after a tab, as the key table knows it.
QString withKey(KeyAction action) {
  const std::string key = keyLabel(action);
  return key.empty() ? QString() : QLatin1Char('\t') + QString::fromStdString(key);
}

QAction* addItem(QMenu* menu, const QString& text, const QString& hint,
                 std::function<void()> action) {
  QAction* a = menu->addAction(text);
  a->setStatusTip(hint);
  QObject::connect(a, &QAction::triggered, menu, std::move(action));
  return a;
}

}  // namespace

MainWindow::MainWindow(Document& doc, UserInterface& ui, QWidget* parent)
    : QMainWindow(parent), doc_(doc), ui_(ui) {
  setObjectName(QStringLiteral("mainWindow"));
  setWindowIcon(QIcon(QStringLiteral(":/kolvre/ICONA.png")));
  buildMenus();
  buildButtonBar();
  buildStatusBar();

  workspace_ = new QWidget(this);
  workspace_->setAutoFillBackground(true);
  QPalette pal = workspace_->palette();
  pal.setColor(QPalette::Window, pal.color(QPalette::Dark));  // the application workspace
  workspace_->setPalette(pal);
  setCentralWidget(workspace_);

  workspace_->installEventFilter(this);
  qApp->installEventFilter(this);  // the keyboard-state indicators follow every key press
  list_ = new ResourceListView(doc_, workspace_);
  list_->onChange = [this] { showCurrent(); };
  list_->onDoubleClick = [this] { editCurrent(); };
  list_->onContextMenu = [this](QPoint at) { showContextMenu(at); };
  list_->onKey = [this](int vk, Qt::KeyboardModifiers m) { return runKey(vk, m); };
  list_->search().reset();

  if (auto* qt = dynamic_cast<QtUserInterface*>(&ui_)) qt->setMainWindow(this);
  doc_.history().setLimit(undoMemoryLimit(ui_));
  doc_.setObserver(this);
  pending_ = DocumentChange{DocumentChange::Kind::Loaded, std::nullopt, {}};
  refresh();
  rebuildRecentFiles();
}

MainWindow::~MainWindow() {
  // A placement still held (the program ends by another way than the close box) is kept.
  placementWrites_.flush();
  doc_.setObserver(nullptr);
}

void MainWindow::buildMenus() {
  QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
  addItem(file, QStringLiteral("Nuovo file di risorse"),
          QStringLiteral("Per creare un nuovo file di risorse"), [this] { newFile(); });
  file->addSeparator();
  addItem(file, QStringLiteral("Apri file di risorse...") + withKey(KeyAction::Open),
          QStringLiteral("Per aprire un file di risorse diverso"),
          [this] { runAction(KeyAction::Open); });
  file->addSeparator();
  recentMenu_ = file->addMenu(QString::fromUtf8(kRecentMenuTitle));
  file->addSeparator();
  addItem(file, QStringLiteral("Salva file di risorse") + withKey(KeyAction::Save),
          QStringLiteral("Per salvare il file di risorse attualmente in memoria"),
          [this] { runAction(KeyAction::Save); });
  addItem(file, QStringLiteral("Salva file di risorse con nome"),
          QStringLiteral("Per salvare il file di risorse attualmente in memoria con un nuovo nome"),
          [this] { saveAs(); });
  file->addSeparator();
  addItem(file, QStringLiteral("Esci"), QStringLiteral("Per uscire dal programma"),
          [this] { close(); });

  QMenu* resources = menuBar()->addMenu(QStringLiteral("&Risorse"));
  for (const auto& [action, type] : kNewResourceActions) {
    const QString kind = qstr(typeInfo(type).kindName);
    addItem(resources, QStringLiteral("Nuova ") + kind + withKey(action),
            QStringLiteral("Per creare una nuova risorsa ") + kind,
            [this, action = action] { runAction(action); });
  }
  resources->addSeparator();
  addItem(resources, QStringLiteral("Incolla") + withKey(KeyAction::Paste), {},
          [this] { runAction(KeyAction::Paste); });
  resources->addSeparator();
  addItem(resources, QString::fromUtf8(kLabelReorderAll),
          QStringLiteral("Per ordinare le risorse di ogni tipo per nome, ognuna al posto di una "
                         "del suo tipo"),
          [this] { runAction(KeyAction::ReorderAll); });
  resources->addSeparator();
  undoItem_ = addItem(resources, QStringLiteral("Annulla"),
                      QStringLiteral("Per annullare l'ultima modifica alle risorse"),
                      [this] { runAction(KeyAction::Undo); });
  redoItem_ = addItem(resources, QStringLiteral("Ripristina"),
                      QStringLiteral("Per ripristinare la modifica annullata"),
                      [this] { runAction(KeyAction::Redo); });

  QMenu* help = menuBar()->addMenu(QStringLiteral("?"));
  addItem(help, QStringLiteral("Informazioni"), QStringLiteral("Informazioni sul programma"),
          [this] { about(); });
}

QPoint MainWindow::formPosition() const {
  const int bar = buttonBar_ ? buttonBar_->height() : 0;
  return geometry().topLeft() + QPoint(200, kCaptionHeight + kMenuHeight + bar + 22);
}

QRect MainWindow::panelArea() const {
  const QWidget* central = centralWidget();
  const QPoint origin = central->mapToGlobal(QPoint(ResourceListView::kWidth, 0));
  return QRect(origin, QSize(central->width() - ResourceListView::kWidth, central->height()));
}

void MainWindow::buildButtonBar() {
  QToolBar* bar = addToolBar(QStringLiteral("Pulsanti"));
  buttonBar_ = bar;
  bar->setObjectName(QStringLiteral("buttonBar"));
  bar->setMovable(false);
  bar->setFloatable(false);
  bar->setIconSize(QSize(27, 27));
  auto addButton = [&](const char* picture, const QString& tip, std::function<void()> action) {
    QAction* a =
        bar->addAction(QIcon(QStringLiteral(":/kolvre/%1.png").arg(QLatin1String(picture))), tip);
    a->setToolTip(tip);
    connect(a, &QAction::triggered, this, std::move(action));
    if (auto* button = qobject_cast<QToolButton*>(bar->widgetForAction(a))) {
      button->setFixedSize(33, 33);
      button->setAutoRaise(false);
    }
  };
  addButton("NUOVO", QStringLiteral("Nuovo file di risorse"), [this] {
    newFile();
    list_->setFocus();
  });
  addButton("APRI",
            QStringLiteral("Apri file di risorse (%1)").arg(qstr(keyLabel(KeyAction::Open))),
            [this] {
              openFile();
              list_->setFocus();
            });
  addButton("SALVA",
            QStringLiteral("Salva file di risorse (%1)").arg(qstr(keyLabel(KeyAction::Save))),
            [this] {
              dispatch([this] { saveScript(ui_, doc_); });
              list_->setFocus();
            });
  bar->addSeparator();
  addButton("EXIT", QStringLiteral("Esci"), [this] { close(); });
}

void MainWindow::buildStatusBar() {
  QStatusBar* bar = statusBar();
  defaultStatus_ = new QLabel(bar);
  bar->addWidget(defaultStatus_, 1);
  auto indicator = [&](const QString& text) {
    auto* label = new QLabel(text, bar);
    label->setFrameShape(QFrame::Panel);
    label->setFrameShadow(QFrame::Sunken);
    label->setAlignment(Qt::AlignCenter);
    label->setMinimumWidth(label->fontMetrics().horizontalAdvance(text) + 12);
    bar->addPermanentWidget(label);
    return label;
  };
  caps_ = indicator(QStringLiteral("CAPS"));
  num_ = indicator(QStringLiteral("NUM"));
  ins_ = indicator(QStringLiteral("INS"));
  date_ = indicator(QStringLiteral("00/00/0000"));
  clock_ = indicator(QStringLiteral("00:00:00"));
  caps_->setEnabled(false);
  num_->setEnabled(false);
  auto* timer = new QTimer(this);
  connect(timer, &QTimer::timeout, this, &MainWindow::tick);
  timer->start(1000);
  tick();
}

void MainWindow::tick() {
  const QDateTime now = QDateTime::currentDateTime();
  clock_->setText(now.toString(QStringLiteral("hh:mm:ss")));
  date_->setText(now.toString(QStringLiteral("dd/MM/yyyy")));
  ins_->setEnabled(insertMode_);
}

void MainWindow::updateTitle() {
  setWindowTitle(QString::fromUtf8(kProgramName) + QStringLiteral(" - ") +
                 QFile::decodeName(doc_.fileName().c_str()));
}

void MainWindow::rebuildRecentFiles() {
  const std::vector<std::string> entries = readRecentFiles(ui_);
  QList<QAction*> items = recentMenu_->actions();
  for (std::size_t n = 0; n < entries.size(); ++n) {
    const std::string path = entries[n];
    QAction* item = nullptr;
    if (n < static_cast<std::size_t>(items.size())) {
      item = items[static_cast<qsizetype>(n)];
      item->disconnect();
      item->setText(QFile::decodeName(path.c_str()));
    } else {
      item = recentMenu_->addAction(QFile::decodeName(path.c_str()));
      item->setStatusTip(QStringLiteral("Apri questo file di risorse"));
    }
    connect(item, &QAction::triggered, this, [this, path] { openFile(path); });
  }
}

void MainWindow::dispatch(const std::function<void()>& command) {
  ++dispatchDepth_;
  try {
    command();
  } catch (const CommandError& e) {
    reportFailure(ui_, &doc_, e.record());
  } catch (const Refusal& e) {
    inform(ui_, e.what());
  } catch (const std::exception& e) {
    // Anything else is a fault of the program: the fatal report, with the work saved aside.
    ErrorRecord record;
    record.subSystem = "KOLVRE";
    record.description = e.what();
    reportFailure(ui_, &doc_, record);
  }
  --dispatchDepth_;
  refresh();
}

void MainWindow::endModalEdit() {
  --modalEditors_;
  refresh();
}

void MainWindow::documentChanged(const DocumentChange& change) {
  // Only noted here: the command that made the change is still running.
  pending_ = change;
}

void MainWindow::refresh() {
  if (!pending_ || dispatchDepth_ > 0 || modalEditors_ > 0) return;
  const DocumentChange change = std::move(*pending_);
  pending_.reset();
  list_->bind(doc_.index());
  if (change.current)
    if (const auto position = findEntry(doc_.index(), *change.current))
      list_->setCurrentRow(static_cast<int>(*position));
  list_->reveal();
  if (doc_.index().empty()) setDefaultStatusText({});
  if (change.kind == DocumentChange::Kind::Loaded) updateTitle();
  updateUndoItems();
  showCurrent();
}

void MainWindow::updateUndoItems() {
  const auto label = [](const char* verb, std::string_view step, KeyAction action) {
    QString text = QString::fromUtf8(verb);
    if (!step.empty()) text += QLatin1Char(' ') + qstr(step);
    return text + withKey(action);
  };
  undoItem_->setText(label("Annulla", doc_.undoLabel(), KeyAction::Undo));
  undoItem_->setEnabled(doc_.canUndo());
  redoItem_->setText(label("Ripristina", doc_.redoLabel(), KeyAction::Redo));
  redoItem_->setEnabled(doc_.canRedo());
}

void MainWindow::newFile() {
  dispatch([this] {
    if (newScript(ui_, doc_)) addRecentFile(ui_, doc_.fileName());
  });
  rebuildRecentFiles();
}

void MainWindow::openFile(const std::string& path) {
  dispatch([this, &path] {
    if (openScriptFile(ui_, doc_, path)) addRecentFile(ui_, doc_.fileName());
  });
  rebuildRecentFiles();
}

void MainWindow::saveAs() {
  dispatch([this] {
    if (saveScript(ui_, doc_, true)) addRecentFile(ui_, doc_.fileName());
  });
  updateTitle();
  rebuildRecentFiles();
  list_->setFocus();
}

std::optional<std::size_t> MainWindow::currentPosition() const {
  const int row = list_->currentRow();
  if (row < 0 || static_cast<std::size_t>(row) >= doc_.index().size()) return std::nullopt;
  return static_cast<std::size_t>(row);
}

const IndexEntry* MainWindow::currentEntry() const {
  const auto position = currentPosition();
  return position ? &doc_.index()[*position] : nullptr;
}

bool MainWindow::runKey(int virtualKey, Qt::KeyboardModifiers modifiers) {
  KeyState state;
  state.ctrl = modifiers & Qt::ControlModifier;
  state.shift = modifiers & Qt::ShiftModifier;
  state.escEnabled = virtualKey == kVkEscape && escClosesWindow(ui_);
  state.current = currentEntry();
  const KeyAction action = keyAction(virtualKey, state);
  if (action == KeyAction::None) return false;
  runAction(action);
  return true;
}

void MainWindow::runAction(KeyAction action) {
  switch (action) {
    case KeyAction::None:
      return;
    case KeyAction::CloseWindow:
      close();
      return;
    case KeyAction::EditCurrent:
      editCurrent();
      return;
    case KeyAction::Open:
      openFile();
      return;
    case KeyAction::Save:
      dispatch([this] { saveScript(ui_, doc_); });
      return;
    case KeyAction::SecondCopy:
      startSecondCopy();
      return;
    case KeyAction::Undo:
      dispatch([this] { doc_.undo(); });
      return;
    case KeyAction::Redo:
      dispatch([this] { doc_.redo(); });
      return;
    default:
      dispatch([this, action] { runResourceCommand(action); });
      return;
  }
}

void MainWindow::runResourceCommand(KeyAction action) {
  const std::optional<std::size_t> current = currentPosition();
  for (const auto& [newAction, kind] : kNewResourceActions)
    if (action == newAction) newResource(ui_, doc_, kind, current);
  switch (action) {
    case KeyAction::Rename:
      renameResource(ui_, doc_, current);
      break;
    case KeyAction::Delete:
      deleteResource(ui_, doc_, current);
      break;
    case KeyAction::Copy:
      copyResource(ui_, doc_, current);
      break;
    case KeyAction::Paste:
      pasteResource(ui_, doc_, current);
      break;
    case KeyAction::EditAsText:
      editResourceAsText(ui_, doc_, current);
      break;
    case KeyAction::ReorderAll:
      reorderResources(doc_, current);
      break;
    case KeyAction::DialogProperties:
      changeDialogProperties(
          ui_, doc_, current,
          [this](const DialogProperties& shown, const DialogPropertiesCheck& check) {
            return editDialogProperties(this, formPosition(), ui_, shown, check);
          });
      break;
    case KeyAction::TabOrder:
      changeTabOrder(ui_, doc_, current,
                     [this](const std::vector<TabOrderRow>& rows, std::size_t row) {
                       return editTabOrder(this, ui_, doc_, rows, row);
                     });
      break;
    default:
      break;
  }
}

void MainWindow::showContextMenu(QPoint globalPos) {
  const IndexEntry* entry = currentEntry();
  if (!entry) return;
  QMenu menu(this);
  const bool dialog = entry->type == ResourceType::Dialog;
  const bool textOnly =
      entry->type == ResourceType::Manifest || entry->type == ResourceType::VersionInfo;
  // The key shown is the one of the action the item runs, except where the item names the
  // key that reaches it from the list (Enter).
  auto item = [&](const char* text, KeyAction action, KeyAction keyOf) {
    connect(menu.addAction(QString::fromUtf8(text) + withKey(keyOf)), &QAction::triggered, this,
            [this, action] { runAction(action); });
  };
  if (dialog) {
    item("Proprietà", KeyAction::DialogProperties, KeyAction::DialogProperties);
    menu.addSeparator();
  }
  item("Modifica", textOnly ? KeyAction::EditAsText : KeyAction::EditCurrent,
       KeyAction::EditCurrent);
  item("Rinomina", KeyAction::Rename, KeyAction::Rename);
  item("Elimina", KeyAction::Delete, KeyAction::Delete);
  menu.addSeparator();
  item("Copia", KeyAction::Copy, KeyAction::Copy);
  menu.addSeparator();
  if (dialog) item("Ordine tabulazione", KeyAction::TabOrder, KeyAction::TabOrder);
  item("Modifica come testo", KeyAction::EditAsText, KeyAction::EditAsText);
  menu.exec(globalPos);
}

void MainWindow::showCurrent() {
  if (modalEditors_ > 0) return;  // the modal editor owns the resource shown
  if (panel_) {
    // Closed through the event loop, after the next panel is built.
    panel_->hide();
    panel_->deleteLater();
    panel_ = nullptr;
  }
  const auto position = currentPosition();
  if (!position) return;
  const PanelContext context{*this, doc_, ui_, *position};
  ++panelsBuilt_;
  dispatch([&] { panel_ = panelRow(doc_.index()[*position].type).show(context); });
}

void MainWindow::editCurrent() {
  const auto position = currentPosition();
  if (!position) return;
  const ResourceType type = doc_.index()[*position].type;
  const PanelRow& row = panelRow(type);
  const PanelContext context{*this, doc_, ui_, *position};
  dispatch([&] { row.edit(context); });
  list_->setFocus();
}

void MainWindow::startSecondCopy() {
  QProcess::startDetached(QCoreApplication::applicationFilePath(),
                          QStringList{QFile::decodeName(doc_.fileName().c_str())});
}

void MainWindow::about() {
  showAboutBox(this, QString::fromUtf8(kProgramName), QString::fromUtf8(kProgramVersion),
               QPixmap(QStringLiteral(":/kolvre/KOLV.png")));
}

void MainWindow::placeInitially() {
  placeWindow(*this, ui_, placement_, std::nullopt);
  placed_ = true;
}

void MainWindow::layOutList() {
  // The panel stands where it was built; a move or a resize does not rebuild it.
  list_->setGeometry(0, 0, ResourceListView::kWidth, workspace_->height());
  list_->reveal();
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress) {
    // Every press reaches the application once per widget it travels through: count it once.
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->timestamp() != lastKeyTime_ || key->key() != lastKey_) {
      lastKeyTime_ = key->timestamp();
      lastKey_ = key->key();
      if (key->key() == Qt::Key_CapsLock) caps_->setEnabled(!caps_->isEnabled());
      if (key->key() == Qt::Key_NumLock) num_->setEnabled(!num_->isEnabled());
      const QWidget* focus = QApplication::focusWidget();
      if (key->key() == Qt::Key_Insert && key->modifiers() == Qt::NoModifier &&
          !(focus && focus->property(kNoGlobalInsert).toBool()))
        insertMode_ = !insertMode_;
      ins_->setEnabled(insertMode_);
    }
  }
  if (watched == workspace_ && event->type() == QEvent::Resize)
    list_->setGeometry(0, 0, ResourceListView::kWidth, workspace_->height());
  return QMainWindow::eventFilter(watched, event);
}

void MainWindow::closeEvent(QCloseEvent* event) {
  bool mayClose = false;
  dispatch([&] { mayClose = closeScript(ui_, doc_); });
  if (mayClose) {
    placementWrites_.flush();
    event->accept();
  } else {
    event->ignore();
  }
}

void MainWindow::keyPressEvent(QKeyEvent* event) {
  const int vk = virtualKeyOf(event->key());
  if (vk != 0 && runKey(vk, event->modifiers())) return;
  QMainWindow::keyPressEvent(event);
}

bool MainWindow::applyUnframedOuter() {
  if (!unframedOuter_) return false;
  const QSize extra = frameGeometry().size() - geometry().size();
  if (extra.isEmpty()) return false;  // no frame yet, or none at all
  const QSize outer = *unframedOuter_;
  unframedOuter_.reset();
  if (isMaximized() || isMinimized()) return false;
  resize(std::max(outer.width() - extra.width(), 100),
         std::max(outer.height() - extra.height(), 100));
  return true;
}

void MainWindow::resizeEvent(QResizeEvent* event) {
  QMainWindow::resizeEvent(event);
  if (applyUnframedOuter()) return;  // the resize that follows records the placement
  if (placed_ && !isMaximized() && !isMinimized()) placementWrites_.record(SizeType::Restored);
}

void MainWindow::moveEvent(QMoveEvent* event) {
  QMainWindow::moveEvent(event);
  if (applyUnframedOuter()) return;
  if (placed_) placementWrites_.record(SizeType::Moved);
}

void MainWindow::changeEvent(QEvent* event) {
  QMainWindow::changeEvent(event);
  if (placed_ && event->type() == QEvent::WindowStateChange)
    placementWrites_.record(isMinimized()   ? SizeType::Minimized
                            : isMaximized() ? SizeType::Maximized
                                            : SizeType::Restored);
}

}  // namespace kolvre
