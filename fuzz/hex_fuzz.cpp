// Fuzzes the inline image codec: an arbitrary block is decoded, encoded and decoded again. The
// second decode must give the first one's bytes, the encoded block must be in the written layout
// and keep everything before the data, and a block that decodes must re-encode. A block with a
// body names no file. Data lines read together give what each gives alone.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "images/hex_data.h"
#include "syntax/lexer.h"
#include "syntax/positions.h"

#include "fuzz_check.h"

namespace {

void require(const std::string& violation, const char* rule) {
  kolvre::fuzzing::require("hex", violation, rule);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace kolvre;
  using fuzzing::unless;
  const std::string block(reinterpret_cast<const char*>(data), size);
  // Any text read as data lines: each CR LF line of it, comments blanked, read alone.
  std::vector<std::uint8_t> alone;
  const std::string blanked = blankComments(block);
  for (const LineSpan& line : crLfLines(blanked)) {
    const auto lineBytes =
        readHexDataLine(std::string_view(blanked).substr(line.begin, line.end - line.begin));
    alone.insert(alone.end(), lineBytes.begin(), lineBytes.end());
  }
  require(unless(readHexDataLines(block) == alone, "the lines read together read otherwise"),
          "lines");
  const auto body = findImageBody(block);
  const auto bytes = decodeImageBlock(block);
  require(unless(body.has_value() == bytes.has_value(), "body and decode disagree"), "decodes");
  require(unless(!body || !imageFileName(block), "a block with a body names a file"),
          "file or body");
  if (!bytes) return 0;
  const auto encoded = encodeImageBlock(block, *bytes);
  require(unless(encoded.has_value(), "a decoded block did not encode"), "encodes");
  require(unless(encoded->compare(0, body->dataBegin, block, 0, body->dataBegin) == 0,
                 "the lines before the data changed"),
          "head kept");
  const auto again = decodeImageBlock(*encoded);
  require(unless(again.has_value() && *again == *bytes, "decode, encode, decode changed the bytes"),
          "stable");
  require(
      unless(encodeImageBlock(*encoded, *again) == *encoded, "a second encode changed the text"),
      "layout");
  // Each data line on its own reads at most sixteen bytes.
  require(unless(readHexDataLine(block).size() <= kHexBytesPerLine, "a line gave too many bytes"),
          "line");
  return 0;
}
