// The compiled resource file (.res) the resource compilers write: the resources it holds, each
// with its type, its name and its data.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace kolvre::testing {

inline std::uint32_t le16(const std::string& b, std::size_t at) {
  return static_cast<unsigned char>(b[at]) | static_cast<unsigned char>(b[at + 1]) << 8;
}
inline std::uint32_t le32(const std::string& b, std::size_t at) {
  return le16(b, at) | le16(b, at + 2) << 16;
}

// A compiled resource: type and name (ordinals, or the name in UTF-8 upper case) and data.
struct Compiled {
  std::uint32_t type = 0;
  std::string name;
  std::string data;
};

// The entries of a .res file.
inline std::vector<Compiled> readRes(const std::string& res) {
  std::vector<Compiled> out;
  std::size_t at = 0;
  while (at + 32 <= res.size()) {
    const std::uint32_t dataSize = le32(res, at);
    const std::uint32_t headerSize = le32(res, at + 4);
    std::size_t p = at + 8;
    auto idOrName = [&](std::uint32_t& ordinal, std::string& name) {
      if (le16(res, p) == 0xFFFF) {
        ordinal = le16(res, p + 2);
        name = std::to_string(ordinal);
        p += 4;
        return;
      }
      while (le16(res, p) != 0) {
        name += static_cast<char>(le16(res, p));
        p += 2;
      }
      p += 2;
    };
    Compiled c;
    std::string typeName;
    std::uint32_t nameOrdinal = 0;
    idOrName(c.type, typeName);
    idOrName(nameOrdinal, c.name);
    c.data = res.substr(at + headerSize, dataSize);
    if (dataSize != 0 || c.type != 0) out.push_back(std::move(c));
    at = (at + headerSize + dataSize + 3) & ~std::size_t(3);
  }
  return out;
}

}  // namespace kolvre::testing
