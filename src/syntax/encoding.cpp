#include "syntax/encoding.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <utility>
#include <vector>

#include <map>
#include <mutex>

#include "base/text.h"
#include "syntax/code_page_932.h"

namespace kolvre {

namespace {

// Windows-1252 code points of bytes 0x80 to 0x9F; 0 marks the five undefined bytes, shown as
// the Latin-1 control character of the same value.
constexpr char16_t kCp1252High[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

// Code points of bytes 0x80 to 0xFF of the Central European (1250) and Cyrillic (1251) code
// pages; 0 marks an undefined byte, read as the control character of the same value.
constexpr std::array<char16_t, 128> kCp1250High{
    0x20AC, 0,      0x201A, 0,      0x201E, 0x2026, 0x2020, 0x2021, 0,      0x2030, 0x0160, 0x2039,
    0x015A, 0x0164, 0x017D, 0x0179, 0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0,      0x2122, 0x0161, 0x203A, 0x015B, 0x0165, 0x017E, 0x017A, 0x00A0, 0x02C7, 0x02D8, 0x0141,
    0x00A4, 0x0104, 0x00A6, 0x00A7, 0x00A8, 0x00A9, 0x015E, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x017B,
    0x00B0, 0x00B1, 0x02DB, 0x0142, 0x00B4, 0x00B5, 0x00B6, 0x00B7, 0x00B8, 0x0105, 0x015F, 0x00BB,
    0x013D, 0x02DD, 0x013E, 0x017C, 0x0154, 0x00C1, 0x00C2, 0x0102, 0x00C4, 0x0139, 0x0106, 0x00C7,
    0x010C, 0x00C9, 0x0118, 0x00CB, 0x011A, 0x00CD, 0x00CE, 0x010E, 0x0110, 0x0143, 0x0147, 0x00D3,
    0x00D4, 0x0150, 0x00D6, 0x00D7, 0x0158, 0x016E, 0x00DA, 0x0170, 0x00DC, 0x00DD, 0x0162, 0x00DF,
    0x0155, 0x00E1, 0x00E2, 0x0103, 0x00E4, 0x013A, 0x0107, 0x00E7, 0x010D, 0x00E9, 0x0119, 0x00EB,
    0x011B, 0x00ED, 0x00EE, 0x010F, 0x0111, 0x0144, 0x0148, 0x00F3, 0x00F4, 0x0151, 0x00F6, 0x00F7,
    0x0159, 0x016F, 0x00FA, 0x0171, 0x00FC, 0x00FD, 0x0163, 0x02D9};
constexpr std::array<char16_t, 128> kCp1251High{
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021, 0x20AC, 0x2030, 0x0409, 0x2039,
    0x040A, 0x040C, 0x040B, 0x040F, 0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0,      0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F, 0x00A0, 0x040E, 0x045E, 0x0408,
    0x00A4, 0x0490, 0x00A6, 0x00A7, 0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407,
    0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6, 0x00B7, 0x0451, 0x2116, 0x0454, 0x00BB,
    0x0458, 0x0405, 0x0455, 0x0457, 0x0410, 0x0411, 0x0412, 0x0413, 0x0414, 0x0415, 0x0416, 0x0417,
    0x0418, 0x0419, 0x041A, 0x041B, 0x041C, 0x041D, 0x041E, 0x041F, 0x0420, 0x0421, 0x0422, 0x0423,
    0x0424, 0x0425, 0x0426, 0x0427, 0x0428, 0x0429, 0x042A, 0x042B, 0x042C, 0x042D, 0x042E, 0x042F,
    0x0430, 0x0431, 0x0432, 0x0433, 0x0434, 0x0435, 0x0436, 0x0437, 0x0438, 0x0439, 0x043A, 0x043B,
    0x043C, 0x043D, 0x043E, 0x043F, 0x0440, 0x0441, 0x0442, 0x0443, 0x0444, 0x0445, 0x0446, 0x0447,
    0x0448, 0x0449, 0x044A, 0x044B, 0x044C, 0x044D, 0x044E, 0x044F};

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

constexpr int kJapaneseCodePage = 932;

bool isCp932Lead(unsigned char b) {
  return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

// The character of a Japanese lead byte and the byte after it; 0 when the pair is none.
char16_t cp932Pair(unsigned char lead, unsigned char trail) {
  if (!isCp932Lead(lead) || trail < 0x40 || trail > 0xFC) return 0;
  const std::size_t row = lead <= 0x9F ? lead - 0x81u : lead - 0xE0u + 0x1Fu;
  return kCp932Pairs[row * kCp932Trails + (trail - 0x40u)];
}

// The character of a Japanese byte that stands alone (a lead byte does not).
char16_t cp932Single(unsigned char b) {
  if (b == 0x80) return 0x0080;
  if (b == 0xA0) return 0xF8F0;
  if (b >= 0xA1 && b <= 0xDF) return static_cast<char16_t>(0xFF61 + (b - 0xA1));
  if (b >= 0xFD) return static_cast<char16_t>(0xF8F1 + (b - 0xFD));
  return 0;
}

void appendCp932(std::string& out, std::string_view bytes, std::size_t& i) {
  const auto b = static_cast<unsigned char>(bytes[i]);
  if (const char16_t single = cp932Single(b)) {
    appendUtf8(out, single);
    ++i;
    return;
  }
  const char16_t pair =
      i + 1 < bytes.size() ? cp932Pair(b, static_cast<unsigned char>(bytes[i + 1])) : 0;
  appendUtf8(out, pair != 0 ? pair : 0xFFFD);
  i += pair != 0 ? 2 : 1;
}

// The bytes of every character of a code page with a table here, above 0x7F; the first bytes
// in the table's order where two stand for one character.
const std::map<std::uint32_t, std::string>& codePageBytes(int codePage) {
  static std::mutex guard;
  static std::map<int, std::map<std::uint32_t, std::string>> tables;
  const std::lock_guard lock(guard);
  auto [at, added] = tables.try_emplace(codePage);
  if (!added) return at->second;
  std::vector<std::string> sequences;
  for (int b = 0x80; b < 0x100; ++b) sequences.emplace_back(1, static_cast<char>(b));
  if (codePage == kJapaneseCodePage)
    for (int lead = 0x81; lead < 0xFD; ++lead)
      for (int trail = 0x40; trail < 0xFD; ++trail)
        if (cp932Pair(static_cast<unsigned char>(lead), static_cast<unsigned char>(trail)))
          sequences.push_back({static_cast<char>(lead), static_cast<char>(trail)});
  for (const std::string& sequence : sequences) {
    const std::string utf8 = *codePageToUtf8(sequence, codePage);
    const std::size_t n = utf8Length(utf8, 0);
    if (n == 0 || n != utf8.size()) continue;  // a lead byte alone
    const std::uint32_t cp = decodeAt(utf8, 0, n);
    if (cp != 0xFFFD) at->second.try_emplace(cp, sequence);
  }
  return at->second;
}

}  // namespace

std::optional<std::string> codePageToUtf8(std::string_view bytes, int codePage) {
  const std::array<char16_t, 128>* table = nullptr;
  if (codePage == 1250) table = &kCp1250High;
  if (codePage == 1251) table = &kCp1251High;
  const bool japanese = codePage == kJapaneseCodePage;
  if (!table && !japanese && codePage != 1252 && codePage != kUtf8CodePage) return std::nullopt;
  std::string out;
  out.reserve(bytes.size());
  for (std::size_t i = 0; i < bytes.size();) {
    const auto b = static_cast<unsigned char>(bytes[i]);
    if (b < 0x80) {
      out += static_cast<char>(b);
      ++i;
    } else if (codePage == kUtf8CodePage) {
      const std::size_t n = utf8Length(bytes, i);
      if (n == 0) appendUtf8(out, 0xFFFD);
      out.append(bytes.substr(i, n));
      i += n == 0 ? 1 : n;
    } else if (japanese) {
      appendCp932(out, bytes, i);
    } else {
      const std::uint32_t cp = table ? (*table)[b - 0x80] : cp1252(b);
      appendUtf8(out, cp != 0 ? cp : b);
      ++i;
    }
  }
  return out;
}

TextEncoding detectEncoding(std::string_view text) {
  if (text.starts_with("\xEF\xBB\xBF")) return TextEncoding::Utf8;
  for (const CodePageChange& change : codePageChanges(text, text.size()))
    if (change.page == kUtf8CodePage) return TextEncoding::Utf8;
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

std::optional<std::string> utf8ToCodePage(std::string_view utf8, int codePage) {
  if (codePage == kUtf8CodePage) {
    for (std::size_t i = 0; i < utf8.size();) {
      const auto b = static_cast<unsigned char>(utf8[i]);
      const std::size_t n = b < 0x80 ? 1 : utf8Length(utf8, i);
      if (n == 0) return std::nullopt;
      i += n;
    }
    return std::string(utf8);
  }
  if (!codePageToUtf8(std::string_view(), codePage)) return std::nullopt;
  const auto& bytes = codePageBytes(codePage);
  std::string out;
  for (std::size_t i = 0; i < utf8.size();) {
    const auto b = static_cast<unsigned char>(utf8[i]);
    if (b < 0x80) {
      out += utf8[i++];
      continue;
    }
    const std::size_t n = utf8Length(utf8, i);
    if (n == 0) return std::nullopt;
    const auto at = bytes.find(decodeAt(utf8, i, n));
    if (at == bytes.end()) return std::nullopt;
    out += at->second;
    i += n;
  }
  return out;
}

}  // namespace kolvre
