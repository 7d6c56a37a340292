// The resource list: three columns (name, type code, language) over the resource index,
// coloured by type.
#pragma once

#include <QAbstractTableModel>
#include <QElapsedTimer>
#include <QStyledItemDelegate>
#include <QTableView>
#include <functional>

#include "document/document.h"
#include "shell/key_commands.h"

namespace kolvre {

class ResourceListModel : public QAbstractTableModel {
  Q_OBJECT
 public:
  explicit ResourceListModel(const Document& doc, QObject* parent = nullptr)
      : QAbstractTableModel(parent), doc_(doc) {}

  void setIndex(const ResourceIndex& index);
  const ResourceIndex& resourceIndex() const { return index_; }

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;

 private:
  const Document& doc_;
  ResourceIndex index_;
};

// Paints cells with the list's own colours, the selected row included.
class ResourceListDelegate : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;
  void paint(QPainter* painter, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override;
};

// The list beside the workspace. Binding an index and moving the row from code are silent;
// only the user's moves run `onChange`.
class ResourceListView : public QTableView {
  Q_OBJECT
 public:
  static constexpr int kTypeColumnWidth = 16;

  ResourceListView(const Document& doc, QWidget* parent = nullptr);

  // Shows a new index; the current row becomes 0.
  void bind(const ResourceIndex& index);
  // Sets the type and language columns' widths to what the index shows.
  void fitColumns();
  // The width at which the list shows its type and language columns as fitted and its name
  // column as wide as its longest name, at most `widestNames` pixels, with room for the scroll
  // bar.
  int fittingWidth(int widestNames) const;
  // Makes a row current (0 is the first).
  void setCurrentRow(int row);
  // The current row (0 when the list is empty).
  int currentRow() const;
  // Scrolls to the current row, repaints and takes the focus.
  void reveal();

  // What the list hands to its window.
  std::function<void()> onChange;             // the user moved to another row
  std::function<void()> onDoubleClick;        // double click: edit the current resource
  std::function<void(QPoint)> onContextMenu;  // right click on a row, global position
  std::function<bool(int vk, Qt::KeyboardModifiers)> onKey;  // true when the key was handled

  KeySearchState& search() { return search_; }

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;

 private:
  ResourceListModel model_;
  KeySearchState search_;
  QElapsedTimer typingClock_;  // started with the list: when each character was typed
  bool binding_ = false;
};

// The bar between the list and the panel: dragging it widens or narrows the list.
class ListSplitHandle : public QWidget {
  Q_OBJECT
 public:
  static constexpr int kWidth = 4;
  explicit ListSplitHandle(QWidget* parent = nullptr);

  std::function<void(int listWidth)> onDrag;  // the list's width the pointer asks for
  std::function<void()> onDragEnd;            // the button was released

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  bool dragging_ = false;
  int grabbedAt_ = 0;  // where the pointer took the bar, from its left edge
};

// The virtual-key code of a Qt key, or 0 for keys the editor does not answer.
int virtualKeyOf(int qtKey);

}  // namespace kolvre
