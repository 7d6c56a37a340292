#include "images/hex_data.h"

#include "base/text.h"

namespace kolvre {

namespace {

// The most characters of a data line after its opening apostrophe that can hold pairs: sixteen
// pairs and the fifteen characters between them.
constexpr std::size_t kPairColumns = 47;

int digitValue(char c) {
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

std::string_view trimmed(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return s;
}

bool isWord(std::string_view line, std::string_view word) {
  return equalsIgnoringCase(trimmed(line), word);
}

}  // namespace

std::string formatHexDataLines(const std::vector<std::uint8_t>& bytes) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string out;
  out.reserve(bytes.size() * 3 + bytes.size() / kHexBytesPerLine * 6 + 4);
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    const std::size_t column = i % kHexBytesPerLine;
    if (column == 0)
      out += i == 0 ? " '" : "'\r\n '";
    else
      out += ' ';
    out += kDigits[bytes[i] >> 4];
    out += kDigits[bytes[i] & 0x0F];
  }
  if (!bytes.empty()) out += '\'';
  return out;
}

std::vector<std::uint8_t> readHexDataLine(std::string_view line) {
  std::size_t i = 0;
  while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
  std::vector<std::uint8_t> bytes;
  if (i >= line.size()) return bytes;
  std::string_view rest = line.substr(i + 1, kPairColumns);
  // The closing apostrophe ends the pairs: so a line written with a blank before it ("'AA BB '")
  // gives no byte for the apostrophe. In the written layout it stands past the last pair anyway.
  rest = rest.substr(0, rest.find('\''));
  // A pair is read where its first character lies within the columns looked at.
  for (std::size_t at = 0; at < rest.size(); at += 3) {
    const int high = digitValue(rest[at]);
    const int low = at + 1 < rest.size() ? digitValue(rest[at + 1]) : 0;
    bytes.push_back(static_cast<std::uint8_t>(high * 16 + low));
  }
  return bytes;
}

std::optional<ImageBody> findImageBody(std::string_view block) {
  // The opening delimiter: the first "{", or a line that is BEGIN, after the header line.
  std::size_t next = 0;
  lineAt(block, 0, next);
  const std::size_t brace = block.find('{');
  std::size_t open = std::string_view::npos;
  std::size_t dataBegin = 0;
  bool braces = false;
  for (std::size_t at = next; at < block.size();) {
    std::size_t after = 0;
    const std::string_view line = lineAt(block, at, after);
    if (brace != std::string_view::npos && brace < at + line.size()) {
      open = brace;
      braces = true;
      lineAt(block, brace, dataBegin);
      break;
    }
    if (isWord(line, "BEGIN")) {
      open = at;
      dataBegin = after;
      break;
    }
    at = after;
  }
  if (open == std::string_view::npos && brace != std::string_view::npos) {
    // A "{" on the header line itself.
    open = brace;
    braces = true;
    lineAt(block, brace, dataBegin);
  }
  if (open == std::string_view::npos) return std::nullopt;
  // The closing delimiter: the first "}" after the opening one, or a line that is END.
  for (std::size_t at = dataBegin; at < block.size();) {
    std::size_t after = 0;
    const std::string_view line = lineAt(block, at, after);
    if (braces) {
      const std::size_t close = line.find('}');
      if (close != std::string_view::npos) return ImageBody{dataBegin, at, at + close + 1};
    } else if (isWord(line, "END")) {
      return ImageBody{dataBegin, at, at + line.size()};
    }
    at = after;
  }
  return std::nullopt;
}

std::optional<std::string> imageFileName(std::string_view block) {
  if (findImageBody(block)) return std::nullopt;
  std::size_t next = 0;
  const std::string_view header = lineAt(block, 0, next);
  const std::size_t close = header.rfind('"');
  if (close == std::string_view::npos || close == 0) return std::nullopt;
  const std::size_t open = header.rfind('"', close - 1);
  if (open == std::string_view::npos) return std::nullopt;
  std::string name;
  const std::string_view quoted = header.substr(open + 1, close - open - 1);
  for (std::size_t i = 0; i < quoted.size(); ++i) {
    if (quoted[i] == '\\' && i + 1 < quoted.size() && quoted[i + 1] == '\\') ++i;
    name += quoted[i];
  }
  if (name.empty()) return std::nullopt;
  return name;
}

std::optional<std::vector<std::uint8_t>> decodeImageBlock(std::string_view block) {
  const auto body = findImageBody(block);
  if (!body) return std::nullopt;
  std::vector<std::uint8_t> bytes;
  bytes.reserve((body->dataEnd - body->dataBegin) / 3);
  for (std::size_t at = body->dataBegin; at < body->dataEnd;) {
    std::size_t next = 0;
    const std::string_view line = lineAt(block.substr(0, body->dataEnd), at, next);
    const std::vector<std::uint8_t> some = readHexDataLine(line);
    bytes.insert(bytes.end(), some.begin(), some.end());
    at = next;
  }
  return bytes;
}

std::optional<std::string> encodeImageBlock(std::string_view block,
                                            const std::vector<std::uint8_t>& bytes) {
  const auto body = findImageBody(block);
  if (!body) return std::nullopt;
  std::string out(block.substr(0, body->dataBegin));
  // The line the opening delimiter stands on may end the block's text without a line end.
  if (!out.ends_with("\r\n")) out += "\r\n";
  out += formatHexDataLines(bytes);
  if (!bytes.empty()) out += "\r\n";
  out += block.substr(body->dataEnd, body->end - body->dataEnd);
  return out;
}

}  // namespace kolvre
