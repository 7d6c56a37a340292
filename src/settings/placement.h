// The main window's placement kept in the settings file (applyPlacement), the two behaviour flags
// and the memory the undo history may hold.
#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

#include "platform/user_interface.h"

namespace kolvre {

inline constexpr std::string_view kParametri = "Parametri";

// A window's outer rectangle in screen pixels (right and bottom exclusive).
struct WindowRect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
};

// What applyPlacement needs of the main window.
class WindowPlacement {
 public:
  virtual ~WindowPlacement() = default;
  virtual WindowRect outerRect() const = 0;
  // Moves and sizes the window's outer frame.
  virtual void setOuterRect(int left, int top, int width, int height) = 0;
  virtual void showMaximized() = 0;
  virtual void showNormal() = 0;
  virtual bool isMinimized() const = 0;
  // Lays the resource list out in the client area again.
  virtual void layOutResourceList() = 0;
};

// The event applyPlacement is called for; the platform's size types, and -1 for a move.
enum class SizeType : int { Restored = 0, Minimized = 1, Maximized = 2, Moved = -1 };

struct ScreenSize {
  int width = 0;
  int height = 0;
};

// The position the settings file held before the latest move, set by the first applyPlacement.
struct PlacementMemory {
  std::optional<int> top;
  std::optional<int> left;
};

// applyPlacement: without a size type (the first showing) places the window as the settings file
// says and shows it maximised or normal; with one, records the new placement in the settings file.
// Then, in every case, lays out the resource list.
void applyPlacement(UserInterface& ui, WindowPlacement& window, PlacementMemory& memory,
                    ScreenSize screen, std::optional<SizeType> sizeType);

// True when a settings value means yes: it begins with "S" in either case ("Sì", "Si", "si",
// "S"). Every yes-or-no key of the settings file is read through it.
// [Parametri] SoloDialogEImmagini: the list shows only the six kinds the editor creates
// ("Mostra solo dialog e immagini"); no by default.
inline constexpr std::string_view kCreatableKindsOnlyKey = "SoloDialogEImmagini";
bool creatableKindsOnly(UserInterface& ui);
void setCreatableKindsOnly(UserInterface& ui, bool only);

bool settingSaysYes(std::string_view value);

// kolvFlag: the "Kolv" flag of "Parametri".
bool kolvFlag(UserInterface& ui);

// True when Esc closes the main window: "Esc" or "Kolv" of "Parametri" says yes.
bool escClosesWindow(UserInterface& ui);

// The bytes the undo history may hold: "MemoriaAnnulla" of "Parametri", in megabytes (64 when
// missing or not a whole number from 1 to 4096).
std::size_t undoMemoryLimit(UserInterface& ui);

// The resource list's width in pixels, as the splitter beside it last left it: "LarghezzaLista"
// of "Parametri", 180 when missing, kept between 80 and 2000.
inline constexpr int kDefaultListWidth = 180;
inline constexpr int kLeastListWidth = 80;
int listWidth(UserInterface& ui);
void rememberListWidth(UserInterface& ui, int width);
// True once the bar has set the list's width: the settings hold "LarghezzaLista". Until then
// the list is as wide as its contents ask.
bool listWidthChosen(UserInterface& ui);

}  // namespace kolvre
