#include "document/scanner.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>

namespace kolvre {

namespace {

constexpr bool isBlank(char c) {
  return c == ' ' || c == '\t';
}

// The scanner picks a line's keyword by its first letter. That reads the same types as
// typeFromWord on the line's second word only while the keywords start with distinct letters
// and hold no blank (a keyword that matches is then wholly inside the word).
constexpr bool keywordsFitTheLetterTable() {
  for (std::size_t a = 0; a < kResTypes.size(); ++a) {
    const std::string_view keyword = kResTypes[a].keyword;
    if (keyword.empty()) return false;
    for (char c : keyword)
      if (isBlank(c)) return false;
    for (std::size_t b = a + 1; b < kResTypes.size(); ++b)
      if (kResTypes[b].keyword.front() == keyword.front()) return false;
  }
  return true;
}
static_assert(keywordsFitTheLetterTable());

// For each byte, 1 + the position in kResTypes of the keyword that starts with it, or 0.
constexpr std::array<std::uint8_t, 256> kKeywordByFirstLetter = [] {
  std::array<std::uint8_t, 256> table{};
  for (std::size_t i = 0; i < kResTypes.size(); ++i)
    table[static_cast<unsigned char>(kResTypes[i].keyword.front())] =
        static_cast<std::uint8_t>(i + 1);
  return table;
}();

// The type whose keyword starts at `word` within a line of `size` characters, if any.
const ResTypeInfo* keywordAt(const char* word, std::size_t size) {
  if (size == 0) return nullptr;
  const std::uint8_t slot = kKeywordByFirstLetter[static_cast<unsigned char>(*word)];
  if (slot == 0) return nullptr;
  const ResTypeInfo& info = kResTypes[slot - 1];
  if (size < info.keyword.size() ||
      std::memcmp(word, info.keyword.data(), info.keyword.size()) != 0)
    return nullptr;
  return &info;
}

// The end of the line that starts at `pos` (exclusive) and where the next line starts.
// A line ends at the next CR LF or after kMaxScanLine characters, whichever comes first.
struct LineSpan {
  std::size_t end;
  std::size_t next;
};

LineSpan nextLine(std::string_view text, std::size_t pos) {
  const std::size_t limit = std::min(text.size(), pos + kMaxScanLine);
  const char* base = text.data();
  std::size_t from = pos;
  while (from < limit) {
    const void* hit = std::memchr(base + from, '\r', limit - from);
    if (!hit) break;
    const std::size_t cr = static_cast<const char*>(hit) - base;
    if (cr + 1 < text.size() && base[cr + 1] == '\n') return {cr, cr + 2};
    from = cr + 1;
  }
  return {limit, limit};
}

// Calls found(name, type, offset, locatable) for every header line of the text, in text order.
template <typename Found>
void forEachHeaderLine(std::string_view text, Found found) {
  const char* const base = text.data();
  std::size_t pos = 0;
  while (pos < text.size()) {
    const LineSpan span = nextLine(text, pos);
    const char* const line = base + pos;
    const std::size_t size = span.end - pos;
    // A line that starts with a blank or a tab (an expanded tab is blanks) is never a header.
    if (size != 0 && !isBlank(line[0])) {
      std::size_t i = 1;
      while (i < size && !isBlank(line[i])) ++i;
      std::size_t j = i;
      while (j < size && isBlank(line[j])) ++j;
      if (const ResTypeInfo* info = keywordAt(line + j, size - j)) {
        const bool lineStart = pos == 0 || base[pos - 1] == '\n';
        found(std::string_view(line, i), info->type, pos,
              lineStart && j == i + 1 && line[i] == ' ');
      }
    }
    pos = span.next;
  }
}

// Room for a header every 256 characters: a guess that spares the copies of a growing vector in
// large scripts. Pages never written cost nothing.
std::size_t expectedHeaders(std::string_view text) {
  return text.size() / 256 + 16;
}

// Byte `i` of indexKey(name, type) without building it.
unsigned char keyByte(std::string_view name, std::string_view code, std::size_t i) {
  if (i < name.size()) return static_cast<unsigned char>(upperByte(name[i]));
  if (i == name.size()) return ' ';
  return static_cast<unsigned char>(code[i - name.size() - 1]);
}

}  // namespace

std::vector<HeaderLine> scanHeaderLines(std::string_view text) {
  std::vector<HeaderLine> lines;
  lines.reserve(expectedHeaders(text));
  forEachHeaderLine(text,
                    [&](std::string_view name, ResType type, std::size_t offset, bool locatable) {
                      lines.push_back({name, type, offset, locatable});
                    });
  return lines;
}

std::string indexKey(std::string_view name, ResType type) {
  std::string key = upperAscii(name);
  key += ' ';
  key += typeCode(type);
  return key;
}

ResourceIndex ARESOURCES(std::string_view text) {
  // Each header with the first eight bytes of its sort key (indexKey) as a number, zero-padded,
  // which orders as the keys do: most comparisons need neither the key nor the text. Equal keys
  // keep text order, which is the order of the offsets.
  struct Keyed {
    std::uint64_t head;
    std::size_t offset;  // where the name starts
    std::uint32_t nameSize;
    ResType type;
  };
  std::vector<Keyed> keyed;
  keyed.reserve(expectedHeaders(text));
  forEachHeaderLine(text, [&](std::string_view name, ResType type, std::size_t offset, bool) {
    const std::string_view code = typeCode(type);
    const std::size_t keySize = name.size() + 1 + code.size();
    std::uint64_t head = 0;
    for (std::size_t b = 0; b < 8; ++b)
      head = (head << 8) | (b < keySize ? keyByte(name, code, b) : 0u);
    // A name is part of one scanned line, so it is never longer than kMaxScanLine.
    keyed.push_back({head, offset, static_cast<std::uint32_t>(name.size()), type});
  });
  const char* const base = text.data();
  std::sort(keyed.begin(), keyed.end(), [base](const Keyed& a, const Keyed& b) {
    if (a.head != b.head) return a.head < b.head;
    const std::string_view nameA(base + a.offset, a.nameSize);
    const std::string_view nameB(base + b.offset, b.nameSize);
    const std::string_view codeA = typeCode(a.type);
    const std::string_view codeB = typeCode(b.type);
    const std::size_t sizeA = nameA.size() + 1 + codeA.size();
    const std::size_t sizeB = nameB.size() + 1 + codeB.size();
    for (std::size_t i = 0; i < sizeA && i < sizeB; ++i) {
      const unsigned char x = keyByte(nameA, codeA, i);
      const unsigned char y = keyByte(nameB, codeB, i);
      if (x != y) return x < y;
    }
    if (sizeA != sizeB) return sizeA < sizeB;
    return a.offset < b.offset;
  });
  ResourceIndex index;
  index.reserve(keyed.size());
  for (const Keyed& k : keyed)
    index.push_back({std::string(base + k.offset, k.nameSize), k.type, k.offset});
  return index;
}

}  // namespace kolvre
