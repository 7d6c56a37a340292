// The colours of the resource list: per type code, for the type column and the selected row.
#pragma once

#include <cstdint>

#include "document/scanner.h"

namespace kolvre {

// A colour as the list asks for it: a fixed 0x00BBGGRR value or one of the desktop's own.
struct ListColor {
  enum class Kind : std::uint8_t { Fixed, Window, Highlight } kind = Kind::Fixed;
  std::uint32_t bgr = 0;  // for Fixed: 0x00BBGGRR

  static constexpr ListColor fixed(std::uint32_t v) { return {Kind::Fixed, v}; }
  static constexpr ListColor window() { return {Kind::Window, 0}; }
  static constexpr ListColor highlight() { return {Kind::Highlight, 0}; }
  bool operator==(const ListColor&) const = default;
};

inline constexpr std::uint32_t kBlack = 0;
inline constexpr std::uint32_t kWhite = 16777215;
inline constexpr std::uint32_t kLightGrey = 12632256;
inline constexpr std::uint32_t kRed = 255;
inline constexpr std::uint32_t kYellow = 65535;
inline constexpr std::uint32_t kGreen = 65280;
inline constexpr std::uint32_t kLightCyan = 0xFFFF80;    // menus
inline constexpr std::uint32_t kLightOrange = 0x80C0FF;  // string tables
inline constexpr std::uint32_t kLightViolet = 0xFFC0E0;  // accelerators
inline constexpr std::uint32_t kPaleBeige = 0xC0E0F0;    // data, text and other types

// The list's columns.
inline constexpr int kNameColumn = 0;
inline constexpr int kTypeColumn = 1;
inline constexpr int kLanguageColumn = 2;

// Text and background of a cell of a row (0 is the first); rows past the index (an empty index)
// take the dialog colours.
ListColor cellTextColor(int column, const ResourceIndex& index, int row);
ListColor cellBackgroundColor(int column, const ResourceIndex& index, int row);
// Text and background of the whole selected row.
ListColor focusTextColor(const ResourceIndex& index, int row);
ListColor focusBackgroundColor(const ResourceIndex& index, int row);

}  // namespace kolvre
