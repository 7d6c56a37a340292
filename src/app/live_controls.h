// The live controls of a dialog preview and of the designer: one C++ class per live class,
// each on the Qt widget that looks like the control, carrying the model's fields. In the
// designer their input is diverted: a click, a double click, a right click or a key on a
// control reaches the designer instead of working the control.
#pragma once

#include <QWidget>
#include <cstdint>
#include <optional>

#include "dialogs/dialog_model.h"

namespace kolvre {

// The fields every live control carries besides its widget.
struct LiveFields {
  ControlClass liveClass = ControlClass::TSay2;
  int Cargo = 0;                        // the control id
  bool lSel = false;                    // selected in the designer
  std::optional<std::uint32_t> nStyle;  // the style number; nothing when the text was invalid
  bool lDropDown = false;               // TComboBox2: not a drop-down list in the script
};

// What a live control is made from.
struct LiveControlSpec {
  LiveFields fields;
  QString caption;
};

// Where the designer takes the diverted input. Points are in the control's coordinates.
class DesignerInput {
 public:
  virtual ~DesignerInput() = default;
  virtual void bLClicked(QWidget* control, QPoint at, Qt::KeyboardModifiers modifiers) = 0;
  virtual void bRClicked(QWidget* control, QPoint at, Qt::KeyboardModifiers modifiers) = 0;
  virtual void bLReleased(QWidget* control, QPoint at) = 0;
  virtual void bMouseMoved(QWidget* control, QPoint at, Qt::MouseButtons buttons) = 0;
  virtual void bKeyDown(QWidget* control, int key, Qt::KeyboardModifiers modifiers) = 0;
};

// Makes the live control of a spec as a child of `dialog`, with its contents (a check box
// unchecked, or indeterminate for BS_AUTO3STATE; a scroll bar ranging 1 to 10; a browse with
// one column headed by its class; a grey placeholder naming its class for bitmaps, icons,
// images and rich edits) and the looks its style asks for.
QWidget* makeLiveControl(const LiveControlSpec& spec, QWidget* dialog);

// The fields of a widget made by makeLiveControl; null for any other widget.
LiveFields* liveFields(QWidget* control);

// Sends every input event of `control` (and of the widgets inside it) to `input` instead of
// the control; focus is never taken. Stops when `input` is null.
void divertInput(QWidget* control, DesignerInput* input);

}  // namespace kolvre
