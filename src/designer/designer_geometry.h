// The designer's arithmetic: points and boxes in the dialog's client area, the snapping grid,
// the hit test, the selection outlines, the twelve resize handles, the resize rule and the
// nudge rule. Everything here is a pure function of its arguments.
//
// Coordinates are pixels of the dialog's client area (PixelPoint, PixelRect), x to the right
// and y downward; they are signed, so a point left of or above the client area is negative.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "dialogs/dialog_model.h"
#include "dialogs/dialog_units.h"

namespace kolvre {

// A rectangle in pixels by its edges: right = left + width, bottom = top + height.
struct Box {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  friend constexpr bool operator==(const Box&, const Box&) = default;
};

constexpr Box boxOf(const PixelRect& r) {
  return {r.x, r.y, r.x + r.width, r.y + r.height};
}
constexpr Box boxAt(PixelPoint p) {
  return {p.x, p.y, p.x, p.y};
}

// The grid pitch a designer starts with, in dialog units.
inline constexpr int kDefaultGrid = 5;

// The arithmetic below is in the dialog's units: `base`, its font's base units, makes a unit
// base.x / 4 pixels across and base.y / 8 down (dialog_units.h).
//
// Snapping a coordinate to the grid of `grid` dialog units: round(round(v / s) * s), with the
// step s = grid * base.y / 8 pixels for rows and grid * base.x / 4 pixels for columns; rounding
// to the nearest whole number, halves away from zero, in exact arithmetic. A grid of 0 or less
// leaves the value as it is.
int snapRow(int v, int grid, BaseUnits base);
int snapColumn(int v, int grid, BaseUnits base);
PixelPoint snapPoint(PixelPoint p, int grid, BaseUnits base);

// A width rounded up to whole grid steps: round(ceil(w / s / grid) * grid * s), s = base.x / 4.
int ceilColumnSteps(int width, int grid, BaseUnits base);

// The grid dots over an area `extent` pixels wide (or high): ceil(i * grid * base.x / 4) (rows:
// base.y / 8) for i = 0, 1, ... while the unrounded value does not exceed the extent.
std::vector<int> gridColumns(int extent, int grid, BaseUnits base);
std::vector<int> gridRows(int extent, int grid, BaseUnits base);

// Where a paste by key puts a group of controls whose bounds were `group` where they were
// copied: the first grid place right of the group, else below it, else the first on the grid,
// row by row, where the group fits the client area and overlaps no control (a group box, which
// holds others, excepted). When none is free, one grid step right of and below `group`.
PixelPoint freePastePlace(const std::vector<DialogControl>& controls, const PixelRect& group,
                          const PixelRect& client, int grid, BaseUnits base);

// One dialog unit up or down (left or right) from the nearest whole unit, landing on a whole
// unit: round((round(top / u) + step) * u), u = base.y / 8; the same with base.x / 4 for left.
int nudgeRow(int top, int step, BaseUnits base);
int nudgeColumn(int left, int step, BaseUnits base);

// The hit test. `rect` is normalised first (its edges swapped so that top <= bottom and
// left <= right); touching edges count as contact.
// - Point (rect is one point): contact;
// - Border (rect is one point): contact, and the point lies within 10 pixels of one of the
//   control's edges;
// - Band: contact, except when the control encloses the whole band (a band drawn inside a
//   group box does not select the group box).
enum class HitMode : std::uint8_t { Band, Point, Border };
bool hitTest(const Box& control, Box rect, HitMode mode);
inline constexpr int kBorderReach = 10;

// The selection outline of a control: its rectangle shrunk by its class's insets, widened by a
// vertical scroll bar where its style shows one, drawn 4 pixels outside.
struct OutlineInsets {
  int top = 0;
  int left = 0;
  int bottom = 0;
  int right = 0;
};
OutlineInsets outlineInsets(ControlClass live);
Box selectionOutline(const DialogControl& control);

// The resize handles. Handle types 1 to 12: 1 top bar, 2 left bar, 3 bottom bar, 4 right bar;
// 5 and 6 the top-left corner, 7 and 8 bottom-left, 9 and 10 bottom-right, 11 and 12
// top-right. Each corner arm is 6 pixels long, each bar 2 pixels thick.
inline constexpr int kHandleCount = 12;

// The stock sizing cursors: north-south, west-east, north-west/south-east, north-east/south-west.
enum class HandleCursor : std::uint8_t { SizeNS, SizeWE, SizeNWSE, SizeNESW };

// The edges a handle moves.
enum HandleEdge : unsigned {
  kEdgeTop = 1,
  kEdgeLeft = 2,
  kEdgeBottom = 4,
  kEdgeRight = 8,
};

HandleCursor handleCursor(int type);
unsigned handleEdges(int type);

// The distance between a control and its handles: 2 for a Button; 4 for the picture classes
// and RichEdit; 7 for a StaticText that is 2 pixels wide or high or less (a line, whose handles
// would otherwise cover each other); 3 for the others.
int handleMargin(const DialogControl& control);

// Where handle `type` stands around the control (index 0 holds type 1).
std::array<PixelRect, kHandleCount> handleRects(const DialogControl& control);

// The smallest width and height a resize leaves.
inline constexpr int kMinimumSize = 15;

// The rectangle after dragging handle `type` to the snapped point: the moved edges
// follow the point, the opposite edges stay, and neither size drops below 15. Nothing when the
// handle does not resize this control: a ComboBox is resized only by its left and right bars
// (types 2 and 4), any handle that touches its top or bottom edge changes nothing.
std::optional<PixelRect> resizedRect(const PixelRect& current, ControlClass live, int type,
                                     PixelPoint at);

// The nudge of a key for a control class, in dialog units: Up, Down, Left and Right for every
// class; Page Up, Page Down, Home and End also for controls other than Edit and MultiLineEdit
// (those keys move the caret in an edit). Nothing for any other key. Modifiers play no part.
struct Nudge {
  int dx = 0;
  int dy = 0;
};
std::optional<Nudge> nudgeFor(ControlClass live, int virtualKey);

// True for Edit and MultiLineEdit: the classes whose keys belong to their text while they hold one.
constexpr bool isEdit(ControlClass live) {
  return live == ControlClass::Edit || live == ControlClass::MultiLineEdit;
}

}  // namespace kolvre
