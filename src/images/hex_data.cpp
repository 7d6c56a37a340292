#include "images/hex_data.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "syntax/statements.h"
#include "syntax/vocabulary.h"

namespace kolvre {

namespace {

// The two upper-case digits of every byte value.
constexpr std::array<std::array<char, 2>, 256> kHexPairs = [] {
  std::array<std::array<char, 2>, 256> pairs{};
  constexpr char kDigits[] = "0123456789ABCDEF";
  for (int b = 0; b < 256; ++b) pairs[b] = {kDigits[b >> 4], kDigits[b & 0x0F]};
  return pairs;
}();

// The same digits followed by a blank, four characters to store at once.
constexpr std::array<std::array<char, 4>, 256> kHexTriples = [] {
  std::array<std::array<char, 4>, 256> triples{};
  for (int b = 0; b < 256; ++b) triples[b] = {kHexPairs[b][0], kHexPairs[b][1], ' ', ' '};
  return triples;
}();

// The characters the data lines of `count` bytes take: each byte three (two digits and a blank
// or the apostrophe); each line one blank, its opening apostrophe and a CR LF, less the last
// line's CR LF.
std::size_t formattedSize(std::size_t count) {
  if (count == 0) return 0;
  const std::size_t lines = (count + kHexBytesPerLine - 1) / kHexBytesPerLine;
  return count * 3 + lines * 4 - 2;
}

// Writes the data lines of `bytes` at `o` (formattedSize(bytes.size()) characters).
void writeHexDataLines(const std::vector<std::uint8_t>& bytes, char* o) {
  const std::size_t n = bytes.size();
  for (std::size_t i = 0; i < n; i += kHexBytesPerLine) {
    if (i != 0) {
      *o++ = '\r';
      *o++ = '\n';
    }
    *o++ = ' ';
    *o++ = '\'';
    const std::size_t stop = std::min(n, i + kHexBytesPerLine);
    // Each byte stores four characters (its digits, a blank and one more that the next byte or
    // the line's end overwrites) and moves on by three; the last byte of a line is written alone.
    for (std::size_t k = i; k + 1 < stop; ++k) {
      std::memcpy(o, kHexTriples[bytes[k]].data(), 4);
      o += 3;
    }
    const auto& pair = kHexPairs[bytes[stop - 1]];
    o[0] = pair[0];
    o[1] = pair[1];
    o[2] = '\'';
    o += 3;
  }
}

}  // namespace

std::string formatHexDataLines(const std::vector<std::uint8_t>& bytes) {
  std::string out(formattedSize(bytes.size()), ' ');
  writeHexDataLines(bytes, out.data());
  return out;
}

namespace {

// The resource statement a block holds: its first statement, past any comments.
std::optional<Statement> blockStatement(std::string_view block) {
  for (const Statement& s : readStatements(block)) {
    if (s.kind == StatementKind::Comment) continue;
    if (s.kind == StatementKind::Resource) return s;
    break;
  }
  return std::nullopt;
}

}  // namespace

std::optional<ImageBody> findImageBody(std::string_view block) {
  const std::optional<Statement> s = blockStatement(block);
  if (!s) return std::nullopt;
  const std::optional<InlineDataLines> lines = inlineDataLines(block, *s);
  if (!lines) return std::nullopt;
  return ImageBody{lines->begin, lines->end, lines->bodyEnd};
}

std::optional<std::string> imageFileName(std::string_view block) {
  const std::optional<Statement> s = blockStatement(block);
  if (!s) return std::nullopt;
  const ResourceContent content = resourceContent(block, *s);
  if (content.opener || !content.fileName) return std::nullopt;
  const WrittenFileName written = fileNameAsWritten(block, *s, *content.fileName);
  std::string name = written.quoted ? quotedFileName(written.text) : std::string(written.text);
  if (name.empty()) return std::nullopt;
  return name;
}

std::optional<std::vector<std::uint8_t>> decodeImageBlock(std::string_view block) {
  const auto body = findImageBody(block);
  if (!body) return std::nullopt;
  return readHexDataLines(block.substr(body->dataBegin, body->dataEnd - body->dataBegin));
}

std::optional<std::string> encodeImageBlock(std::string_view block,
                                            const std::vector<std::uint8_t>& bytes) {
  const auto body = findImageBody(block);
  if (!body) return std::nullopt;
  // One string of the exact size, written in place: the data of a large image is tens of
  // megabytes, and every extra copy costs a fresh allocation.
  // The head ends with the opener's line end: the data lines begin after it.
  const std::string_view head = block.substr(0, body->dataBegin);
  const std::string_view close = block.substr(body->dataEnd, body->end - body->dataEnd);
  const std::size_t data = formattedSize(bytes.size());
  std::string out;
  out.reserve(head.size() + data + 2 + close.size());
  out.append(head);
  const std::size_t at = out.size();
  out.resize(at + data);
  writeHexDataLines(bytes, out.data() + at);
  if (!bytes.empty()) out += "\r\n";
  out.append(close);
  return out;
}

}  // namespace kolvre
