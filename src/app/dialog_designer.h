// The designer's window: a modal canvas laid over the main window's panel area, holding the
// dialog where its preview stands, so that a dialog neither moved nor resized gives back the
// coordinates it was read with. The drawn frame moves the dialog (caption bar) and resizes it
// (frame edges and corners); Esc and the close box end the session.
//
// Inside the dialog the designer (designer/designer.h) does the work: this window only hands it
// the mouse and the keys, and shows what it holds afterwards (the live controls where the model
// has them, the grid and the selection outlines on the client area, the rubber band, the twelve
// resize handles, the context menu and the properties form).
#pragma once

#include <QColor>
#include <QDialog>
#include <QPointer>
#include <QRect>
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

// What the designer takes from the window it is laid over.
struct DesignerSurroundings {
  QWidget* owner = nullptr;  // the designer's parent
  QRect panelArea;           // global: the area the canvas covers at least
  QColor panelColour;        // the canvas has the colour of the area it covers
  QPoint formPosition;       // global: where the properties form opens
  // The status bar: its default text, and with `message` its current message too (without,
  // the message up is cleared).
  std::function<void(const QString& text, bool message)> showStatus;
  // How the dialog's texts decode and where its icons come from.
  DialogScript script;
};

// The surroundings of a designer laid over `window`'s panel area.
DesignerSurroundings designerSurroundings(MainWindow& window);

class DesignerWindow : public QDialog, public DesignerHost, public DesignerInput {
  Q_OBJECT

 public:
  // `store` writes the dialog back into the script and saves the file (F9); false when the
  // save failed, which leaves the designer open with the edit.
  using Store = std::function<bool(const DialogModel&)>;
  DesignerWindow(const DialogModel& dialog, DesignerSurroundings surroundings, UserInterface& ui,
                 Store store);
  ~DesignerWindow() override;
  // Asked before the user's close (Esc, the close box) ends the designer: false keeps it open.
  void setMayClose(MayCloseDesigner mayClose) { mayClose_ = std::move(mayClose); }
  // Shows the designer modally and returns how it closed and the dialog as left.
  DesignerClosing run();
  // The dialog as the user has left it.
  DialogModel dialog() const;
  DialogWindow* dialogWindow() const { return window_; }
  Designer& designer() { return *designer_; }
  // Handle `type` (1 to 12).
  QWidget* handle(int type) const { return handles_[std::size_t(type - 1)]; }
  QRubberBand* band() const { return band_; }

  // DesignerHost
  void store(const DialogModel& dialog) override;
  void close() override;
  void setStatus(std::string_view text, bool message) override;
  std::optional<ControlProperties> editProperties(const ControlProperties& shown) override;

  // DesignerInput: the live controls' diverted input.
  void leftPressed(QWidget* control, QPoint at, Qt::KeyboardModifiers modifiers) override;
  void rightClicked(QWidget* control, QPoint at, Qt::KeyboardModifiers modifiers) override;
  void leftReleased(QWidget* control, QPoint at) override;
  void mouseMoved(QWidget* control, QPoint at, Qt::MouseButtons buttons) override;
  void keyPressed(QWidget* control, int key, Qt::KeyboardModifiers modifiers) override;

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void makeHandles(QWidget* client);
  // Shows what the designer changed: controls, handles, outlines, the band, the window.
  void sync();
  void syncControls(const DesignerRefresh& refresh);
  void syncGreyControl();
  void syncMouseAndBand();
  void divertControls();
  void placeHandles();
  void paintClient(QPainter& painter);
  void showMenu(DesignerMenu menu, QPoint global);
  void frameMoved();
  bool clientOrHandleEvent(QWidget* widget, int handleType, QEvent* event);
  PixelPoint clientPoint(QWidget* from, QPoint at) const;
  std::optional<std::size_t> indexOf(QWidget* control) const;

  DesignerSurroundings surroundings_;
  UserInterface& ui_;
  Store store_;
  MayCloseDesigner mayClose_;
  // Ends the designer as the user asked, unless the store question was cancelled.
  void closeAs(DesignerClose how);
  // The model the designer edits; the designer holds a reference to it.
  std::unique_ptr<DialogModel> dialog_;
  std::unique_ptr<Designer> designer_;
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
// The same with control `control` (its place among the dialog's controls) current as the
// designer opens.
bool editDialogControl(const PanelContext& context, std::size_t control);

}  // namespace kolvre
