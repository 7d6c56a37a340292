// The six resource kinds the editor handles: their type codes and script keywords.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

namespace kolvre {

enum class ResourceType : std::uint8_t { Manifest, VersionInfo, Bitmap, Cursor, Dialog, Icon };

struct ResourceTypeInfo {
  ResourceType type;
  std::string_view code;      // as stored in the index and shown in the list
  std::string_view keyword;   // as it stands in the script text
  std::string_view newLabel;  // the menu item and the prompt's title that create one
};

// Listed in the order in which the scanner tries the keywords: "24" before "VERSIONINFO"
// matters only for the prefix test, the rest are disjoint.
inline constexpr std::array<ResourceTypeInfo, 6> kResourceTypes{{
    {ResourceType::Manifest, "24", "24", "Nuovo manifesto (24)"},
    {ResourceType::VersionInfo, "VI", "VERSIONINFO", "Nuove informazioni di versione"},
    {ResourceType::Bitmap, "B", "BITMAP", "Nuova bitmap"},
    {ResourceType::Cursor, "C", "CURSOR", "Nuovo cursore"},
    {ResourceType::Dialog, "D", "DIALOG", "Nuovo dialog"},
    {ResourceType::Icon, "I", "ICON", "Nuova icona"},
}};

const ResourceTypeInfo& typeInfo(ResourceType type);
inline std::string_view typeCode(ResourceType type) {
  return typeInfo(type).code;
}
inline std::string_view typeKeyword(ResourceType type) {
  return typeInfo(type).keyword;
}

// resourceTypeName: the keyword for a type code; nothing for any other value.
std::optional<std::string_view> resourceTypeName(std::string_view code);

// The type whose keyword the word begins with (case-sensitive prefix test, scanner order).
std::optional<ResourceType> typeFromWord(std::string_view word);

// True when `given` (a keyword or a code) begins with the first letter of the type's code:
// "DIALOG" and "D" select a dialog, "VERSIONINFO" and "VI" a version resource.
bool typeMatchesByFirstLetter(std::string_view given, ResourceType type);

}  // namespace kolvre
