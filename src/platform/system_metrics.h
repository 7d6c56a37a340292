// The window-frame sizes a dialog is placed and measured with. They are the program's own
// constants, not the window manager's, so that a dialog read and written back without a move
// or resize gets the coordinates it was read with on every desktop.
#pragma once

namespace kolvre {

inline constexpr int kFrameWidth = 4;       // width of a sizing frame's side
inline constexpr int kFrameHeight = 4;      // height of a sizing frame's top or bottom
inline constexpr int kCaptionHeight = 22;   // height of a caption bar
inline constexpr int kMenuHeight = 20;      // height of a menu bar
inline constexpr int kScrollBarWidth = 17;  // width of a vertical scroll bar
// Height of a line of the system font: a list box measures its rows in it when it is created,
// before its dialog gives it the dialog's font.
inline constexpr int kSystemFontHeight = 16;

}  // namespace kolvre
