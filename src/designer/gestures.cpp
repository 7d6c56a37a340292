#include "designer/gestures.h"

#include <algorithm>

#include "base/text.h"
#include "settings/placement.h"

namespace kolvre {

std::optional<std::size_t> groupBoxAt(const DialogModel& dialog, PixelPoint at) {
  const Box point = boxAt(at);
  for (std::size_t i = 0; i < dialog.controls.size(); ++i) {
    const DialogControl& c = dialog.controls[i];
    if (c.live != ControlClass::GroupBox || !hitTest(boxOf(c.rect), point, HitMode::Point))
      continue;
    if (c.selected || hitTest(boxOf(c.rect), point, HitMode::Border)) return i;
    break;
  }
  return std::nullopt;
}

GestureMachine::GestureMachine(DesignerWorkspace& workspace, UserInterface& ui)
    : workspace_(workspace), selection_(workspace.selection()), ui_(ui) {}

BaseUnits GestureMachine::base() const {
  return workspace_.dialog().baseUnits;
}

bool GestureMachine::outlinesShown() const {
  return state_ != GestureState::Pressed && state_ != GestureState::Dragging;
}

std::optional<Box> GestureMachine::band() const {
  if (state_ != GestureState::Banding || !bandCorner_) return std::nullopt;
  return Box{anchor_.x, anchor_.y, bandCorner_->x, bandCorner_->y};
}

void GestureMachine::pressBackground(PixelPoint at, KeyModifiers modifiers) {
  if (underWay()) return;
  if (const auto group = groupBoxAt(workspace_.dialog(), at)) {
    pressControl(*group, at, modifiers);
    return;
  }
  anchor_ = at;
  bandCorner_.reset();
  selection_.selectAll(false);
  selection_.setCurrent(std::nullopt);
  workspace_.showDialogStatus(false);
  state_ = GestureState::Banding;
}

void GestureMachine::pressControl(std::size_t at, PixelPoint p, KeyModifiers modifiers) {
  if (underWay() || at >= workspace_.controlCount()) return;
  if (modifiers.shift) {
    selection_.select(at, !selection_.isSelected(at));
    if (const auto current = selection_.current(); current && *current != at)
      selection_.select(*current, true);
    selection_.setCurrent(std::nullopt);
    workspace_.noteRepaint();
    return;
  }
  workspace_.beginStep();
  // A press outside the selection drops it; a press on one of it drags them all.
  if (!selection_.isSelected(at)) {
    selection_.selectAll(false);
    selection_.hideHandles();
  }
  selection_.setCurrentWithoutHandles(at);  // no handles while dragging
  workspace_.noteRepaint();
  grab_ = {p.x - control(at).rect.x, p.y - control(at).rect.y};
  if (control(at).live == ControlClass::StaticText) grey_ = at;
  // The "Kolv" flag puts a static dragged along with others one dialog unit below the grid line.
  lowerStatics_ = kolvFlag(ui_);
  workspace_.showStatus(at, false);
  state_ = GestureState::Pressed;
}

void GestureMachine::pressHandle(int type, PixelPoint at) {
  if (underWay() || !selection_.current() || handleEdges(type) == 0) return;
  workspace_.beginStep();
  selection_.hideHandles();
  anchor_ = at;
  handleType_ = type;
  if (control(*selection_.current()).live == ControlClass::StaticText) {
    grey_ = selection_.current();
    workspace_.noteRepaint();
  }
  state_ = GestureState::Resizing;
}

void GestureMachine::move(PixelPoint at, KeyModifiers modifiers) {
  switch (state_) {
    case GestureState::Pressed:
    case GestureState::Dragging:
      dragTo(at, modifiers);
      return;
    case GestureState::Banding:
      moveBand(at);
      return;
    case GestureState::Resizing:
      resizeTo(at);
      return;
    case GestureState::Idle:
      return;
  }
}

void GestureMachine::release() {
  switch (state_) {
    case GestureState::Pressed:
    case GestureState::Dragging:
      endDrag();
      return;
    case GestureState::Banding:
      endBand();
      return;
    case GestureState::Resizing:
      endResize();
      return;
    case GestureState::Idle:
      return;
  }
}

void GestureMachine::dragTo(PixelPoint p, KeyModifiers modifiers) {
  const auto current = selection_.current();
  if (modifiers.shift || !current) return;  // moves with Shift held are ignored
  const PixelRect was = control(*current).rect;
  if (p.x - was.x == grab_.x && p.y - was.y == grab_.y) return;
  state_ = GestureState::Dragging;
  const int left = snapColumn(p.x - grab_.x, workspace_.grid(), base());
  const int top = snapRow(p.y - grab_.y, workspace_.grid(), base());
  workspace_.moveControl(*current, {left, top, was.width, was.height});
  // The status bar follows the control: its place in units as it moves.
  workspace_.showStatus(*current, false);
  if (top == was.y && left == was.x) return;
  moveFollowers(*current, {left - was.x, top - was.y});
}

// The other selected controls move by as much, each on the grid.
void GestureMachine::moveFollowers(std::size_t dragged, PixelPoint by) {
  const int grid = workspace_.grid();
  for (std::size_t i = 0; i < workspace_.controlCount(); ++i) {
    const DialogControl& c = control(i);
    if (i == dragged || !c.selected) continue;
    const int left = snapColumn(c.rect.x + by.x, grid, base());
    int top = snapRow(c.rect.y + by.y, grid, base());
    if (lowerStatics_ && c.live == ControlClass::StaticText) top = nudgeRow(top, 1, base());
    workspace_.moveControl(i, {left, top, c.rect.width, c.rect.height});
  }
}

void GestureMachine::endDrag() {
  // A drag ends with its release, Shift held or not: left running, the designer would keep the
  // outlines hidden and wait for a release that never comes.
  state_ = GestureState::Idle;
  selection_.showHandlesUnlessSelected();
  grey_.reset();
  workspace_.noteRepaint();
  workspace_.endStep();
}

void GestureMachine::moveBand(PixelPoint at) {
  bandCorner_ = PixelPoint{std::max(at.x, 0), std::max(at.y, 0)};
  workspace_.noteRepaint();
}

void GestureMachine::endBand() {
  const std::optional<Box> drawn = band();
  state_ = GestureState::Idle;
  if (!drawn) return;
  for (std::size_t i = 0; i < workspace_.controlCount(); ++i)
    selection_.select(i, hitTest(boxOf(control(i).rect), *drawn, HitMode::Band));
  bandCorner_.reset();
  workspace_.noteRepaint();
}

void GestureMachine::resizeTo(PixelPoint at) {
  const auto current = selection_.current();
  if (!current) return;
  if (at == anchor_) return;
  const DialogControl& c = control(*current);
  const PixelPoint snapped = snapPoint(at, workspace_.grid(), base());
  if (const auto r = resizedRect(c.rect, c.live, handleType_, snapped))
    workspace_.moveControl(*current, *r);
  workspace_.showStatus(*current, false);
}

void GestureMachine::endResize() {
  state_ = GestureState::Idle;
  selection_.showHandles();
  if (grey_) {
    grey_.reset();
    workspace_.noteRepaint();
  }
  workspace_.endStep();
}

}  // namespace kolvre
