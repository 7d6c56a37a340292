// The designer's commands on its workspace: a new control, delete, properties, renumbering,
// copy and paste, widen, autosize, the nudge keys, undo and redo. Each one is one undo step
// and does nothing while a gesture is under way (it would change the controls the gesture is
// moving).
#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

#include "designer/designer_host.h"
#include "designer/gestures.h"
#include "designer/workspace.h"
#include "platform/user_interface.h"
#include "syntax/string_literal.h"

namespace kolvre {

class DesignerCommands {
 public:
  DesignerCommands(DesignerWorkspace& workspace, const GestureMachine& gestures, UserInterface& ui,
                   TextMeasure measure, const ScriptCharset& charset);

  // A control of the kind named ("Button", see control_kinds.h) at `at`, made current.
  void newControl(std::string_view kind, PixelPoint at);
  // The current control, or without one every selected control. An edit holding text keeps
  // the key for its text.
  void deleteControls();
  // The id a new control gets.
  int nextId() const;
  // The properties form on `control`; true when it was confirmed and applied.
  bool editProperties(std::size_t control);
  // Renumbering; the status bar then shows `shown` (the clicked control).
  void renumberSelected(std::optional<std::size_t> shown);
  void renumberRange(int first, int last, std::optional<std::size_t> shown);
  // The current control, or the selected ones, as control lines on the clipboard.
  void copy();
  // The clipboard's control lines as new controls, the first at `at`.
  // Pastes the clipboard's control lines, the first control at `at` (from the menu, where it
  // opened); by key (no `at`) at the first free grid place beside the copied controls.
  void paste(std::optional<PixelPoint> at);
  // The control as wide as the client area, on the grid, at the left edge.
  void widen(std::size_t control);
  // A static as wide as its text, in whole grid steps.
  void autosize(std::size_t control);
  // A nudge key on the current control, or on the selected ones: true when something moved.
  bool nudge(int virtualKey);
  bool undo();
  bool redo();

 private:
  PixelPoint freePlaceFor(std::string_view text) const;
  bool busy() const { return gestures_.underWay(); }
  bool keysBelongToCurrentText() const;
  void showFitted(std::size_t at, const PixelRect& rect);

  // The base units of the dialog designed.
  BaseUnits base() const;
  DesignerWorkspace& workspace_;
  Selection& selection_;
  const GestureMachine& gestures_;
  UserInterface& ui_;
  TextMeasure measure_;
  // The code page in force where the dialog stands: its texts' bytes are in it.
  ScriptCharset charset_;
};

}  // namespace kolvre
