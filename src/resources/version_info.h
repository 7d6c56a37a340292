// A VERSIONINFO resource as written: its fixed fields, the VALUE lines of each block of its
// StringFileInfo (one block per language and code page, "040904b0"), the translations of its
// VarFileInfo; and the edits that set a fixed field, set, add or remove one value of one block,
// and add or rename a language block. Each edit touches only the tokens it is about.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "document/edit.h"
#include "resources/literals.h"
#include "syntax/statements.h"
#include "syntax/vocabulary.h"

namespace kolvre {

// A place in the script: [begin, end).
struct TextSpan {
  std::size_t begin = 0;
  std::size_t end = 0;
};

struct VersionField {
  std::string keyword;    // as kVersionFields spells it
  std::string value;      // as written, to the next field or the body
  std::size_t begin = 0;  // the keyword
  // The value's extent: from its first token to the end of its last (the keyword's end when
  // it has none).
  TextSpan span;
  // Its values between commas (a version's four numbers), each from its first token to the end
  // of its last.
  std::vector<TextSpan> parts;
  // The value's tokens, one blank where anything stood between two of them (codeText).
  std::string code;
  // Why it is not edited in place (Italian, a sentence); empty when it is.
  std::string readOnly;
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
  // Where its line starts when only blanks stand before its VALUE word there.
  std::optional<std::size_t> lineStart;
  // Cut short (its last token carries it on, a parenthesis is left open): a line put after it
  // would be part of it.
  bool cutShort = false;
  // Its values between commas (Translation's numbers), each from its first token to the end of
  // its last.
  std::vector<TextSpan> parts;
};

struct VersionBlock {
  std::string name;        // "040904b0", as written
  std::string parent;      // the block it stands in: "StringFileInfo", "VarFileInfo"
  std::size_t begin = 0;   // the BLOCK word
  TextSpan nameSpan;       // its name's literals
  bool wideName = false;   // its name is written L"..."
  std::size_t closer = 0;  // its END or "}"
  std::size_t end = 0;     // after its END or "}"
  // Where its first line starts (only blanks before BLOCK) and its last line ends (only blanks
  // and comments after its closer), when they are its own.
  std::optional<std::size_t> lineStart;
  std::optional<std::size_t> lineEnd;
  std::size_t bodyBegin = 0;  // after its BEGIN or "{"
  // Where the line of its BEGIN or "{" ends when only blanks and comments follow it there.
  std::optional<std::size_t> bodyLineEnd;
  std::vector<VersionValue> values;
};

struct VersionInfo {
  std::vector<VersionField> fields;  // as they stand, the branches of a conditional included
  std::vector<VersionBlock> blocks;  // the blocks that hold VALUE lines, in text order
  // The blocks of the body itself (StringFileInfo, VarFileInfo), values or none, in text order.
  std::vector<VersionBlock> groups;
  // Why the resource does not read (Italian, a sentence); then nothing else is filled.
  std::string problem;
  // The blocks of StringFileInfo, by their places in `blocks`.
  std::vector<std::size_t> stringBlocks() const;
  // The value "Translation" of VarFileInfo as written; empty when there is none.
  std::string translation() const;
  // Where it stands: the block and the value; nothing when there is none.
  std::optional<std::pair<std::size_t, std::size_t>> translationValue() const;
  // The fields of keyword `keyword` (as kVersionFields spells it), by their places in `fields`.
  std::vector<std::size_t> fieldsNamed(std::string_view keyword) const;
};

// The fixed fields by what they hold.
enum class FixedFieldKind : std::uint8_t { Version, Flags, System, Type, Subtype };
FixedFieldKind fixedFieldKind(std::string_view keyword);

// The names of the vocabulary a field of keyword `keyword` takes; for FILESUBTYPE those of the
// type `fileType` (FILETYPE's value) when it is known.
std::vector<std::string_view> versionNamesFor(std::string_view keyword,
                                              std::optional<std::uint32_t> fileType = {});

// The value of field `field` as the compiler reads it (the vocabulary's names, the script's
// symbols); nothing for a version or what does not read.
std::optional<std::uint32_t> fixedFieldValue(const VersionInfo& info, std::size_t field,
                                             const StringContext& context);
// The four numbers of a version field; nothing where a number does not read.
std::optional<std::array<std::uint16_t, 4>> versionNumbers(const VersionInfo& info,
                                                           std::size_t field,
                                                           const StringContext& context);

// The language and code page a block name stands for ("040904b0": 0x0409, 0x04b0); nothing
// when it is not eight hexadecimal digits.
std::optional<std::pair<std::uint16_t, std::uint16_t>> blockLanguageAndCodePage(
    std::string_view name);
// Translation's pairs of numbers, as the compiler reads them; nothing when one does not read.
std::optional<std::vector<std::pair<std::uint16_t, std::uint16_t>>> translationPairs(
    const VersionInfo& info);

// The resource of the statement `statement` of `text` (a VERSIONINFO resource).
VersionInfo readVersionInfo(std::string_view text, const Statement& statement,
                            const StringContext& context);

// Sets the value `key` of block `block` (a place in `info.blocks`) to the text `value`:
// rewrites only its literal, a final "\0" kept where it was written. A key the block lacks is
// added as a VALUE line after the last one, indented like it. An edit without splices when the
// value is already that. Throws Refusal when the resource does not read.
Edit setVersionValue(std::string_view script, const VersionInfo& info, std::size_t block,
                     std::string_view key, std::string_view value, const StringContext& context);

// Sets the fixed field `field` (a place in `info.fields`) to `typed`: for a version four
// numbers ("1.2.3.4" or "1, 2, 3, 4"), each number rewritten where it changes, in the base it
// was written in, the commas and blanks kept; for the others a number or names of the
// vocabulary joined by "|", written as the field was written: names where the field was
// written with names and names give the value, else a number in the field's base. An edit
// without splices when the field already has that value. Throws Refusal when the text does not
// read or the field does not edit in place.
Edit setVersionField(std::string_view script, const VersionInfo& info, std::size_t field,
                     std::string_view typed, const StringContext& context);

// A new VALUE line `key`, `value` in block `block`, after value `after` (before the first when
// nothing), written like the line it follows (or the first). Throws Refusal when the block
// holds the key, or the line it follows is cut short.
Edit insertVersionValue(std::string_view script, const VersionInfo& info, std::size_t block,
                        std::optional<std::size_t> after, std::string_view key,
                        std::string_view value, const StringContext& context);

// Removes value `value` of block `block`: its whole line (its literals on the lines after it
// too) when nothing else stands on them, else its tokens.
Edit deleteVersionValue(std::string_view script, const VersionInfo& info, std::size_t block,
                        std::size_t value);

// A new block `name` (eight hexadecimal digits) in StringFileInfo, a copy of block `model` (a
// place in `info.blocks`) put after it: its lines as written, the values' texts kept or, with
// `emptyValues`, each value an empty text. With `keepTranslation`, Translation gains the
// block's pair, written like the pairs it holds. Throws Refusal when the name does not read or
// a block has it.
Edit addLanguageBlock(std::string_view script, const VersionInfo& info, std::size_t model,
                      std::string_view name, bool emptyValues, bool keepTranslation,
                      const StringContext& context);

// Renames block `block` of StringFileInfo; with `keepTranslation` the block's pair in
// Translation becomes the new one's (added when it was missing).
Edit renameVersionBlock(std::string_view script, const VersionInfo& info, std::size_t block,
                        std::string_view name, bool keepTranslation, const StringContext& context);

// True when Translation exists and a block named `name` added (or block `renamed` renamed to
// it) would leave it out of step with the blocks: the question worth asking.
bool translationWouldChange(const VersionInfo& info, std::string_view name,
                            std::optional<std::size_t> renamed = std::nullopt);

}  // namespace kolvre
