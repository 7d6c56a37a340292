#include "images/hex_data.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <memory>

#include "base/text.h"
#include "syntax/lexer.h"
#include "syntax/statements.h"
#include "syntax/vocabulary.h"

namespace kolvre {

namespace {

// The most characters of a data line after its opening apostrophe that can hold pairs: sixteen
// pairs and the fifteen characters between them.
constexpr std::size_t kPairColumns = 47;

constexpr int digitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return 0;
}

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

// The value of every character as a digit (0 for a character that is none).
constexpr std::array<std::uint8_t, 256> kDigitValues = [] {
  std::array<std::uint8_t, 256> values{};
  for (int c = 0; c < 256; ++c)
    values[c] = static_cast<std::uint8_t>(digitValue(static_cast<char>(c)));
  return values;
}();

// The byte of every two characters at once, indexed by the two characters as they lie in
// memory: one load from a 64 KB table instead of two lookups and a shift.
const std::array<std::uint8_t, 65536>& pairTable() {
  static const auto table = [] {
    auto t = std::make_unique<std::array<std::uint8_t, 65536>>();
    for (int a = 0; a < 256; ++a)
      for (int b = 0; b < 256; ++b) {
        const unsigned char two[2] = {static_cast<unsigned char>(a), static_cast<unsigned char>(b)};
        std::uint16_t key = 0;
        std::memcpy(&key, two, 2);
        (*t)[key] = static_cast<std::uint8_t>(kDigitValues[a] << 4 | kDigitValues[b]);
      }
    return t;
  }();
  return *table;
}

std::uint8_t pairValue(const std::array<std::uint8_t, 65536>& table, const char* at) {
  std::uint16_t key = 0;
  std::memcpy(&key, at, 2);
  return table[key];
}

// Appends the bytes of one data line (the rule of readHexDataLine) to `out`; returns the end.
std::uint8_t* appendLineBytes(const char* line, const char* end, std::uint8_t* out) {
  while (line < end && (*line == ' ' || *line == '\t')) ++line;
  if (line >= end) return out;
  ++line;  // the opening apostrophe
  const char* stop = line + std::min<std::ptrdiff_t>(end - line, kPairColumns);
  // The written layout, sixteen pairs and the closing apostrophe, takes the quick way.
  if (stop - line == static_cast<std::ptrdiff_t>(kPairColumns) && end - line > 47 &&
      line[47] == '\'') {
    const auto& table = pairTable();
    for (int i = 0; i < 16; ++i) *out++ = pairValue(table, line + 3 * i);
    return out;
  }
  if (const void* quote = std::memchr(line, '\'', static_cast<std::size_t>(stop - line)))
    stop = static_cast<const char*>(quote);
  for (const char* at = line; at < stop; at += 3) {
    const int high = kDigitValues[static_cast<unsigned char>(at[0])];
    const int low = at + 1 < stop ? kDigitValues[static_cast<unsigned char>(at[1])] : 0;
    *out++ = static_cast<std::uint8_t>(high << 4 | low);
  }
  return out;
}

}  // namespace

namespace {

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

std::vector<std::uint8_t> readHexDataLine(std::string_view line) {
  std::vector<std::uint8_t> bytes(kHexBytesPerLine);
  const std::uint8_t* end = appendLineBytes(line.data(), line.data() + line.size(), bytes.data());
  bytes.resize(static_cast<std::size_t>(end - bytes.data()));
  return bytes;
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

// True when the data lines [dataBegin, dataEnd) stand alone between the delimiters: after the
// opener its line holds only comments, none running on to the next line, and before the closer
// its line holds only comments that start on it. Other text there (data beside a delimiter,
// both delimiters on one line) is no part of the data lines, and writing them would leave it.
bool dataLinesAlone(std::string_view block, const Token& opener, const Token& closer,
                    std::size_t dataBegin, std::size_t dataEnd) {
  if (!onlyComments(block, opener.end, dataBegin - 2, false)) return false;
  const std::string_view beforeCloser = block.substr(dataEnd, closer.begin - dataEnd);
  if (std::all_of(beforeCloser.begin(), beforeCloser.end(), [](char c) {
        return lexing::kByteClass[static_cast<unsigned char>(c)] == lexing::ByteClass::Space;
      }))
    return true;
  // A comment before the closer: read the data to be sure it starts on the closer's line and is
  // no part of one that started above it.
  Lexer lexer(block, dataBegin, true);
  for (Token t = lexer.next(); t.begin < dataEnd; t = lexer.next())
    if (t.end > dataEnd - 2) return false;
  return onlyComments(block, dataEnd, closer.begin, true);
}

}  // namespace

std::optional<ImageBody> findImageBody(std::string_view block) {
  const std::optional<Statement> s = blockStatement(block);
  if (!s) return std::nullopt;
  const ResourceContent content = resourceContent(block, *s);
  if (!content.opener || !content.closer) return std::nullopt;
  const Token& opener = *content.opener;
  const Token& closer = *content.closer;
  const std::size_t openerLineEnd = block.find("\r\n", opener.end);
  if (openerLineEnd == std::string_view::npos || openerLineEnd > closer.begin) return std::nullopt;
  const std::size_t dataBegin = openerLineEnd + 2;
  const std::size_t dataEnd = std::max(dataBegin, lineStartOf(block, closer.begin));
  if (!dataLinesAlone(block, opener, closer, dataBegin, dataEnd)) return std::nullopt;
  return ImageBody{dataBegin, dataEnd, closer.end};
}

std::optional<std::string> imageFileName(std::string_view block) {
  const std::optional<Statement> s = blockStatement(block);
  if (!s) return std::nullopt;
  const ResourceContent content = resourceContent(block, *s);
  if (content.opener || !content.fileName) return std::nullopt;
  const Token& first = *content.fileName;
  std::string name;
  if (first.kind == TokenKind::String && block[first.begin] == '"') {
    name = quotedFileName(first.of(block));
  } else {
    // A name without quotes: the tokens that follow one another with nothing between them (a
    // path's words, dots and backslashes).
    const std::string_view own = block.substr(0, s->end);
    Lexer lexer(own, first.end, false);
    std::size_t end = first.end;
    for (Token t = lexer.next();
         t.kind != TokenKind::End && t.kind != TokenKind::Comment && t.begin == end;
         t = lexer.next())
      end = t.end;
    name = own.substr(first.begin, end - first.begin);
  }
  if (name.empty()) return std::nullopt;
  return name;
}

std::optional<std::vector<std::uint8_t>> decodeImageBlock(std::string_view block) {
  const auto body = findImageBody(block);
  if (!body) return std::nullopt;
  // A line of L characters gives at most (L + 1) / 3 bytes, so a third of the data's characters
  // (line ends included) and one line's worth bound them.
  std::string_view data = block.substr(body->dataBegin, body->dataEnd - body->dataBegin);
  // Comments among the lines give no bytes: read from the data with them blanked, where any
  // stand (most data holds none, and is read as it lies).
  std::string blanked;
  if (data.find('/') != std::string_view::npos) {
    blanked = blankComments(data);
    data = blanked;
  }
  const char* at = data.data();
  const char* const end = data.data() + data.size();
  std::vector<std::uint8_t> bytes(static_cast<std::size_t>(end - at) / 3 + kHexBytesPerLine);
  std::uint8_t* out = bytes.data();
  // A full line in the written layout: " '", sixteen pairs, the apostrophe and CR LF.
  constexpr std::ptrdiff_t kFullLine = 2 + 47 + 1 + 2;
  const auto& table = pairTable();
  while (at < end) {
    if (end - at >= kFullLine && at[0] == ' ' && at[1] == '\'' && at[49] == '\'' &&
        at[50] == '\r' && at[51] == '\n') {
      for (int i = 0; i < 16; ++i) *out++ = pairValue(table, at + 2 + 3 * i);
      at += kFullLine;
      continue;
    }
    const void* lf = std::memchr(at, '\n', static_cast<std::size_t>(end - at));
    const char* next = lf ? static_cast<const char*>(lf) + 1 : end;
    // Lines end at CR LF; a lone LF stays part of its line, as everywhere in the script.
    const char* lineEnd = next;
    if (lf && next - 1 > at && next[-2] == '\r')
      lineEnd = next - 2;
    else if (lf) {
      // A lone LF: look on for the CR LF that ends the line.
      const std::string_view rest(at, static_cast<std::size_t>(end - at));
      const std::size_t crlf = rest.find("\r\n");
      lineEnd = crlf == std::string_view::npos ? end : at + crlf;
      next = crlf == std::string_view::npos ? end : lineEnd + 2;
    }
    out = appendLineBytes(at, lineEnd, out);
    at = next;
  }
  bytes.resize(static_cast<std::size_t>(out - bytes.data()));
  return bytes;
}

std::optional<std::string> encodeImageBlock(std::string_view block,
                                            const std::vector<std::uint8_t>& bytes) {
  const auto body = findImageBody(block);
  if (!body) return std::nullopt;
  // One string of the exact size, written in place: the data of a large image is tens of
  // megabytes, and every extra copy costs a fresh allocation.
  const std::string_view head = block.substr(0, body->dataBegin);
  const std::string_view lineEnd = head.ends_with("\r\n") ? "" : "\r\n";
  const std::string_view close = block.substr(body->dataEnd, body->end - body->dataEnd);
  const std::size_t data = formattedSize(bytes.size());
  std::string out;
  out.reserve(head.size() + lineEnd.size() + data + 2 + close.size());
  out.append(head).append(lineEnd);
  const std::size_t at = out.size();
  out.resize(at + data);
  writeHexDataLines(bytes, out.data() + at);
  if (!bytes.empty()) out += "\r\n";
  out.append(close);
  return out;
}

}  // namespace kolvre
