#include "dialogs/control_windows.h"

#include "base/text.h"
#include "dialogs/control_reader.h"
#include "platform/system_metrics.h"

namespace kolvre {

namespace {

constexpr std::uint32_t kComboTypeMask = 3;
constexpr std::uint32_t kComboSimple = 1;
constexpr std::uint32_t kStaticTypeMask = 0x1F;
constexpr std::uint32_t kEtchedHorizontal = 0x10;
constexpr std::uint32_t kEtchedVertical = 0x11;
constexpr int kEtchedThickness = 2;
constexpr std::uint32_t kAlignRight = 0x04;
constexpr std::uint32_t kAlignLeft = 0x08;
constexpr std::uint32_t kAutoBuddy = 0x10;
constexpr int kUpDownWidth = 16;
constexpr std::uint32_t kOwnerDrawVariable = 0x20;
constexpr std::uint32_t kNoIntegralHeight = 0x100;
constexpr int kListBoxEdge = 2;
constexpr int kBuddyBorder = 2;

std::optional<std::uint32_t> styleOf(const DialogControl& control) {
  return control.compiledStyle ? control.compiledStyle : control.liveStyle;
}

bool isClass(const DialogControl& control, std::string_view windowClass) {
  return equalsIgnoringCase(scriptClassName(control), windowClass);
}

}  // namespace

bool dropsDown(const DialogControl& control) {
  if (control.live != ControlClass::ComboBox) return false;
  const std::optional<std::uint32_t> style =
      control.compiledStyle ? control.compiledStyle : control.liveStyle;
  return !style || (*style & kComboTypeMask) != kComboSimple;
}

PixelRect controlWindowRect(const DialogControl& control, BaseUnits base) {
  PixelRect rect = control.rect;
  if (dropsDown(control)) rect.height = base.y + kClosedComboExtra;
  if (control.live == ControlClass::ListBox && styleOf(control)) {
    const std::uint32_t style = *styleOf(control);
    if (!(style & (kNoIntegralHeight | kOwnerDrawVariable))) {
      const int frame = (style & styleNameValue("WS_BORDER")) ? 2 * kListBoxEdge : 0;
      const int rows = (rect.height - frame) / kSystemFontHeight;
      if (rows > 0) rect.height = frame + rows * kSystemFontHeight;
    }
  }
  if (control.live == ControlClass::StaticText && styleOf(control)) {
    const std::uint32_t type = *styleOf(control) & kStaticTypeMask;
    if (type == kEtchedHorizontal) {
      rect.width += kEtchedThickness;
      rect.height = kEtchedThickness;
    } else if (type == kEtchedVertical) {
      rect.width = kEtchedThickness;
      rect.height += kEtchedThickness;
    }
  }
  return rect;
}

std::vector<PixelRect> controlWindowRects(const std::vector<DialogControl>& controls,
                                          BaseUnits base) {
  std::vector<PixelRect> rects;
  rects.reserve(controls.size());
  for (const DialogControl& control : controls) rects.push_back(controlWindowRect(control, base));
  for (std::size_t i = 1; i < controls.size(); ++i) {
    const std::uint32_t style = styleOf(controls[i]).value_or(0);
    if (!isClass(controls[i], "msctls_updown32") || !(style & kAutoBuddy) ||
        !(style & (kAlignLeft | kAlignRight)))
      continue;
    PixelRect& buddy = rects[i - 1];
    PixelRect& upDown = rects[i];
    const bool edit = isClass(controls[i - 1], "EDIT");
    upDown = {0, buddy.y, kUpDownWidth, buddy.height};
    if (style & kAlignLeft) {
      upDown.x = buddy.x;
      buddy.x += kUpDownWidth;
      if (edit) upDown.width += kBuddyBorder;
    } else {
      upDown.x = buddy.x + buddy.width - kUpDownWidth;
      if (edit) upDown.x -= kBuddyBorder;
    }
    buddy.width -= kUpDownWidth;
  }
  return rects;
}

PixelSize dialogClientSize(const DialogModel& dialog) {
  const DialogUnitRect units =
      dialogUnits(dialog.rect, dialog.baseUnits, dialog.styleAsRead, dialog.mode);
  PixelSize size{duToPixelsX(units.width, dialog.baseUnits),
                 duToPixelsY(units.height, dialog.baseUnits)};
  if (dialog.styleAsRead & styleNameValue("WS_VSCROLL")) size.width -= kScrollBarWidth;
  if (dialog.styleAsRead & styleNameValue("WS_HSCROLL")) size.height -= kScrollBarWidth;
  return size;
}

}  // namespace kolvre
