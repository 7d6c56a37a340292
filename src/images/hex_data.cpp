#include "images/hex_data.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <memory>
#include <span>

#include "base/text.h"
#include "syntax/lexer.h"

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

// The line of `text` starting at `at`, without its CR LF, and where the next line starts.
std::string_view lineAt(std::string_view text, std::size_t at, std::size_t& next) {
  const std::size_t end = text.find("\r\n", at);
  next = end == std::string_view::npos ? text.size() : end + 2;
  return text.substr(at, (end == std::string_view::npos ? text.size() : end) - at);
}

bool isWord(std::string_view line, std::string_view word) {
  return equalsIgnoringCase(trimBlanks(line), word);
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

// Words a resource statement may carry between its type and its data.
constexpr std::string_view kMemoryOptions[] = {"MOVEABLE",    "FIXED",   "PURE",
                                               "IMPURE",      "PRELOAD", "LOADONCALL",
                                               "DISCARDABLE", "SHARED",  "NONSHARED"};
// Statements that may stand on lines of their own between the header and the data.
constexpr std::string_view kOptionStatements[] = {"LANGUAGE", "CHARACTERISTICS", "VERSION"};

bool isSeparator(char c) {
  return isBlank(c);
}

bool oneOf(std::string_view word, std::span<const std::string_view> words) {
  for (std::string_view w : words)
    if (equalsIgnoringCase(word, w)) return true;
  return false;
}

// The words of a line, as blank- or tab-separated tokens.
std::vector<std::string_view> wordsOf(std::string_view line) {
  std::vector<std::string_view> words;
  std::size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && isSeparator(line[i])) ++i;
    std::size_t j = i;
    while (j < line.size() && !isSeparator(line[j])) ++j;
    if (j > i) words.push_back(line.substr(i, j - i));
    i = j;
  }
  return words;
}

// What the header line holds after its name, its type and any memory options, and where.
std::size_t headerRestAt(std::string_view header) {
  std::size_t i = 0;
  for (int word = 0;; ++word) {
    while (i < header.size() && isSeparator(header[i])) ++i;
    std::size_t j = i;
    while (j < header.size() && !isSeparator(header[j])) ++j;
    if (i == j) return header.size();
    if (word >= 2 && !oneOf(header.substr(i, j - i), kMemoryOptions)) return i;
    i = j;
  }
}

// True for a line that may stand between the header and the data: blank, a comment, memory
// options, or a LANGUAGE, CHARACTERISTICS or VERSION statement.
bool mayPrecedeData(std::string_view line) {
  const std::string_view t = trimBlanks(line);
  if (t.empty() || t.starts_with("//")) return true;
  const std::vector<std::string_view> words = wordsOf(t);
  if (oneOf(words.front(), kOptionStatements)) return true;
  for (std::string_view w : words)
    if (!oneOf(w, kMemoryOptions)) return false;
  return true;
}

}  // namespace

std::optional<ImageBody> findImageBody(std::string_view block) {
  // The opening delimiter: a "{" or BEGIN where the header's words end, or on the first line
  // after the header that is not blank, a comment, memory options or an option statement. A
  // header that goes on with anything else (a file name) has no body here.
  std::size_t next = 0;
  const std::string_view header = lineAt(block, 0, next);
  std::size_t dataBegin = 0;
  bool braces = false;
  const std::size_t rest = headerRestAt(header);
  if (rest < header.size()) {
    const std::string_view word = header.substr(rest);
    if (word.front() == '{') {
      braces = true;
      dataBegin = next;
    } else if (isWord(word, "BEGIN")) {
      dataBegin = next;
    } else {
      return std::nullopt;
    }
  } else {
    std::size_t at = next;
    bool inComment = false;  // inside a /* */ comment that spans lines
    for (; at < block.size(); at = next) {
      std::string_view line = lineAt(block, at, next);
      // A block comment is skipped as the compiler skips it; what follows its end on the line
      // is read.
      if (inComment || trimBlanks(line).starts_with("/*")) {
        const std::size_t open = inComment ? 0 : line.find("/*") + 2;
        const std::size_t close = line.find("*/", open);
        inComment = close == std::string_view::npos;
        if (inComment) continue;
        const std::string_view after = trimBlanks(line.substr(close + 2));
        if (after.empty() || after.starts_with("//")) continue;
        line = after;
        if (line.starts_with("{")) {
          braces = true;
          break;
        }
      }
      if (trimBlanks(line).starts_with("{")) {
        braces = true;
        break;
      }
      if (isWord(line, "BEGIN")) break;
      if (!mayPrecedeData(line)) return std::nullopt;
    }
    if (at >= block.size()) return std::nullopt;
    dataBegin = next;
  }
  // The closing delimiter: the first "}" after the opening one, or a line that is END; never one
  // inside a comment, which the compiler skips.
  const std::string code = blankComments(block);
  if (braces) {
    const std::size_t close = code.find('}', dataBegin);
    if (close == std::string_view::npos) return std::nullopt;
    const std::size_t lineStart = block.rfind('\n', close);
    const std::size_t at =
        lineStart == std::string_view::npos || lineStart < dataBegin ? dataBegin : lineStart + 1;
    return ImageBody{dataBegin, at, close + 1};
  }
  for (std::size_t at = dataBegin; at < code.size(); at = next) {
    const std::string_view line = lineAt(code, at, next);
    if (isWord(line, "END")) return ImageBody{dataBegin, at, at + line.size()};
  }
  return std::nullopt;
}

std::optional<std::string> imageFileName(std::string_view block) {
  if (findImageBody(block)) return std::nullopt;
  std::size_t next = 0;
  const std::string_view header = lineAt(block, 0, next);
  std::string_view rest = trimBlanks(header.substr(headerRestAt(header)));
  if (rest.empty()) return std::nullopt;
  if (rest.front() == '"') {
    rest.remove_prefix(1);
    rest = rest.substr(0, rest.find('"'));
  } else {
    rest = rest.substr(0, std::min(rest.find(' '), rest.find('\t')));
  }
  std::string name;
  for (std::size_t i = 0; i < rest.size(); ++i) {
    if (rest[i] == '\\' && i + 1 < rest.size() && rest[i + 1] == '\\') ++i;
    name += rest[i];
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
