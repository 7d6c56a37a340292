#include "document/reorder.h"

#include <algorithm>
#include <array>
#include <optional>
#include <vector>

#include "base/text.h"
#include "document/scanner.h"
#include "document/statement_check.h"
#include "syntax/lexer.h"
#include "syntax/positions.h"
#include "syntax/statements.h"

namespace kolvre {

namespace {

// A listed block as the reorder moves it: whole lines, from its comment lines above through
// the line its statement ends on, and the blank lines after it.
struct Unit {
  std::size_t begin;       // the start of its first line
  std::size_t contentEnd;  // the CR LF that ends its last line, or the end of the text
  std::size_t gapEnd;      // after the whitespace-only lines that follow it
  std::size_t nameBegin;   // where its statement (its name) starts
  std::string_view name;
  std::string_view code;  // its type code
  std::size_t stretch;    // which stretch between barriers holds it
};

// The movable blocks of a text, in text order, each with its stretch.
struct Layout {
  std::vector<Unit> units;
  std::size_t stretches = 1;
};

bool isBarrier(const Statement& s) {
  switch (s.kind) {
    case StatementKind::Directive:
    case StatementKind::Language:
    case StatementKind::Version:
    case StatementKind::Characteristics:
    case StatementKind::Other:
      return true;
    case StatementKind::Resource:
    case StatementKind::StringTable:
      return !s.complete || !s.selfContained;
    case StatementKind::Comment:
      return false;
  }
  return true;
}

Layout layoutOf(std::string_view text, const std::vector<Statement>& statements) {
  Layout layout;
  std::size_t stretch = 0;
  LineStarts lines(text);
  // A statement left open ends where the next statement begins: the block that stands there
  // stays, and nothing goes in before it, so that the open statement keeps its end.
  bool afterOpen = false;
  for (std::size_t i = 0; i < statements.size(); ++i) {
    const Statement& s = statements[i];
    if (s.kind == StatementKind::Comment) continue;
    const bool open = !s.complete;
    if (isBarrier(s) || (s.listed && afterOpen)) {
      ++stretch;
      afterOpen = open;
      continue;
    }
    afterOpen = open;
    if (!s.listed) continue;
    // Its first line holds nothing before it.
    const std::size_t lineStart = lines.of(s.begin);
    bool movable = blanksWithinLine(text, lineStart, s.begin);
    // Its last line holds nothing after it but comments.
    std::size_t end = s.end;
    std::size_t next = i + 1;
    while (next < statements.size() && statements[next].kind == StatementKind::Comment &&
           blanksWithinLine(text, end, statements[next].begin))
      end = statements[next++].end;
    while (end < text.size() && isSpace(text[end]) && !crLfAt(text, end)) ++end;
    if (end < text.size() && !crLfAt(text, end)) movable = false;
    // A string or comment left open at the text's end would take in what came after it.
    if (end == text.size() && endsLeftOpen(text, s.begin, end)) movable = false;
    if (!movable) {
      ++stretch;
      continue;
    }
    // The comment lines right above it, each alone on its lines, none after a blank line.
    std::size_t begin = lineStart;
    for (std::size_t k = i; k > 0; --k) {
      const Statement& above = statements[k - 1];
      if (above.kind != StatementKind::Comment) break;
      // Only blanks and one line end between the comment and the line below it.
      if (begin < 2 || !crLfAt(text, begin - 2) || !blanksWithinLine(text, above.end, begin - 2))
        break;
      const std::size_t commentLine = lineStartOf(text, above.begin);
      if (!blanksWithinLine(text, commentLine, above.begin)) break;
      begin = commentLine;
    }
    std::size_t gapEnd = end;
    if (end < text.size()) {
      gapEnd = end + 2;
      while (const std::optional<std::size_t> after = afterBlankLine(text, gapEnd)) gapEnd = *after;
    }
    layout.units.push_back(
        {begin, end, gapEnd, s.begin, s.name(text), typeCode(*s.listed), stretch});
    i = next - 1;
  }
  layout.stretches = stretch + 1;
  return layout;
}

// Among `others` (units of one stretch, in text order), the index before which a block of
// `code` and `name` belongs.
std::size_t placeAmong(const std::vector<const Unit*>& others, std::string_view code,
                       std::string_view name) {
  std::optional<std::size_t> lastOfType;
  for (std::size_t k = 0; k < others.size(); ++k) {
    if (others[k]->code != code) continue;
    if (compareNames(others[k]->name, name) > 0) return k;
    lastOfType = k;
  }
  if (lastOfType) return *lastOfType + 1;
  for (std::size_t k = 0; k < others.size(); ++k)
    if (others[k]->code > code) return k;
  return others.size();
}

// True when the unit ends the text with no blank line after it: its own line end at most.
bool endsTheText(std::string_view text, const Unit& u) {
  return u.gapEnd == text.size() && u.gapEnd - u.contentEnd <= 2;
}

// The blank lines that set a unit apart: after it, or, for a unit that ends the text with no
// blank line after it, before it.
std::string_view gapOf(std::string_view text, const Unit& u) {
  if (!endsTheText(text, u)) return text.substr(u.contentEnd, u.gapEnd - u.contentEnd);
  std::size_t from = u.begin;
  while (from >= 2 && crLfAt(text, from - 2)) {
    const std::size_t line = lineStartOf(text, from - 2);
    bool blank = true;
    for (std::size_t i = line; i < from - 2 && blank; ++i) blank = isSpace(text[i]);
    if (!blank) return text.substr(from - 2, u.begin - (from - 2));
    from = line;
  }
  // Only blank lines above it: nothing sets it apart from another block.
  return {};
}

// A gap fit to set a block apart: it holds a line end.
std::string_view usableGap(std::string_view gap) {
  return holdsCrLf(gap) ? gap : kBlockSeparator;
}

// The text with each unit's slot filled by the unit `placed` puts there.
std::string arrange(std::string_view text, const Layout& layout,
                    const std::vector<const Unit*>& placed);

}  // namespace

std::string reorderScript(std::string_view text) {
  const std::vector<Statement> statements = readStatements(text);
  const Layout layout = layoutOf(text, statements);
  // Per stretch and type, the units sorted into the places of that type.
  std::vector<const Unit*> placed(layout.units.size(), nullptr);
  bool moved = false;
  std::size_t first = 0;
  while (first < layout.units.size()) {
    std::size_t last = first;
    while (last < layout.units.size() && layout.units[last].stretch == layout.units[first].stretch)
      ++last;
    std::vector<std::size_t> slots;
    std::vector<bool> done(last - first, false);
    for (std::size_t i = first; i < last; ++i) {
      if (done[i - first]) continue;
      slots.clear();
      for (std::size_t j = i; j < last; ++j)
        if (layout.units[j].code == layout.units[i].code) {
          slots.push_back(j);
          done[j - first] = true;
        }
      std::vector<const Unit*> sorted;
      for (std::size_t j : slots) sorted.push_back(&layout.units[j]);
      std::stable_sort(sorted.begin(), sorted.end(), [](const Unit* a, const Unit* b) {
        return compareNames(a->name, b->name) < 0;
      });
      for (std::size_t k = 0; k < slots.size(); ++k) {
        placed[slots[k]] = sorted[k];
        if (sorted[k] != &layout.units[slots[k]]) moved = true;
      }
    }
    first = last;
  }
  if (!moved) return std::string(text);
  std::string out = arrange(text, layout, placed);
  // Next to a statement left open, a reorder that would change its reading does not happen.
  if (mayReadOtherwise(text, statements) && !keepsOtherStatements(text, statements, out, {}, 0))
    return std::string(text);
  return out;
}

namespace {

std::string arrange(std::string_view text, const Layout& layout,
                    const std::vector<const Unit*>& placed) {
  std::string out;
  out.reserve(text.size());
  std::size_t from = 0;
  for (std::size_t i = 0; i < layout.units.size(); ++i) {
    const Unit& slot = layout.units[i];
    const Unit& unit = *placed[i];
    out.append(text, from, slot.begin - from);
    out.append(text, unit.begin, unit.contentEnd - unit.begin);
    from = slot.contentEnd;
  }
  out.append(text, from, std::string_view::npos);
  return out;
}

}  // namespace

std::string placeBlock(std::string_view text, std::size_t offset, std::size_t* landed,
                       std::optional<std::string_view> nameBefore) {
  return placeBlock(text, readStatements(text), offset, landed, nameBefore);
}

std::string placeBlock(std::string_view text, const std::vector<Statement>& statements,
                       std::size_t offset, std::size_t* landed,
                       std::optional<std::string_view> nameBefore) {
  if (landed) *landed = offset;
  const Layout layout = layoutOf(text, statements);
  const auto it = std::find_if(layout.units.begin(), layout.units.end(),
                               [&](const Unit& u) { return u.nameBegin == offset; });
  if (it == layout.units.end()) return std::string(text);
  const Unit& unit = *it;
  std::vector<const Unit*> others;
  std::size_t current = 0;  // how many of the others stand before it
  for (const Unit& u : layout.units) {
    if (u.stretch != unit.stretch || &u == &unit) continue;
    if (u.begin < unit.begin) ++current;
    others.push_back(&u);
  }
  const std::size_t target = placeAmong(others, unit.code, unit.name);
  if (target == current) return std::string(text);
  // Among blocks of its type it stays where the names before it sort no later and the names
  // after it later, whatever stands between.
  bool sameType = false;
  bool inOrder = true;
  for (const Unit* other : others) {
    if (other->code != unit.code) continue;
    sameType = true;
    const int order = compareNames(other->name, unit.name);
    if (other->begin < unit.begin ? order > 0 : order <= 0) inOrder = false;
  }
  if (sameType && inOrder) return std::string(text);
  // Renamed: only a stretch that stood sorted with the old name is kept sorted.
  if (nameBefore) {
    std::optional<std::string_view> previous;
    std::size_t k = 0;
    for (std::size_t i = 0; i <= others.size(); ++i) {
      std::string_view name;
      if (i == current) {
        name = *nameBefore;
      } else {
        const Unit* other = others[k++];
        if (other->code != unit.code) continue;
        name = other->name;
      }
      if (previous && compareNames(*previous, name) > 0) return std::string(text);
      previous = name;
    }
  }

  // What leaves its place, and the block with its gap as it goes in elsewhere.
  const std::string_view content = text.substr(unit.begin, unit.contentEnd - unit.begin);
  std::size_t removeBegin = unit.begin;
  std::size_t removeEnd = unit.gapEnd;
  const std::string_view gap = gapOf(text, unit);
  if (endsTheText(text, unit)) {
    // It ends the text with no blank line after it: the blank lines before it go with it, and
    // the text keeps the end it had (its last line end, or none).
    removeBegin = unit.begin - gap.size();
    removeEnd = unit.contentEnd;
  }
  const std::string_view insertGap = usableGap(gap);
  std::size_t at;
  std::string inserted;
  if (target < others.size()) {
    at = others[target]->begin;
    inserted.reserve(content.size() + insertGap.size());
    inserted.append(content).append(insertGap);
  } else {
    at = others.back()->contentEnd;
    inserted.reserve(content.size() + insertGap.size());
    inserted.append(insertGap).append(content);
  }
  std::string out;
  out.reserve(text.size() + inserted.size());
  // Where the inserted text starts in the result.
  std::size_t insertedAt;
  if (at <= removeBegin) {
    insertedAt = at;
    out.append(text, 0, at).append(inserted);
    out.append(text, at, removeBegin - at);
    out.append(text, removeEnd, std::string_view::npos);
  } else {
    out.append(text, 0, removeBegin);
    out.append(text, removeEnd, at - removeEnd);
    insertedAt = out.size();
    out.append(inserted);
    out.append(text, at, std::string_view::npos);
  }
  // Next to a statement left open, a move that would change its reading does not happen.
  if (mayReadOtherwise(text, statements) && !keepsOtherStatements(text, statements, out, {}, 0))
    return std::string(text);
  if (landed)
    *landed = insertedAt + (target < others.size() ? 0 : insertGap.size()) +
              (unit.nameBegin - unit.begin);
  return out;
}

namespace {

// A gap cut to its line end and at most two blank lines: a delete takes no more with a block,
// so a new block set apart by more would leave the rest behind when deleted.
std::string_view atMostTwoBlankLines(std::string_view gap) {
  return gap.substr(0, afterLineEnds(gap, 3));
}

// At the end of the text: after its last line that holds more than white space, set apart by
// the blank lines that follow that line (at most two, copied), or by two where the text ends
// on it; where a line of blanks without a line end follows it, not set apart at all, since a
// delete would not take that line. A text of white space only keeps it all, the block on a
// line of its own after it. Deleting the block gives the text back byte for byte.
Insertion endInsertion(std::string_view text, std::string_view content) {
  std::size_t last = text.size();
  while (last > 0 && isSpace(text[last - 1])) --last;
  if (last == 0) {
    // At the start of its last line; a line end after the block keeps the text's end.
    const std::size_t lineStart = lineStartOf(text, text.size());
    std::string inserted(content);
    if (!text.empty()) inserted += "\r\n";
    return {lineStart, lineStart, std::move(inserted)};
  }
  std::size_t lineEnd = nextCrLf(text, last);
  if (lineEnd == std::string_view::npos) lineEnd = text.size();
  std::string_view gap = kBlockSeparator;
  if (lineEnd + 2 < text.size()) {
    std::size_t gapEnd = lineEnd + 2;
    while (const std::optional<std::size_t> after = afterBlankLine(text, gapEnd)) gapEnd = *after;
    gap = atMostTwoBlankLines(text.substr(lineEnd, gapEnd - lineEnd));
  }
  std::string inserted(gap);
  inserted += content;
  return {lineEnd, lineEnd, std::move(inserted)};
}

// At the place placeBlock would give the block in the last stretch; at the end when the
// stretch holds no listed block or the block is none.
Insertion placedInsertion(std::string_view text, const std::vector<Statement>& statements,
                          std::string_view content) {
  const Layout layout = layoutOf(text, statements);
  std::vector<const Unit*> others;
  for (const Unit& u : layout.units)
    if (u.stretch + 1 == layout.stretches) others.push_back(&u);

  std::optional<Statement> first;
  for (const Statement& s : readStatements(content))
    if (s.kind != StatementKind::Comment) {
      if (s.listed) first = s;
      break;
    }
  if (others.empty() || !first) return endInsertion(text, content);
  const std::size_t target = placeAmong(others, typeCode(*first->listed), first->name(content));
  if (target < others.size()) {
    const Unit& next = *others[target];
    std::string inserted(content);
    inserted += atMostTwoBlankLines(usableGap(gapOf(text, next)));
    return {next.begin, next.begin, std::move(inserted)};
  }
  const Unit& last = *others.back();
  std::string inserted(atMostTwoBlankLines(usableGap(gapOf(text, last))));
  inserted += content;
  return {last.contentEnd, last.contentEnd, std::move(inserted)};
}

std::string inserting(std::string_view text, const Insertion& insertion) {
  std::string out;
  out.reserve(text.size() + insertion.text.size());
  out.append(text, 0, insertion.at).append(insertion.text);
  out.append(text, insertion.replacedEnd, std::string_view::npos);
  return out;
}

}  // namespace

std::optional<Insertion> newBlockInsertion(std::string_view text, std::string_view block,
                                           const std::vector<Statement>* known) {
  std::string_view content = block;
  while (!content.empty() && isSpace(content.back())) content.remove_suffix(1);
  // Nothing but white space so far: the block goes in after it.
  if (trimSpace(text).empty()) return endInsertion(text, content);
  std::vector<Statement> read;
  if (!known) read = readStatements(text);
  const std::vector<Statement>& statements = known ? *known : read;
  Insertion placed = placedInsertion(text, statements, content);
  const std::vector<Statement> own = readStatements(content);
  if (!mayReadOtherwise(text, statements) && !mayReadOtherwise(content, own)) return placed;
  // Next to a statement left open, the block goes where it leaves every other statement as
  // it was and reads as itself: at its place, else at the end; else nowhere.
  std::array<Insertion, 2> candidates{std::move(placed), endInsertion(text, content)};
  for (Insertion& candidate : candidates)
    if (keepsOtherStatements(text, statements, inserting(text, candidate),
                             {{candidate.at, candidate.replacedEnd}}, own.size()))
      return std::move(candidate);
  return std::nullopt;
}

}  // namespace kolvre
