// The dialog designer without windows: TDrag works on a DialogModel (the dialog's controls with
// pixel rectangles in its client area) and keeps the designer's state; the window layer maps
// its events onto the methods below and draws what the state says.
//
// Points. Every method takes points in pixels of the dialog's client area, also where the
// press happened on a control or a handle: the window layer maps an event's position into the
// client area once (for example with QWidget::mapTo) before calling. A press on the first page
// of a TFolder2 is a press on the folder at the same client point. Enter on a browse is a press
// on it at its own top-left corner.
//
// Wiring (window event -> method; afterwards read takeRefresh() and the fields):
//   dialog background: left press -> InitSel; right press -> RightMenu(nothing, point);
//                      key -> KeyDown; resized -> Resized
//   a control i:       left press or double click -> InitDrg(i, ...);
//                      right press -> RightMenu(i, point);
//                      key -> KeyDown when keyReachesDesigner (designer_keys.h)
//   handle k (1..12):  left press -> InitSize(k, ...); key -> KeyDown
//   any of them:       move -> MouseMove; release -> MouseRelease. They act on the press under
//                      way (DragSel, DragDrg or DragSize; StopSel, StopDrg or StopSize), so it
//                      does not matter which widget holds the mouse: a press near a group box's
//                      frame drags the group box although the dialog got the press.
//   context menu:      show RightMenu's items; the chosen one -> runMenuCommand
// Group boxes take no mouse input of their own: presses on them fall through to the dialog,
// which hit-tests them (InitSel, RightMenu).
//
// What the window layer reads after a call:
//   takeRefresh()      what changed since the last call (rebuild, moved controls, overlay,
//                      handles)
//   dialog()           the controls' rectangles, lSel, captions
//   aSize              the twelve handles: rectangle, shown or not, cursor
//   outlines(), band(), gridColumns()/gridRows() of designer_geometry.h over clientSize()
//   gesture()          a press is under way: the pressed widget keeps the mouse
//   greyControl()      a static shown on light grey while it is dragged or resized
// The status bar and the closing go through DesignerHost; messages, the clipboard and the
// settings through UserInterface.
#pragma once

#include <array>
#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "designer/designer_geometry.h"
#include "designer/designer_history.h"
#include "designer/designer_keys.h"
#include "dialogs/dialog_model.h"
#include "document/encoding.h"
#include "platform/user_interface.h"

namespace kolvre {

// The status texts: "Dialog: W x H" (the dialog window's size) and "Id: ID   W x H" (a
// control's id, as written when it is a symbol, and its size), numbers without padding.
std::string dialogStatusText(const DialogModel& dialog);
std::string controlStatusText(const DialogControl& control);

// The control properties form ("Proprietà controllo"): field ids, labels and rules as data.
struct PropertyField {
  int id;
  std::string_view label;
  std::string_view picture;  // digits a number field holds ("99999"); empty: text
  bool required;             // must not be empty
  bool readOnly;
  bool multiLine;
};
inline constexpr std::string_view kPropertiesTitle = "Proprietà controllo";
inline constexpr std::array<PropertyField, 8> kPropertyFields{{
    {101, "Caption:", "", false, false, false},
    {102, "Id:", "99999", false, false, false},
    {103, "Classe:", "", false, true, false},
    {104, "X", "9999", false, false, false},
    {105, "Y", "9999", false, false, false},
    {106, "L", "9999", true, false, false},
    {107, "H", "9999", true, false, false},
    {108, "Stile:", "", true, false, true},
}};
inline constexpr std::size_t kCaptionMaxLength = 1024;

// The form's values, as texts.
struct ControlProperties {
  std::string caption;    // 101
  std::string id;         // 102: the number, or the symbol the id is written as
  std::string className;  // 103: the class of the control line, quotes removed
  std::string x;          // 104, dialog units
  std::string y;          // 105
  std::string width;      // 106
  std::string height;     // 107
  std::string style;      // 108: the style names joined by " | "
  bool operator==(const ControlProperties&) const = default;
};
// The value of field `id` (101 to 108).
std::string& propertyValue(ControlProperties& form, int id);

// The form filled from a control, through its control line.
ControlProperties controlProperties(const DialogControl& control);

// Why the form may not be confirmed: the field and its message ("Campo non valido.",
// "Numero troppo grande.", "Stile non valido."). `shown` is the form as filled, so an id still
// showing its symbol is accepted.
struct PropertyFault {
  int field;
  std::string_view message;
};
std::optional<PropertyFault> checkProperties(const ControlProperties& form,
                                             const ControlProperties& shown);

// What the designer needs of the window that holds it.
class DesignerHost {
 public:
  virtual ~DesignerHost() = default;
  // F9: write the dialog back into the script and save the file (a failed save shows its
  // message and leaves the designer open).
  virtual void store(const DialogModel& dialog) = 0;
  // Esc: close the designer.
  virtual void close() = 0;
  // The main window's status bar: its default text, and with `message` its current message too.
  virtual void setStatus(std::string_view text, bool message) = 0;
  // The properties form, modal, filled with `shown` and checked with checkProperties (and the
  // question "Annullo le modifiche?" on a cancel after a change); the values on confirm,
  // nothing on cancel.
  virtual std::optional<ControlProperties> editProperties(const ControlProperties& shown) = 0;
};

// The width in pixels of a text (UTF-8) drawn in the dialog's font.
using TextMeasure = std::function<int(std::string_view)>;

// One resize handle.
struct TSize {
  int nType = 0;  // 1 to 12
  UnitRect rect;  // in the client area
  bool shown = false;
  HandleCursor cursor() const { return handleCursor(nType); }
};

// What a press is doing: the pressed widget keeps the mouse until the release.
enum class Gesture : std::uint8_t { None, Banding, Dragging, Resizing };

// What changed since the last takeRefresh().
struct DesignerRefresh {
  // Controls were added, removed or replaced (also their captions, styles or classes): build
  // the live controls again from the model.
  bool rebuild = false;
  // Controls whose rectangle changed (indexes into the model, ascending, each once).
  std::vector<std::size_t> moved;
  // The overlay (outlines, band) must be painted again.
  bool repaint = false;
  // The handles moved, appeared or went.
  bool handles = false;
};

// The context menu as data.
enum class MenuCommand : std::uint8_t {
  None,  // a separator
  Properties,
  AutoSize,
  MaxWidth,
  RenumberSelected,
  RenumberRange,
  Delete,
  Copy,
  NewControl,
  Paste,
  Undo,
  Redo,
};
struct MenuItem {
  std::string label;  // the text after a tab is the key shown beside it
  MenuCommand command = MenuCommand::None;
  bool enabled = true;
  std::string_view kind;  // NewControl: the kind's name
  bool separator() const { return command == MenuCommand::None; }
};
struct DesignerMenu {
  std::vector<MenuItem> items;
  std::optional<std::size_t> control;  // the clicked control
  Point at;                            // the snapped point: where the menu opens, new controls go
  int rangeFirst = 0;                  // RenumberRange: the range of the entry
  int rangeLast = 0;
};

class TDrag {
 public:
  // Attaches to `dialog` (which must outlive the designer): clears every selection and makes
  // the twelve handles, hidden.
  TDrag(DialogModel& dialog, UserInterface& ui, DesignerHost& host, TextMeasure measure,
        TextEncoding encoding = TextEncoding::Windows1252);

  // The designer's state, read by the window layer; changed only by the methods.
  int nTop = 0;             // band: its anchor; drag: the grab offset inside the control;
  int nLft = 0;             // resize: the press point (client area)
  std::optional<int> nBtm;  // the band's other corner, while one is on screen
  std::optional<int> nRgt;
  bool lDrw = true;                 // outlines are painted (not while dragging)
  std::optional<std::size_t> oCtl;  // the current control
  std::array<TSize, kHandleCount> aSize;
  int nGrid = kDefaultGrid;  // grid pitch, dialog units

  DialogModel& dialog() { return dialog_; }
  const DialogModel& dialog() const { return dialog_; }
  // The client area's size: the window's size without frame and caption bar.
  UnitRect clientSize() const;

  // Keys: true when the designer used the key (false: the control may have it).
  bool KeyDown(int virtualKey, KeyModifiers modifiers);

  // The rubber band on the dialog's background.
  void InitSel(Point at, KeyModifiers modifiers = {});
  void DragSel(Point at);
  void StopSel();

  void SetSel(bool selected);

  // Dragging control `control` (a Shift press toggles its selection instead).
  void InitDrg(std::size_t control, Point at, KeyModifiers modifiers = {});
  void DragDrg(Point at, KeyModifiers modifiers = {});
  void StopDrg();

  // A move or release of the mouse, for whatever press is under way; ignored without one.
  void MouseMove(Point at, KeyModifiers modifiers = {});
  void MouseRelease();

  // Nudging with a key: true when something moved.
  bool MoveCtl(int virtualKey);

  // Places and shows the handles around `control`, or hides them for nothing.
  void SetCtl(std::optional<std::size_t> control);

  // True when any control is selected.
  bool NeedRefresh() const;

  // The context menu on `control` (nothing: the background) at `at`. It may make the clicked
  // control current and sets the status bar.
  DesignerMenu RightMenu(std::optional<std::size_t> control, Point at);
  void runMenuCommand(const DesignerMenu& menu, std::size_t item);

  // The resize handles.
  void InitSize(int type, Point at);
  void DragSize(Point at);
  void StopSize();

  // The commands.
  void NewRes(std::string_view kind, Point at);
  void DelRes();
  int NextId() const;
  // True when the form was confirmed and applied.
  bool PropCtl(std::size_t control);
  void RenSel(std::optional<std::size_t> control);
  void RenId(int first, int last, std::optional<std::size_t> control);
  void CopyCtl();
  void PasteCtl(Point at);
  void MaxWidth(std::size_t control);
  void AutoSize(std::size_t control);

  // The dialog window was resized to `width` x `height` (its outer size, pixels).
  void Resized(int width, int height);

  bool Undo();
  bool Redo();
  bool canUndo() const { return history_.canUndo(); }
  bool canRedo() const { return history_.canRedo(); }
  std::size_t undoSteps() const { return history_.undoSteps(); }

  // The painting.
  std::vector<Box> outlines() const;  // one per selected control; none while dragging
  std::optional<Box> band() const;    // the rubber band on screen
  Gesture gesture() const { return gesture_; }
  std::optional<std::size_t> greyControl() const { return grey_; }

  DesignerRefresh takeRefresh();

 private:
  void beginStep();
  void endStep();
  template <typename F>
  void asStep(F&& change) {
    beginStep();
    change();
    endStep();
  }
  void moveControl(std::size_t at, const UnitRect& rect);
  void setSelected(std::size_t at, bool selected);
  void setCurrent(std::optional<std::size_t> control);
  void status(const DialogControl& control, bool message);
  void dialogStatus(bool message);
  void removeAt(std::size_t at);
  void pasteLines(std::string_view text, Point at);
  DialogControl& control(std::size_t at) { return dialog_.aControls[at]; }

  DialogModel& dialog_;
  UserInterface& ui_;
  DesignerHost& host_;
  TextMeasure measure_;
  TextEncoding encoding_;
  DesignerHistory history_;
  std::optional<DesignerSnapshot> pending_;
  Gesture gesture_ = Gesture::None;
  int sizing_ = 0;  // the handle type of a resize under way
  bool kolv_ = false;
  std::optional<std::size_t> grey_;
  DesignerRefresh refresh_;
};

// The settings flag that puts a static dragged along with others one dialog unit below the
// grid line: key "Kolv" of section "Parametri", on when it begins with "S".
inline constexpr std::string_view kKolvSection = "Parametri";
inline constexpr std::string_view kKolvKey = "Kolv";
inline constexpr std::string_view kKolvDefault = "No";

}  // namespace kolvre
