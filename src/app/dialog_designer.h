// The designer's window: a modal canvas laid over the main window's panel area, holding the
// dialog where its preview stands, so that a dialog neither moved nor resized gives back the
// coordinates it was read with. The drawn frame moves the dialog (caption bar) and resizes it
// (frame edges and corners); Esc and the close box end the session.
#pragma once

#include <QDialog>

#include "app/dialog_panel.h"
#include "app/show_resource.h"
#include "dialogs/dialog_session.h"

namespace kolvre {

class MainWindow;

class DesignerWindow : public QDialog {
  Q_OBJECT

 public:
  DesignerWindow(const DialogModel& dialog, MainWindow& window);
  // Shows the designer modally and returns how it closed and the dialog as left.
  DesignerClosing run();
  // The dialog as the user has left it: the window's rectangle and the controls' places.
  DialogModel dialog() const;
  DialogWindow* dialogWindow() const { return window_; }
  // Result code of the close box, as a dialog closed from its system menu ends.
  static constexpr int kClosedByBox = 2;

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void showSize();
  MainWindow& main_;
  DialogModel dialog_;
  DialogWindow* window_ = nullptr;
};

// The edit action of a dialog entry: the designer session on it.
bool editDialog(const PanelContext& context);

}  // namespace kolvre
