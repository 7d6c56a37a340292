// The mouse gestures of the designer as a state machine. A left press starts a gesture, moves
// carry it on and the release ends it:
//
//   Idle --press on a control--> Pressed --move off the grab point--> Dragging --release--> Idle
//   Idle --press on the background--> Banding --release--> Idle
//   Idle --press on a handle--> Resizing --release--> Idle
//
// A press on the background within reach of a group box's frame (or anywhere on a selected
// group box) presses the group box: group boxes take no mouse input of their own. A Shift press
// on a control toggles its selection and starts nothing. Moves and releases without a gesture
// under way are ignored, as are presses while one is under way. Points are pixels of the
// dialog's client area.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

#include "designer/designer_geometry.h"
#include "designer/designer_keys.h"
#include "designer/workspace.h"
#include "platform/user_interface.h"

namespace kolvre {

enum class GestureState : std::uint8_t { Idle, Pressed, Dragging, Banding, Resizing };

class GestureMachine {
 public:
  GestureMachine(DesignerWorkspace& workspace, UserInterface& ui);

  GestureState state() const { return state_; }
  // A press is under way: the pressed widget keeps the mouse, and commands wait.
  bool underWay() const { return state_ != GestureState::Idle; }

  void pressBackground(PixelPoint at, KeyModifiers modifiers);
  void pressControl(std::size_t control, PixelPoint at, KeyModifiers modifiers);
  void pressHandle(int type, PixelPoint at);
  void move(PixelPoint at, KeyModifiers modifiers);
  void release();

  // The rubber band on screen, from the press to the pointer, clipped at the client area.
  std::optional<Box> band() const;
  // The outlines are hidden while a control is pressed or dragged.
  bool outlinesShown() const;
  // A static shown on light grey while it is dragged or resized.
  std::optional<std::size_t> greyControl() const { return grey_; }
  // Where the pressed control was grabbed, from its top-left corner.
  PixelPoint grabOffset() const { return grab_; }

 private:
  void dragTo(PixelPoint at, KeyModifiers modifiers);
  void moveFollowers(std::size_t dragged, PixelPoint by);
  void endDrag();
  void moveBand(PixelPoint at);
  void endBand();
  void resizeTo(PixelPoint at);
  void endResize();
  DialogControl& control(std::size_t at) { return workspace_.control(at); }

  // The base units of the dialog designed.
  BaseUnits base() const;
  DesignerWorkspace& workspace_;
  Selection& selection_;
  UserInterface& ui_;
  GestureState state_ = GestureState::Idle;
  PixelPoint anchor_;                     // Banding: the press; Resizing: the press
  std::optional<PixelPoint> bandCorner_;  // Banding: the pointer, once it has moved
  PixelPoint grab_;                       // Pressed, Dragging: the grab offset in the control
  int handleType_ = 0;                    // Resizing: the handle pressed
  bool lowerStatics_ = false;             // Dragging: the settings flag, read at the press
  std::optional<std::size_t> grey_;
};

// The group box a press at `at` on the dialog's background lands on: the first group box
// under the point, when it is selected or the point is within reach of its frame.
std::optional<std::size_t> groupBoxAt(const DialogModel& dialog, PixelPoint at);

}  // namespace kolvre
