// The panel of a menu (MENU and MENUEX): its menu bar on a plain window, with its pop-ups, as
// the program that uses it shows it, and beside it the tree of its items (text, ID, options),
// edited in place. The user can open the pop-ups; their items do nothing. A context menu (its
// top level only pop-ups without a text, which a program opens where the mouse is and never
// shows as a bar) is shown open instead, each pop-up beside the one before.
//
// In the tree, F2 or a double click edits a cell, Ins adds an item after the current one and
// Maiusc+Ins a separator, Canc deletes the current item (a pop-up with its items), Alt+Su and
// Alt+Giù move it among its siblings, Alt+Sinistra out of its pop-up and Alt+Destra into the
// pop-up beside it. Every change is one step of the document's history, after which the window
// builds the panel again: the bar and the tree are always read from the script as it stands.
#pragma once

#include <QFrame>
#include <QList>
#include <QMenu>
#include <QMenuBar>
#include <QTreeWidget>
#include <optional>

#include "app/panel_support.h"
#include "app/resource_view.h"
#include "document/edit.h"
#include "resources/menus.h"

namespace kolvre {

class MenuView : public ResourceView {
 public:
  // The menu whose statement begins at `begin` of `doc`, shown only.
  MenuView(const Document& doc, std::size_t begin, QWidget* parent);
  // The same, its items edited through `run` (the window's dispatch); `current` is the entry an
  // edit keeps current in the list.
  MenuView(QWidget* parent, Document& doc, UserInterface& ui, std::size_t begin, CommandRunner run,
           std::optional<ResourceKey> current = std::nullopt);
  // The bar; null for a context menu, and for a body that does not read.
  QMenuBar* menuBar() const { return bar_; }
  // A context menu's pop-ups, shown open.
  const QList<QMenu*>& openPopups() const { return open_; }
  // The tree of the items: one row per item, its pop-up's items below it.
  QTreeWidget* tree() const { return tree_; }
  // The item of the tree's current row; empty when none is current.
  MenuPath currentPath() const;
  void setCurrentPath(const MenuPath& path);

  // What the keys do: a cell confirmed in place, Ins (Maiusc+Ins a separator, Ctrl+Ins a
  // pop-up), Canc and the moves.
  void setCell(const MenuPath& path, int column, const QString& text);
  // After the current item: an item (asked its text and ID), a separator, or an empty pop-up
  // (asked its text, and in a MENUEX its ID).
  enum class NewRow { Item, Separator, Popup };
  void addItem(NewRow row);
  void deleteItem();
  void moveItem(MenuMove move);

 protected:
  // The window follows the panel's size: the panel is often made before the main window has
  // its own (at start, when the current entry is a menu).
  void resizeEvent(QResizeEvent* event) override;

 private:
  void build(std::size_t begin);
  // A context menu's pop-ups, open side by side in the window.
  void showOpen(const std::vector<MenuEntry>& popups);
  void fillTree();
  // Commits an edit of the menu, the item at `after` current in the panel built after it.
  void commit(Edit edit, const MenuPath& after);
  // Makes current the item the panel before this one kept across its edit.
  void takeRememberedPath();
  QTreeWidgetItem* itemAt(const MenuPath& path) const;

  const Document& doc_;
  Document* editable_ = nullptr;
  UserInterface* ui_ = nullptr;
  CommandRunner run_;
  std::optional<ResourceKey> current_;
  std::size_t begin_ = 0;
  MenuReading menu_;
  std::shared_ptr<const SymbolTable> symbols_;
  ScriptCharset charset_;
  QFrame* window_ = nullptr;
  QMenuBar* bar_ = nullptr;
  QList<QMenu*> open_;
  QTreeWidget* tree_ = nullptr;
  bool filling_ = false;
};

// Shows a menu entry: the menu bar and the tree of its items, or the empty panel with the reason
// its body does not read.
QWidget* menuPanel(const PanelContext& context);

}  // namespace kolvre
