// The designer's window: a modal canvas laid over the main window's panel area, holding the
// dialog where its preview stands, so that a dialog neither moved nor resized gives back the
// coordinates it was read with. The drawn frame moves the dialog (caption bar) and resizes it
// (frame edges and corners); Esc and the close box end the session.
//
// Inside the dialog the designer (TDrag) does the work: this window only hands it the mouse
// and the keys, and shows what it holds afterwards (the live controls where the model has
// them, the grid and the selection outlines on the client area, the rubber band, the twelve
// resize handles, the context menu and the properties form).
#pragma once

#include <QDialog>
#include <QPointer>
#include <array>
#include <functional>
#include <memory>

#include "app/dialog_panel.h"
#include "app/live_controls.h"
#include "app/show_resource.h"
#include "designer/designer.h"
#include "dialogs/dialog_session.h"

class QRubberBand;

namespace kolvre {

class MainWindow;

class DesignerWindow : public QDialog, public DesignerHost, public DesignerInput {
  Q_OBJECT

 public:
  // `store` writes the dialog back into the script and saves the file (F9); false when the
  // save failed, which leaves the designer open with the edit.
  using Store = std::function<bool(const DialogModel&)>;
  DesignerWindow(const DialogModel& dialog, MainWindow& window, UserInterface& ui,
                 TextEncoding encoding, Store store);
  ~DesignerWindow() override;
  // Shows the designer modally and returns how it closed and the dialog as left.
  DesignerClosing run();
  // The dialog as the user has left it.
  DialogModel dialog() const;
  DialogWindow* dialogWindow() const { return window_; }
  TDrag& drag() { return *drag_; }
  // Handle `type` (1 to 12).
  QWidget* handle(int type) const { return handles_[std::size_t(type - 1)]; }
  QRubberBand* band() const { return band_; }
  // Result code of the close box, as a dialog closed from its system menu ends.
  static constexpr int kClosedByBox = 2;

  // DesignerHost
  void store(const DialogModel& dialog) override;
  void close() override;
  void setStatus(std::string_view text, bool message) override;
  std::optional<ControlProperties> editProperties(const ControlProperties& shown) override;

  // DesignerInput: the live controls' diverted input.
  void bLClicked(QWidget* control, QPoint at, Qt::KeyboardModifiers modifiers) override;
  void bRClicked(QWidget* control, QPoint at, Qt::KeyboardModifiers modifiers) override;
  void bLReleased(QWidget* control, QPoint at) override;
  void bMouseMoved(QWidget* control, QPoint at, Qt::MouseButtons buttons) override;
  void bKeyDown(QWidget* control, int key, Qt::KeyboardModifiers modifiers) override;

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // Shows what the designer changed: controls, handles, outlines, the band, the window.
  void sync();
  void divertControls();
  void placeHandles();
  void paintClient(QPainter& painter);
  void showMenu(DesignerMenu menu, QPoint global);
  void frameMoved();
  Point clientPoint(QWidget* from, QPoint at) const;
  std::optional<std::size_t> indexOf(QWidget* control) const;

  MainWindow& main_;
  UserInterface& ui_;
  Store store_;
  // The model the designer edits; the designer holds a reference to it.
  std::unique_ptr<DialogModel> dialog_;
  std::unique_ptr<TDrag> drag_;
  DialogWindow* window_ = nullptr;
  std::array<QWidget*, kHandleCount> handles_{};
  QRubberBand* band_ = nullptr;
  QPixmap grid_;            // the grid dots of the client area's size, drawn once per size
  QPointer<QWidget> grey_;  // the static shown on light grey while it is dragged
};

// Maps a Qt key to the virtual-key code the designer reads; 0 for a key it has no code for.
int designerKeyOf(int qtKey);

// The edit action of a dialog entry: the designer session on it.
bool editDialog(const PanelContext& context);

}  // namespace kolvre
