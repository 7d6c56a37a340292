// Scanning a script text for resource header lines, and the sorted resource index built from them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "base/text.h"
#include "document/resource_types.h"

namespace kolvre {

// One line that the scanner takes for a resource header, in text order.
struct HeaderLine {
  std::string_view name;  // the first word, case kept (views into the scanned text)
  ResType type;
  std::size_t offset;  // 0-based position of the name's first character
  // True when the header rule can find this line: it starts a line and blanks or tabs stand
  // between the name and the keyword. The scanner reports no other header lines, so this holds
  // for every line it gives; the commands still check it before they touch a block.
  bool locatable;
};

// One entry of the resource index.
struct IndexEntry {
  std::string name;
  ResType type;
  std::size_t offset;  // where its header line starts in the text the index was built from

  std::string_view code() const { return typeCode(type); }
  bool operator==(const IndexEntry&) const = default;
};

using ResourceIndex = std::vector<IndexEntry>;

// A header's name, blanks and keyword must lie within the first kMaxScanLine characters of its
// line. The rest of a longer line is never read for a header: only a line start starts one.
inline constexpr std::size_t kMaxScanLine = 1024;

// Every header line of the text, in text order. Lines end at CR LF only; a header starts a line
// (at the start of the text or after CR LF), its first word is the name, one or more blanks or
// tabs follow, then a type keyword (a prefix test: DIALOG finds DIALOGEX). A line that opens a
// conditional section or sets the LANGUAGE (a barrier line, see LineMark) is never a header.
std::vector<HeaderLine> scanHeaderLines(std::string_view text);

// ARESOURCES: the index of the text, sorted by upper-cased name, then type code.
// Entries with equal keys keep their text order.
ResourceIndex ARESOURCES(std::string_view text);

// The index sort key: the name in upper case (a to z only), one blank, the type code.
std::string indexKey(std::string_view name, ResType type);

// What a line that is no header line means to the block rules, read from its first word (after
// any blanks or tabs). Keywords are upper case, as the scanner reads type keywords, except
// LANGUAGE, which is read in any case: taking a line for a barrier only holds the reorder back.
enum class LineMark : std::uint8_t {
  OpenBrace,   // the first word starts with "{"
  CloseBrace,  // "}" is the line's first character
  Begin,       // BEGIN
  End,         // END
  // Barrier lines: the reorder never moves a block across one that stands outside every block.
  If,                  // #if, #ifdef, #ifndef ('#' and the word may have blanks between)
  Else,                // #elif, #else
  EndIf,               // #endif
  Language,            // LANGUAGE, right under a line that holds text
  LanguageAfterBlank,  // LANGUAGE at the start of the text or under a blank line
};

constexpr bool isBarrier(LineMark mark) {
  return mark >= LineMark::If;
}

// A line with a mark.
struct MarkedLine {
  std::size_t start;  // where the line starts
  std::size_t word;   // where its first word starts
  LineMark mark;
};

// The header lines and the marked lines of a text, each in text order, from one pass.
struct ScriptOutline {
  std::vector<HeaderLine> headers;
  std::vector<MarkedLine> marks;
};
ScriptOutline scanOutline(std::string_view text);

// The marked lines among the lines that start in [from, to), read as scanOutline reads them.
// `from` must be a line start and the line before it a header line (it holds text), as for the
// lines of one block; header lines in the range are passed over.
std::vector<MarkedLine> markedLines(std::string_view text, std::size_t from, std::size_t to);

}  // namespace kolvre
