// The six resource kinds the editor handles: their type codes and script keywords.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

namespace kolvre {

enum class ResType : std::uint8_t { Manifest, VersionInfo, Bitmap, Cursor, Dialog, Icon };

struct ResTypeInfo {
  ResType type;
  std::string_view code;      // as stored in the index and shown in the list
  std::string_view keyword;   // as it stands in the script text
  std::string_view kindName;  // as menus name the kind ("Nuova bitmap")
};

// Listed in the order in which the scanner tries the keywords: "24" before "VERSIONINFO"
// matters only for the prefix test, the rest are disjoint.
inline constexpr std::array<ResTypeInfo, 6> kResTypes{{
    {ResType::Manifest, "24", "24", "24"},
    {ResType::VersionInfo, "VI", "VERSIONINFO", "VERSIONINFO"},
    {ResType::Bitmap, "B", "BITMAP", "bitmap"},
    {ResType::Cursor, "C", "CURSOR", "cursor"},
    {ResType::Dialog, "D", "DIALOG", "dialog"},
    {ResType::Icon, "I", "ICON", "icon"},
}};

const ResTypeInfo& typeInfo(ResType type);
inline std::string_view typeCode(ResType type) {
  return typeInfo(type).code;
}
inline std::string_view typeKeyword(ResType type) {
  return typeInfo(type).keyword;
}

// TIPORIS: the keyword for a type code; nothing for any other value.
std::optional<std::string_view> TIPORIS(std::string_view code);

// The type whose keyword the word begins with (case-sensitive prefix test, scanner order).
std::optional<ResType> typeFromWord(std::string_view word);

// True when `given` (a keyword or a code) begins with the first letter of the type's code:
// "DIALOG" and "D" select a dialog, "VERSIONINFO" and "VI" a version resource.
bool typeMatchesByFirstLetter(std::string_view given, ResType type);

}  // namespace kolvre
