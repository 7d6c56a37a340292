// A VERSIONINFO resource as written: its fixed fields, the VALUE lines of each block of its
// StringFileInfo (one block per language and code page, "040904b0"), the translations of its
// VarFileInfo; and the edit that sets one value of one block.
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "document/edit.h"
#include "resources/literals.h"
#include "syntax/statements.h"
#include "syntax/vocabulary.h"

namespace kolvre {

struct VersionField {
  std::string keyword;  // as kVersionFields spells it
  std::string value;    // as written, to the next field or the body
};

struct VersionValue {
  std::size_t begin = 0;  // the VALUE word
  WrittenText key;
  // What follows the key (its comma left out), as written: one text or a list of numbers.
  std::size_t valueBegin = 0;
  std::size_t valueEnd = 0;
  std::string asWritten;
  // The text, when the value is one text (adjacent literals); nothing for numbers, symbols or
  // a list.
  std::optional<WrittenText> text;
  bool commaAfterKey = false;  // a comma stands between the key and the value
  // Where its line ends (its CR LF) when only blanks and comments follow it there.
  std::optional<std::size_t> lineEnd;
  // Cut short (its last token carries it on, a parenthesis is left open): a line put after it
  // would be part of it.
  bool cutShort = false;
};

struct VersionBlock {
  std::string name;           // "040904b0", as written
  std::string parent;         // the block it stands in: "StringFileInfo", "VarFileInfo"
  std::size_t begin = 0;      // the BLOCK word
  std::size_t bodyBegin = 0;  // after its BEGIN or "{"
  // Where the line of its BEGIN or "{" ends when only blanks and comments follow it there.
  std::optional<std::size_t> bodyLineEnd;
  std::vector<VersionValue> values;
};

struct VersionInfo {
  std::vector<VersionField> fields;  // as they stand, the branches of a conditional included
  std::vector<VersionBlock> blocks;  // the blocks that hold VALUE lines, in text order
  // Why the resource does not read (Italian, a sentence); then nothing else is filled.
  std::string problem;
  // The blocks of StringFileInfo, by their places in `blocks`.
  std::vector<std::size_t> stringBlocks() const;
  // The value "Translation" of VarFileInfo as written; empty when there is none.
  std::string translation() const;
};

// The resource of the statement `statement` of `text` (a VERSIONINFO resource).
VersionInfo readVersionInfo(std::string_view text, const Statement& statement,
                            const StringContext& context);

// Sets the value `key` of block `block` (a place in `info.blocks`) to the text `value`:
// rewrites only its literal, a final "\0" kept where it was written. A key the block lacks is
// added as a VALUE line after the last one, indented like it. An edit without splices when the
// value is already that. Throws Refusal when the resource does not read.
Edit setVersionValue(std::string_view script, const VersionInfo& info, std::size_t block,
                     std::string_view key, std::string_view value, const StringContext& context);

}  // namespace kolvre
