// Which controls are selected, which one is current, and the twelve resize handles around the
// current one. A control's selected flag lives in the dialog model (selected), so that a snapshot
// for undo and the live controls carry it; the current control and the handles live here.
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <vector>

#include "designer/designer_geometry.h"
#include "dialogs/dialog_model.h"

namespace kolvre {

// One resize handle.
struct Handle {
  int type = 0;    // 1 to 12
  PixelRect rect;  // in the client area
  bool shown = false;
  HandleCursor cursor() const { return handleCursor(type); }
};

using Handles = std::array<Handle, kHandleCount>;

// What changed since the window last looked.
struct DesignerRefresh {
  // Controls were added, removed or replaced (also their captions, styles or classes): build
  // the live controls again from the model.
  bool rebuild = false;
  // Controls whose rectangle changed (indexes into the model, ascending, each once).
  std::vector<std::size_t> moved;
  // The overlay (outlines, band) must be painted again.
  bool repaint = false;
  // The handles moved, appeared or went.
  bool handles = false;
};

class Selection {
 public:
  // Clears every control's selected flag and makes the twelve handles, hidden. Changes are
  // noted in `notes`.
  Selection(DialogModel& dialog, DesignerRefresh& notes);

  std::optional<std::size_t> current() const { return current_; }
  // Makes `control` current (nothing: none) and shows the handles around it.
  void setCurrent(std::optional<std::size_t> control);
  // Makes `control` current with the handles hidden, as while it is dragged.
  void setCurrentWithoutHandles(std::optional<std::size_t> control);
  // Shows the handles around the current control (hides them without one).
  void showHandles() { placeHandles(current_); }
  void hideHandles() { placeHandles(std::nullopt); }
  // The handles come back once a gesture ends, unless the current control is one of the
  // selection (a selected control shows its outline instead).
  void showHandlesUnlessSelected();
  const Handles& handles() const { return handles_; }

  bool isSelected(std::size_t control) const;
  void select(std::size_t control, bool selected);
  void selectAll(bool selected);
  bool anySelected() const;

  // Control `at` was deleted: the current control follows (or goes with it).
  void controlRemoved(std::size_t at);

  // One outline per selected control.
  std::vector<Box> outlines() const;

 private:
  void placeHandles(std::optional<std::size_t> control);

  DialogModel& dialog_;
  DesignerRefresh& notes_;
  std::optional<std::size_t> current_;
  Handles handles_;
};

}  // namespace kolvre
