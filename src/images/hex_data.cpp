#include "images/hex_data.h"

namespace kolvre {

std::string formatHexDataLines(const std::vector<std::uint8_t>& bytes) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string out;
  out.reserve(bytes.size() * 3 + bytes.size() / kHexBytesPerLine * 6 + 4);
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    const std::size_t column = i % kHexBytesPerLine;
    if (column == 0)
      out += i == 0 ? " '" : "'\r\n '";
    else
      out += ' ';
    out += kDigits[bytes[i] >> 4];
    out += kDigits[bytes[i] & 0x0F];
  }
  if (!bytes.empty()) out += '\'';
  return out;
}

}  // namespace kolvre
