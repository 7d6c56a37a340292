#include "resources/resource_data.h"

#include <filesystem>

#include "base/text.h"
#include "document/image_resources.h"
#include "document/scanner.h"
#include "images/hex_data.h"
#include "resources/body_tokens.h"
#include "syntax/encoding.h"

namespace kolvre {

const Statement* statementAt(const std::vector<Statement>& statements, std::size_t begin) {
  for (const Statement& s : statements)
    if (s.kind == StatementKind::Resource && s.begin == begin) return &s;
  return nullptr;
}

const Statement* findResourceStatement(std::string_view text,
                                       const std::vector<Statement>& statements,
                                       std::string_view name,
                                       const std::vector<std::string_view>& types, std::size_t nth,
                                       const std::vector<bool>& skipped) {
  for (const bool inactive : {false, true}) {
    for (std::size_t i = 0; i < statements.size(); ++i) {
      const Statement& s = statements[i];
      if (inactive != (i < skipped.size() && skipped[i])) continue;
      if (s.kind != StatementKind::Resource || !sameName(s.name(text), name)) continue;
      bool typed = false;
      for (std::string_view type : types) typed = typed || isKeyword(s.type(text), type);
      if (typed && --nth == 0) return &s;
    }
  }
  return nullptr;
}

std::optional<NamedFile> namedFile(const Document& doc, const Statement& statement) {
  return namedFile(doc.text(), doc.fileName(), doc.encoding(), statement);
}

std::optional<NamedFile> namedFile(std::string_view text, const std::string& fileName,
                                   TextEncoding encoding, const Statement& statement) {
  if (bodyTokens(text, statement)) return std::nullopt;
  const std::optional<std::string> written = imageFileName(statement.of(text));
  if (!written || written->empty()) return std::nullopt;
  NamedFile file;
  file.written = toDisplay(*written, encoding);
  file.path = resolveImageFile(fileName, file.written);
  std::error_code ec;
  if (std::filesystem::is_regular_file(file.path, ec)) {
    const auto size = std::filesystem::file_size(file.path, ec);
    if (!ec) file.size = size;
  }
  return file;
}

namespace {

void appendLittleEndian(std::vector<std::uint8_t>& bytes, std::uint32_t value, int count) {
  for (int i = 0; i < count; ++i) bytes.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

// A number written with an L suffix (10L, 0x0302L, 7UL) makes its expression a 32-bit value:
// no digit of either base is an L.
bool longNumber(std::string_view number) {
  return number.find_first_of("lL") != std::string_view::npos;
}

}  // namespace

std::optional<InlineData> inlineData(std::string_view text, const Statement& statement,
                                     const SymbolTable* symbols, const ScriptCharset& charset) {
  const auto body = bodyTokens(text, statement);
  if (!body) return std::nullopt;
  InlineData data;
  const std::vector<Token>& tokens = body->tokens;
  const auto fail = [&](std::size_t offset, const std::string& why) {
    data.problem = "Riga " + std::to_string(lineNumberAt(text, offset)) + ": " + why;
    return data;
  };
  for (std::size_t at = 0; at < tokens.size();) {
    const Token& t = tokens[at];
    const std::string_view s = t.of(text);
    if (closesBody(text, t)) return data;
    if (t.kind == TokenKind::Punct && s == ",") {
      ++at;
      continue;
    }
    const bool wide = t.kind == TokenKind::Word && (s == "L" || s == "l") &&
                      at + 1 < tokens.size() && tokens[at + 1].kind == TokenKind::String &&
                      tokens[at + 1].begin == t.end;
    const Token& literal = wide ? tokens[at + 1] : t;
    if (literal.kind == TokenKind::String) {
      const std::string_view quoted = literal.of(text);
      if (quoted.front() == '\'') {
        const std::vector<std::uint8_t> line = readHexDataLine(quoted);
        data.bytes.insert(data.bytes.end(), line.begin(), line.end());
      } else {
        const std::string bytes =
            compiledBytes(quoted.substr(1, quoted.size() >= 2 ? quoted.size() - 2 : 0));
        if (wide) {
          // The characters of the script's code page (a UTF-16 file holds them as UTF-8).
          const std::string utf8 =
              charset.utf16File ? bytes : codePageToUtf8(bytes, charset.codePage).value_or(bytes);
          const std::string utf16 = utf8ToUtf16(utf8, false);
          data.bytes.insert(data.bytes.end(), utf16.begin(), utf16.end());
        } else {
          data.bytes.insert(data.bytes.end(), bytes.begin(), bytes.end());
        }
      }
      at += wide ? 2 : 1;
      continue;
    }
    const std::size_t end =
        expressionEnd(text, tokens, at, [](std::string_view word) { return isEndWord(word); });
    if (end == at) return fail(t.begin, "«" + std::string(s) + "» non è un dato.");
    const std::string_view written = text.substr(t.begin, tokens[end - 1].end - t.begin);
    const Evaluation value = evaluate(written, symbols);
    if (!value.value || !value.undefined.empty())
      return fail(t.begin, "il valore di «" + std::string(written) + "» non è noto.");
    bool wideNumber = false;
    for (std::size_t i = at; i < end; ++i)
      wideNumber =
          wideNumber || (tokens[i].kind == TokenKind::Number && longNumber(tokens[i].of(text)));
    appendLittleEndian(data.bytes, *value.value, wideNumber ? 4 : 2);
    at = end;
  }
  return fail(text.size(), "il corpo non è chiuso.");
}

std::vector<std::string> hexViewLines(const std::vector<std::uint8_t>& bytes) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::vector<std::string> lines;
  for (std::size_t start = 0; start < bytes.size(); start += 16) {
    std::string line;
    for (int shift = 28; shift >= 0; shift -= 4) line += kDigits[(start >> shift) & 0xF];
    line += "  ";
    std::string characters;
    for (std::size_t i = start; i < start + 16; ++i) {
      if (i > start) line += ' ';
      if (i < bytes.size()) {
        line += kDigits[bytes[i] >> 4];
        line += kDigits[bytes[i] & 0xF];
        characters += bytes[i] >= 0x20 && bytes[i] < 0x7F ? static_cast<char>(bytes[i]) : '.';
      } else {
        line += "  ";
      }
    }
    lines.push_back(line + "  " + characters);
  }
  return lines;
}

}  // namespace kolvre
