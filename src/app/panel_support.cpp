#include "app/panel_support.h"

#include <QApplication>
#include <QEvent>
#include <QKeyEvent>
#include <QMainWindow>
#include <QStatusBar>
#include <QTimer>

#include "app/main_window.h"
#include "app/resource_list.h"

namespace kolvre {

namespace {

// Follows the workspace's size with the panel's.
class BesideList : public QObject {
 public:
  BesideList(QWidget* panel, MainWindow& window) : QObject(panel), panel_(panel), window_(window) {
    window.centralWidget()->installEventFilter(this);
    place();
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Resize) place();
    return QObject::eventFilter(watched, event);
  }

 private:
  void place() {
    const QWidget* workspace = window_.centralWidget();
    const int left = window_.panelLeft();
    panel_->setGeometry(left, 0, std::max(workspace->width() - left, 0), workspace->height());
  }
  QWidget* panel_;
  MainWindow& window_;
};

class TableKeyFilter : public QObject {
 public:
  TableKeyFilter(QAbstractItemView* table, TableKeys keys, TreeRowKeys rowKeys)
      : QObject(table), table_(table), keys_(std::move(keys)), rowKeys_(std::move(rowKeys)) {}

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (watched != table_ || event->type() != QEvent::KeyPress)
      return QObject::eventFilter(watched, event);
    const auto* key = static_cast<QKeyEvent*>(event);
    KeyState state;
    state.ctrl = key->modifiers() & Qt::ControlModifier;
    state.shift = key->modifiers() & Qt::ShiftModifier;
    state.alt = key->modifiers() & Qt::AltModifier;
    state.context = KeyContext::Panel;
    const KeyAction action = keyAction(virtualKeyOf(key->key()), state);
    // While a cell is edited its editor has the focus and the keys; one it leaves (F2, Ins in a
    // line edit) passes on to the table, and goes no further.
    if (const QWidget* focus = QApplication::focusWidget();
        focus && focus != table_ && table_->isAncestorOf(focus))
      return action == KeyAction::EditCell || action == KeyAction::AddRow ||
             action == KeyAction::DeleteRow || action == KeyAction::AddSeparator ||
             action == KeyAction::AddGroup || QObject::eventFilter(watched, event);
    switch (action) {
      case KeyAction::EditCell:
        editCurrent();
        return true;
      case KeyAction::AddRow:
        if (keys_.addRow) keys_.addRow();
        return true;
      case KeyAction::DeleteRow:
        if (keys_.deleteRow) keys_.deleteRow();
        return true;
      case KeyAction::AddSeparator:
        if (rowKeys_.addSeparator) rowKeys_.addSeparator();
        return true;
      case KeyAction::AddGroup:
        if (rowKeys_.addGroup) rowKeys_.addGroup();
        return true;
      case KeyAction::MoveRowUp:
      case KeyAction::MoveRowDown:
      case KeyAction::MoveRowOut:
      case KeyAction::MoveRowIn:
        // A table without such moves leaves Alt and the arrows to the view.
        if (!rowKeys_.moveRow) return QObject::eventFilter(watched, event);
        rowKeys_.moveRow(action);
        return true;
      default:
        return QObject::eventFilter(watched, event);
    }
  }

 private:
  void editCurrent() {
    const QModelIndex cell = table_->currentIndex();
    if (!cell.isValid()) return;
    if (cell.flags() & Qt::ItemIsEditable) {
      table_->edit(cell);
      return;
    }
    noteInStatusBar(table_, keys_.readOnlyReason ? keys_.readOnlyReason(cell) : QString());
  }
  QAbstractItemView* table_;
  TableKeys keys_;
  TreeRowKeys rowKeys_;
};

}  // namespace

CommandRunner windowRunner(MainWindow& window) {
  return [&window, standing = window.standing()](const std::function<void()>& command) {
    return *standing && window.dispatch(command);
  };
}

void handleTableKeys(QAbstractItemView* table, TableKeys keys, TreeRowKeys rowKeys) {
  table->installEventFilter(new TableKeyFilter(table, std::move(keys), std::move(rowKeys)));
}

void noteInStatusBar(const QWidget* from, const QString& text) {
  if (auto* window = qobject_cast<QMainWindow*>(from->window()); window && !text.isEmpty())
    window->statusBar()->showMessage(text, 5000);
}

void editAgain(QAbstractItemView* table, const QModelIndex& cell) {
  // Once the edit that ran the command has closed its editor.
  QTimer::singleShot(0, table, [table, cell = QPersistentModelIndex(cell)] {
    if (!cell.isValid()) return;
    table->setFocus();
    table->setCurrentIndex(cell);
    table->edit(cell);
  });
}

void fillBesideList(QWidget* panel, MainWindow& window) {
  new BesideList(panel, window);
}

}  // namespace kolvre
