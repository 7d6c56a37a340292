#include "document/resource_edits.h"

#include <algorithm>

#include "base/text.h"
#include "document/reorder.h"
#include "document/statement_check.h"
#include "document/templates.h"
#include "syntax/body_style.h"
#include "syntax/positions.h"
#include "syntax/statements.h"

namespace kolvre {

namespace {

bool onlyBlanks(std::string_view text, std::size_t from, std::size_t to) {
  for (std::size_t i = from; i < to; ++i)
    if (!isBlank(text[i])) return false;
  return true;
}

}  // namespace

namespace {

// Where what sets lines that end the text apart from the text above begins: the line end
// before the blank lines right above them, at most two of those taken. Nothing when only white
// space stands above: nothing sets the lines apart.
std::optional<std::size_t> separationAbove(std::string_view text, std::size_t lineStart) {
  if (trimSpace(text.substr(0, lineStart)).empty()) return std::nullopt;
  std::size_t from = lineStart;
  for (int blankLines = 0; blankLines < 2; ++blankLines) {
    const std::size_t above = lineStartOf(text, from - 2);
    if (!trimSpace(text.substr(above, from - 2 - above)).empty()) break;
    from = above;
  }
  return from - 2;
}

Splice rangeToDelete(std::string_view text, const BlockExtent& block, bool& wholeLines) {
  const std::size_t lineStart = lineStartOf(text, block.begin);
  std::size_t lineEnd = block.end;
  while (lineEnd < text.size() && isBlank(text[lineEnd])) ++lineEnd;
  wholeLines =
      onlyBlanks(text, lineStart, block.begin) && (lineEnd == text.size() || crLfAt(text, lineEnd));
  if (!wholeLines) return {block.begin, block.end, {}};
  // Its lines end the text: what set them apart above goes with them, and the text keeps the
  // end it had (its final line end, or none). A block added at the end of the text, set apart
  // from the line above it, is so taken back as it came.
  if (lineEnd == text.size() || lineEnd + 2 == text.size())
    if (const std::optional<std::size_t> from = separationAbove(text, lineStart))
      return {*from, lineEnd, {}};
  // The last line, without a line end, with only white space above it.
  if (lineEnd == text.size()) return {lineStart, text.size(), {}};
  // Its lines, and at most two whitespace-only lines after them.
  std::size_t end = lineEnd + 2;
  for (int blankLines = 0; blankLines < 2; ++blankLines) {
    std::size_t p = end;
    while (p < text.size() && !crLfAt(text, p) && isSpace(text[p])) ++p;
    if (!crLfAt(text, p)) break;
    end = p + 2;
  }
  return {lineStart, end, {}};
}

}  // namespace

// The block with the comments that follow it on its last line, when only blanks stand after
// them to the line's end (`IDB_X BITMAP "x.bmp" // note`): they go with it.
BlockExtent withTrailingComments(std::string_view text, const BlockExtent& block,
                                 const std::vector<Statement>& statements) {
  auto next = std::lower_bound(statements.begin(), statements.end(), block.end,
                               [](const Statement& s, std::size_t at) { return s.begin < at; });
  std::size_t end = block.end;
  for (; next != statements.end() && next->kind == StatementKind::Comment &&
         onlyBlanks(text, end, next->begin) && !holdsCrLf(next->of(text));
       ++next)
    end = next->end;
  if (end == block.end) return block;
  std::size_t lineEnd = end;
  while (lineEnd < text.size() && isBlank(text[lineEnd])) ++lineEnd;
  if (lineEnd < text.size() && !crLfAt(text, lineEnd)) return block;
  return BlockExtent{block.begin, end, block.complete};
}

std::optional<Splice> deletedRange(std::string_view text, const BlockExtent& whole,
                                   const std::vector<Statement>* known) {
  std::vector<Statement> read;
  if (!known) read = readStatements(text);
  const std::vector<Statement>& statements = known ? *known : read;
  const BlockExtent block = withTrailingComments(text, whole, statements);
  bool wholeLines = true;
  Splice range = rangeToDelete(text, block, wholeLines);
  // Taking it away must not join what stood before and after it into other statements.
  if (!wholeLines || mayReadOtherwise(text, statements)) {
    std::string after(text.substr(0, range.begin));
    after.append(text.substr(range.end));
    if (!keepsOtherStatements(text, statements, after, {{block.begin, block.end}}, 0))
      return std::nullopt;
  }
  return range;
}

HeaderTokens firstTwoTokens(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && text[i] == ' ') ++i;
  std::size_t j = i;
  while (j < text.size() && text[j] != ' ') ++j;
  std::size_t k = j;
  while (k < text.size() && text[k] == ' ') ++k;
  std::size_t m = k;
  while (m < text.size() && text[m] != ' ') ++m;
  return {text.substr(i, j - i), text.substr(k, m - k), m};
}

std::optional<BlockExtent> entryBlock(std::string_view text, const ResourceIndex& index,
                                      std::size_t position) {
  if (position >= index.size()) return std::nullopt;
  return blockAt(text, index[position].offset);
}

std::optional<BlockExtent> entryBlock(const std::vector<Statement>& statements,
                                      const ResourceIndex& index, std::size_t position) {
  if (position >= index.size()) return std::nullopt;
  return blockAt(statements, index[position].offset);
}

Edit renameEdit(const ResourceIndex& index, std::size_t position, const BlockExtent& block,
                std::string_view newName) {
  const IndexEntry& entry = index[position];
  Edit edit;
  edit.label = kLabelRename;
  edit.currentBefore = keyAt(index, position);
  edit.currentAfter = edit.currentBefore;
  // The name as it stands: nothing to write, and the block stays where it is.
  if (newName == entry.name) return edit;
  edit.splices.push_back({block.begin, block.begin + entry.name.size(), std::string(newName)});
  edit.placeBlockAt = block.begin;
  edit.placedNameBefore = entry.name;
  edit.currentAfter = ResourceKey{std::string(newName), entry.type, 0, entry.typeWord};
  return edit;
}

std::optional<Edit> deleteEdit(std::string_view text, const ResourceIndex& index,
                               std::size_t position, const BlockExtent& block,
                               const std::vector<Statement>* statements) {
  std::optional<Splice> range = deletedRange(text, block, statements);
  if (!range) return std::nullopt;
  Edit edit;
  edit.label = kLabelDelete;
  edit.splices.push_back(std::move(*range));
  edit.currentBefore = keyAt(index, position);
  if (position > 0) {
    const std::size_t neighbour = position + 1 == index.size() ? position - 1 : position + 1;
    ResourceKey key = keyAt(index, neighbour);
    // The entry below counted the deleted one among its namesakes; it no longer will.
    if (neighbour > position && index[position].name == key.name &&
        index[position].type == key.type)
      --key.occurrence;
    edit.currentAfter = std::move(key);
  }
  return edit;
}

std::optional<Edit> appendEdit(std::string_view text, std::string_view block,
                               std::string_view label, const std::vector<Statement>* statements) {
  std::optional<Insertion> insertion = newBlockInsertion(text, block, statements);
  if (!insertion) return std::nullopt;
  Edit edit;
  edit.label = label;
  edit.currentAfter = keyOfText(block);
  edit.splices.push_back({insertion->at, insertion->replacedEnd, std::move(insertion->text)});
  return edit;
}

std::optional<Edit> newResourceEdit(std::string_view text, const std::vector<Statement>& statements,
                                    ResourceType kind, std::string_view name,
                                    std::string_view file) {
  const std::string plain = resourceTemplate(kind, name, file);
  if (plain.empty()) return std::nullopt;
  // Where it goes depends on its name and kind only: the neighbours there give the style.
  const std::optional<Insertion> place = newBlockInsertion(text, plain, &statements);
  if (!place) return std::nullopt;
  const std::string block = inBodyStyle(plain, bodyStyleNear(text, statements, place->at));
  return appendEdit(text, block, kLabelNew, &statements);
}

std::string pastedTypeWord(std::string_view pasted) {
  for (const Statement& s : readStatements(pasted)) {
    if (s.kind == StatementKind::Comment) continue;
    if (s.listed) return std::string(typeKeyword(*s.listed));
    break;
  }
  return std::string(firstTwoTokens(pasted).type);
}

std::string pastedBlock(std::string_view pasted, std::string_view name) {
  const HeaderTokens tokens = firstTwoTokens(pasted);
  std::string block(name);
  block += ' ';
  block += tokens.type;
  block += pasted.substr(tokens.bodyStart);
  return block;
}

std::optional<Edit> replaceEdit(std::string_view text, const ResourceIndex& index,
                                std::size_t position, const BlockExtent& block,
                                std::string replacement) {
  if (replacement == block.of(text)) return std::nullopt;
  Edit edit;
  edit.label = kLabelEditText;
  edit.placeBlockAt = block.begin;
  edit.placedNameBefore = index[position].name;
  edit.currentBefore = keyAt(index, position);
  edit.currentAfter = keyOfText(replacement);
  // Still the same name and type: the edited block stays among its namesakes where it was.
  if (edit.currentAfter && edit.currentAfter->name == edit.currentBefore->name &&
      edit.currentAfter->type == edit.currentBefore->type)
    edit.currentAfter = edit.currentBefore;
  // Emptied: the block goes as a delete takes it.
  if (trimSpace(replacement).empty()) {
    edit.placeBlockAt.reset();
    if (std::optional<Splice> range = deletedRange(text, block)) {
      edit.splices.push_back(std::move(*range));
      return edit;
    }
    // Where taking it away would join its neighbours, it gives way to nothing in place.
  }
  // Only what the text changed: an edit of one line is a step of that line.
  edit.splices.push_back(narrowedSplice(block.begin, block.of(text), std::move(replacement)));
  return edit;
}

}  // namespace kolvre
