#include "designer/workspace.h"

#include <algorithm>

#include "designer/control_ids.h"
#include "dialogs/control_reader.h"
#include "platform/system_metrics.h"

namespace kolvre {

std::string placeText(const DialogUnitRect& units) {
  return "x " + std::to_string(units.x) + ", y " + std::to_string(units.y) + " \u2014 " +
         std::to_string(units.width) + " \u00d7 " + std::to_string(units.height);
}

std::string dialogStatusText(const DialogModel& dialog) {
  return "Dialog: " +
         placeText(dialogUnits(dialog.rect, dialog.baseUnits, dialog.styleAsRead, dialog.mode));
}

std::string controlStatusText(const DialogControl& control, BaseUnits base) {
  return "Id: " + idText(control) + "   " + placeText(unitsAsWritten(control, base));
}

DesignerWorkspace::DesignerWorkspace(DialogModel& dialog, DesignerHost& host)
    : dialog_(dialog), host_(host), selection_(dialog, notes_) {}

PixelRect DesignerWorkspace::clientSize() const {
  return {0, 0, dialog_.rect.width - 2 * kFrameWidth,
          dialog_.rect.height - 2 * kFrameHeight - kCaptionHeight};
}

void DesignerWorkspace::moveControl(std::size_t at, const PixelRect& rect) {
  if (control(at).rect == rect) return;
  control(at).rect = rect;
  notes_.moved.push_back(at);
  if (control(at).selected) notes_.repaint = true;
}

std::size_t DesignerWorkspace::appendControl(DialogControl c) {
  dialog_.controls.push_back(std::move(c));
  notes_.rebuild = true;
  return dialog_.controls.size() - 1;
}

void DesignerWorkspace::removeControl(std::size_t at) {
  kolvre::removeControl(dialog_, at);
  selection_.controlRemoved(at);
  notes_.rebuild = true;
  notes_.repaint = true;
}

void DesignerWorkspace::replaceControl(std::size_t at, DialogControl c) {
  const PixelRect rect = c.rect;
  c.rect = control(at).rect;
  control(at) = std::move(c);
  notes_.rebuild = true;
  moveControl(at, rect);
}

DesignerRefresh DesignerWorkspace::takeRefresh() {
  DesignerRefresh out = std::move(notes_);
  notes_ = {};
  std::sort(out.moved.begin(), out.moved.end());
  out.moved.erase(std::unique(out.moved.begin(), out.moved.end()), out.moved.end());
  return out;
}

void DesignerWorkspace::showStatus(std::size_t at, bool message) {
  host_.setStatus(controlStatusText(control(at), dialog_.baseUnits), message);
}

void DesignerWorkspace::showDialogStatus(bool message) {
  host_.setStatus(dialogStatusText(dialog_), message);
}

void DesignerWorkspace::beginStep() {
  if (!pending_) pending_ = takeSnapshot(dialog_, selection_.current());
}

void DesignerWorkspace::endStep() {
  if (!pending_) return;
  DesignerSnapshot before = std::move(*pending_);
  pending_.reset();
  if (!sameControls(before, takeSnapshot(dialog_, selection_.current())))
    history_.record(std::move(before));
}

void DesignerWorkspace::restore(const DesignerSnapshot& snapshot) {
  restoreSnapshot(dialog_, snapshot);
  // A current control of the selection shows its outline, not its handles.
  if (snapshot.current && selection_.isSelected(*snapshot.current))
    selection_.setCurrentWithoutHandles(snapshot.current);
  else
    selection_.setCurrent(snapshot.current);
  notes_.rebuild = notes_.repaint = true;
}

bool DesignerWorkspace::undo() {
  auto back = history_.undo(takeSnapshot(dialog_, selection_.current()));
  if (!back) return false;
  restore(*back);
  return true;
}

bool DesignerWorkspace::redo() {
  auto forward = history_.redo(takeSnapshot(dialog_, selection_.current()));
  if (!forward) return false;
  restore(*forward);
  return true;
}

}  // namespace kolvre
