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

#include "app/recent_files.h"
#include "app/shell_services.h"
#include "app/show_resource.h"
#include "document/document_commands.h"
#include "ui/error_record.h"
#include "ui/messages.h"
#include "ui/qt_about_box.h"

namespace kolvre {

namespace {

constexpr const char* kRecentMenuTitle = "File di risorse aperti di recente";

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
  list_->onChange = [this] { showCurrent(false); };
  list_->onDoubleClick = [this] {
    showCurrent(true);
    list_->stabilize();
  };
  list_->onContextMenu = [this](QPoint at) { showContextMenu(at); };
  list_->onKey = [this](int vk, Qt::KeyboardModifiers m) { return runKey(vk, m); };
  list_->onClearStatus = [this] { setDefaultStatusText({}); };
  list_->search().reset();

  dispatch([this] { AGGIORNA(doc_, list_); });
  updateTitle();
  rebuildRecentFiles();
}

void MainWindow::buildMenus() {
  QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
  addItem(file, QStringLiteral("Nuovo file di risorse"),
          QStringLiteral("Per creare un nuovo file di risorse"), [this] { newFile(); });
  file->addSeparator();
  addItem(file, QStringLiteral("Apri file di risorse...\tF2"),
          QStringLiteral("Per aprire un file di risorse diverso"),
          [this] { runAction(KeyAction::Open); });
  file->addSeparator();
  recentMenu_ = file->addMenu(QString::fromUtf8(kRecentMenuTitle));
  file->addSeparator();
  addItem(file, QStringLiteral("Salva file di risorse\tF9"),
          QStringLiteral("Per salvare il file di risorse attualmente in memoria"),
          [this] { runAction(KeyAction::Save); });
  addItem(file, QStringLiteral("Salva file di risorse con nome"),
          QStringLiteral("Per salvare il file di risorse attualmente in memoria con un nuovo nome"),
          [this] { saveAs(); });
  file->addSeparator();
  addItem(file, QStringLiteral("Esci"), QStringLiteral("Per uscire dal programma"),
          [this] { close(); });

  QMenu* resources = menuBar()->addMenu(QStringLiteral("&Risorse"));
  const std::pair<const char*, KeyAction> newItems[] = {
      {"24\tCTRL-2", KeyAction::New24},         {"VERSIONINFO\tCTRL-F", KeyAction::NewVersionInfo},
      {"bitmap\tCTRL-B", KeyAction::NewBitmap}, {"cursor\tCTRL-U", KeyAction::NewCursor},
      {"dialog\tCTRL-D", KeyAction::NewDialog}, {"icon\tCTRL-I", KeyAction::NewIcon},
  };
  for (const auto& [label, action] : newItems) {
    const QString kind = QString::fromLatin1(label).section(QLatin1Char('\t'), 0, 0);
    addItem(resources, QStringLiteral("Nuova ") + QString::fromLatin1(label),
            QStringLiteral("Per creare una nuova risorsa ") + kind,
            [this, action = action] { runAction(action); });
  }
  resources->addSeparator();
  addItem(resources, QStringLiteral("Incolla\tCTRL-V"), {},
          [this] { runAction(KeyAction::Paste); });

  QMenu* help = menuBar()->addMenu(QStringLiteral("?"));
  addItem(help, QStringLiteral("Informazioni"), QStringLiteral("Informazioni sul programma"),
          [this] { about(); });
}

void MainWindow::buildButtonBar() {
  QToolBar* bar = addToolBar(QStringLiteral("Pulsanti"));
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
  addButton("APRI", QStringLiteral("Apri file di risorse (F2)"), [this] {
    openFile();
    list_->setFocus();
  });
  addButton("SALVA", QStringLiteral("Salva file di risorse (F9)"), [this] {
    dispatch([this] { SALVARC(ui_, doc_); });
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
                 QFile::decodeName(doc_.fileName.c_str()));
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
  try {
    command();
  } catch (const CommandError& e) {
    reportFailure(ui_, &doc_, e.record());
  } catch (const std::exception& e) {
    // Anything else is a fault of the program: the fatal report, with the work saved aside.
    ErrorRecord record;
    record.subSystem = "KOLVRE";
    record.description = e.what();
    reportFailure(ui_, &doc_, record);
  }
  if (auto* qt = dynamic_cast<QtUserInterface*>(&ui_)) qt->setScriptEncoding(doc_.encoding);
}

void MainWindow::newFile() {
  dispatch([this] { CREARC(ui_, doc_, list_); });
  updateTitle();
  rebuildRecentFiles();
}

void MainWindow::openFile(const std::string& path) {
  dispatch([this, &path] { APRIRC(ui_, doc_, list_, path); });
  updateTitle();
  rebuildRecentFiles();
}

void MainWindow::saveAs() {
  dispatch([this] { SALVARC(ui_, doc_, true); });
  updateTitle();
  rebuildRecentFiles();
  list_->setFocus();
}

const IndexEntry* MainWindow::currentEntry() const {
  const int i = kolvre::currentEntry(doc_, *list_);
  return i < 0 ? nullptr : &doc_.index[static_cast<std::size_t>(i)];
}

bool MainWindow::runKey(int virtualKey, Qt::KeyboardModifiers modifiers) {
  KeyState state;
  state.ctrl = modifiers & Qt::ControlModifier;
  state.shift = modifiers & Qt::ShiftModifier;
  state.escEnabled = virtualKey == kVkEscape && escClosesWindow(ui_);
  state.current = currentEntry();
  const KeyAction action = TASTI(virtualKey, state);
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
      showCurrent(true);
      list_->stabilize();
      return;
    case KeyAction::Open:
      openFile();
      return;
    case KeyAction::Save:
      dispatch([this] { SALVARC(ui_, doc_); });
      return;
    case KeyAction::SecondCopy:
      startSecondCopy();
      return;
    default:
      dispatch([this, action] { runResourceCommand(*this, doc_, ui_, action); });
      return;
  }
}

void MainWindow::showContextMenu(QPoint globalPos) {
  const IndexEntry* entry = currentEntry();
  if (!entry) return;
  QMenu menu(this);
  const bool dialog = entry->type == ResType::Dialog;
  const bool textOnly = entry->type == ResType::Manifest || entry->type == ResType::VersionInfo;
  auto item = [&](const char* text, KeyAction action) {
    connect(menu.addAction(QString::fromUtf8(text)), &QAction::triggered, this,
            [this, action] { runAction(action); });
  };
  if (dialog) {
    item("Proprietà\tCTRL-P", KeyAction::DialogProperties);
    menu.addSeparator();
  }
  item("Modifica\tInvio", textOnly ? KeyAction::EditAsText : KeyAction::EditCurrent);
  item("Rinomina\tCTRL-R", KeyAction::Rename);
  item("Elimina\tCANC", KeyAction::Delete);
  menu.addSeparator();
  item("Copia\tCTRL-C", KeyAction::Copy);
  menu.addSeparator();
  if (dialog) item("Ordine tabulazione\tCTRL-O", KeyAction::TabOrder);
  item("Modifica come testo\tCTRL-T", KeyAction::EditAsText);
  menu.exec(globalPos);
}

void MainWindow::showCurrent(bool edit) {
  if (panel_) {
    // Closed through the event loop, after the next panel is built.
    panel_->hide();
    panel_->deleteLater();
    panel_ = nullptr;
  }
  const IndexEntry* entry = currentEntry();
  if (!entry) return;
  // An edit may refresh the list, which shows a panel of its own: keep that one.
  dispatch([&] {
    if (QWidget* shown = SHOWRES(*this, doc_, ui_, *entry, edit)) panel_ = shown;
  });
}

void MainWindow::startSecondCopy() {
  QProcess::startDetached(QCoreApplication::applicationFilePath(),
                          QStringList{QFile::decodeName(doc_.fileName.c_str())});
}

void MainWindow::about() {
  INFOS(this, QString::fromUtf8(kProgramName), QString::fromUtf8(kProgramVersion),
        QPixmap(QStringLiteral(":/kolvre/KOLV.png")));
}

void MainWindow::placeInitially() {
  placeWindow(*this, ui_, placement_, std::nullopt);
  placed_ = true;
}

void MainWindow::layOutList() {
  list_->setGeometry(0, 0, ResourceListView::kWidth, workspace_->height());
  list_->stabilize();
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
      if (key->key() == Qt::Key_Insert && key->modifiers() == Qt::NoModifier)
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
  dispatch([&] { mayClose = CHIUDI(ui_, doc_); });
  if (mayClose) {
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

void MainWindow::resizeEvent(QResizeEvent* event) {
  QMainWindow::resizeEvent(event);
  if (placed_ && !isMaximized() && !isMinimized())
    placeWindow(*this, ui_, placement_, SizeType::Restored);
}

void MainWindow::moveEvent(QMoveEvent* event) {
  QMainWindow::moveEvent(event);
  if (placed_) placeWindow(*this, ui_, placement_, SizeType::Moved);
}

void MainWindow::changeEvent(QEvent* event) {
  QMainWindow::changeEvent(event);
  if (placed_ && event->type() == QEvent::WindowStateChange)
    placeWindow(*this, ui_, placement_,
                isMinimized()   ? SizeType::Minimized
                : isMaximized() ? SizeType::Maximized
                                : SizeType::Restored);
}

}  // namespace kolvre
