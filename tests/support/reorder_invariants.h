// What must hold between a script text and its reordered form; shared by the corpus test and
// the reorder fuzz target. Each check returns an empty string when the rule holds, otherwise a
// short description of the first violation found.
#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <iterator>
#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "document/blocks.h"
#include "document/reorder.h"
#include "document/scanner.h"
#include "document/script_file.h"

namespace kolvre::testing {

namespace detail {

// The white space that reorder may drop or add between pieces.
inline bool isReorderSpace(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// A position where the scanner starts a line: the text start or just after CR LF.
inline bool atLineStart(std::string_view text, std::size_t pos) {
  return pos == 0 || (pos >= 2 && text[pos - 2] == '\r' && text[pos - 1] == '\n');
}

inline std::string excerpt(std::string_view s) {
  constexpr std::size_t kShown = 60;
  std::string out;
  for (char c : s.substr(0, kShown)) {
    if (c == '\r')
      out += "\\r";
    else if (c == '\n')
      out += "\\n";
    else
      out += c;
  }
  if (s.size() > kShown) out += "...";
  return '"' + out + '"';
}

}  // namespace detail

// True when the scanner takes a header from inside a line. It reads headers at line starts only,
// so this holds for no text: a guard against that rule breaking, for the fuzz targets.
inline bool hasHeaderInsideALine(std::string_view text) {
  for (const HeaderLine& h : scanHeaderLines(text))
    if (!detail::atLineStart(text, h.offset)) return true;
  return false;
}

// The top-level barrier lines of a text and the blocks of each stretch between them, worked out
// from the block rule and the marked lines on their own, as the reorder must keep them.
struct Stretches {
  std::vector<std::string_view> barriers;             // each line, without white space at its end
  std::vector<std::vector<std::string_view>> blocks;  // per stretch, sorted
  bool operator==(const Stretches&) const = default;
};

inline Stretches stretchesOf(std::string_view text) {
  const std::vector<HeaderLine> lines = scanHeaderLines(text);
  struct Cut {
    BlockExtent extent;
    bool insideBody;
  };
  std::vector<Cut> blocks;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const std::size_t limit = i + 1 < lines.size() ? lines[i + 1].offset : text.size();
    const std::size_t lineEnd = text.find("\r\n", lines[i].offset);
    const std::size_t from =
        lineEnd == std::string_view::npos ? limit : std::min(lineEnd + 2, limit);
    const BlockEnd end = blockEndIn(text, lines[i].offset, limit, markedLines(text, from, limit));
    blocks.push_back({{lines[i].offset, end.end}, end.cutInsideBody});
  }
  Stretches s;
  s.blocks.emplace_back();
  std::size_t b = 0;
  int sections = 0;
  std::size_t lastEnd = 0;  // where the last block before the line ends
  bool lastCutInsideBody = false;
  for (const MarkedLine& m : scanOutline(text).marks) {
    while (b < blocks.size() && blocks[b].extent.end <= m.start) {
      s.blocks.back().push_back(blocks[b].extent.of(text));
      lastEnd = blocks[b].extent.end;
      lastCutInsideBody = blocks[b++].insideBody;
    }
    if (b < blocks.size() && blocks[b].extent.begin <= m.start) continue;  // inside a block
    // Was the block before cut short at this line (only white space between)?
    bool cutHere = lastCutInsideBody;
    for (std::size_t p = lastEnd; cutHere && p < m.start; ++p)
      cutHere = detail::isReorderSpace(text[p]);
    lastCutInsideBody = false;
    if (!isBarrier(m.mark)) continue;
    if (m.mark == LineMark::If) {
      ++sections;
    } else if (m.mark == LineMark::Else || m.mark == LineMark::EndIf) {
      if (sections == 0 && !cutHere) continue;  // closes no section: no barrier
      if (m.mark == LineMark::EndIf && sections > 0) --sections;
    }
    std::size_t end = text.find("\r\n", m.start);
    if (end == std::string_view::npos) end = text.size();
    while (end > m.start && detail::isReorderSpace(text[end - 1])) --end;
    s.barriers.push_back(text.substr(m.start, end - m.start));
    s.blocks.emplace_back();
  }
  while (b < blocks.size()) s.blocks.back().push_back(blocks[b++].extent.of(text));
  for (auto& stretch : s.blocks) std::sort(stretch.begin(), stretch.end());
  return s;
}

// Every block the header rule can find in `text` stands in `out`, starting at a line start, at
// least as often as it occurs among the blocks of `text` (duplicates each keep their block).
inline std::string checkBlocksKept(std::string_view text, std::string_view out) {
  const std::vector<HeaderLine> lines = scanHeaderLines(text);
  std::map<std::string_view, std::size_t> wanted;
  for (std::size_t i = 0; i < lines.size(); ++i)
    if (lines[i].locatable) ++wanted[blockExtentAt(text, lines, i).of(text)];
  for (const auto& [block, count] : wanted) {
    std::size_t found = 0;
    for (std::size_t pos = out.find(block); pos != std::string_view::npos && found < count;
         pos = out.find(block, pos + 1)) {
      if (!detail::atLineStart(out, pos)) continue;
      ++found;
      pos += block.size() - 1;  // placements of one block never overlap
    }
    if (found < count)
      return "block " + detail::excerpt(block) + " occurs " + std::to_string(count) +
             " times but is placed " + std::to_string(found) + " times";
  }
  return {};
}

// The barrier lines outside every block stand in the same order, and each stretch between
// them holds the same blocks: none crossed a barrier, none was cut differently.
inline std::string checkStretchesKept(std::string_view text, std::string_view out) {
  const Stretches before = stretchesOf(text);
  const Stretches after = stretchesOf(out);
  if (before == after) return {};
  if (before.barriers.size() != after.barriers.size())
    return std::to_string(before.barriers.size()) + " barrier lines before the reorder, " +
           std::to_string(after.barriers.size()) + " after";
  for (std::size_t i = 0; i < before.barriers.size(); ++i)
    if (before.barriers[i] != after.barriers[i])
      return "barrier line " + std::to_string(i) + " was " + detail::excerpt(before.barriers[i]) +
             ", is " + detail::excerpt(after.barriers[i]);
  for (std::size_t i = 0; i < before.blocks.size(); ++i)
    if (before.blocks[i] != after.blocks[i])
      return "stretch " + std::to_string(i) + " held " + std::to_string(before.blocks[i].size()) +
             " blocks, holds " + std::to_string(after.blocks[i].size()) + " other ones";
  return "stretches differ";
}

// Reordering only moves text and changes white space between pieces: the multiset of the
// other bytes is the same.
inline std::string checkSameNonSpaceBytes(std::string_view text, std::string_view out) {
  std::array<long long, 256> balance{};
  for (unsigned char c : text)
    if (!detail::isReorderSpace(static_cast<char>(c))) ++balance[c];
  for (unsigned char c : out)
    if (!detail::isReorderSpace(static_cast<char>(c))) --balance[c];
  for (std::size_t b = 0; b < balance.size(); ++b)
    if (balance[b] != 0)
      return "byte " + std::to_string(b) + (balance[b] > 0 ? " lost " : " invented ") +
             std::to_string(balance[b] > 0 ? balance[b] : -balance[b]) + " times";
  return {};
}

// Every line of `text` stays whole: each non-blank one, without its surrounding white space,
// still stands in `out`. Lines are split at line feeds, so a line with a stray CR is checked
// whole.
inline std::string checkLinesKept(std::string_view text, std::string_view out) {
  std::size_t hint = 0;  // lines mostly move in runs: look after the previous one first
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(start, end - start);
    start = end + 1;
    while (!line.empty() && detail::isReorderSpace(line.front())) line.remove_prefix(1);
    while (!line.empty() && detail::isReorderSpace(line.back())) line.remove_suffix(1);
    if (line.empty()) continue;
    std::size_t at = out.find(line, hint);
    if (at == std::string_view::npos) at = out.find(line);
    if (at == std::string_view::npos) return "line " + detail::excerpt(line) + " is missing";
    hint = at + line.size();
  }
  return {};
}

// The index of the reordered text lists the same (name, type) pairs, as often each.
inline std::string checkSameIndex(std::string_view text, std::string_view out) {
  auto pairs = [](std::string_view t) {
    std::vector<std::pair<std::string, ResType>> p;
    for (IndexEntry& e : ARESOURCES(t)) p.emplace_back(std::move(e.name), e.type);
    std::sort(p.begin(), p.end());
    return p;
  };
  const auto before = pairs(text);
  const auto after = pairs(out);
  if (before == after) return {};
  std::vector<std::pair<std::string, ResType>> lost, gained;
  std::set_difference(before.begin(), before.end(), after.begin(), after.end(),
                      std::back_inserter(lost));
  std::set_difference(after.begin(), after.end(), before.begin(), before.end(),
                      std::back_inserter(gained));
  std::string msg = "index has " + std::to_string(before.size()) + " entries before and " +
                    std::to_string(after.size()) + " after";
  if (!lost.empty())
    msg += "; lost " + detail::excerpt(lost.front().first) + " " +
           std::string(typeCode(lost.front().second));
  if (!gained.empty())
    msg += "; gained " + detail::excerpt(gained.front().first) + " " +
           std::string(typeCode(gained.front().second));
  return msg;
}

// A reordered text is its own reordered form.
inline std::string checkIdempotent(std::string_view out) {
  const std::string again = reorderScript(out);
  if (again == out) return {};
  const auto diff = std::mismatch(again.begin(), again.end(), out.begin(), out.end());
  const std::size_t at = static_cast<std::size_t>(diff.first - again.begin());
  return "second reorder differs at byte " + std::to_string(at) + ": " +
         detail::excerpt(std::string_view(again).substr(at)) + " instead of " +
         detail::excerpt(out.substr(std::min(at, out.size())));
}

// The bytes written for a file read unchanged are the bytes read.
inline std::string checkDiskRoundTrip(const std::string& bytes) {
  const ScriptText script = fromDisk(bytes);
  const std::string back = toDisk(script.text, script.form);
  if (back == bytes) return {};
  return "disk form of " + std::to_string(bytes.size()) + " bytes comes back as " +
         std::to_string(back.size()) + " bytes";
}

}  // namespace kolvre::testing
