#include "syntax/inline_data.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <memory>
#include <string>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "base/text.h"
#include "syntax/lexer.h"
#include "syntax/positions.h"

namespace kolvre {

namespace {

// The most characters of a data line after its opening apostrophe that can hold pairs: sixteen
// pairs and the fifteen characters between them.
constexpr std::size_t kPairColumns = 47;

constexpr int digitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return 0;
}

// The value of every character as a digit (0 for a character that is none).
constexpr std::array<std::uint8_t, 256> kDigitValues = [] {
  std::array<std::uint8_t, 256> values{};
  for (int c = 0; c < 256; ++c)
    values[c] = static_cast<std::uint8_t>(digitValue(static_cast<char>(c)));
  return values;
}();

// The byte of every two characters at once, indexed by the two characters as they lie in
// memory: one load from a 64 KB table instead of two lookups and a shift.
const std::array<std::uint8_t, 65536>& pairTable() {
  static const auto table = [] {
    auto t = std::make_unique<std::array<std::uint8_t, 65536>>();
    for (int a = 0; a < 256; ++a)
      for (int b = 0; b < 256; ++b) {
        const unsigned char two[2] = {static_cast<unsigned char>(a), static_cast<unsigned char>(b)};
        std::uint16_t key = 0;
        std::memcpy(&key, two, 2);
        (*t)[key] = static_cast<std::uint8_t>(kDigitValues[a] << 4 | kDigitValues[b]);
      }
    return t;
  }();
  return *table;
}

std::uint8_t pairValue(const std::array<std::uint8_t, 65536>& table, const char* at) {
  std::uint16_t key = 0;
  std::memcpy(&key, at, 2);
  return table[key];
}

// Appends the bytes of one data line (the rule of readHexDataLine) to `out`; returns the end.
std::uint8_t* appendLineBytes(const char* line, const char* end, std::uint8_t* out) {
  while (line < end && (*line == ' ' || *line == '\t')) ++line;
  if (line >= end) return out;
  ++line;  // the opening apostrophe
  const char* stop = line + std::min<std::ptrdiff_t>(end - line, kPairColumns);
  // The written layout, sixteen pairs and the closing apostrophe, takes the quick way.
  if (stop - line == static_cast<std::ptrdiff_t>(kPairColumns) && end - line > 47 &&
      line[47] == '\'') {
    const auto& table = pairTable();
    for (int i = 0; i < 16; ++i) *out++ = pairValue(table, line + 3 * i);
    return out;
  }
  if (const void* quote = std::memchr(line, '\'', static_cast<std::size_t>(stop - line)))
    stop = static_cast<const char*>(quote);
  for (const char* at = line; at < stop; at += 3) {
    const int high = kDigitValues[static_cast<unsigned char>(at[0])];
    const int low = at + 1 < stop ? kDigitValues[static_cast<unsigned char>(at[1])] : 0;
    *out++ = static_cast<std::uint8_t>(high << 4 | low);
  }
  return out;
}

// True when a CR stands among the 48 characters from `at`: sixteen at a time where the
// processor compares sixteen bytes at once, else eight at a time in a word (a zero byte of the
// word XOR CRs sets its high bit). Every full line asks it, so it must cost next to nothing.
bool crAmong48(const char* at) {
#if defined(__SSE2__)
  const __m128i crs = _mm_set1_epi8('\r');
  const auto load = [](const char* p) {
    return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
  };
  const __m128i found =
      _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(load(at), crs), _mm_cmpeq_epi8(load(at + 16), crs)),
                   _mm_cmpeq_epi8(load(at + 32), crs));
  return _mm_movemask_epi8(found) != 0;
#else
  constexpr std::uint64_t kOnes = 0x0101010101010101ull;
  constexpr std::uint64_t kHighs = 0x8080808080808080ull;
  constexpr std::uint64_t kCrs = kOnes * '\r';
  std::uint64_t found = 0;
  for (int i = 0; i < 6; ++i) {
    std::uint64_t word = 0;
    std::memcpy(&word, at + 8 * i, 8);
    word ^= kCrs;
    found |= (word - kOnes) & ~word & kHighs;
  }
  return found != 0;
#endif
}

bool onlyWhiteSpace(std::string_view text) {
  return std::all_of(text.begin(), text.end(), [](char c) {
    return lexing::kByteClass[static_cast<unsigned char>(c)] == lexing::ByteClass::Space;
  });
}

}  // namespace

std::vector<std::uint8_t> readHexDataLine(std::string_view line) {
  std::vector<std::uint8_t> bytes(kHexBytesPerLine);
  const std::uint8_t* end = appendLineBytes(line.data(), line.data() + line.size(), bytes.data());
  bytes.resize(static_cast<std::size_t>(end - bytes.data()));
  return bytes;
}

std::vector<std::uint8_t> readHexDataLines(std::string_view data) {
  // Comments among the lines give no bytes: read from the data with them blanked, where any
  // stand (most data holds none, and is read as it lies).
  std::string blanked;
  if (data.find('/') != std::string_view::npos) {
    blanked = blankComments(data);
    data = blanked;
  }
  const char* at = data.data();
  const char* const begin = data.data();
  const char* const end = data.data() + data.size();
  // A line of L characters gives at most (L + 1) / 3 bytes, so a third of the data's characters
  // (line ends included) and one line's worth bound them.
  std::vector<std::uint8_t> bytes(data.size() / 3 + kHexBytesPerLine);
  std::uint8_t* out = bytes.data();
  // A full line in the written layout: " '", sixteen pairs, the apostrophe and CR LF, with no
  // CR before that CR LF (where a line could end sooner).
  constexpr std::ptrdiff_t kFullLine = 2 + 47 + 1 + 2;
  const auto& table = pairTable();
  while (at < end) {
    if (end - at >= kFullLine && at[0] == ' ' && at[1] == '\'' && at[49] == '\'' &&
        at[50] == '\r' && at[51] == '\n' && !crAmong48(at + 2)) {
      for (int i = 0; i < 16; ++i) *out++ = pairValue(table, at + 2 + 3 * i);
      at += kFullLine;
      continue;
    }
    // Any other line: up to its CR LF (a lone LF or CR stays part of it), or the data's end.
    const std::size_t crLf = nextCrLf(data, static_cast<std::size_t>(at - begin));
    const char* const lineEnd = crLf == std::string_view::npos ? end : begin + crLf;
    out = appendLineBytes(at, lineEnd, out);
    at = lineEnd == end ? end : lineEnd + 2;
  }
  bytes.resize(static_cast<std::size_t>(out - bytes.data()));
  return bytes;
}

std::optional<InlineDataLines> inlineDataLines(std::string_view text, const Statement& s) {
  const ResourceContent content = resourceContent(text, s);
  if (!content.opener || !content.closer) return std::nullopt;
  const Token& opener = *content.opener;
  const Token& closer = *content.closer;
  const std::size_t openerLineEnd = nextCrLf(text, opener.end);
  if (openerLineEnd == std::string_view::npos || openerLineEnd > closer.begin) return std::nullopt;
  const std::size_t begin = openerLineEnd + 2;
  const std::size_t end = std::max(begin, lineStartOf(text, closer.begin));
  // After the opener its line holds only comments, none running on to the next line.
  if (!onlyComments(text, opener.end, openerLineEnd, false)) return std::nullopt;
  // Before the closer its line holds only comments that start on it: a comment there is read
  // from the data on, to be sure it is no part of one that started above the closer's line.
  if (!onlyWhiteSpace(text.substr(end, closer.begin - end))) {
    Lexer lexer(text, begin, true);
    for (Token t = lexer.next(); t.begin < end; t = lexer.next())
      if (t.end > end - 2) return std::nullopt;
    if (!onlyComments(text, end, closer.begin, true)) return std::nullopt;
  }
  return InlineDataLines{begin, end, closer.end};
}

}  // namespace kolvre
