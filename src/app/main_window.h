// The main window: menu bar, button bar, status bar, the resource list and the resource panel.
#pragma once

#include <QLabel>
#include <QMainWindow>
#include <QPointer>
#include <functional>

#include "app/key_commands.h"
#include "app/placement.h"
#include "app/resource_list.h"
#include "document/document.h"
#include "platform/qt_user_interface.h"

class QMenu;

namespace kolvre {

inline constexpr const char* kProgramName = "KOLV Software Resource Editor";
inline constexpr const char* kProgramVersion = "1.54";

class MainWindow : public QMainWindow {
  Q_OBJECT
 public:
  MainWindow(Document& doc, UserInterface& ui, QWidget* parent = nullptr);

  ResourceListView* list() const { return list_; }
  QWidget* panel() const { return panel_; }
  // The status bar's default text, shown whenever no other message is up.
  void setDefaultStatusText(const QString& text) { defaultStatus_->setText(text); }
  QString defaultStatusText() const { return defaultStatus_->text(); }

  // Runs one command; a failure it raises is reported and the command abandoned.
  void dispatch(const std::function<void()>& command);
  // Runs the action of a key; true when the key belongs to an action.
  bool runKey(int virtualKey, Qt::KeyboardModifiers modifiers);

  // The first placement: size and position from the settings file, then shown.
  void placeInitially();
  // Puts the list down the left edge of the work area and shows the current resource again.
  void layOutList();

  void updateTitle();
  void rebuildRecentFiles();
  // SHOWRES for the list's current entry (edit: the double-click action).
  void showCurrent(bool edit);

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
  const IndexEntry* currentEntry() const;
  void startSecondCopy();
  void tick();

  Document& doc_;
  UserInterface& ui_;
  ResourceListView* list_ = nullptr;
  QWidget* workspace_ = nullptr;
  QPointer<QWidget> panel_;
  QMenu* recentMenu_ = nullptr;
  QLabel* defaultStatus_ = nullptr;
  QLabel* clock_ = nullptr;
  QLabel* date_ = nullptr;
  QLabel* caps_ = nullptr;
  QLabel* num_ = nullptr;
  QLabel* ins_ = nullptr;
  bool insertMode_ = true;
  bool placed_ = false;
  quint64 lastKeyTime_ = 0;
  int lastKey_ = 0;
  PlacementMemory placement_;
};

}  // namespace kolvre
