#include "settings/placement.h"

#include <algorithm>
#include <climits>
#include <string>

namespace kolvre {

namespace {

// A number as the private-profile integer read gives it: leading blanks, an optional sign and
// the digits that follow; text that is no number reads as 0.
int settingNumber(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  const bool negative = i < text.size() && text[i] == '-';
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) ++i;
  long long n = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i)
    n = std::min<long long>(n * 10 + (text[i] - '0'), INT_MAX);
  return static_cast<int>(negative ? -n : n);
}

int readNumber(UserInterface& ui, std::string_view key, int defaultValue) {
  return settingNumber(ui.readSetting(kParametri, key, std::to_string(defaultValue)));
}

void writeNumber(UserInterface& ui, std::string_view key, int value) {
  ui.writeSetting(kParametri, key, std::to_string(value));
}

}  // namespace

bool settingSaysYes(std::string_view value) {
  return !value.empty() && (value.front() == 'S' || value.front() == 's');
}

void applyPlacement(UserInterface& ui, WindowPlacement& window, PlacementMemory& memory,
                    ScreenSize screen, std::optional<SizeType> sizeType) {
  const bool maximized = settingSaysYes(ui.readSetting(kParametri, "Maximized", "Sì"));
  const int top = readNumber(ui, "Top", 0);
  const int left = readNumber(ui, "Left", 0);
  const int width = readNumber(ui, "Width", screen.width / 2);
  const int height = readNumber(ui, "Height", screen.height / 2);
  if (!memory.top) memory.top = top;
  if (!memory.left) memory.left = left;

  if (!sizeType) {
    window.setOuterRect(left, top, width, height);
    if (maximized)
      window.showMaximized();
    else
      window.showNormal();
  } else if (*sizeType == SizeType::Restored) {
    if (maximized) {
      // Coming back from maximised: the size reported now is the old normal size.
      ui.writeSetting(kParametri, "Maximized", "No");
    } else {
      const WindowRect r = window.outerRect();
      writeNumber(ui, "Width", r.right - r.left);
      writeNumber(ui, "Height", r.bottom - r.top);
    }
  } else if (*sizeType == SizeType::Maximized) {
    // Maximising moved the window first; put back the normal position from before that move.
    ui.writeSetting(kParametri, "Maximized", "Sì");
    writeNumber(ui, "Top", *memory.top);
    writeNumber(ui, "Left", *memory.left);
  } else if (*sizeType == SizeType::Moved && !maximized && !window.isMinimized()) {
    memory.top = top;
    memory.left = left;
    const WindowRect r = window.outerRect();
    writeNumber(ui, "Top", r.top);
    writeNumber(ui, "Left", r.left);
  }
  window.layOutResourceList();
}

bool kolvFlag(UserInterface& ui) {
  return settingSaysYes(ui.readSetting(kParametri, "Kolv", "No"));
}

bool creatableKindsOnly(UserInterface& ui) {
  return settingSaysYes(ui.readSetting(kParametri, kCreatableKindsOnlyKey, "No"));
}

void setCreatableKindsOnly(UserInterface& ui, bool only) {
  ui.writeSetting(kParametri, kCreatableKindsOnlyKey, only ? "Sì" : "No");
}

bool escClosesWindow(UserInterface& ui) {
  return settingSaysYes(ui.readSetting(kParametri, "Esc", "No")) || kolvFlag(ui);
}

std::size_t undoMemoryLimit(UserInterface& ui) {
  constexpr std::size_t kDefaultMegabytes = 64;
  const std::string value = ui.readSetting(kParametri, "MemoriaAnnulla", "");
  std::size_t megabytes = 0;
  for (char c : value) {
    if (c < '0' || c > '9' || megabytes > 4096) {
      megabytes = 0;
      break;
    }
    megabytes = megabytes * 10 + static_cast<std::size_t>(c - '0');
  }
  if (megabytes == 0 || megabytes > 4096) megabytes = kDefaultMegabytes;
  return megabytes << 20;
}

int listWidth(UserInterface& ui) {
  const int width = readNumber(ui, "LarghezzaLista", kDefaultListWidth);
  return width <= 0 ? kDefaultListWidth : std::clamp(width, kLeastListWidth, 2000);
}

void rememberListWidth(UserInterface& ui, int width) {
  writeNumber(ui, "LarghezzaLista", std::clamp(width, kLeastListWidth, 2000));
}

bool listWidthChosen(UserInterface& ui) {
  return readNumber(ui, "LarghezzaLista", 0) > 0;
}

}  // namespace kolvre
