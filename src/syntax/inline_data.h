// The inline data lines of a resource's body: the lines of apostrophe strings of hexadecimal
// bytes that hold a whole file in the block of a bitmap, icon or cursor. Where they stand in a
// statement, and their bytes, read straight from the text: a tree of a large image's body would
// be many times the size of its text and take far longer to read, so the lines are read here,
// line by line, as the lexer would read them (lines end at CR LF, comments give no bytes).
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "syntax/statements.h"

namespace kolvre {

// The bytes a data line holds in the written layout.
inline constexpr std::size_t kHexBytesPerLine = 16;

// The bytes of one data line, by position: leading blanks and tabs are skipped, the next
// character (the opening apostrophe) too; of the rest at most 47 characters count, up to the
// closing apostrophe, and a pair of digits is read at the first of them and at every third
// after it. Digits of either case; a pair with a character that is no digit reads it as 0.
std::vector<std::uint8_t> readHexDataLine(std::string_view line);

// The bytes of the data lines `data` (whole lines, the last without its line end), each read as
// readHexDataLine reads it. Lines end at CR LF (a lone LF or CR stays inside its line), and
// comments give no bytes: the lines are read with every comment blanked.
std::vector<std::uint8_t> readHexDataLines(std::string_view data);

// Where the data lines of a resource's body stand. Offsets are into the statement's text.
struct InlineDataLines {
  std::size_t begin = 0;    // start of the line after the opening "{" or BEGIN
  std::size_t end = 0;      // start of the line of the closing "}" or END
  std::size_t bodyEnd = 0;  // just past the closing "}" or END
};

// The data lines of the body of the resource statement `s` of `text` (one readStatements(text)
// gave): from the line after its opener's line to the line before its closer's. Nothing when
// the statement has no body or its body is left open, when no line end follows the opener
// before the closer, or when text other than comments stands beside a delimiter on its line
// (after the opener, a comment that runs on to the next line too; before the closer, a comment
// that started above its line): such text belongs to no data line.
std::optional<InlineDataLines> inlineDataLines(std::string_view text, const Statement& s);

}  // namespace kolvre
