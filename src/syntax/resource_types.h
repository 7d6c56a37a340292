// The resource kinds the list shows: their type codes and script keywords. The first six are the
// kinds the editor creates and the whole reorder sorts; the others are listed, shown and edited
// as text, each with its panel.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

namespace kolvre {

enum class ResourceType : std::uint8_t {
  Manifest,
  VersionInfo,
  Bitmap,
  Cursor,
  Dialog,
  Icon,
  Menu,
  MenuEx,
  StringTable,
  Accelerators,
  RcData,
  Html,
  MessageTable,
  TextInclude,
  Toolbar,
  DlgInit,
  Font,
  Other,  // a numbered or user-defined type, or a predefined one without a kind of its own
};

// The number of kinds the editor creates (the first ones of the enumeration).
inline constexpr std::size_t kCreatableTypes = 6;
inline constexpr bool isCreatable(ResourceType type) {
  return static_cast<std::size_t>(type) < kCreatableTypes;
}

struct ResourceTypeInfo {
  ResourceType type;
  std::string_view code;      // as stored in the index and shown in the list
  std::string_view keyword;   // as it stands in the script text
  std::string_view newLabel;  // the menu item and the prompt's title that create one; empty for
                              // the kinds the editor does not create
  // The block a new one starts from, lines ended by \n, bodies in "{" "}" and two blanks a level
  // (written in the script's own style when it is made): %N its name, %I a string table's first
  // ID, %D an image's data lines; empty where it must name a file.
  std::string_view bodyTemplate = {};
  // The block of a new one that names a file (%F, quoted); empty where it cannot.
  std::string_view fileTemplate = {};
};

// In the order of the enumeration. "24" before "VERSIONINFO" matters only for the prefix test,
// the rest are disjoint. The other kinds' codes are their keywords, but for the three the list
// shows most; a numbered or user-defined type shows its own word (IndexEntry::code).
inline constexpr std::array<ResourceTypeInfo, 18> kResourceTypes{{
    {ResourceType::Manifest, "24", "24", "Nuovo manifesto (24)", "%N 24\n{\n}", "%N 24 %F"},
    {ResourceType::VersionInfo, "VI", "VERSIONINFO", "Nuove informazioni di versione",
     "%N VERSIONINFO\n{\n}"},
    {ResourceType::Bitmap, "B", "BITMAP", "Nuova bitmap", "%N BITMAP\n{\n%D\n}"},
    {ResourceType::Cursor, "C", "CURSOR", "Nuovo cursore", "%N CURSOR\n{\n%D\n}"},
    {ResourceType::Dialog, "D", "DIALOG", "Nuovo dialog",
     "%N DIALOG 0, 0, 300, 300\nSTYLE DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU\n"
     "FONT 8, \"MS Sans Serif\"\nLANGUAGE LANG_NEUTRAL, SUBLANG_NEUTRAL\n{\n}"},
    {ResourceType::Icon, "I", "ICON", "Nuova icona", "%N ICON\n{\n%D\n}"},
    {ResourceType::Menu, "M", "MENU", "Nuovo menu", "%N MENU\n{\n}"},
    {ResourceType::MenuEx, "MENUEX", "MENUEX", "Nuovo menu esteso (MENUEX)", "%N MENUEX\n{\n}"},
    {ResourceType::StringTable, "S", "STRINGTABLE", "Nuova tabella delle stringhe",
     "STRINGTABLE\n{\n  %I, \"\"\n}"},
    {ResourceType::Accelerators, "A", "ACCELERATORS", "Nuova tabella degli acceleratori",
     "%N ACCELERATORS\n{\n}"},
    {ResourceType::RcData, "RCDATA", "RCDATA", "Nuovi dati (RCDATA)", "%N RCDATA\n{\n}",
     "%N RCDATA %F"},
    {ResourceType::Html, "HTML", "HTML", "Nuova pagina HTML", "", "%N HTML %F"},
    {ResourceType::MessageTable, "MESSAGETABLE", "MESSAGETABLE", ""},
    {ResourceType::TextInclude, "TEXTINCLUDE", "TEXTINCLUDE", ""},
    {ResourceType::Toolbar, "TOOLBAR", "TOOLBAR", ""},
    {ResourceType::DlgInit, "DLGINIT", "DLGINIT", ""},
    {ResourceType::Font, "FONT", "FONT", ""},
    {ResourceType::Other, "", "", ""},
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
