#include "app/main_window.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCloseEvent>
#include <QDateTime>
#include <QFile>
#include <QKeyEvent>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <algorithm>

#include "app/dialog_designer.h"
#include "app/shell_services.h"
#include "app/show_resource.h"
#include "document/document_commands.h"
#include "document/resource_commands.h"
#include "messages/error_record.h"
#include "messages/messages.h"
#include "platform/system_metrics.h"
#include "resources/find.h"

namespace kolvre {

MainWindow::MainWindow(Document& doc, UserInterface& ui, QWidget* parent)
    : QMainWindow(parent), doc_(doc), ui_(ui) {
  setObjectName(QStringLiteral("mainWindow"));
  setWindowIcon(QIcon(QStringLiteral(":/kolvre/ICONA.png")));
  buildMenus();
  buildButtonBar();
  buildStatusBar();
  watchDisk();
  setUpRecovery();

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
  listWidth_ = listWidth(ui_);
  splitHandle_ = new ListSplitHandle(workspace_);
  splitHandle_->onDrag = [this](int width) { setListWidth(width); };
  splitHandle_->onDragEnd = [this] { rememberListWidth(ui_, listWidth_); };
  findings_ = new FindingsPanel(this);
  addDockWidget(Qt::BottomDockWidgetArea, findings_);
  findings_->hide();
  findings_->onActivate = [this](const FindingTarget& target) { goToFinding(target); };
  findings_->onFind = [this](const QString& typed) { runFind(typed); };

  if (auto* qt = dynamic_cast<QtUserInterface*>(&ui_)) qt->setMainWindow(this);
  doc_.history().setLimit(undoMemoryLimit(ui_));
  if (creatableKindsOnly(ui_)) doc_.setListedKinds(ListedKinds::CreatableOnly);
  doc_.setObserver(this);
  pending_ = DocumentChange{DocumentChange::Kind::Loaded, std::nullopt, {}};
  refresh();
  rebuildRecentFiles();
}

MainWindow::~MainWindow() {
  // A cell's editor left open commits what it holds when its focus goes, as the widgets go
  // after this body: no command runs then, on a window whose parts are gone.
  *standing_ = false;
  // A placement still held (the program ends by another way than the close box) is kept.
  placementWrites_.flush();
  doc_.setObserver(nullptr);
}

QPoint MainWindow::formPosition() const {
  const int bar = buttonBar_ ? buttonBar_->height() : 0;
  return geometry().topLeft() + QPoint(200, kCaptionHeight + kMenuHeight + bar + 22);
}

QRect MainWindow::panelArea() const {
  const QWidget* central = centralWidget();
  const QPoint origin = central->mapToGlobal(QPoint(panelLeft(), 0));
  return QRect(origin, QSize(central->width() - panelLeft(), central->height()));
}

void MainWindow::setListWidth(int width) {
  const int widest = std::max(kLeastListWidth, workspace_->width() - 40);
  width = std::clamp(width, kLeastListWidth, widest);
  const int shift = width - listWidth_;
  if (shift == 0) return;
  listWidth_ = width;
  if (panel_ && panel_->parentWidget() == workspace_)
    panel_->move(panel_->pos() + QPoint(shift, 0));
  placeList();
}

void MainWindow::fitList() {
  // Until the bar sets it, the list is as wide as its contents: every column whole, the names
  // up to half the window, and never narrower than at first.
  if (listWidthChosen(ui_)) return;
  setListWidth(std::max(kDefaultListWidth, list_->fittingWidth(width() / 2)));
}

void MainWindow::placeList() {
  list_->setGeometry(0, 0, listWidth_, workspace_->height());
  splitHandle_->setGeometry(listWidth_, 0, ListSplitHandle::kWidth, workspace_->height());
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
                 QFile::decodeName(doc_.fileName().c_str()) +
                 (hasUnsavedChanges(doc_) ? QStringLiteral("*") : QString()));
  // The file dialogs start in the script's folder.
  setWindowFilePath(QFile::decodeName(doc_.fileName().c_str()));
}

namespace {

// The widgets of a panel that take the keyboard focus, in the order they were made: a panel
// built again for the same resource makes the same ones. A cell's editor is no part: it stands
// for its table.
QList<QWidget*> focusableParts(const QWidget* panel) {
  QList<QWidget*> parts;
  for (QWidget* w : panel->findChildren<QWidget*>()) {
    bool inTable = false;
    for (const QWidget* up = w->parentWidget(); up && up != panel; up = up->parentWidget())
      inTable = inTable || qobject_cast<const QAbstractItemView*>(up);
    if (w->focusPolicy() != Qt::NoFocus && !inTable) parts.append(w);
  }
  return parts;
}

}  // namespace

bool MainWindow::dispatch(const std::function<void()>& command) {
  if (!*standing_) return false;
  ++dispatchDepth_;
  bool done = false;
  try {
    command();
    done = true;
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
  if (dispatchDepth_ == 0) afterCommand();
  if (dispatchDepth_ == 0) keepRecoveryAfterCommand();
  return done;
}

void MainWindow::endModalEdit() {
  --modalEditors_;
  refresh();
  if (modalEditors_ > 0) return;
  // The editor's window, and the question it may have asked on closing, took the activation
  // with them: the keyboard comes back to this window, on the list.
  activateWindow();
  list_->setFocus();
}

void MainWindow::documentChanged(const DocumentChange& change) {
  // Only noted here: the command that made the change is still running. A search under way
  // reads the text as it was: it stops (its timer says so on the screen).
  pending_ = change;
  finder_.reset();
  noteChangeForRecovery();
}

void MainWindow::refresh() {
  if (!pending_ || dispatchDepth_ > 0 || modalEditors_ > 0) return;
  const DocumentChange change = std::move(*pending_);
  pending_.reset();
  const int rowBefore = list_->currentRow();
  const int focusedPart = focusedPanelPart();
  const std::optional<std::size_t> shownBefore = shownPosition_;
  list_->bind(doc_.index());
  std::optional<std::size_t> position;
  if (change.current) position = findEntry(doc_.index(), *change.current);
  // An entry whose name the change made anew (a string table's last ID deleted) is no longer
  // found by its key: the row stays where it was. A script just loaded starts at the top.
  if (!position && change.kind != DocumentChange::Kind::Loaded && rowBefore >= 0 &&
      !doc_.index().empty())
    position = std::min(static_cast<std::size_t>(rowBefore), doc_.index().size() - 1);
  if (position) list_->setCurrentRow(static_cast<int>(*position));
  list_->reveal();
  if (doc_.index().empty()) setDefaultStatusText({});
  if (change.kind == DocumentChange::Kind::Loaded) {
    updateTitle();
    fitList();
  }
  updateUndoItems();
  showCurrent();
  // Filled again once the command (a name edited in its rows) has let its editor go.
  if (symbols_ && symbols_->isVisible())
    QMetaObject::invokeMethod(
        symbols_, [panel = symbols_] { panel->reload(); }, Qt::QueuedConnection);
  // The panel built again after its own edit takes the focus back where it was (its table), so
  // that the next key acts on its rows, not on the list.
  if (focusedPart >= 0 && panel_ && shownPosition_ == shownBefore) {
    const QList<QWidget*> parts = focusableParts(panel_);
    if (focusedPart < parts.size()) parts[focusedPart]->setFocus();
  }
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

void MainWindow::showCreatableKindsOnly(bool only) {
  // The current resource stays current where the list still shows it.
  const auto position = currentPosition();
  std::optional<ResourceKey> current;
  if (position) current = keyAt(doc_.index(), *position);
  doc_.setListedKinds(only ? ListedKinds::CreatableOnly : ListedKinds::All);
  setCreatableKindsOnly(ui_, only);
  pending_ = DocumentChange{DocumentChange::Kind::Edited, std::move(current), {}};
  refresh();
}

int MainWindow::focusedPanelPart() const {
  // The window's own focus child, not the application's: a box that asked the command's input
  // (an item's text) has taken the activation with it, and the window gets it back only later.
  QWidget* focus = focusWidget();
  if (!panel_ || !focus || !panel_->isAncestorOf(focus)) return -1;
  const QList<QWidget*> parts = focusableParts(panel_);
  for (int i = 0; i < parts.size(); ++i)
    if (parts[i] == focus || parts[i]->isAncestorOf(focus)) return i;
  return -1;
}

void MainWindow::showCurrent() {
  if (modalEditors_ > 0) return;  // the modal editor owns the resource shown
  const auto position = currentPosition();
  if (panel_) {
    // Closed through the event loop, after the next panel is built.
    panel_->hide();
    panel_->deleteLater();
    panel_ = nullptr;
  }
  shownPosition_ = position;
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

void MainWindow::showFindingsPanel() {
  if (!findings_->isVisible()) {
    findings_->show();
    // A quarter of the window, at least a few rows.
    resizeDocks({findings_}, {std::max(140, height() / 4)}, Qt::Vertical);
  }
  findings_->rows()->setFocus();
  if (findings_->rows()->topLevelItemCount() > 0)
    findings_->rows()->setCurrentItem(findings_->rows()->topLevelItem(0));
}

void MainWindow::compileScriptFile() {
  std::optional<CompileReport> report;
  dispatch([&] { report = compileScript(ui_, doc_, [this] { return saveScriptFile(); }); });
  if (!report) return;
  findings_->showCompile(*report, doc_);
  showFindingsPanel();
  statusBar()->showMessage(qstr(report->status), 5000);
}

void MainWindow::checkScriptText() {
  std::vector<Finding> found;
  dispatch([&] { found = checkDocument(doc_); });
  findings_->showFindings(found, doc_);
  showFindingsPanel();
}

void MainWindow::goToFinding(const FindingTarget& target, bool openDesigner) {
  if (!target.resource) return;
  const auto position = findEntry(doc_.index(), *target.resource);
  if (!position) {
    statusBar()->showMessage(QStringLiteral("La risorsa non è nell'elenco."), 5000);
    return;
  }
  if (currentPosition() != position) {
    list_->setCurrentRow(static_cast<int>(*position));
    list_->reveal();
    showCurrent();
  }
  std::optional<std::size_t> control = target.control;
  if (!control && target.controlStatement && openDesigner) {
    const auto symbols = cachedScriptSymbols(doc_.text(), doc_.fileName());
    control = designerControl(doc_, target.resourceOffset, *target.controlStatement, symbols.get());
  }
  if (control && openDesigner && doc_.index()[*position].type == ResourceType::Dialog) {
    const PanelContext context{*this, doc_, ui_, *position};
    dispatch([&] { editDialogControl(context, *control); });
  } else if (showMatchInPanel(target)) {
    return;
  }
  list_->setFocus();
}

void MainWindow::placeInitially() {
  placeWindow(*this, ui_, placement_, std::nullopt);
  placed_ = true;
}

void MainWindow::layOutList() {
  // The panel stands where it was built; a move or a resize does not rebuild it.
  placeList();
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
  if (watched == workspace_ && event->type() == QEvent::Resize) {
    fitList();
    placeList();
  }
  return QMainWindow::eventFilter(watched, event);
}

void MainWindow::closeEvent(QCloseEvent* event) {
  bool mayClose = false;
  dispatch([&] { mayClose = closeScript(ui_, doc_); });
  if (mayClose) {
    closeRecovery();
    placementWrites_.flush();
    event->accept();
  } else {
    event->ignore();
  }
}

void MainWindow::keyPressEvent(QKeyEvent* event) {
  // A key no widget took: the panel's when the focus is in the panel, the list's when it is in
  // the list or nowhere, else (the findings panel) the window's own keys only.
  const QWidget* focus = QApplication::focusWidget();
  const KeyContext context = !focus || focus == list_ || list_->isAncestorOf(focus)
                                 ? KeyContext::List
                             : panel_ && panel_->isAncestorOf(focus) ? KeyContext::Panel
                                                                     : KeyContext::Elsewhere;
  const int vk = virtualKeyOf(event->key());
  if (vk != 0 && runKey(vk, event->modifiers(), context)) return;
  QMainWindow::keyPressEvent(event);
}

void MainWindow::setUpRecovery() {
  recoveryTimer_ = new QTimer(this);
  recoveryTimer_->setSingleShot(true);
  connect(recoveryTimer_, &QTimer::timeout, this, [this] {
    recoveryDue_.invalidate();
    recovery_.writeOrTell(ui_);
  });
}

void MainWindow::noteChangeForRecovery() {
  recovery_.noteChange();
  // Restarted by every change, a second after it, but never later than two seconds after the
  // first change not yet written.
  constexpr qint64 kAfterChange = 1000;
  constexpr qint64 kAtMost = 1900;
  if (!recoveryDue_.isValid()) recoveryDue_.start();
  const qint64 left = kAtMost - recoveryDue_.elapsed();
  recoveryTimer_->start(static_cast<int>(std::clamp<qint64>(left, 0, kAfterChange)));
}

void MainWindow::keepRecoveryAfterCommand() {
  if (!recovery_.afterCommand()) return;
  recoveryTimer_->stop();
  recoveryDue_.invalidate();
}

void MainWindow::closeRecovery() {
  recoveryTimer_->stop();
  recoveryDue_.invalidate();
  recovery_.closed();
}

void MainWindow::offerRecoveredChanges() {
  dispatch([this] { offerRecovery(ui_, doc_, recovery_); });
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
  if (event->type() == QEvent::ActivationChange && isActiveWindow()) checkDiskSoon(0);
  if (placed_ && event->type() == QEvent::WindowStateChange)
    placementWrites_.record(isMinimized()   ? SizeType::Minimized
                            : isMaximized() ? SizeType::Maximized
                                            : SizeType::Restored);
}

}  // namespace kolvre
