#include "syntax/string_literal.h"

#include <algorithm>

#include "base/text.h"
#include "syntax/lexer.h"
#include "syntax/positions.h"

namespace kolvre {

namespace {

int digitValue(char c, int base) {
  int value = base;
  if (c >= '0' && c <= '9') value = c - '0';
  if (c >= 'a' && c <= 'f') value = c - 'a' + 10;
  if (c >= 'A' && c <= 'F') value = c - 'A' + 10;
  return value < base ? value : -1;
}

void append(std::vector<CompiledRun>& runs, std::string_view bytes, bool escaped) {
  if (bytes.empty()) return;
  if (runs.empty() || runs.back().escaped != escaped) runs.push_back({{}, escaped});
  runs.back().bytes.append(bytes);
}

// The byte an escape of up to `most` digits of `base` gives, from `at` (just past "\" or "\x");
// `at` moves past the digits. Nothing when no digit follows.
std::optional<char> numberEscape(std::string_view text, std::size_t& at, int base, int most) {
  int value = 0, digits = 0;
  for (; digits < most && at < text.size(); ++digits, ++at) {
    const int d = digitValue(text[at], base);
    if (d < 0) break;
    value = value * base + d;
  }
  if (digits == 0) return std::nullopt;
  return static_cast<char>(value & 0xFF);
}

char simpleEscape(char c) {
  switch (c) {
    case 'n':
      return '\n';
    case 't':
      return '\t';
    case 'r':
      return '\r';
    case 'a':
      return '\b';
    case '\\':
      return '\\';
    case '"':
      return '"';
    default:
      return 0;
  }
}

// A code page with a table here other than Windows-1252 and UTF-8, whose bytes toDisplay would
// read in another code page.
bool ownTable(const ScriptCharset& charset) {
  return !charset.utf16File && charset.codePage != kDefaultCodePage &&
         charset.codePage != kUtf8CodePage &&
         codePageToUtf8(std::string_view(), charset.codePage).has_value();
}

std::size_t writtenBackslashes(std::string_view text) {
  return static_cast<std::size_t>(std::count(text.begin(), text.end(), '\\'));
}

TextEncoding displayEncoding(const ScriptCharset& charset) {
  return charset.utf16File || charset.codePage == kUtf8CodePage ? TextEncoding::Utf8
                                                                : TextEncoding::Windows1252;
}

}  // namespace

std::string writtenToUtf8(std::string_view bytes, const ScriptCharset& charset) {
  if (ownTable(charset)) return *codePageToUtf8(bytes, charset.codePage);
  return toDisplay(bytes, displayEncoding(charset));
}

std::optional<std::string> utf8ToWritten(std::string_view utf8, const ScriptCharset& charset) {
  if (!ownTable(charset)) {
    const TextEncoding encoding = displayEncoding(charset);
    if (!representable(utf8, encoding)) return std::nullopt;
    return fromDisplay(utf8, encoding);
  }
  auto bytes = utf8ToCodePage(utf8, charset.codePage);
  // A two-byte character whose second byte is a backslash would begin an escape.
  if (!bytes || writtenBackslashes(*bytes) != writtenBackslashes(utf8)) return std::nullopt;
  return bytes;
}

std::vector<CompiledRun> compiledRuns(std::string_view text) {
  std::vector<CompiledRun> runs;
  std::size_t i = 0;
  while (i < text.size()) {
    const char c = text[i];
    if (c == '"') {
      append(runs, "\"", false);
      i += i + 1 < text.size() && text[i + 1] == '"' ? 2 : 1;
      continue;
    }
    if (c != '\\' || i + 1 == text.size()) {
      append(runs, text.substr(i, 1), false);
      ++i;
      continue;
    }
    const char next = text[i + 1];
    std::size_t at = i + 1;
    if (next == '\n' || (next == '\r' && at + 1 < text.size() && text[at + 1] == '\n')) {
      at += next == '\r' ? 2 : 1;
      while (at < text.size() && isBlank(text[at])) ++at;
    } else if (const char simple = simpleEscape(next)) {
      append(runs, std::string_view(&simple, 1), true);
      at += 1;
    } else if (next == 'x' || next == 'X') {
      at += 1;
      const char hex = numberEscape(text, at, 16, 2).value_or('\0');
      append(runs, std::string_view(&hex, 1), true);
    } else if (const auto octal = numberEscape(text, at, 8, 3)) {
      append(runs, std::string_view(&*octal, 1), true);
    } else {
      append(runs, text.substr(i, 2), false);
      at += 1;
    }
    i = at;
  }
  return runs;
}

std::string compiledBytes(std::string_view asWritten) {
  std::string bytes;
  for (const CompiledRun& run : compiledRuns(asWritten)) bytes += run.bytes;
  return bytes;
}

std::string shownString(std::string_view asWritten, const ScriptCharset& charset,
                        CodePageDecoder decoder) {
  auto decoded = [&](std::string_view bytes) {
    if (auto text = decoder(bytes, charset.codePage)) return *std::move(text);
    return *codePageToUtf8(bytes, kDefaultCodePage);
  };
  std::string shown;
  if (charset.utf16File) {
    for (const CompiledRun& run : compiledRuns(asWritten))
      shown += run.escaped ? decoded(run.bytes) : run.bytes;
  } else {
    shown = decoded(compiledBytes(asWritten));
  }
  // A zero byte decodes to a zero character in every code page.
  if (const std::size_t zero = shown.find('\0'); zero != std::string::npos) shown.resize(zero);
  return shown;
}

ScriptCharset scriptCharsetAt(std::string_view text, std::size_t offset, bool utf16File) {
  return {codePageAt(text, offset), utf16File};
}

bool lineEndsContinued(std::string_view literal) {
  if (!stringClosed(literal)) return false;
  for (std::size_t crLf = nextCrLf(literal, 0); crLf != std::string_view::npos;
       crLf = nextCrLf(literal, crLf + 2))
    if (crLf == 0 || literal[crLf - 1] != '\\') return false;
  return true;
}

std::string literalsAsWritten(std::string_view literals) {
  std::string out;
  Lexer lexer(literals, 0, false);
  for (Token t = lexer.nextCode(); t.kind != TokenKind::End; t = lexer.nextCode())
    if (t.kind == TokenKind::String) out += literals.substr(t.begin + 1, t.end - t.begin - 2);
  return out;
}

}  // namespace kolvre
