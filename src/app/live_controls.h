// The live controls of a dialog preview and of the designer: one C++ class per live class,
// each on the Qt widget that looks like the control, carrying the model's fields. In the
// designer their input is diverted: a click, a double click, a right click or a key on a
// control reaches the designer instead of working the control.
#pragma once

#include <QImage>
#include <QWidget>
#include <cstdint>
#include <optional>

#include "dialogs/dialog_model.h"

namespace kolvre {

// The fields every live control carries besides its widget.
struct LiveFields {
  ControlClass liveClass = ControlClass::StaticText;
  int id = 0;                          // the control id
  bool selected = false;               // selected in the designer
  std::optional<std::uint32_t> style;  // the style number; nothing when the text was invalid
  bool dropDown = false;               // ComboBox: not a drop-down list in the script
};

// What a live control is made from.
struct LiveControlRequest {
  LiveFields fields;
  QString caption;  // the text as the window shows it
  QImage picture;   // the icon an icon control shows; null when the script has none of its name
  // The style the compiler gives the statement: the looks follow it when fields.style is nothing
  // (a style text the reading could not take).
  std::optional<std::uint32_t> compiledStyle;
};

// Where the designer takes the diverted input. Points are in the control's coordinates.
class DesignerInput {
 public:
  virtual ~DesignerInput() = default;
  // The left button went down (a double click too).
  virtual void leftPressed(QWidget* control, QPoint at, Qt::KeyboardModifiers modifiers) = 0;
  // The right button came up: the context menu.
  virtual void rightClicked(QWidget* control, QPoint at, Qt::KeyboardModifiers modifiers) = 0;
  virtual void leftReleased(QWidget* control, QPoint at) = 0;
  virtual void mouseMoved(QWidget* control, QPoint at, Qt::MouseButtons buttons) = 0;
  virtual void keyPressed(QWidget* control, int key, Qt::KeyboardModifiers modifiers) = 0;
};

// Makes the live control of a request as a child of `dialog`, with its contents (a check box
// unchecked, or indeterminate for BS_AUTO3STATE; a scroll bar ranging 1 to 10; a browse with
// one column headed by its class; a grey placeholder naming its class for bitmaps, icons,
// images and rich edits; an icon statement or a static with SS_ICON shows its picture, or a grey
// box without one) and the looks its style asks for: a BS_MULTILINE button wraps its text at its
// width, the rectangles, frames and etched lines of a static are drawn as such.
QWidget* makeLiveControl(const LiveControlRequest& request, QWidget* dialog);

// The fields of a widget made by makeLiveControl; null for any other widget.
LiveFields* liveFields(QWidget* control);

// Sends every input event of `control` (and of the widgets inside it) to `input` instead of
// the control; focus is never taken. Stops when `input` is null: the filter that diverted the
// input goes through the event loop, since its own event may be the one being handled.
void divertInput(QWidget* control, DesignerInput* input);

}  // namespace kolvre
