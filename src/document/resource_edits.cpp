#include "document/resource_edits.h"

#include "base/text.h"
#include "document/reorder.h"

namespace kolvre {

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
  const IndexEntry& wanted = index[position];
  const std::vector<HeaderLine> lines = scanHeaderLines(text);
  for (std::size_t i = 0; i < lines.size(); ++i)
    if (lines[i].offset == wanted.offset)
      return lines[i].locatable ? std::optional(blockExtentAt(text, lines, i)) : std::nullopt;
  return std::nullopt;
}

Edit renameEdit(const ResourceIndex& index, std::size_t position, const BlockExtent& block,
                std::string_view newName) {
  const IndexEntry& entry = index[position];
  Edit edit;
  edit.label = kLabelRename;
  edit.splices.push_back({block.begin, block.begin + entry.name.size(), std::string(newName)});
  edit.reorder = true;
  edit.currentBefore = keyAt(index, position);
  edit.currentAfter = ResourceKey{std::string(newName), entry.type, 0};
  return edit;
}

Edit deleteEdit(std::string_view text, const ResourceIndex& index, std::size_t position,
                const BlockExtent& block) {
  std::size_t end = block.end;
  for (int pairs = 0; pairs < 3 && crLfAt(text, end); ++pairs) end += 2;
  Edit edit;
  edit.label = kLabelDelete;
  edit.splices.push_back({block.begin, end, {}});
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

Edit appendEdit(std::string_view text, std::string_view block, std::string_view label) {
  std::string_view added = block;
  while (!added.empty() && added.back() == ' ') added.remove_suffix(1);
  Edit edit;
  edit.label = label;
  edit.reorder = true;
  edit.currentAfter = keyOfText(block);

  std::size_t first = 0;
  while (first < text.size() && isSpace(text[first])) ++first;
  std::string tail(kBlockSeparator);
  tail += added;
  if (first == text.size()) {
    // Nothing but white space so far: the new text starts in the block itself.
    std::string whole(text);
    whole += tail;
    first = 0;
    while (first < whole.size() && isSpace(whole[first])) ++first;
    while (first > 0 && !(first >= 2 && crLfAt(whole, first - 2))) --first;
    edit.splices.push_back({0, text.size(), whole.substr(first)});
    return edit;
  }
  // Only whole lines go (lines end at CR LF): what stands before the text on its first line,
  // blanks or a lone CR or LF, decides whether that line is a header and what it names.
  while (first > 0 && !(first >= 2 && crLfAt(text, first - 2))) --first;
  if (first > 0) edit.splices.push_back({0, first, {}});
  edit.splices.push_back({text.size(), text.size(), std::move(tail)});
  return edit;
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
  edit.reorder = true;
  edit.currentBefore = keyAt(index, position);
  edit.currentAfter = keyOfText(replacement);
  // Still the same name and type: the edited block stays among its namesakes where it was.
  if (edit.currentAfter && edit.currentAfter->name == edit.currentBefore->name &&
      edit.currentAfter->type == edit.currentBefore->type)
    edit.currentAfter = edit.currentBefore;
  edit.splices.push_back({block.begin, block.end, std::move(replacement)});
  return edit;
}

}  // namespace kolvre
