#include "designer/designer.h"

#include <utility>

namespace kolvre {

Designer::Designer(DialogModel& dialog, UserInterface& ui, DesignerHost& host, TextMeasure measure,
                   const ScriptCharset& charset)
    : workspace_(dialog, host),
      gestures_(workspace_, ui),
      commands_(workspace_, gestures_, ui, std::move(measure), charset) {}

bool Designer::keyDown(int virtualKey, KeyModifiers modifiers) {
  const DesignerAction action = designerKeyAction(virtualKey, modifiers);
  if (gestures_.underWay() && action != DesignerAction::Close) return false;
  switch (action) {
    case DesignerAction::Close:
      workspace_.host().close();
      return true;
    case DesignerAction::Delete:
      commands_.deleteControls();
      return true;
    case DesignerAction::Copy:
      commands_.copy();
      return true;
    case DesignerAction::Paste:
      commands_.paste(std::nullopt);
      return true;
    case DesignerAction::Store:
      workspace_.host().store(workspace_.dialog());
      return true;
    case DesignerAction::Properties:
      if (const auto current = this->current()) commands_.editProperties(*current);
      return true;
    case DesignerAction::Undo:
      commands_.undo();
      return true;
    case DesignerAction::Redo:
      commands_.redo();
      return true;
    case DesignerAction::Nudge:
      return commands_.nudge(virtualKey);
  }
  return false;
}

void Designer::pressBackground(PixelPoint at, KeyModifiers modifiers) {
  gestures_.pressBackground(at, modifiers);
}

void Designer::pressControl(std::size_t control, PixelPoint at, KeyModifiers modifiers) {
  gestures_.pressControl(control, at, modifiers);
}

void Designer::pressHandle(int type, PixelPoint at) {
  gestures_.pressHandle(type, at);
}

void Designer::mouseMove(PixelPoint at, KeyModifiers modifiers) {
  gestures_.move(at, modifiers);
}

void Designer::mouseRelease() {
  gestures_.release();
}

std::vector<Box> Designer::outlines() const {
  if (!gestures_.outlinesShown()) return {};
  return workspace_.selection().outlines();
}

DesignerMenu Designer::contextMenu(std::optional<std::size_t> clicked, PixelPoint at) {
  DesignerMenu menu;
  if (gestures_.underWay()) return menu;
  if (clicked && *clicked >= workspace_.controlCount()) clicked.reset();
  if (!clicked) clicked = groupBoxAt(workspace_.dialog(), at);
  menu.control = clicked;
  menu.at = snapPoint(at, workspace_.grid(), workspace_.dialog().baseUnits);
  Selection& selection = workspace_.selection();
  const bool anySelected = selection.anySelected();
  if (clicked && !anySelected) selection.setCurrent(clicked);
  if (clicked)
    workspace_.showStatus(*clicked, true);
  else
    workspace_.showDialogStatus(true);
  fillContextMenu(menu, workspace_.dialog(),
                  {selection.current().has_value(), anySelected, canUndo(), canRedo()});
  return menu;
}

void Designer::runMenuCommand(const DesignerMenu& menu, std::size_t item) {
  if (item >= menu.items.size() || !menu.items[item].enabled) return;
  std::optional<std::size_t> clicked = menu.control;
  if (clicked && *clicked >= workspace_.controlCount()) clicked.reset();
  switch (menu.items[item].command) {
    case MenuCommand::None:
      return;
    case MenuCommand::Properties:
      if (clicked) commands_.editProperties(*clicked);
      return;
    case MenuCommand::AutoSize:
      if (clicked) commands_.autosize(*clicked);
      return;
    case MenuCommand::Widen:
      if (clicked) commands_.widen(*clicked);
      return;
    case MenuCommand::RenumberSelected:
      commands_.renumberSelected(clicked);
      return;
    case MenuCommand::RenumberRange:
      commands_.renumberRange(menu.rangeFirst, menu.rangeLast, clicked);
      return;
    case MenuCommand::Delete:
      commands_.deleteControls();
      return;
    case MenuCommand::Copy:
      commands_.copy();
      return;
    case MenuCommand::NewControl:
      commands_.newControl(menu.items[item].kind, menu.at);
      return;
    case MenuCommand::Paste:
      commands_.paste(menu.at);
      return;
    case MenuCommand::Undo:
      commands_.undo();
      return;
    case MenuCommand::Redo:
      commands_.redo();
      return;
  }
}

void Designer::resized(int width, int height) {
  workspace_.dialog().rect.width = width;
  workspace_.dialog().rect.height = height;
  workspace_.showDialogStatus(true);
}

}  // namespace kolvre
