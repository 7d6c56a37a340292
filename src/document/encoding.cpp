#include "document/encoding.h"

#include <cstdint>

namespace kolvre {

namespace {

// Windows-1252 code points of bytes 0x80 to 0x9F; 0 marks the five undefined bytes, shown as
// the Latin-1 control character of the same value.
constexpr char16_t kCp1252High[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

void appendUtf8(std::string& out, std::uint32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

std::uint32_t unitAt(std::string_view bytes, std::size_t i, bool bigEndian) {
  const auto a = static_cast<unsigned char>(bytes[i]);
  const auto b = static_cast<unsigned char>(bytes[i + 1]);
  return bigEndian ? (a << 8) | b : (b << 8) | a;
}

bool isHighSurrogate(std::uint32_t u) {
  return u >= 0xD800 && u <= 0xDBFF;
}
bool isLowSurrogate(std::uint32_t u) {
  return u >= 0xDC00 && u <= 0xDFFF;
}

void appendUnit(std::string& out, std::uint32_t u, bool bigEndian) {
  const char hi = static_cast<char>(u >> 8), lo = static_cast<char>(u & 0xFF);
  out += bigEndian ? hi : lo;
  out += bigEndian ? lo : hi;
}

std::uint32_t cp1252(unsigned char b) {
  if (b >= 0x80 && b < 0xA0 && kCp1252High[b - 0x80] != 0) return kCp1252High[b - 0x80];
  return b;
}

// Length of a valid UTF-8 sequence at `i`, or 0.
// Overlong forms (a character written with more bytes than it needs), surrogates and values
// past U+10FFFF are no UTF-8: a name typed as E0 80 8A must not pass as a line feed.
std::size_t utf8Length(std::string_view s, std::size_t i) {
  const auto b = static_cast<unsigned char>(s[i]);
  std::size_t n = 0;
  unsigned char low = 0x80, high = 0xBF;  // the allowed range of the second byte
  if (b >= 0xC2 && b <= 0xDF) {
    n = 2;
  } else if (b >= 0xE0 && b <= 0xEF) {
    n = 3;
    if (b == 0xE0) low = 0xA0;
    if (b == 0xED) high = 0x9F;
  } else if (b >= 0xF0 && b <= 0xF4) {
    n = 4;
    if (b == 0xF0) low = 0x90;
    if (b == 0xF4) high = 0x8F;
  }
  if (n == 0 || i + n > s.size()) return 0;
  const auto second = static_cast<unsigned char>(s[i + 1]);
  if (second < low || second > high) return 0;
  for (std::size_t k = 2; k < n; ++k)
    if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) return 0;
  return n;
}

std::uint32_t decodeAt(std::string_view s, std::size_t i, std::size_t n) {
  const auto b = static_cast<unsigned char>(s[i]);
  std::uint32_t cp = n == 2 ? (b & 0x1F) : n == 3 ? (b & 0x0F) : (b & 0x07);
  for (std::size_t k = 1; k < n; ++k)
    cp = (cp << 6) | (static_cast<unsigned char>(s[i + k]) & 0x3F);
  return cp;
}

// The Windows-1252 byte of a code point, or 0 when the code page lacks it.
char cp1252ByteOrZero(std::uint32_t cp) {
  if (cp < 0x80) return static_cast<char>(cp);
  for (int k = 0; k < 32; ++k)
    if (kCp1252High[k] == cp) return static_cast<char>(0x80 + k);
  if (cp >= 0xA0 && cp <= 0xFF) return static_cast<char>(cp);
  if (cp >= 0x80 && cp < 0xA0 && kCp1252High[cp - 0x80] == 0) return static_cast<char>(cp);
  return 0;
}

char cp1252Byte(std::uint32_t cp) {
  if (cp == 0) return 0;
  const char b = cp1252ByteOrZero(cp);
  return b != 0 ? b : '?';
}

}  // namespace

TextEncoding detectEncoding(std::string_view text) {
  if (text.starts_with("\xEF\xBB\xBF")) return TextEncoding::Utf8;
  if (text.find("#pragma code_page(65001)") != std::string_view::npos) return TextEncoding::Utf8;
  return TextEncoding::Windows1252;
}

std::string toDisplay(std::string_view bytes, TextEncoding encoding) {
  std::string out;
  out.reserve(bytes.size());
  for (std::size_t i = 0; i < bytes.size();) {
    const auto b = static_cast<unsigned char>(bytes[i]);
    if (b < 0x80) {
      out += static_cast<char>(b);
      ++i;
      continue;
    }
    if (encoding == TextEncoding::Utf8) {
      if (const std::size_t n = utf8Length(bytes, i)) {
        out.append(bytes.substr(i, n));
        i += n;
        continue;
      }
    }
    appendUtf8(out, cp1252(b));
    ++i;
  }
  return out;
}

std::string utf16ToUtf8(std::string_view bytes, bool bigEndian) {
  std::string out;
  out.reserve(bytes.size());
  std::size_t i = 0;
  for (; i + 1 < bytes.size(); i += 2) {
    std::uint32_t u = unitAt(bytes, i, bigEndian);
    if (isHighSurrogate(u) && i + 3 < bytes.size() &&
        isLowSurrogate(unitAt(bytes, i + 2, bigEndian))) {
      u = 0x10000 + ((u - 0xD800) << 10) + (unitAt(bytes, i + 2, bigEndian) - 0xDC00);
      i += 2;
    } else if (isHighSurrogate(u) || isLowSurrogate(u)) {
      u = 0xFFFD;
    }
    appendUtf8(out, u);
  }
  if (i < bytes.size()) appendUtf8(out, 0xFFFD);
  return out;
}

std::string utf8ToUtf16(std::string_view text, bool bigEndian) {
  std::string out;
  out.reserve(text.size() * 2);
  for (std::size_t i = 0; i < text.size();) {
    const auto b = static_cast<unsigned char>(text[i]);
    std::uint32_t cp = b;
    std::size_t n = b < 0x80 ? 1 : utf8Length(text, i);
    if (n > 1) {
      cp = decodeAt(text, i, n);
    } else if (b >= 0x80) {
      cp = cp1252(b);  // not UTF-8: the byte as the code page reads it
      n = 1;
    }
    i += n;
    if (cp >= 0x10000) {
      appendUnit(out, 0xD800 + ((cp - 0x10000) >> 10), bigEndian);
      appendUnit(out, 0xDC00 + ((cp - 0x10000) & 0x3FF), bigEndian);
    } else {
      appendUnit(out, cp, bigEndian);
    }
  }
  return out;
}

std::string utf16Fault(std::string_view bytes, bool bigEndian) {
  if (bytes.size() % 2 != 0) return "il numero di byte è dispari";
  for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
    const std::uint32_t u = unitAt(bytes, i, bigEndian);
    if (isHighSurrogate(u) && i + 3 < bytes.size() &&
        isLowSurrogate(unitAt(bytes, i + 2, bigEndian))) {
      i += 2;
      continue;
    }
    if (isHighSurrogate(u) || isLowSurrogate(u))
      return "un carattere surrogato senza la sua coppia al byte " + std::to_string(i);
  }
  return {};
}

bool representable(std::string_view utf8, TextEncoding encoding) {
  if (encoding == TextEncoding::Utf8) return true;
  for (std::size_t i = 0; i < utf8.size();) {
    const std::size_t n = static_cast<unsigned char>(utf8[i]) < 0x80 ? 0 : utf8Length(utf8, i);
    if (n != 0 && cp1252ByteOrZero(decodeAt(utf8, i, n)) == 0) return false;
    i += n == 0 ? 1 : n;
  }
  return true;
}

std::string fromDisplay(std::string_view utf8, TextEncoding encoding) {
  if (encoding == TextEncoding::Utf8) return std::string(utf8);
  std::string out;
  out.reserve(utf8.size());
  for (std::size_t i = 0; i < utf8.size();) {
    if (static_cast<unsigned char>(utf8[i]) < 0x80) {
      out += utf8[i++];
      continue;
    }
    const std::size_t n = utf8Length(utf8, i);
    if (n == 0) {
      // Not UTF-8 at all: bytes typed in the script's own code page are taken as they are.
      out += utf8[i++];
      continue;
    }
    out += cp1252Byte(decodeAt(utf8, i, n));
    i += n;
  }
  return out;
}

}  // namespace kolvre
