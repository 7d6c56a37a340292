#include "document/scanner.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>

namespace kolvre {

namespace {

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

constexpr bool isWordChar(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
}

// True when the `size` characters at `at` start with the whole word `word`.
bool startsWithWord(const char* at, std::size_t size, std::string_view word) {
  return size >= word.size() && std::memcmp(at, word.data(), word.size()) == 0 &&
         (size == word.size() || !isWordChar(at[word.size()]));
}

// Bytes that can start a word with a mark: most lines start with none of them.
constexpr std::array<bool, 256> kMarkFirstByte = [] {
  std::array<bool, 256> table{};
  for (unsigned char c : std::string_view("{}#BELl")) table[c] = true;
  return table;
}();

enum class WordMark : std::uint8_t { None, OpenBrace, Begin, End, If, Else, EndIf, Language };

// The mark of the first word of a line, at `word` with `size` characters left on the line.
WordMark markOfWord(const char* word, std::size_t size) {
  if (size == 0 || !kMarkFirstByte[static_cast<unsigned char>(word[0])]) return WordMark::None;
  switch (word[0]) {
    case '{':
      return WordMark::OpenBrace;
    case 'B':
      return startsWithWord(word, size, "BEGIN") ? WordMark::Begin : WordMark::None;
    case 'E':
      return startsWithWord(word, size, "END") ? WordMark::End : WordMark::None;
    case 'L':
    case 'l': {
      constexpr std::string_view kLanguage = "LANGUAGE";
      if (size < kLanguage.size() ||
          !equalsIgnoringCase(std::string_view(word, kLanguage.size()), kLanguage) ||
          (size > kLanguage.size() && isWordChar(word[kLanguage.size()])))
        return WordMark::None;
      return WordMark::Language;
    }
    case '#': {
      std::size_t k = 1;
      while (k < size && isBlank(word[k])) ++k;
      const char* const directive = word + k;
      const std::size_t left = size - k;
      if (startsWithWord(directive, left, "if") || startsWithWord(directive, left, "ifdef") ||
          startsWithWord(directive, left, "ifndef"))
        return WordMark::If;
      if (startsWithWord(directive, left, "elif") || startsWithWord(directive, left, "else"))
        return WordMark::Else;
      if (startsWithWord(directive, left, "endif")) return WordMark::EndIf;
      return WordMark::None;
    }
    default:
      return WordMark::None;
  }
}

constexpr bool isBarrierWord(WordMark mark) {
  return mark >= WordMark::If;
}

LineMark lineMark(WordMark mark, bool afterBlank) {
  switch (mark) {
    case WordMark::OpenBrace:
      return LineMark::OpenBrace;
    case WordMark::Begin:
      return LineMark::Begin;
    case WordMark::End:
      return LineMark::End;
    case WordMark::If:
      return LineMark::If;
    case WordMark::Else:
      return LineMark::Else;
    case WordMark::EndIf:
      return LineMark::EndIf;
    default:
      return afterBlank ? LineMark::LanguageAfterBlank : LineMark::Language;
  }
}

// Where the line that starts at `pos` ends (its CR LF, or the end of the text).
std::size_t lineEnd(std::string_view text, std::size_t pos) {
  const char* const base = text.data();
  std::size_t from = pos;
  while (from < text.size()) {
    const void* hit = std::memchr(base + from, '\r', text.size() - from);
    if (!hit) break;
    const std::size_t cr = static_cast<const char*>(hit) - base;
    if (cr + 1 < text.size() && base[cr + 1] == '\n') return cr;
    from = cr + 1;
  }
  return text.size();
}

// Reads the lines that start in [from, to), `from` being a line start, in text order: calls
// header(name, type, offset) for every header line and, when kMarks is set, mark(MarkedLine) for
// every marked line. `afterBlank` tells whether the line before `from` is blank.
template <bool kMarks, typename Header, typename Mark>
void readLines(std::string_view text, std::size_t from, std::size_t to, bool afterBlank,
               Header header, Mark mark) {
  const char* const base = text.data();
  std::size_t pos = from;
  while (pos < to) {
    const std::size_t end = lineEnd(text, pos);
    const char* const line = base + pos;
    const std::size_t size = end - pos;
    bool blank = true;
    // A line that starts with a blank or a tab (an expanded tab is blanks) is never a header.
    if (size != 0 && !isBlank(line[0])) {
      blank = false;
      const WordMark word = markOfWord(line, size);
      if (isBarrierWord(word)) {
        if constexpr (kMarks) mark(MarkedLine{pos, pos, lineMark(word, afterBlank)});
      } else {
        const std::size_t scanned = std::min(size, kMaxScanLine);
        std::size_t i = 1;
        while (i < scanned && !isBlank(line[i])) ++i;
        std::size_t j = i;
        while (j < scanned && isBlank(line[j])) ++j;
        if (const ResTypeInfo* info = keywordAt(line + j, scanned - j)) {
          header(std::string_view(line, i), info->type, pos);
        } else if constexpr (kMarks) {
          if (line[0] == '}')
            mark(MarkedLine{pos, pos, LineMark::CloseBrace});
          else if (word != WordMark::None)
            mark(MarkedLine{pos, pos, lineMark(word, afterBlank)});
        }
      }
    } else if constexpr (kMarks) {
      std::size_t k = 0;
      while (k < size && isBlank(line[k])) ++k;
      if (k < size) {
        blank = false;
        const WordMark word = markOfWord(line + k, size - k);
        if (word != WordMark::None) mark(MarkedLine{pos, pos + k, lineMark(word, afterBlank)});
      }
    }
    afterBlank = blank;
    pos = end + 2;
  }
}

// Calls found(name, type, offset) for every header line of the text, in text order.
template <typename Found>
void forEachHeaderLine(std::string_view text, Found found) {
  readLines<false>(text, 0, text.size(), true, found, [](const MarkedLine&) {});
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
  forEachHeaderLine(text, [&](std::string_view name, ResType type, std::size_t offset) {
    lines.push_back({name, type, offset, true});
  });
  return lines;
}

ScriptOutline scanOutline(std::string_view text) {
  ScriptOutline outline;
  outline.headers.reserve(expectedHeaders(text));
  outline.marks.reserve(expectedHeaders(text) * 2);
  readLines<true>(
      text, 0, text.size(), true,
      [&](std::string_view name, ResType type, std::size_t offset) {
        outline.headers.push_back({name, type, offset, true});
      },
      [&](const MarkedLine& line) { outline.marks.push_back(line); });
  return outline;
}

std::vector<MarkedLine> markedLines(std::string_view text, std::size_t from, std::size_t to) {
  std::vector<MarkedLine> marks;
  readLines<true>(
      text, from, std::min(to, text.size()), false, [](std::string_view, ResType, std::size_t) {},
      [&](const MarkedLine& line) { marks.push_back(line); });
  return marks;
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
  forEachHeaderLine(text, [&](std::string_view name, ResType type, std::size_t offset) {
    const std::string_view code = typeCode(type);
    const std::size_t keySize = name.size() + 1 + code.size();
    std::uint64_t head = 0;
    for (std::size_t b = 0; b < 8; ++b)
      head = (head << 8) | (b < keySize ? keyByte(name, code, b) : 0u);
    // A name lies within the first kMaxScanLine characters of its line.
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
