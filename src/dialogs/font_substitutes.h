// The faces Windows draws in place of others, as the FontSubstitutes key of its registry lists
// them, in the form the Windows that the preview is held to (Wine's dialog manager, with its own
// fonts) keeps them; docs/ARCHITECTURE.md says where that differs from Windows. Faces are
// compared without regard to case.
#pragma once

#include <array>
#include <string_view>

namespace kolvre {

struct FontSubstitute {
  std::string_view face;
  std::string_view substitute;
};

inline constexpr std::array kFontSubstitutes{
    FontSubstitute{"MS Shell Dlg", "Tahoma"},
    FontSubstitute{"MS Shell Dlg 2", "Tahoma"},
    FontSubstitute{"Helv", "MS Sans Serif"},
    FontSubstitute{"Helvetica", "Arial"},
    FontSubstitute{"Times", "Times New Roman"},
    FontSubstitute{"Tms Rmn", "MS Serif"},
    FontSubstitute{"Courier", "Courier New"},
    FontSubstitute{"Arial CE", "Arial"},
    FontSubstitute{"Arial CYR", "Arial"},
    FontSubstitute{"Arial Greek", "Arial"},
    FontSubstitute{"Arial TUR", "Arial"},
    FontSubstitute{"Courier New CE", "Courier New"},
    FontSubstitute{"Courier New CYR", "Courier New"},
    FontSubstitute{"Courier New Greek", "Courier New"},
    FontSubstitute{"Courier New TUR", "Courier New"},
    FontSubstitute{"Times New Roman CE", "Times New Roman"},
    FontSubstitute{"Times New Roman CYR", "Times New Roman"},
    FontSubstitute{"Times New Roman Greek", "Times New Roman"},
    FontSubstitute{"Times New Roman TUR", "Times New Roman"},
};

// The faces of Windows' own fonts that the preview loads (the files of Debian's fonts-wine): a
// dialog's face counts as present only when it is one of these, so a dialog looks the same on
// every machine, whatever fonts the machine has.
struct DialogFace {
  std::string_view face;
  std::string_view file;  // under the fonts folder
  // A face drawn from fixed bitmaps: the em heights its strikes stand for, each with the height
  // of the strike's cell (as the font files give it, ascent and descent); a scalable face: none.
  std::array<std::array<int, 2>, 3> strikes{};
};
inline constexpr std::array kDialogFaces{
    DialogFace{"Tahoma", "tahoma.ttf"},
    DialogFace{"MS Sans Serif", "ms_sans_serif.ttf", {{{11, 13}, {13, 16}, {16, 20}}}},
    DialogFace{"System", "system.ttf", {{{13, 16}}}},
};

// The face drawn for a face that is neither on the system nor substituted.
inline constexpr std::string_view kFallbackFace = "Tahoma";
// The face drawn where a dialog names none.
inline constexpr std::string_view kSystemFace = "System";

}  // namespace kolvre
