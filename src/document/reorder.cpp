#include "document/reorder.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "document/blocks.h"
#include "document/scanner.h"

namespace kolvre {

namespace {

// A piece of text outside every block, without its leading blank lines and trailing white
// space. Leading blanks of its first line are kept, so indentation survives. Lines end at CR LF
// only: a bare line feed is kept with what follows it, or the text after it would start a line
// and could read as a header that was none.
std::string_view trimFree(std::string_view s) {
  std::size_t first = 0;
  while (first < s.size() && isSpace(s[first])) ++first;
  if (first == s.size()) return {};
  std::size_t start = first;
  while (start > 0 && !(start >= 2 && s[start - 2] == '\r' && s[start - 1] == '\n')) --start;
  std::size_t end = s.size();
  while (end > first && isSpace(s[end - 1])) --end;
  return s.substr(start, end - start);
}

// The place of each type's code among all codes in byte order, by ResType.
constexpr std::array<std::uint8_t, kResTypes.size()> kCodeRank = [] {
  std::array<std::uint8_t, kResTypes.size()> rank{};
  for (const ResTypeInfo& a : kResTypes)
    for (const ResTypeInfo& b : kResTypes)
      if (b.code < a.code) ++rank[static_cast<std::size_t>(a.type)];
  return rank;
}();

// The first part of a block's sort key as one number: the rank of its type code, then the first
// seven bytes of its name, zero-padded. Numbers that differ order as the full keys do.
std::uint64_t sortHead(ResType type, std::string_view name) {
  std::uint64_t head = kCodeRank[static_cast<std::size_t>(type)];
  for (std::size_t i = 0; i < 7; ++i)
    head = (head << 8) | (i < name.size() ? static_cast<unsigned char>(name[i]) : 0u);
  return head;
}

std::string_view trimTrailingBlanks(std::string_view s) {
  while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
  return s;
}

}  // namespace

std::string reorderScript(std::string_view text) {
  const ScriptOutline outline = scanOutline(text);
  const std::vector<HeaderLine>& lines = outline.headers;
  const std::vector<MarkedLine>& marks = outline.marks;

  struct Block {
    std::uint64_t sortHead;
    std::string_view sortName;
    BlockExtent extent;
  };
  std::vector<Block> blocks;  // the blocks of the stretch being read
  blocks.reserve(64);
  std::string result;
  result.reserve(text.size() + kBlockSeparator.size() * (lines.size() + marks.size() + 1));
  auto addPart = [&](std::string_view part) {
    if (!result.empty()) result += kBlockSeparator;
    result += part;
  };

  std::string freeText;
  std::size_t covered = 0;
  auto addFree = [&](std::string_view piece) {
    piece = trimFree(piece);
    if (piece.empty()) return;
    if (!freeText.empty()) freeText += "\r\n";
    freeText += piece;
  };
  // A stretch that holds a block cut short inside its body keeps its order when a barrier ends
  // it: that block stays where it was cut, before the barrier line or before the block that
  // followed it. Sorted elsewhere, it could run on over the barrier line into the next
  // stretch's lines, taking them for the rest of its body.
  bool keepOrder = false;
  // The stretch so far goes out: its free text, then its blocks sorted by type code, then name.
  auto endStretch = [&](bool beforeBarrier) {
    if (!freeText.empty()) addPart(freeText);
    freeText.clear();
    // Equal heads mean equal codes. Blocks come in text order, so ordering equal keys by where
    // they start keeps them stable without a stable sort's buffer.
    if (!(keepOrder && beforeBarrier))
      std::sort(blocks.begin(), blocks.end(), [](const Block& a, const Block& b) {
        if (a.sortHead != b.sortHead) return a.sortHead < b.sortHead;
        if (a.sortName != b.sortName) return a.sortName < b.sortName;
        return a.extent.begin < b.extent.begin;
      });
    for (const Block& block : blocks) addPart(trimTrailingBlanks(block.extent.of(text)));
    blocks.clear();
    keepOrder = false;
  };
  // A barrier line outside every block: the next stretch starts with it. An #elif, #else or
  // #endif that closes no section opened before it in the script has no section to keep blocks
  // out of and stays with the free text, unless a block was cut short inside its body there:
  // then it stays after that block, to cut it there again.
  std::size_t openSections = 0;
  auto barrierAt = [&](const MarkedLine& line, bool cutABody) {
    if (line.mark == LineMark::If) {
      ++openSections;
    } else if (line.mark == LineMark::Else || line.mark == LineMark::EndIf) {
      if (openSections == 0 && !cutABody) return;
      if (line.mark == LineMark::EndIf && openSections > 0) --openSections;
    }
    addFree(text.substr(covered, line.start - covered));
    endStretch(true);
    covered = line.start;
  };

  std::size_t m = 0;
  const std::size_t firstHeader = lines.empty() ? text.size() : lines.front().offset;
  for (; m < marks.size() && marks[m].start < firstHeader; ++m)
    if (isBarrier(marks[m].mark)) barrierAt(marks[m], false);
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const std::size_t begin = lines[i].offset;
    const std::size_t limit = i + 1 < lines.size() ? lines[i + 1].offset : text.size();
    std::size_t blockMarks = m;
    while (blockMarks < marks.size() && marks[blockMarks].start < limit) ++blockMarks;
    const BlockEnd end =
        blockEndIn(text, begin, limit, std::span(marks).subspan(m, blockMarks - m));
    addFree(text.substr(covered, begin - covered));
    covered = end.end;
    if (end.cutInsideBody) keepOrder = true;
    blocks.push_back({sortHead(lines[i].type, lines[i].name), lines[i].name, {begin, end.end}});
    // Only white space stands between a block cut short and the line it was cut at.
    for (bool first = true; m < blockMarks; ++m) {
      if (marks[m].start < end.end) continue;
      if (isBarrier(marks[m].mark)) barrierAt(marks[m], first && end.cutInsideBody);
      first = false;
    }
  }
  addFree(text.substr(covered));
  endStretch(false);
  return result;
}

}  // namespace kolvre
