// The main window's menus, its button bar and the actions they, the keys and the context menu
// run (main_window.cpp: the window itself).
#include "app/main_window.h"

#include <QCoreApplication>
#include <QDialog>
#include <QFile>
#include <QMenu>
#include <QMenuBar>
#include <QProcess>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>

#include "app/dialog_forms.h"
#include "app/shell_services.h"
#include "app/show_resource.h"
#include "app/translations_window.h"
#include "document/document_commands.h"
#include "document/resource_commands.h"
#include "document/resource_edits.h"
#include "resources/string_tables.h"
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
  addItem(file, QStringLiteral("Compila") + withKey(KeyAction::Compile),
          QStringLiteral("Per compilare il file di risorse salvato e vederne errori e avvisi"),
          [this] { runAction(KeyAction::Compile); });
  addItem(file, QStringLiteral("Verifica") + withKey(KeyAction::Check),
          QStringLiteral("Per cercare i problemi delle risorse: controlli, testi, traduzioni"),
          [this] { runAction(KeyAction::Check); });
  file->addSeparator();
  addItem(file, QStringLiteral("Esci"), QStringLiteral("Per uscire dal programma"),
          [this] { close(); });

  QMenu* resources = menuBar()->addMenu(QStringLiteral("&Risorse"));
  for (const auto& [action, type] : kNewResourceActions) {
    // The kinds the list shows when it shows only dialogs and images first, then the others.
    if (type == ResourceType::Menu) resources->addSeparator();
    addItem(resources, qstr(typeInfo(type).newLabel) + withKey(action),
            QStringLiteral("Per creare una nuova risorsa ") + qstr(typeInfo(type).keyword),
            [this, action = action] { runAction(action); });
  }
  resources->addSeparator();
  addItem(resources, QStringLiteral("Incolla") + withKey(KeyAction::Paste), {},
          [this] { runAction(KeyAction::Paste); });
  resources->addSeparator();
  addItem(resources, QStringLiteral("Trova nelle risorse...") + withKey(KeyAction::Find),
          QStringLiteral("Per cercare un testo, un nome o un ID in tutte le risorse"),
          [this] { runAction(KeyAction::Find); });
  addItem(resources, QStringLiteral("Trova il successivo") + withKey(KeyAction::FindNext),
          QStringLiteral("Per andare al risultato seguente della ricerca"),
          [this] { runAction(KeyAction::FindNext); });
  resources->addSeparator();
  addItem(resources, QString::fromUtf8(kLabelReorderAll),
          QStringLiteral("Per ordinare le risorse di ogni tipo per nome, ognuna al posto di una "
                         "del suo tipo"),
          [this] { runAction(KeyAction::ReorderAll); });
  creatableOnlyItem_ = addItem(
      resources, QStringLiteral("Mostra solo dialog e immagini"),
      QStringLiteral("Per elencare solo dialog, immagini, manifesti e informazioni di versione"),
      [this] { showCreatableKindsOnly(creatableOnlyItem_->isChecked()); });
  creatableOnlyItem_->setCheckable(true);
  creatableOnlyItem_->setChecked(doc_.listedKinds() == ListedKinds::CreatableOnly);
  addItem(resources, QStringLiteral("Simboli"),
          QStringLiteral("Per vedere i simboli dello script, dove sono usati, e rinominarli"),
          [this] { showSymbols(); });
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
              saveScriptFile();
              list_->setFocus();
            });
  bar->addSeparator();
  addButton("EXIT", QStringLiteral("Esci"), [this] { close(); });
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
  bool opened = false;
  dispatch([this, &path, &opened] {
    opened = openScriptFile(ui_, doc_, path);
    if (opened) addRecentFile(ui_, doc_.fileName());
  });
  rebuildRecentFiles();
  if (opened) offerRecoveredChanges();
}

void MainWindow::saveAs() {
  if (saveScriptFile(true)) dispatch([this] { addRecentFile(ui_, doc_.fileName()); });
  rebuildRecentFiles();
  list_->setFocus();
}

bool MainWindow::runKey(int virtualKey, Qt::KeyboardModifiers modifiers, KeyContext context) {
  KeyState state;
  state.ctrl = modifiers & Qt::ControlModifier;
  state.shift = modifiers & Qt::ShiftModifier;
  state.alt = modifiers & Qt::AltModifier;
  state.context = context;
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
      saveScriptFile();
      return;
    case KeyAction::SecondCopy:
      startSecondCopy();
      return;
    case KeyAction::Compile:
      compileScriptFile();
      return;
    case KeyAction::Check:
      checkScriptText();
      return;
    case KeyAction::Find:
      openFind();
      return;
    case KeyAction::FindNext:
    case KeyAction::FindPrevious:
      goToMatch(action == KeyAction::FindNext ? 1 : -1);
      return;
    case KeyAction::EditCell:
    case KeyAction::AddRow:
    case KeyAction::DeleteRow:
    case KeyAction::AddSeparator:
    case KeyAction::AddGroup:
    case KeyAction::MoveRowUp:
    case KeyAction::MoveRowDown:
    case KeyAction::MoveRowOut:
    case KeyAction::MoveRowIn:
      // A panel whose table does not edit in place: these keys are its own and do nothing there.
      if (action == KeyAction::EditCell)
        statusBar()->showMessage(QStringLiteral("Questa risorsa non si modifica qui: %1 la "
                                                "modifica come testo.")
                                     .arg(qstr(keyLabel(KeyAction::EditAsText))),
                                 5000);
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
  for (const auto& [newAction, kind] : kNewResourceActions) {
    if (action != newAction) continue;
    if (kind == ResourceType::StringTable)
      newStringTable(ui_, doc_, current);
    else
      newResource(ui_, doc_, kind, current);
  }
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
    case KeyAction::TabOrder: {
      // The rows' texts in the code page in force where the dialog stands.
      const auto block =
          current ? entryBlock(doc_.statements(), doc_.index(), *current) : std::nullopt;
      const ScriptCharset charset =
          scriptCharsetAt(doc_.text(), block ? block->begin : 0, doc_.form().utf16 != Utf16::None);
      changeTabOrder(ui_, doc_, current,
                     [this, &charset](const std::vector<TabOrderRow>& rows, std::size_t row) {
                       return editTabOrder(this, ui_, charset, rows, row);
                     });
      break;
    }
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
  if (dialog && hasTranslations(doc_, *currentPosition()))
    connect(menu.addAction(QStringLiteral("Confronta traduzioni")), &QAction::triggered, this,
            [this] { compareTranslations(); });
  item("Modifica come testo", KeyAction::EditAsText, KeyAction::EditAsText);
  menu.exec(globalPos);
}

void MainWindow::compareTranslations() {
  const std::optional<std::size_t> current = currentPosition();
  if (!current) return;
  const std::unique_ptr<QDialog> window(translationsWindow(doc_, *current, this));
  if (window) window->exec();
}

void MainWindow::startSecondCopy() {
  QProcess::startDetached(QCoreApplication::applicationFilePath(),
                          QStringList{QFile::decodeName(doc_.fileName().c_str())});
}

void MainWindow::about() {
  showAboutBox(this, QString::fromUtf8(kProgramName), QString::fromUtf8(kProgramVersion),
               QPixmap(QStringLiteral(":/kolvre/KOLV.png")));
}

void MainWindow::showSymbols() {
  if (!symbols_) {
    symbols_ = new SymbolsPanel(this, doc_, windowRunner(*this), [this] {
      const auto position = currentPosition();
      return position ? std::optional(keyAt(doc_.index(), *position)) : std::nullopt;
    });
    addDockWidget(Qt::BottomDockWidgetArea, symbols_);
    symbols_->onActivate = [this](const FindingTarget& target) { goToFinding(target); };
  }
  symbols_->reload();
  if (!symbols_->isVisible()) {
    symbols_->show();
    resizeDocks({symbols_}, {std::max(180, height() / 3)}, Qt::Vertical);
  }
  symbols_->rows()->setFocus();
}

}  // namespace kolvre
