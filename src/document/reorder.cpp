#include "document/reorder.h"

#include <algorithm>
#include <array>
#include <cstdint>
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
  const std::vector<HeaderLine> lines = scanHeaderLines(text);

  struct Block {
    std::uint64_t sortHead;
    std::string_view sortName;
    BlockExtent extent;
  };
  std::vector<Block> blocks;
  blocks.reserve(lines.size());
  std::string freeText;
  std::size_t covered = 0;
  auto addFree = [&](std::string_view piece) {
    piece = trimFree(piece);
    if (piece.empty()) return;
    if (!freeText.empty()) freeText += "\r\n";
    freeText += piece;
  };
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (!lines[i].locatable) continue;
    const BlockExtent extent = blockExtentAt(text, lines, i);
    addFree(text.substr(covered, extent.begin - covered));
    covered = extent.end;
    blocks.push_back({sortHead(lines[i].type, lines[i].name), lines[i].name, extent});
  }
  addFree(text.substr(covered));

  // By type code, then name; equal heads mean equal codes. Blocks come in text order, so
  // ordering equal keys by where they start keeps them stable without a stable sort's buffer.
  std::sort(blocks.begin(), blocks.end(), [](const Block& a, const Block& b) {
    if (a.sortHead != b.sortHead) return a.sortHead < b.sortHead;
    if (a.sortName != b.sortName) return a.sortName < b.sortName;
    return a.extent.begin < b.extent.begin;
  });

  std::string result;
  result.reserve(text.size() + kBlockSeparator.size() * (blocks.size() + 1));
  result += freeText;
  for (const Block& block : blocks) {
    if (!result.empty()) result += kBlockSeparator;
    result += trimTrailingBlanks(block.extent.of(text));
  }
  return result;
}

}  // namespace kolvre
