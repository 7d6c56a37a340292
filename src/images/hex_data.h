// Inline image data: the lines of hexadecimal bytes that hold a whole image file in a block.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace kolvre {

inline constexpr std::size_t kHexBytesPerLine = 16;

// The data lines for `bytes`: each is one blank, an apostrophe, up to sixteen bytes as two
// upper-case hexadecimal digits separated by single blanks, and an apostrophe; CR LF between
// lines, none after the last.
std::string formatHexDataLines(const std::vector<std::uint8_t>& bytes);

}  // namespace kolvre
