// The live preview of a dialog beside the list (dialogPanel's preview): the dialog drawn with its
// frame and caption bar as the program's own metrics give them, its controls live inside it,
// and the whole disabled.
#pragma once

#include <QImage>
#include <QPainter>
#include <QWidget>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "app/show_resource.h"
#include "dialogs/dialog_model.h"
#include "syntax/string_literal.h"

namespace kolvre {

// What a dialog's window takes from the script around the dialog: how the script's texts
// decode, and the pictures of the icons its controls name.
struct DialogScript {
  ScriptCharset charset;
  // The picture of the script's icon `name`; a null image when the script holds no inline icon
  // of that name (or when there is no script).
  std::function<QImage(const std::string& name)> icon;
};

// The script around the dialog whose block begins at `offset` of `doc`'s text. The icons are
// looked up in `doc` when a control asks for one: the document must outlive the window.
DialogScript dialogScript(const Document& doc, std::size_t offset);

// A quoted text as written (doubled quotes kept), as a window shows it: its escapes decoded and
// its bytes read in the script's code page (one the program has no table for through Qt's
// converters, else as Windows-1252).
QString shownText(std::string_view asWritten, const ScriptCharset& charset);

// A dialog's window: the frame and caption bar it is drawn with, the client area that holds
// the live controls. It stands at the dialog's rectangle relative to `origin` in its parent.
// In the designer the caption bar moves the window, the frame's edges and corners resize it,
// and the caption bar shows a close box. In the preview the caption bar is there when the style the
// compilers give the dialog has WS_CAPTION (dialog_looks.h); the designer always draws it. The
// texts show as the compiled resource holds them.
class DialogWindow : public QWidget {
 public:
  DialogWindow(const DialogModel& model, QWidget* parent, QPoint origin, DialogScript script = {});
  QWidget* clientArea() const { return client_; }
  // The live controls, in the order of the dialog's controls.
  const QList<QWidget*>& controls() const { return controls_; }
  // Makes the live controls again from the model's controls (the old ones are deleted).
  void buildControls(const DialogModel& model);
  // Places a live control where Windows puts the window of `control` (client area pixels) in a
  // dialog of base units `base`.
  static void place(QWidget* live, const DialogControl& control, BaseUnits base);
  // Painted on the client area after its background and before its controls: the designer's
  // grid and selection outlines.
  std::function<void(QPainter&)> paintClient;
  // The close box's place, in the window's coordinates (empty outside the designer).
  QRect closeBox() const;
  // Called when the user has moved or resized the window, and when the close box is pressed.
  std::function<void()> moved;
  std::function<void()> closeRequested;

  // The smallest window the frame can be dragged to.
  static constexpr int kMinimumClient = 8;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  // Which edges a press at `at` takes hold of: bits 1 left, 2 top, 4 right, 8 bottom; 16 for
  // the caption bar (the whole window moves); 0 for none.
  int grip(QPoint at) const;
  bool framed_ = true;
  bool captioned_ = true;  // framed with a caption bar
  bool designer_ = false;
  DialogScript script_;
  QString title_;
  QWidget* client_ = nullptr;
  QList<QWidget*> controls_;
  int held_ = 0;         // the grip held while a button is down
  QPoint pressGlobal_;   // where it was pressed, in global coordinates
  QRect pressGeometry_;  // the window's geometry at the press
};

// Shows a dialog entry: the preview, or the empty panel and a status text that says why the
// dialog cannot be shown. Notices of the reading ("Stile non valido.", an unsupported control)
// are shown as the reader gives them.
QWidget* dialogPanel(const PanelContext& context);

// The preview of dialog `name` of `doc` as a picture (frame and caption bar included), for
// documentation and reviews. Nothing, with the reason in `why`, when the dialog is missing or
// cannot be read.
std::optional<QImage> dialogSnapshot(const Document& doc, std::string_view name, std::string& why);

}  // namespace kolvre
