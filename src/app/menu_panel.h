// The panel of a menu (MENU and MENUEX): its menu bar on a plain window, with its pop-ups, as
// the program that uses it shows it. The user can open the pop-ups; their items do nothing. A
// context menu (its top level only pop-ups without a text, which a program opens where the mouse
// is and never shows as a bar) is shown open instead, each pop-up beside the one before.
#pragma once

#include <QFrame>
#include <QList>
#include <QMenu>
#include <QMenuBar>

#include "app/resource_view.h"
#include "resources/menus.h"

namespace kolvre {

class MenuView : public ResourceView {
 public:
  // The menu whose statement begins at `begin` of `doc`.
  MenuView(const Document& doc, std::size_t begin, QWidget* parent);
  // The bar; null for a context menu, and for a body that does not read.
  QMenuBar* menuBar() const { return bar_; }
  // A context menu's pop-ups, shown open.
  const QList<QMenu*>& openPopups() const { return open_; }

 protected:
  // The window follows the panel's size: the panel is often made before the main window has
  // its own (at start, when the current entry is a menu).
  void resizeEvent(QResizeEvent* event) override;

 private:
  // A context menu's pop-ups, open side by side in the window.
  void showOpen(const std::vector<MenuEntry>& popups);

  QFrame* window_ = nullptr;
  QMenuBar* bar_ = nullptr;
  QList<QMenu*> open_;
};

// Shows a menu entry: the menu bar, or the empty panel with the reason its body does not read.
QWidget* menuPanel(const PanelContext& context);

}  // namespace kolvre
