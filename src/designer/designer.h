// The dialog designer without windows, the one entry point of the window layer. It works on a
// DialogModel (the dialog's controls with pixel rectangles in its client area) through its
// parts: the workspace (dialog, selection, notes for the window, undo steps), the gesture state
// machine (gestures.h) and the commands (commands.h); the context menus are data
// (context_menu.h).
//
// Points. Every method takes points in pixels of the dialog's client area, also where the
// press happened on a control or a handle: the window layer maps an event's position into the
// client area once (for example with QWidget::mapTo) before calling. A press on the first page
// of a TabControl is a press on the folder at the same client point. Enter on a browse is a press
// on it at its own top-left corner.
//
// Wiring (window event -> method; afterwards read takeRefresh() and the state):
//   dialog background: left press -> pressBackground; right click -> contextMenu(nothing, point);
//                      key -> keyDown; resized -> resized
//   a control i:       left press or double click -> pressControl(i, ...);
//                      right click -> contextMenu(i, point);
//                      key -> keyDown when keyReachesDesigner (designer_keys.h)
//   handle k (1..12):  left press -> pressHandle(k, ...); key -> keyDown
//   any of them:       move -> mouseMove; release -> mouseRelease. They act on the gesture under
//                      way, so it does not matter which widget holds the mouse: a press near a
//                      group box's frame drags the group box although the dialog got the press.
//   context menu:      show contextMenu's items; the chosen one -> runMenuCommand
// Group boxes take no mouse input of their own: presses on them fall through to the dialog,
// which hit-tests them.
//
// What the window layer reads after a call:
//   takeRefresh()      what changed since the last call (rebuild, moved controls, overlay,
//                      handles)
//   dialog()           the controls' rectangles, selected flags, captions
//   handles()          the twelve handles: rectangle, shown or not, cursor
//   outlines(), band(), gridColumns()/gridRows() of designer_geometry.h over clientSize()
//   gesture()          a press is under way (not Idle): the pressed widget keeps the mouse
//   greyControl()      a static shown on light grey while it is dragged or resized
// The status bar and the closing go through DesignerHost; messages, the clipboard and the
// settings through UserInterface.
#pragma once

#include <cstddef>
#include <optional>
#include <vector>

#include "designer/commands.h"
#include "designer/context_menu.h"
#include "designer/designer_host.h"
#include "designer/designer_keys.h"
#include "designer/gestures.h"
#include "designer/workspace.h"
#include "platform/user_interface.h"
#include "syntax/string_literal.h"

namespace kolvre {

class Designer {
 public:
  // Attaches to `dialog` (which must outlive the designer): clears every selection and makes
  // the twelve handles, hidden.
  Designer(DialogModel& dialog, UserInterface& ui, DesignerHost& host, TextMeasure measure,
           const ScriptCharset& charset = {});
  Designer(const Designer&) = delete;
  Designer& operator=(const Designer&) = delete;

  // Input.
  // A key: true when the designer used it (false: the control may have it). While a gesture
  // is under way only Esc acts.
  bool keyDown(int virtualKey, KeyModifiers modifiers);
  void pressBackground(PixelPoint at, KeyModifiers modifiers = {});
  void pressControl(std::size_t control, PixelPoint at, KeyModifiers modifiers = {});
  void pressHandle(int type, PixelPoint at);
  void mouseMove(PixelPoint at, KeyModifiers modifiers = {});
  void mouseRelease();
  // The context menu on `control` (nothing: the background, or the group box whose frame is
  // there) at `at`. Without a selection the clicked control becomes current; the status bar
  // shows what was clicked.
  DesignerMenu contextMenu(std::optional<std::size_t> control, PixelPoint at);
  void runMenuCommand(const DesignerMenu& menu, std::size_t item);
  // The dialog window was resized to `width` x `height` (its outer size, pixels).
  void resized(int width, int height);

  // State, read by the window layer.
  DialogModel& dialog() { return workspace_.dialog(); }
  const DialogModel& dialog() const { return workspace_.dialog(); }
  PixelRect clientSize() const { return workspace_.clientSize(); }
  std::optional<std::size_t> current() const { return workspace_.selection().current(); }
  const Handles& handles() const { return workspace_.selection().handles(); }
  int grid() const { return workspace_.grid(); }
  std::vector<Box> outlines() const;  // one per selected control; none while dragging
  bool outlinesShown() const { return gestures_.outlinesShown(); }
  std::optional<Box> band() const { return gestures_.band(); }
  GestureState gesture() const { return gestures_.state(); }
  std::optional<std::size_t> greyControl() const { return gestures_.greyControl(); }
  bool canUndo() const { return workspace_.canUndo(); }
  bool canRedo() const { return workspace_.canRedo(); }
  std::size_t undoSteps() const { return workspace_.undoSteps(); }
  DesignerRefresh takeRefresh() { return workspace_.takeRefresh(); }

  // The parts, for the commands the window does not reach through keys and menus.
  DesignerCommands& commands() { return commands_; }
  Selection& selection() { return workspace_.selection(); }
  const GestureMachine& gestures() const { return gestures_; }

 private:
  DesignerWorkspace workspace_;
  GestureMachine gestures_;
  DesignerCommands commands_;
};

}  // namespace kolvre
