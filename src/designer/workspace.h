// What the parts of the designer share: the dialog whose controls they edit, the selection,
// the notes of what changed for the window, the status bar and the undo steps. The gestures
// and the commands change the dialog only through here, so that every change is noted for the
// window and lands in one undo step.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <utility>

#include "designer/designer_history.h"
#include "designer/designer_host.h"
#include "designer/selection.h"
#include "dialogs/dialog_model.h"

namespace kolvre {

// The status texts, places and sizes in dialog units as the script writes them:
// "Dialog: x X, y Y — W × H" (the header's numbers) and "Id: ID   x X, y Y — W × H" (a control's
// id, as written when it is a symbol, and its numbers), numbers without padding.
std::string dialogStatusText(const DialogModel& dialog);
std::string controlStatusText(const DialogControl& control, BaseUnits base);

class DesignerWorkspace {
 public:
  // Attaches to `dialog`, which must outlive the workspace.
  DesignerWorkspace(DialogModel& dialog, DesignerHost& host);
  DesignerWorkspace(const DesignerWorkspace&) = delete;
  DesignerWorkspace& operator=(const DesignerWorkspace&) = delete;

  DialogModel& dialog() { return dialog_; }
  const DialogModel& dialog() const { return dialog_; }
  std::size_t controlCount() const { return dialog_.controls.size(); }
  DialogControl& control(std::size_t at) { return dialog_.controls[at]; }
  const DialogControl& control(std::size_t at) const { return dialog_.controls[at]; }
  Selection& selection() { return selection_; }
  const Selection& selection() const { return selection_; }
  DesignerHost& host() { return host_; }
  int grid() const { return grid_; }
  // The client area's size: the window's size without frame and caption bar.
  PixelRect clientSize() const;

  // Changes, each noted for the window.
  void moveControl(std::size_t at, const PixelRect& rect);
  std::size_t appendControl(DialogControl control);
  void removeControl(std::size_t at);
  // Replaces the control's fields; its rectangle moves through moveControl.
  void replaceControl(std::size_t at, DialogControl control);
  void noteRepaint() { notes_.repaint = true; }
  void noteRebuild() { notes_.rebuild = true; }
  // What changed since the last call.
  DesignerRefresh takeRefresh();

  // The status bar: a control's id and size, or the dialog's size.
  void showStatus(std::size_t control, bool message);
  void showDialogStatus(bool message);

  // Undo steps. A step starts with the state before it and is kept when it ends with other
  // controls than it started with; a selection alone is no step. Nested starts join the first.
  void beginStep();
  void endStep();
  template <typename F>
  void asStep(F&& change) {
    beginStep();
    std::forward<F>(change)();
    endStep();
  }
  bool undo();
  bool redo();
  bool canUndo() const { return history_.canUndo(); }
  bool canRedo() const { return history_.canRedo(); }
  std::size_t undoSteps() const { return history_.undoSteps(); }

 private:
  void restore(const DesignerSnapshot& snapshot);

  DialogModel& dialog_;
  DesignerHost& host_;
  DesignerRefresh notes_;
  Selection selection_;
  DesignerHistory history_;
  std::optional<DesignerSnapshot> pending_;
  int grid_ = kDefaultGrid;
};

}  // namespace kolvre
