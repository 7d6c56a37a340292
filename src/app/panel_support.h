// What the panels that edit a resource in place share: how they run a command, and how they
// fill the space beside the list.
#pragma once

#include <QAbstractItemView>
#include <QWidget>
#include <functional>

#include "shell/key_commands.h"

namespace kolvre {

class MainWindow;

// Runs one command of a panel: the window's dispatch (a refusal shown, the screen refreshed
// once it has returned). False when the command failed or was refused (the document is then as
// it was).
using CommandRunner = std::function<bool(const std::function<void()>&)>;
CommandRunner windowRunner(MainWindow& window);

// The keys of a panel's table, from the key table's panel rows: F2 edits the current cell in
// place, or, on a cell that does not edit there, says why in the status bar; Ins and Canc run
// `addRow` and `deleteRow` where the panel has them. The table keeps these keys: none reaches the
// window, whose Canc would delete the resource.
struct TableKeys {
  std::function<void()> addRow;
  std::function<void()> deleteRow;
  // Why a cell does not edit in place (for the status bar).
  std::function<QString(const QModelIndex&)> readOnlyReason;
};
// The keys of a tree's rows (a menu's items): Maiusc+Ins adds a separator, Ctrl+Ins a group (a
// pop-up), Alt and an arrow moves the current row (MoveRowUp, MoveRowDown, MoveRowOut,
// MoveRowIn). Without them Maiusc+Ins and Ctrl+Ins do nothing there, and Alt and the arrows are
// the view's.
struct TreeRowKeys {
  std::function<void()> addSeparator;
  std::function<void(KeyAction)> moveRow;
  std::function<void()> addGroup = {};
};
void handleTableKeys(QAbstractItemView* table, TableKeys keys, TreeRowKeys rowKeys = {});

// Shows `text` in the status bar of the main window `from` stands in, for a few seconds.
void noteInStatusBar(const QWidget* from, const QString& text);

// A table cell whose typed text was refused: edited again, the text it holds being the one typed,
// so the user can mend it rather than type it again.
void editAgain(QAbstractItemView* table, const QModelIndex& cell);

// Places `panel` in the window's workspace beside the list, filling the rest of it, and keeps
// it so while the workspace is resized.
void fillBesideList(QWidget* panel, MainWindow& window);

}  // namespace kolvre
