// The panel of a menu (MENU and MENUEX): its menu bar on a plain window, with its pop-ups, as
// the program that uses it shows it. The user can open the pop-ups; their items do nothing.
#pragma once

#include <QMenuBar>

#include "app/resource_view.h"

namespace kolvre {

class MenuView : public ResourceView {
 public:
  // The menu whose statement begins at `begin` of `doc`.
  MenuView(const Document& doc, std::size_t begin, QWidget* parent);
  QMenuBar* menuBar() const { return bar_; }

 private:
  QMenuBar* bar_ = nullptr;
};

// Shows a menu entry: the menu bar, or the empty panel with the reason its body does not read.
QWidget* menuPanel(const PanelContext& context);

}  // namespace kolvre
