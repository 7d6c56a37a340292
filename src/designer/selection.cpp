#include "designer/selection.h"

#include <algorithm>

namespace kolvre {

Selection::Selection(DialogModel& dialog, DesignerRefresh& notes) : dialog_(dialog), notes_(notes) {
  for (std::size_t k = 0; k < handles_.size(); ++k) handles_[k].type = static_cast<int>(k) + 1;
  for (DialogControl& c : dialog_.controls) c.selected = false;
}

void Selection::setCurrent(std::optional<std::size_t> control) {
  current_ = control;
  placeHandles(control);
}

void Selection::setCurrentWithoutHandles(std::optional<std::size_t> control) {
  current_ = control;
  placeHandles(std::nullopt);
}

void Selection::showHandlesUnlessSelected() {
  if (current_ && !isSelected(*current_)) showHandles();
}

void Selection::placeHandles(std::optional<std::size_t> control) {
  if (control && *control >= dialog_.controls.size()) control.reset();
  if (control) {
    const auto rects = handleRects(dialog_.controls[*control]);
    for (std::size_t k = 0; k < handles_.size(); ++k) {
      handles_[k].rect = rects[k];
      handles_[k].shown = true;
    }
  } else {
    for (Handle& handle : handles_) handle.shown = false;
  }
  notes_.handles = true;
}

bool Selection::isSelected(std::size_t control) const {
  return control < dialog_.controls.size() && dialog_.controls[control].selected;
}

void Selection::select(std::size_t control, bool selected) {
  if (control >= dialog_.controls.size() || dialog_.controls[control].selected == selected) return;
  dialog_.controls[control].selected = selected;
  notes_.repaint = true;
}

void Selection::selectAll(bool selected) {
  for (std::size_t i = 0; i < dialog_.controls.size(); ++i) select(i, selected);
}

bool Selection::anySelected() const {
  return std::any_of(dialog_.controls.begin(), dialog_.controls.end(),
                     [](const DialogControl& c) { return c.selected; });
}

void Selection::controlRemoved(std::size_t at) {
  if (!current_) return;
  if (*current_ == at)
    current_.reset();
  else if (*current_ > at)
    --*current_;
}

std::vector<Box> Selection::outlines() const {
  std::vector<Box> boxes;
  for (const DialogControl& c : dialog_.controls)
    if (c.selected) boxes.push_back(selectionOutline(c));
  return boxes;
}

}  // namespace kolvre
