#include "designer/designer_geometry.h"

#include <algorithm>
#include <utility>

#include "designer/designer_keys.h"
#include "dialogs/styles.h"
#include "platform/system_metrics.h"

namespace kolvre {

namespace {

// num / den rounded to the nearest integer, halves away from zero (den > 0).
long long roundDiv(long long num, long long den) {
  const long long magnitude = num < 0 ? -num : num;
  const long long rounded = (2 * magnitude + den) / (2 * den);
  return num < 0 ? -rounded : rounded;
}

long long ceilDiv(long long num, long long den) {
  return num >= 0 ? (num + den - 1) / den : -((-num) / den);
}

// A step of `grid` units is grid * num / den pixels: base.x / 4 for columns, base.y / 8 for rows.
int snap(int v, int grid, int num, int den) {
  if (grid <= 0) return v;
  const long long steps =
      roundDiv(static_cast<long long>(v) * den, static_cast<long long>(grid) * num);
  return static_cast<int>(roundDiv(steps * grid * num, den));
}

std::vector<int> gridLines(int extent, int grid, int num, int den) {
  std::vector<int> lines;
  if (grid <= 0 || extent < 0) return lines;
  for (long long i = 0; i * grid * num <= static_cast<long long>(extent) * den; ++i)
    lines.push_back(static_cast<int>(ceilDiv(i * grid * num, den)));
  return lines;
}

// The handle table. A handle's top is the control's top minus the margin (near) or its bottom
// plus the margin (far), plus an offset; its left likewise from the left or right edge. A size
// of kBar is the control's own size plus twice the margin less 14: a bar between two corners.
enum class Side : std::uint8_t { Near, Far };
constexpr int kBar = -1;

struct HandleRow {
  Side vertical;
  int topOffset;
  Side horizontal;
  int leftOffset;
  int width;
  int height;
  HandleCursor cursor;
  unsigned edges;
};

constexpr std::array<HandleRow, kHandleCount> kHandles{{
    {Side::Near, 0, Side::Near, 7, kBar, 2, HandleCursor::SizeNS, kEdgeTop},
    {Side::Near, 7, Side::Near, 0, 2, kBar, HandleCursor::SizeWE, kEdgeLeft},
    {Side::Far, -2, Side::Near, 7, kBar, 2, HandleCursor::SizeNS, kEdgeBottom},
    {Side::Near, 7, Side::Far, -2, 2, kBar, HandleCursor::SizeWE, kEdgeRight},
    {Side::Near, 0, Side::Near, 0, 6, 2, HandleCursor::SizeNWSE, kEdgeTop | kEdgeLeft},
    {Side::Near, 0, Side::Near, 0, 2, 6, HandleCursor::SizeNWSE, kEdgeTop | kEdgeLeft},
    {Side::Far, -6, Side::Near, 0, 2, 6, HandleCursor::SizeNESW, kEdgeBottom | kEdgeLeft},
    {Side::Far, -2, Side::Near, 0, 6, 2, HandleCursor::SizeNESW, kEdgeBottom | kEdgeLeft},
    {Side::Far, -2, Side::Far, -6, 6, 2, HandleCursor::SizeNWSE, kEdgeBottom | kEdgeRight},
    {Side::Far, -6, Side::Far, -2, 2, 6, HandleCursor::SizeNWSE, kEdgeBottom | kEdgeRight},
    {Side::Near, 0, Side::Far, -2, 2, 6, HandleCursor::SizeNESW, kEdgeTop | kEdgeRight},
    {Side::Near, 0, Side::Far, -6, 6, 2, HandleCursor::SizeNESW, kEdgeTop | kEdgeRight},
}};

const HandleRow* handleRow(int type) {
  return type >= 1 && type <= kHandleCount ? &kHandles[static_cast<std::size_t>(type - 1)]
                                           : nullptr;
}

struct InsetRow {
  ControlClass live;
  OutlineInsets insets;
};
constexpr std::array<InsetRow, 14> kInsets{{
    {ControlClass::Bitmap, {1, 1, 2, 2}},
    {ControlClass::Icon, {1, 1, 2, 2}},
    {ControlClass::Image, {1, 1, 2, 2}},
    {ControlClass::RichEdit, {1, 1, 2, 2}},
    {ControlClass::BitmapButton, {1, 1, 3, 3}},
    {ControlClass::Button, {2, 3, 5, 6}},
    {ControlClass::CheckBox, {3, 3, 6, 5}},
    {ControlClass::RadioButton, {3, 2, 6, 4}},
    {ControlClass::ComboBox, {2, 2, 4, 4}},
    {ControlClass::GroupBox, {2, 2, 4, 4}},
    {ControlClass::Meter, {2, 2, 4, 4}},
    {ControlClass::StaticText, {2, 2, 4, 4}},
    {ControlClass::ScrollBar, {2, 2, 4, 4}},
    {ControlClass::TabControl, {2, 2, 5, 5}},
}};

constexpr std::uint32_t kVScroll = styleNameValue("WS_VSCROLL");
constexpr std::uint32_t kDisableNoScroll = styleNameValue("LBS_DISABLENOSCROLL");

// A vertical scroll bar stands inside the control's rectangle but outside what the insets
// leave: browses and multi-line edits with WS_VSCROLL, list boxes that always show theirs.
bool showsScrollBar(const DialogControl& control) {
  const std::uint32_t style = control.liveStyle.value_or(0);
  switch (control.live) {
    case ControlClass::ColumnBrowse:
    case ControlClass::MultiLineEdit:
    case ControlClass::WindowBrowse:
    case ControlClass::ExtendedBrowse:
      return (style & kVScroll) != 0;
    case ControlClass::ListBox:
      return (style & kDisableNoScroll) != 0;
    default:
      return false;
  }
}

struct NudgeRow {
  int key;
  Nudge nudge;
  bool editsToo;  // also for Edit and MultiLineEdit
};
constexpr std::array<NudgeRow, 8> kNudges{{
    {vk(DesignerKey::Up), {0, -1}, true},
    {vk(DesignerKey::Down), {0, 1}, true},
    {vk(DesignerKey::Left), {-1, 0}, true},
    {vk(DesignerKey::Right), {1, 0}, true},
    {vk(DesignerKey::PageUp), {0, -1}, false},
    {vk(DesignerKey::PageDown), {0, 1}, false},
    {vk(DesignerKey::Home), {-1, 0}, false},
    {vk(DesignerKey::End), {1, 0}, false},
}};

}  // namespace

int snapRow(int v, int grid, BaseUnits base) {
  return base.y > 0 ? snap(v, grid, base.y, 8) : v;
}
int snapColumn(int v, int grid, BaseUnits base) {
  return base.x > 0 ? snap(v, grid, base.x, 4) : v;
}
PixelPoint snapPoint(PixelPoint p, int grid, BaseUnits base) {
  return {snapColumn(p.x, grid, base), snapRow(p.y, grid, base)};
}

PixelPoint freePastePlace(const std::vector<DialogControl>& controls, const PixelRect& group,
                          const PixelRect& client, int grid, BaseUnits base) {
  grid = std::max(grid, 1);
  const auto isFree = [&](int x, int y) {
    const Box moved = boxOf({x, y, group.width, group.height});
    if (moved.left < 0 || moved.top < 0 || moved.right > client.width ||
        moved.bottom > client.height)
      return false;
    return std::none_of(controls.begin(), controls.end(), [&](const DialogControl& c) {
      const Box b = boxOf(c.rect);
      return c.live != ControlClass::GroupBox && b.left < moved.right && moved.left < b.right &&
             b.top < moved.bottom && moved.top < b.bottom;
    });
  };
  const std::vector<int> columns = gridColumns(client.width, grid, base);
  const std::vector<int> rows = gridRows(client.height, grid, base);
  const auto firstFrom = [](const std::vector<int>& dots, int least) -> std::optional<int> {
    const auto at = std::lower_bound(dots.begin(), dots.end(), least);
    return at == dots.end() ? std::nullopt : std::optional<int>(*at);
  };
  // One grid step between the copied group and its copy.
  const int stepX = static_cast<int>(roundDiv(static_cast<long long>(base.x) * grid, 4));
  const int stepY = static_cast<int>(roundDiv(static_cast<long long>(base.y) * grid, 8));
  const int row = snapRow(group.y, grid, base);
  const int column = snapColumn(group.x, grid, base);
  if (const auto x = firstFrom(columns, group.x + group.width + stepX); x && isFree(*x, row))
    return {*x, row};
  if (const auto y = firstFrom(rows, group.y + group.height + stepY); y && isFree(column, *y))
    return {column, *y};
  for (int y : rows)
    for (int x : columns)
      if (isFree(x, y)) return {x, y};
  return {group.x + stepX, group.y + stepY};
}

int ceilColumnSteps(int width, int grid, BaseUnits base) {
  if (grid <= 0 || base.x <= 0) return width;
  const long long steps =
      ceilDiv(static_cast<long long>(width) * 4, static_cast<long long>(base.x) * grid);
  return static_cast<int>(roundDiv(steps * base.x * grid, 4));
}

std::vector<int> gridColumns(int extent, int grid, BaseUnits base) {
  if (base.x <= 0) return {};
  return gridLines(extent, grid, base.x, 4);
}
std::vector<int> gridRows(int extent, int grid, BaseUnits base) {
  if (base.y <= 0) return {};
  return gridLines(extent, grid, base.y, 8);
}

int nudgeRow(int top, int step, BaseUnits base) {
  return duToPixelsY(pixelsToDuY(top, base) + step, base);
}
int nudgeColumn(int left, int step, BaseUnits base) {
  return duToPixelsX(pixelsToDuX(left, base) + step, base);
}

bool hitTest(const Box& control, Box rect, HitMode mode) {
  if (rect.top > rect.bottom) std::swap(rect.top, rect.bottom);
  if (rect.left > rect.right) std::swap(rect.left, rect.right);
  if (control.top > rect.bottom || control.left > rect.right || control.bottom < rect.top ||
      control.right < rect.left)
    return false;
  if (mode == HitMode::Point) return true;
  if (mode == HitMode::Border) {
    return rect.top - control.top <= kBorderReach || rect.left - control.left <= kBorderReach ||
           control.bottom - rect.top <= kBorderReach || control.right - rect.left <= kBorderReach;
  }
  const bool encloses = control.top <= rect.top && control.left <= rect.left &&
                        control.bottom >= rect.bottom && control.right >= rect.right;
  return !encloses;
}

OutlineInsets outlineInsets(ControlClass live) {
  for (const InsetRow& row : kInsets)
    if (row.live == live) return row.insets;
  return {};
}

Box selectionOutline(const DialogControl& control) {
  const OutlineInsets in = outlineInsets(control.live);
  const int y = control.rect.y + in.top;
  const int x = control.rect.x + in.left;
  const int bottom = control.rect.height - in.bottom;
  int right = control.rect.width - in.right;
  if (showsScrollBar(control)) right += kScrollBarWidth;
  return {x - 4, y - 4, x + right + 3, y + bottom + 3};
}

HandleCursor handleCursor(int type) {
  const HandleRow* row = handleRow(type);
  return row ? row->cursor : HandleCursor::SizeNS;
}

unsigned handleEdges(int type) {
  const HandleRow* row = handleRow(type);
  return row ? row->edges : 0;
}

int handleMargin(const DialogControl& control) {
  switch (control.live) {
    case ControlClass::Button:
      return 2;
    case ControlClass::Bitmap:
    case ControlClass::BitmapButton:
    case ControlClass::Icon:
    case ControlClass::Image:
    case ControlClass::RichEdit:
      return 4;
    case ControlClass::StaticText:
      return control.rect.width <= 2 || control.rect.height <= 2 ? 7 : 3;
    default:
      return 3;
  }
}

std::array<PixelRect, kHandleCount> handleRects(const DialogControl& control) {
  const int d = handleMargin(control);
  const Box b = boxOf(control.rect);
  std::array<PixelRect, kHandleCount> rects;
  for (std::size_t i = 0; i < kHandles.size(); ++i) {
    const HandleRow& row = kHandles[i];
    rects[i].y = (row.vertical == Side::Near ? b.top - d : b.bottom + d) + row.topOffset;
    rects[i].x = (row.horizontal == Side::Near ? b.left - d : b.right + d) + row.leftOffset;
    rects[i].width = row.width == kBar ? control.rect.width + 2 * d - 14 : row.width;
    rects[i].height = row.height == kBar ? control.rect.height + 2 * d - 14 : row.height;
  }
  return rects;
}

std::optional<PixelRect> resizedRect(const PixelRect& current, ControlClass live, int type,
                                     PixelPoint at) {
  const unsigned edges = handleEdges(type);
  if (edges == 0) return std::nullopt;
  if (live == ControlClass::ComboBox && (edges & (kEdgeTop | kEdgeBottom)) != 0)
    return std::nullopt;
  const Box b = boxOf(current);
  PixelRect r = current;
  if (edges & kEdgeTop) {
    r.height = std::max(b.bottom - at.y, kMinimumSize);
    r.y = b.bottom - r.height;
  }
  if (edges & kEdgeLeft) {
    r.width = std::max(b.right - at.x, kMinimumSize);
    r.x = b.right - r.width;
  }
  if (edges & kEdgeBottom) r.height = std::max(at.y - b.top, kMinimumSize);
  if (edges & kEdgeRight) r.width = std::max(at.x - b.left, kMinimumSize);
  return r;
}

std::optional<Nudge> nudgeFor(ControlClass live, int virtualKey) {
  for (const NudgeRow& row : kNudges)
    if (row.key == virtualKey && (row.editsToo || !isEdit(live))) return row.nudge;
  return std::nullopt;
}

}  // namespace kolvre
