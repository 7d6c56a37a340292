// The two-byte characters of code page 932 (Japanese), as data: the table
// tools/generate-code-page-932 writes.
#pragma once

#include <array>
#include <cstddef>

namespace kolvre {

// Lead bytes 0x81 to 0x9F and 0xE0 to 0xFC; trail bytes 0x40 to 0xFC.
inline constexpr std::size_t kCp932Leads = 60;
inline constexpr std::size_t kCp932Trails = 0xFD - 0x40;

// The character of each pair, row by lead byte; 0 where the pair stands for none.
extern const std::array<char16_t, kCp932Leads * kCp932Trails> kCp932Pairs;

}  // namespace kolvre
