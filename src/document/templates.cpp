#include "document/templates.h"

#include "images/hex_data.h"

namespace kolvre {

namespace {

// Little-endian writers for the file headers.
struct Bytes {
  std::vector<std::uint8_t> v;
  Bytes& u8(std::uint8_t x) {
    v.push_back(x);
    return *this;
  }
  Bytes& u16(std::uint16_t x) { return u8(x & 0xFF).u8(x >> 8); }
  Bytes& u32(std::uint32_t x) { return u16(x & 0xFFFF).u16(x >> 16); }
  Bytes& zeros(std::size_t n) {
    v.insert(v.end(), n, 0);
    return *this;
  }
  Bytes& rgbquad(std::uint8_t b, std::uint8_t g, std::uint8_t r) { return u8(b).u8(g).u8(r).u8(0); }
};

// An information header with only size, width, height, planes and bit count set.
Bytes& infoHeader(Bytes& b, std::uint32_t width, std::uint32_t height, std::uint16_t bits) {
  return b.u32(40).u32(width).u32(height).u16(1).u16(bits).zeros(24);
}

// One 32 by 32 image of 16 colours in icon-file form; every pixel takes colour entry 0.
std::vector<std::uint8_t> iconFile(std::uint8_t b, std::uint8_t g, std::uint8_t r) {
  Bytes f;
  f.u16(0).u16(1).u16(1);                                       // directory: an icon, one image
  f.u8(32).u8(32).u8(16).u8(0).u16(1).u16(4).u32(744).u32(22);  // its entry
  infoHeader(f, 32, 64, 4);                                     // colour image and mask together
  f.rgbquad(b, g, r).zeros(15 * 4);                             // colour table
  f.zeros(32 * 16);                                             // colour bits
  f.zeros(32 * 4);                                              // mask: all opaque
  return f.v;
}

}  // namespace

std::vector<std::uint8_t> templateBitmap() {
  Bytes f;
  f.u8('B').u8('M').u32(190).u16(0).u16(0).u32(62);
  infoHeader(f, 32, 32, 1);
  f.rgbquad(0, 0, 255).rgbquad(0, 0, 0);
  f.zeros(32 * 4);
  return f.v;
}

std::vector<std::uint8_t> templateIcon() {
  return iconFile(0x00, 0xFF, 0x00);
}
std::vector<std::uint8_t> templateCursor() {
  return iconFile(0x00, 0xFF, 0xFF);
}

std::string resourceTemplate(ResourceType kind, std::string_view name, std::string_view file) {
  const ResourceTypeInfo& info = typeInfo(kind);
  const std::string_view form = file.empty() ? info.bodyTemplate : info.fileTemplate;
  std::string out;
  for (std::size_t i = 0; i < form.size(); ++i) {
    if (form[i] == '\n') {
      out += "\r\n";
      continue;
    }
    if (form[i] != '%' || i + 1 == form.size()) {
      out += form[i];
      continue;
    }
    switch (form[++i]) {
      case 'N':
      case 'I':
        out += name;
        break;
      case 'F':
        out += quotedFileNameOf(file);
        break;
      case 'D':
        out += formatHexDataLines(kind == ResourceType::Bitmap   ? templateBitmap()
                                  : kind == ResourceType::Cursor ? templateCursor()
                                                                 : templateIcon());
        break;
      default:
        out += form[i - 1];
        out += form[i];
        break;
    }
  }
  return out;
}

std::string quotedFileNameOf(std::string_view file) {
  std::string out = "\"";
  for (char c : file) {
    if (c == '\\') out += '\\';
    out += c;
  }
  return out + '"';
}

}  // namespace kolvre
