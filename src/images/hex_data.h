// Inline image data: the lines of hexadecimal bytes that hold a whole image file in the block of
// a bitmap, icon or cursor, read (syntax/inline_data.h reads the lines) and written.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "syntax/inline_data.h"

namespace kolvre {

// The data lines for `bytes`: each is one blank, an apostrophe, up to sixteen bytes as two
// upper-case hexadecimal digits separated by single blanks, and an apostrophe; CR LF between
// lines, none after the last.
std::string formatHexDataLines(const std::vector<std::uint8_t>& bytes);

// Where the data of an image block stands. Offsets are into the block.
struct ImageBody {
  std::size_t dataBegin = 0;  // start of the line after the opening "{" or BEGIN
  std::size_t dataEnd = 0;    // start of the line of the closing "}" or END
  std::size_t end = 0;        // just past the closing "}" or END
};

// The body of an image block, as the statement reader reads the block's first statement (past
// any comments; a resource): its "{" or BEGIN and the "}" or END that closes it, in any letter
// case, with strings and comments between them skipped as the lexer skips them. The data lines
// run from the line after the opener's line to the line before the closer's. What stands before
// the body (memory options, LANGUAGE, VERSION and CHARACTERISTICS, comments) is not data.
// Nothing when the block has no body, its body is left open, or text other than comments stands
// beside a delimiter on its line (both on one line included): such text would belong to neither
// the data lines nor what a new encoding keeps.
std::optional<ImageBody> findImageBody(std::string_view block);

// The file a block names instead of holding its data (`NAME ICON "res\\app.ico"`): the token
// after the type, memory options and LANGUAGE, VERSION and CHARACTERISTICS, as the statement
// reader reads the block's first statement. A quoted name is read as quotedFileName reads it
// (doubled backslashes and quotes undone); one without quotes is the tokens that follow one
// another with nothing between them (`..\res\app.ico`). Nothing when the block has a body or
// names no file.
std::optional<std::string> imageFileName(std::string_view block);

// decodeBitmap and decodeIcon without the picture: the bytes of the block's data lines; nothing
// when the block has no body.
std::optional<std::vector<std::uint8_t>> decodeImageBlock(std::string_view block);

// encodeBitmap and encodeIcon: the block with its data replaced by `bytes` in the written layout.
// What stands before the data lines and the closing delimiter are kept as they stood; the block
// ends at its closing delimiter. Nothing when the block has no body.
std::optional<std::string> encodeImageBlock(std::string_view block,
                                            const std::vector<std::uint8_t>& bytes);

// The codec under the names the image commands use: decodeBitmap and decodeIcon decode a bitmap's
// or an icon's block (the same way; the picture is made by the caller), encodeBitmap and encodeIcon
// encode.
inline std::optional<std::vector<std::uint8_t>> decodeBitmap(std::string_view block) {
  return decodeImageBlock(block);
}
inline std::optional<std::vector<std::uint8_t>> decodeIcon(std::string_view block) {
  return decodeImageBlock(block);
}
inline std::optional<std::string> encodeBitmap(const std::vector<std::uint8_t>& bytes,
                                               std::string_view block) {
  return encodeImageBlock(block, bytes);
}
inline std::optional<std::string> encodeIcon(const std::vector<std::uint8_t>& bytes,
                                             std::string_view block) {
  return encodeImageBlock(block, bytes);
}

}  // namespace kolvre
