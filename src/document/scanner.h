// Scanning a script text for resource header lines, and the sorted resource index built from them.
#pragma once

#include <cstddef>
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
  // True when the header rule can find this line: it starts the text or follows a line feed,
  // and exactly one blank stands between the name and the keyword.
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

// The longest piece the scanner reads as one line; longer lines are read in pieces.
inline constexpr std::size_t kMaxScanLine = 1024;

// Every header line of the text, in text order. Lines end at CR LF only.
std::vector<HeaderLine> scanHeaderLines(std::string_view text);

// ARESOURCES: the index of the text, sorted by upper-cased name, then type code.
// Entries with equal keys keep their text order.
ResourceIndex ARESOURCES(std::string_view text);

// The index sort key: the name in upper case (a to z only), one blank, the type code.
std::string indexKey(std::string_view name, ResType type);

}  // namespace kolvre
