#include "document/scanner.h"

#include <algorithm>
#include <cstring>

namespace kolvre {

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t'; }

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

}  // namespace

std::vector<HeaderLine> scanHeaderLines(std::string_view text) {
  std::vector<HeaderLine> lines;
  std::size_t pos = 0;
  while (pos < text.size()) {
    const LineSpan span = nextLine(text, pos);
    const std::string_view line = text.substr(pos, span.end - pos);
    // A line that starts with a blank or a tab (an expanded tab is blanks) is never a header.
    if (!line.empty() && !isBlank(line.front())) {
      std::size_t i = 0;
      while (i < line.size() && !isBlank(line[i])) ++i;
      const std::string_view name = line.substr(0, i);
      std::size_t j = i;
      while (j < line.size() && isBlank(line[j])) ++j;
      std::size_t k = j;
      while (k < line.size() && !isBlank(line[k])) ++k;
      if (const auto type = typeFromWord(line.substr(j, k - j))) {
        const bool lineStart = pos == 0 || text[pos - 1] == '\n';
        lines.push_back({name, *type, pos, lineStart && j == i + 1 && line[i] == ' '});
      }
    }
    pos = span.next;
  }
  return lines;
}

std::string upperAscii(std::string_view s) {
  std::string out(s);
  for (char& c : out)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return out;
}

std::string indexKey(std::string_view name, ResType type) {
  std::string key = upperAscii(name);
  key += ' ';
  key += typeCode(type);
  return key;
}

ResourceIndex ARESOURCES(std::string_view text) {
  const std::vector<HeaderLine> lines = scanHeaderLines(text);
  struct Keyed {
    std::string key;
    std::size_t line;
  };
  std::vector<Keyed> keyed;
  keyed.reserve(lines.size());
  for (std::size_t i = 0; i < lines.size(); ++i)
    keyed.push_back({indexKey(lines[i].name, lines[i].type), i});
  std::stable_sort(keyed.begin(), keyed.end(),
                   [](const Keyed& a, const Keyed& b) { return a.key < b.key; });
  ResourceIndex index;
  index.reserve(lines.size());
  for (const Keyed& k : keyed) {
    const HeaderLine& h = lines[k.line];
    index.push_back({std::string(h.name), h.type, h.offset});
  }
  return index;
}

}  // namespace kolvre
