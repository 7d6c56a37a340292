// Where Windows' dialog manager puts a control's window once it has created it. Most controls
// stand where their template puts them; some size themselves:
// - a drop-down combo box shows its closed box only, as high as its font's line plus its edit's
//   frame, whatever the height of the list it drops (the template's cy);
// - an etched line (SS_ETCHEDHORZ, SS_ETCHEDVERT) is 2 pixels thick and 2 longer than its
//   template's length;
// - an up-down control that takes the control before it as its buddy (UDS_AUTOBUDDY) and aligns
//   to it (UDS_ALIGNRIGHT, UDS_ALIGNLEFT) stands on the buddy's side, 16 pixels wide and as high
//   as the buddy, which is narrowed by as much; over an edit it covers its frame (2 pixels);
// - a list box without LBS_NOINTEGRALHEIGHT (or LBS_OWNERDRAWVARIABLE) is trimmed to whole rows
//   of the system font, measured when the list box is made, before it gets its dialog's font;
//   its border (WS_BORDER, drawn as a sunken edge) takes 2 pixels a side; one shorter than a
//   row keeps its height.
#pragma once

#include <vector>

#include "dialogs/dialog_model.h"

namespace kolvre {

// The pixels a closed drop-down combo box adds to its font's height.
inline constexpr int kClosedComboExtra = 8;

// Whether the combo box drops its list down (CBS_DROPDOWN, CBS_DROPDOWNLIST) rather than
// showing it (CBS_SIMPLE): by the style the script gives it.
bool dropsDown(const DialogControl& control);

// The control's window rectangle in its dialog's client area, in a dialog of base units `base`,
// by its own rules (an up-down control's alignment aside).
PixelRect controlWindowRect(const DialogControl& control, BaseUnits base);

// Every control's window rectangle, in the order of `controls`, the up-down controls aligned to
// their buddies.
std::vector<PixelRect> controlWindowRects(const std::vector<DialogControl>& controls,
                                          BaseUnits base);

// The size of the dialog's client area: the template's cx and cy, less the scroll bars its
// style gives it (WS_VSCROLL, WS_HSCROLL), which stand inside the window that cx and cy make.
struct PixelSize {
  int width = 0;
  int height = 0;
  friend constexpr bool operator==(const PixelSize&, const PixelSize&) = default;
};
PixelSize dialogClientSize(const DialogModel& dialog);

}  // namespace kolvre
