// The live preview of a dialog beside the list (BUILDDLG's preview): the dialog drawn with its
// frame and caption bar as the program's own metrics give them, its controls live inside it,
// and the whole disabled.
#pragma once

#include <QWidget>

#include "app/show_resource.h"
#include "dialogs/dialog_model.h"

namespace kolvre {

// A dialog's window: the frame and caption bar it is drawn with, the client area that holds
// the live controls.
class DialogWindow : public QWidget {
 public:
  DialogWindow(const DialogModel& model, QWidget* parent);
  QWidget* clientArea() const { return client_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  bool framed_ = true;
  QString title_;
  QWidget* client_ = nullptr;
};

// Shows a dialog entry: the preview, or the empty panel and a status text that says why the
// dialog cannot be shown. Notices of the reading ("Stile non valido.", an unsupported control)
// are shown as the reader gives them.
QWidget* BUILDDLG(const PanelContext& context);

}  // namespace kolvre
