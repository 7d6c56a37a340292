// The edits of whole resources as pure functions of the script text and its index: rename,
// delete, append (new and paste) and replace (edit as text). No user interface; the commands
// and the batch tool hand what these give to Document::commit.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "document/blocks.h"
#include "document/edit.h"
#include "document/scanner.h"
#include "syntax/statements.h"

namespace kolvre {

// The labels of the steps, as the undo menu names them.
inline constexpr std::string_view kLabelNew = "Nuova risorsa";
inline constexpr std::string_view kLabelRename = "Rinomina";
inline constexpr std::string_view kLabelDelete = "Elimina";
inline constexpr std::string_view kLabelPaste = "Incolla";
inline constexpr std::string_view kLabelEditText = "Modifica come testo";
inline constexpr std::string_view kLabelReorderAll = "Riordina le risorse";

// The first two blank-delimited tokens of a text. Only blanks separate them: CR, LF and tab do
// not, so a type keyword followed by a line end runs on into the next line. `bodyStart` is
// where the second token ends.
struct HeaderTokens {
  std::string_view name;
  std::string_view type;
  std::size_t bodyStart = 0;
};
HeaderTokens firstTwoTokens(std::string_view text);

// The block of the index entry at `position`, located by its own header line (so each of two
// resources with the same name and type is found in its own place). Nothing when its header
// cannot be located.
std::optional<BlockExtent> entryBlock(std::string_view text, const ResourceIndex& index,
                                      std::size_t position);
// The same from the text's statements, already read (Document::statements): no reading again.
std::optional<BlockExtent> entryBlock(const std::vector<Statement>& statements,
                                      const ResourceIndex& index, std::size_t position);

// Rename: only the header's own name changes (the same words inside captions stay); then the
// block moves to its new name's place (placeBlock) and the renamed resource becomes current. The
// name as it stands changes nothing: no splice, and the block stays.
Edit renameEdit(const ResourceIndex& index, std::size_t position, const BlockExtent& block,
                std::string_view newName);

// What a delete removes: the block; when it stands alone on its lines, those lines whole and at
// most two whitespace-only lines after them, or, where its lines end the text, the line end
// before them and at most two whitespace-only lines above (the text keeps its final line end,
// or its lack of one). Comments around it stay. What a new or pasted block brings with it
// (newBlockInsertion) is what this takes back. Nothing when taking it
// away would change how the statements around it read (a statement left open before it would
// run on into the one after it).
// `statements`, when given, are the text's (readStatements(text)), so as not to read them again.
std::optional<Splice> deletedRange(std::string_view text, const BlockExtent& block,
                                   const std::vector<Statement>* statements = nullptr);

// Delete: deletedRange, and nothing else moves. The entry below becomes current, or the one above
// when it was the last; the first row when it was the first. Nothing when deletedRange gives
// nothing.
std::optional<Edit> deleteEdit(std::string_view text, const ResourceIndex& index,
                               std::size_t position, const BlockExtent& block,
                               const std::vector<Statement>* statements = nullptr);

// New and paste: the block goes in at its place in the script's last stretch
// (newBlockInsertion); nothing else moves. The new resource becomes current. Nothing when no
// place leaves the statements around it as they read.
std::optional<Edit> appendEdit(std::string_view text, std::string_view block,
                               std::string_view label,
                               const std::vector<Statement>* statements = nullptr);

// A new resource of `kind` from its template (resourceTemplate, `name` being a string table's
// first ID, `file` the file it names), written in the style of the bodies around its place
// (bodyStyleNear) and added as appendEdit adds it.
std::optional<Edit> newResourceEdit(std::string_view text, const std::vector<Statement>& statements,
                                    ResourceType kind, std::string_view name,
                                    std::string_view file = {});

// The type a pasted text's header names, as a word the name prompt checks duplicates against:
// the keyword of the listed type its first statement has, read as the compiler reads it (a tab
// or a line end may stand between name and type); else the second blank-delimited token.
std::string pastedTypeWord(std::string_view pasted);

// The block a paste adds: the pasted text (CR LF line ends) under the accepted name.
std::string pastedBlock(std::string_view pasted, std::string_view name);

// Edit as text: `replacement` (CR LF line ends) in place of the block, then moved to its place
// (placeBlock); the first resource it holds becomes current. Nothing when the replacement equals
// the block.
std::optional<Edit> replaceEdit(std::string_view text, const ResourceIndex& index,
                                std::size_t position, const BlockExtent& block,
                                std::string replacement);

}  // namespace kolvre
