// The main window: menu bar, button bar, status bar, the resource list and the resource panel.
// main_window.cpp lays the window out and shows the panels; main_window_actions.cpp builds the
// menus and the button bar and runs their actions; main_window_disk.cpp watches the script's
// file on disk and saves it.
#pragma once

#include <QElapsedTimer>
#include <QLabel>
#include <QMainWindow>
#include <QPointer>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

#include "app/findings_panel.h"
#include "app/resource_list.h"
#include "app/shell_services.h"
#include "app/symbols_panel.h"
#include "base/version.h"
#include "document/document.h"
#include "document/recovery.h"
#include "resources/find.h"
#include "settings/placement.h"
#include "shell/key_commands.h"
#include "ui/qt_user_interface.h"

class QFileSystemWatcher;
class QMenu;
class QTimer;
class QToolBar;

namespace kolvre {

inline constexpr const char* kProgramName = "KOLV Software Resource Editor";
// The property of a field in which the Insert key has no global action: with the focus there,
// Insert leaves the status bar's INS indicator as it is.
inline constexpr const char* kNoGlobalInsert = "kolvreNoGlobalInsert";

// The main window observes the document: a change is noted while a command runs, and the list
// and the panel are refreshed once the command has returned.
class MainWindow : public QMainWindow, public DocumentObserver {
  Q_OBJECT
 public:
  MainWindow(Document& doc, UserInterface& ui, QWidget* parent = nullptr);
  ~MainWindow() override;

  ResourceListView* list() const { return list_; }
  // The findings panel under the list; hidden until "Compila" or "Verifica" fills it.
  FindingsPanel* findings() const { return findings_; }
  // "Simboli" (the Risorse menu): the symbols panel, made when first shown; null until then.
  SymbolsPanel* symbols() const { return symbols_; }
  void showSymbols();
  QWidget* panel() const { return panel_; }
  // How many panels have been built so far (each shown resource builds one).
  int panelsBuilt() const { return panelsBuilt_; }
  // The status bar's default text, shown whenever no other message is up.
  void setDefaultStatusText(const QString& text) { defaultStatus_->setText(text); }
  QString defaultStatusText() const { return defaultStatus_->text(); }
  // Where a form opened over the main window stands (global): below the button bar, 200
  // pixels from the window's left edge.
  QPoint formPosition() const;
  // The panel area (global): from the list's top-right corner to the window's right and bottom
  // edges.
  QRect panelArea() const;
  // Where panels stand in the workspace: right of the list and the bar that splits it off.
  int panelLeft() const { return listWidth_ + ListSplitHandle::kWidth; }
  // Widens or narrows the list (kept within the workspace); the panel moves with its edge.
  void setListWidth(int width);

  // Runs one command; a failure it raises is reported and the command abandoned. When the
  // outermost command returns, the screen follows what the document reported. False when the
  // command failed or was refused.
  bool dispatch(const std::function<void()>& command);
  // True while the window stands; false from its destructor on. A panel's command runner holds
  // it and asks it before calling dispatch: an editor that commits as the widgets go (its focus
  // leaving) then runs nothing, and calls nothing on a window no longer whole.
  std::shared_ptr<const bool> standing() const { return standing_; }
  // A modal editor (the dialog designer) owns the current resource between these calls: the
  // panel is not rebuilt underneath it, and the screen follows once it has closed.
  void beginModalEdit() { ++modalEditors_; }
  void endModalEdit();

  // DocumentObserver
  void documentChanged(const DocumentChange& change) override;
  // Runs the action of a key pressed where `context` says; true when the key belongs to an
  // action.
  bool runKey(int virtualKey, Qt::KeyboardModifiers modifiers,
              KeyContext context = KeyContext::List);

  // The first placement: size and position from the settings file, then shown.
  void placeInitially();
  // The outer size the first placement asked for before the window had a frame: applied again
  // once the window manager has framed the window.
  void keepOuterSizeUntilFramed(QSize outer) { unframedOuter_ = outer; }
  // Puts the list down the left edge of the work area and shows the current resource again.
  void layOutList();

  // At start and after opening a script: offers the unsaved changes a crashed editor left for
  // it (offerRecovery).
  void offerRecoveredChanges();

  // The program's name and the file's, with a "*" after it while there are unsaved changes.
  void updateTitle();
  void rebuildRecentFiles();
  // F9, "Salva", the button and the designer's F9: saves the script (under a new name with
  // `saveAs`); on success the status bar says "Salvato." for a few seconds. True when saved.
  bool saveScriptFile(bool saveAs = false);
  // Compares the script's file on disk with the one last loaded or saved and asks about a change
  // (checkScriptOnDisk); while a command runs, once it has returned. The window does it when it
  // is activated and shortly after the watcher reports the file.
  void checkDisk();
  // Shows the list's current entry in the panel (the panel shown is replaced).
  void showCurrent();
  // "Mostra solo dialog e immagini": the list shows only the six kinds, or every resource; the
  // choice is kept in the settings.
  void showCreatableKindsOnly(bool only);
  // The edit action of the current entry's type (Enter, double click).
  void editCurrent();
  // "Compila" (F7): the resource compiler on the saved script, its messages in the panel.
  void compileScriptFile();
  // "Verifica" (F8): the checks of the script, their findings in the panel.
  void checkScriptText();
  // A row of the panel: its resource current in the list and, for a control of a dialog, the
  // designer opened on it with the control selected (with `openDesigner`; else the preview
  // alone); a match's string, menu item or version value made current in the resource's panel.
  void goToFinding(const FindingTarget& target, bool openDesigner = true);
  // "Trova" (main_window_find.cpp): Ctrl+F opens the field under the list; Enter there finds the
  // text across the resources, the first page of matches at once, the rest a page at a time
  // while the window goes on answering; F3 and Maiusc+F3 go to the next and the previous match
  // (the field opens when there is none).
  void openFind();
  void runFind(const QString& typed);
  void goToMatch(int delta);

 protected:
  void closeEvent(QCloseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void moveEvent(QMoveEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  void buildMenus();
  void buildButtonBar();
  void buildStatusBar();
  void runAction(KeyAction action);
  void newFile();
  void openFile(const std::string& path = {});
  void saveAs();
  void about();
  void showContextMenu(QPoint globalPos);
  // "Confronta traduzioni": the current dialog's languages side by side (translations_window.h).
  void compareTranslations();
  void runResourceCommand(KeyAction action);
  // The screen after a command: the list on the new index and its current entry, the panel,
  // the title and the undo entries.
  void refresh();
  void updateUndoItems();
  // Which of the panel's focusable parts has the focus (their order in the panel); -1: none.
  int focusedPanelPart() const;
  // The list's current entry as a position in the document's index.
  std::optional<std::size_t> currentPosition() const;
  const IndexEntry* currentEntry() const;
  void startSecondCopy();
  void placeList();
  // Sizes the list to its contents (ResourceListView::fittingWidth) until the bar sets its width.
  void fitList();
  void tick();
  // The script's file on disk (main_window_disk.cpp): the watcher and its timer, made once;
  // the watched path kept on the document's file; the check asked for in `delayMs`.
  void watchDisk();
  void watchScriptFile();
  void checkDiskSoon(int delayMs);
  // After the outermost command: the title, the watched path, a disk check put off meanwhile.
  void afterCommand();
  // Recovery after a crash (RecoveryKeeper): the recovery file is written within two seconds of
  // a change, and removed after a save, an undo back to the saved text and a clean close.
  void setUpRecovery();
  void noteChangeForRecovery();
  void keepRecoveryAfterCommand();
  void closeRecovery();

  Document& doc_;
  UserInterface& ui_;
  ResourceListView* list_ = nullptr;
  ListSplitHandle* splitHandle_ = nullptr;
  int listWidth_ = 0;
  QWidget* workspace_ = nullptr;
  FindingsPanel* findings_ = nullptr;
  void showFindingsPanel();
  SymbolsPanel* symbols_ = nullptr;
  QPointer<QWidget> panel_;
  std::optional<std::size_t> shownPosition_;  // the entry panel_ shows
  QToolBar* buttonBar_ = nullptr;
  QMenu* recentMenu_ = nullptr;
  QAction* creatableOnlyItem_ = nullptr;  // "Mostra solo dialog e immagini"
  QAction* undoItem_ = nullptr;
  QAction* redoItem_ = nullptr;
  QLabel* defaultStatus_ = nullptr;
  QLabel* clock_ = nullptr;
  QLabel* date_ = nullptr;
  QLabel* caps_ = nullptr;
  QLabel* num_ = nullptr;
  QLabel* ins_ = nullptr;
  bool insertMode_ = true;
  QFileSystemWatcher* watcher_ = nullptr;
  QTimer* diskTimer_ = nullptr;
  std::uint64_t watchedInode_ = 0;  // the file the watcher holds; another one after a rename
  bool diskCheckPutOff_ = false;    // asked for while a command ran
  bool placed_ = false;
  std::optional<QSize> unframedOuter_;
  // Takes the outer size asked for before the window had a frame; true when it resized.
  bool applyUnframedOuter();
  quint64 lastKeyTime_ = 0;
  int lastKey_ = 0;
  PlacementMemory placement_;
  // Moves and resizes reach the settings file once they have stopped, or on close.
  PlacementWrites placementWrites_{*this, ui_, placement_};
  int dispatchDepth_ = 0;
  std::shared_ptr<bool> standing_ = std::make_shared<bool>(true);  // see standing()
  int modalEditors_ = 0;
  int panelsBuilt_ = 0;
  // What the document reported since the screen was last refreshed.
  std::optional<DocumentChange> pending_;
  // The search under way, and the symbols it reads IDs with; dropped when the document changes.
  std::unique_ptr<ResourceFinder> finder_;
  std::shared_ptr<const SymbolTable> findSymbols_;
  QTimer* findTimer_ = nullptr;
  QString lastFind_;
  void continueFind();
  // The match's string, menu item or version value made current in the panel shown; false when
  // the target names none of them.
  bool showMatchInPanel(const FindingTarget& target);
  RecoveryKeeper recovery_{doc_};
  QTimer* recoveryTimer_ = nullptr;
  QElapsedTimer recoveryDue_;  // since the first change the recovery file does not hold yet
};

}  // namespace kolvre
