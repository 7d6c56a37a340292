#include "designer/designer_history.h"

#include <utility>

namespace kolvre {

DesignerSnapshot takeSnapshot(const DialogModel& dialog, std::optional<std::size_t> current) {
  return {dialog.controls, dialog.bodyTail, current};
}

void restoreSnapshot(DialogModel& dialog, const DesignerSnapshot& snapshot) {
  dialog.controls = snapshot.controls;
  dialog.bodyTail = snapshot.bodyTail;
}

bool sameControls(const DesignerSnapshot& a, const DesignerSnapshot& b) {
  if (a.controls.size() != b.controls.size() || a.bodyTail != b.bodyTail) return false;
  for (std::size_t i = 0; i < a.controls.size(); ++i) {
    DialogControl left = a.controls[i];
    left.selected = b.controls[i].selected;
    if (!(left == b.controls[i])) return false;
  }
  return true;
}

void DesignerHistory::record(DesignerSnapshot before) {
  redo_.clear();
  undo_.push_back(std::move(before));
  while (undo_.size() > limit_) undo_.pop_front();
}

std::optional<DesignerSnapshot> DesignerHistory::undo(DesignerSnapshot now) {
  if (undo_.empty()) return std::nullopt;
  DesignerSnapshot back = std::move(undo_.back());
  undo_.pop_back();
  redo_.push_back(std::move(now));
  return back;
}

std::optional<DesignerSnapshot> DesignerHistory::redo(DesignerSnapshot now) {
  if (redo_.empty()) return std::nullopt;
  DesignerSnapshot forward = std::move(redo_.back());
  redo_.pop_back();
  undo_.push_back(std::move(now));
  while (undo_.size() > limit_) undo_.pop_front();
  return forward;
}

}  // namespace kolvre
