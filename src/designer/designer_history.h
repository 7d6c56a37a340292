// Undo and redo inside the designer. A step is one gesture or command (a drag, a nudge key, a
// resize, a new control, a deletion, a paste, a properties change, a renumbering, a widening,
// an autosize), kept as the state of the dialog's controls before it. Undoing puts that state
// back whole, selection and current control included.
#pragma once

#include <cstddef>
#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "dialogs/dialog_model.h"

namespace kolvre {

// What the designer changes of a dialog: its controls (with the statements kept between them)
// and the current control. The dialog's own rectangle belongs to its window and is not kept.
struct DesignerSnapshot {
  std::vector<DialogControl> controls;
  std::vector<std::string> bodyTail;
  std::optional<std::size_t> current;
};

DesignerSnapshot takeSnapshot(const DialogModel& dialog, std::optional<std::size_t> current);
void restoreSnapshot(DialogModel& dialog, const DesignerSnapshot& snapshot);

// True when the two hold the same controls, whatever is selected.
bool sameControls(const DesignerSnapshot& a, const DesignerSnapshot& b);

class DesignerHistory {
 public:
  // At most `limit` steps are kept; the oldest go first.
  explicit DesignerHistory(std::size_t limit = 200) : limit_(limit == 0 ? 1 : limit) {}

  // A step done: `before` is the state before it. The steps undone so far are dropped.
  void record(DesignerSnapshot before);

  bool canUndo() const { return !undo_.empty(); }
  bool canRedo() const { return !redo_.empty(); }
  std::size_t undoSteps() const { return undo_.size(); }
  std::size_t redoSteps() const { return redo_.size(); }

  // The state to put back, given the state now (which becomes the step's redo); nothing when
  // there is no step.
  std::optional<DesignerSnapshot> undo(DesignerSnapshot now);
  std::optional<DesignerSnapshot> redo(DesignerSnapshot now);

 private:
  std::size_t limit_;
  std::deque<DesignerSnapshot> undo_;
  std::vector<DesignerSnapshot> redo_;
};

}  // namespace kolvre
