// The names the fixed fields of version information are written with (the flags, the system,
// the file's type and subtype), with their values, as the platform's header winver.h defines
// them. A test compares the table with the header where it is installed.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace kolvre {

// Which field a name belongs to.
enum class VersionNameGroup : std::uint8_t {
  Flag,           // FILEFLAGS and FILEFLAGSMASK: one bit each
  FlagMask,       // FILEFLAGSMASK: every flag at once
  System,         // FILEOS: the system alone (high word), or with its window system
  WindowSystem,   // FILEOS: the window system alone (low word)
  Type,           // FILETYPE
  Subtype,        // FILESUBTYPE, whatever the type
  DriverSubtype,  // FILESUBTYPE of a driver (VFT_DRV)
  FontSubtype,    // FILESUBTYPE of a font (VFT_FONT)
};

struct VersionName {
  std::string_view name;  // as the header writes it; a script writes it so
  std::uint32_t value;
  VersionNameGroup group;
};

inline constexpr std::uint32_t kDriverType = 3;  // VFT_DRV
inline constexpr std::uint32_t kFontType = 4;    // VFT_FONT

inline constexpr std::array<VersionName, 46> kVersionNames{{
    {"VS_FF_DEBUG", 0x01, VersionNameGroup::Flag},
    {"VS_FF_PRERELEASE", 0x02, VersionNameGroup::Flag},
    {"VS_FF_PATCHED", 0x04, VersionNameGroup::Flag},
    {"VS_FF_PRIVATEBUILD", 0x08, VersionNameGroup::Flag},
    {"VS_FF_INFOINFERRED", 0x10, VersionNameGroup::Flag},
    {"VS_FF_SPECIALBUILD", 0x20, VersionNameGroup::Flag},
    {"VS_FFI_FILEFLAGSMASK", 0x3F, VersionNameGroup::FlagMask},
    {"VOS_UNKNOWN", 0x00000000, VersionNameGroup::System},
    {"VOS_DOS", 0x00010000, VersionNameGroup::System},
    {"VOS_OS216", 0x00020000, VersionNameGroup::System},
    {"VOS_OS232", 0x00030000, VersionNameGroup::System},
    {"VOS_NT", 0x00040000, VersionNameGroup::System},
    {"VOS_WINCE", 0x00050000, VersionNameGroup::System},
    {"VOS_DOS_WINDOWS16", 0x00010001, VersionNameGroup::System},
    {"VOS_DOS_WINDOWS32", 0x00010004, VersionNameGroup::System},
    {"VOS_OS216_PM16", 0x00020002, VersionNameGroup::System},
    {"VOS_OS232_PM32", 0x00030003, VersionNameGroup::System},
    {"VOS_NT_WINDOWS32", 0x00040004, VersionNameGroup::System},
    {"VOS__BASE", 0x00000000, VersionNameGroup::WindowSystem},
    {"VOS__WINDOWS16", 0x00000001, VersionNameGroup::WindowSystem},
    {"VOS__PM16", 0x00000002, VersionNameGroup::WindowSystem},
    {"VOS__PM32", 0x00000003, VersionNameGroup::WindowSystem},
    {"VOS__WINDOWS32", 0x00000004, VersionNameGroup::WindowSystem},
    {"VFT_UNKNOWN", 0, VersionNameGroup::Type},
    {"VFT_APP", 1, VersionNameGroup::Type},
    {"VFT_DLL", 2, VersionNameGroup::Type},
    {"VFT_DRV", kDriverType, VersionNameGroup::Type},
    {"VFT_FONT", kFontType, VersionNameGroup::Type},
    {"VFT_VXD", 5, VersionNameGroup::Type},
    {"VFT_STATIC_LIB", 7, VersionNameGroup::Type},
    {"VFT2_UNKNOWN", 0, VersionNameGroup::Subtype},
    {"VFT2_DRV_PRINTER", 1, VersionNameGroup::DriverSubtype},
    {"VFT2_DRV_KEYBOARD", 2, VersionNameGroup::DriverSubtype},
    {"VFT2_DRV_LANGUAGE", 3, VersionNameGroup::DriverSubtype},
    {"VFT2_DRV_DISPLAY", 4, VersionNameGroup::DriverSubtype},
    {"VFT2_DRV_MOUSE", 5, VersionNameGroup::DriverSubtype},
    {"VFT2_DRV_NETWORK", 6, VersionNameGroup::DriverSubtype},
    {"VFT2_DRV_SYSTEM", 7, VersionNameGroup::DriverSubtype},
    {"VFT2_DRV_INSTALLABLE", 8, VersionNameGroup::DriverSubtype},
    {"VFT2_DRV_SOUND", 9, VersionNameGroup::DriverSubtype},
    {"VFT2_DRV_COMM", 10, VersionNameGroup::DriverSubtype},
    {"VFT2_DRV_INPUTMETHOD", 11, VersionNameGroup::DriverSubtype},
    {"VFT2_DRV_VERSIONED_PRINTER", 12, VersionNameGroup::DriverSubtype},
    {"VFT2_FONT_RASTER", 1, VersionNameGroup::FontSubtype},
    {"VFT2_FONT_VECTOR", 2, VersionNameGroup::FontSubtype},
    {"VFT2_FONT_TRUETYPE", 3, VersionNameGroup::FontSubtype},
}};

}  // namespace kolvre
