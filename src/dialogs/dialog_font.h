// The font a dialog's texts are drawn in, and the dialog's base units from that font's metrics:
// what Windows' dialog manager does when it creates a dialog from its template.
//
// - No FONT statement: the system font.
// - A face the system has: that face; a face it lacks: its substitute (font_substitutes.h);
//   else the fallback face.
// - Points become pixels at 96 dots per inch as Windows rounds them: MulDiv(points, 96, 72).
// - Base units: x = (width of "A".."Z" "a".."z" / 26 + 1) / 2, y = the font's height.
//
// The metrics are the font system's, behind DialogFontMetrics: the editor's and the batch
// tool's are on Qt (ui/qt_dialog_fonts.h). Where none is given, a dialog stands in
// kFixedBaseUnits.
#pragma once

#include <string>
#include <string_view>

#include "dialogs/dialog_units.h"

namespace kolvre {

struct DialogModel;

// What a dialog's FONT statement asks for.
struct DialogFont {
  bool named = false;  // a FONT statement gave a face; else the system font
  std::string face;
  int points = 0;
  int weight = 0;  // DIALOGEX: 0 for the face's own, 400 regular, 700 bold
  bool italic = false;
  friend bool operator==(const DialogFont&, const DialogFont&) = default;
};

DialogFont dialogFontOf(const DialogModel& dialog);

// The letters whose width gives the base width, in the order Windows measures them.
inline constexpr std::string_view kBaseUnitLetters =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";

// The em height in pixels of a font of `points` at 96 dots per inch.
constexpr int fontPixelHeight(int points) {
  return mulDiv(points, 96, 72);
}

// The base units of a font whose 52 letters measure `lettersWidth` pixels and whose height
// (ascent + descent) is `height` pixels.
constexpr BaseUnits baseUnitsFromMetrics(int lettersWidth, int height) {
  return {(lettersWidth / 26 + 1) / 2, height};
}

class DialogFontMetrics {
 public:
  virtual ~DialogFontMetrics() = default;
  virtual BaseUnits baseUnits(const DialogFont& font) const = 0;
};

// The base units of `font` by `metrics`, or kFixedBaseUnits without metrics (or where they
// measure nothing).
BaseUnits baseUnitsOf(const DialogFont& font, const DialogFontMetrics* metrics);

}  // namespace kolvre
