#include "syntax/vocabulary.h"

#include "base/text.h"

namespace kolvre {

bool opensBody(std::string_view text, const Token& token) {
  const std::string_view s = token.of(text);
  return (token.kind == TokenKind::Punct && s == "{") ||
         (token.kind == TokenKind::Word && isKeyword(s, "BEGIN"));
}

bool closesBody(std::string_view text, const Token& token) {
  const std::string_view s = token.of(text);
  return (token.kind == TokenKind::Punct && s == "}") ||
         (token.kind == TokenKind::Word && isKeyword(s, "END"));
}

std::string doubledQuotes(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    out += c;
    if (c == '"') out += '"';
  }
  return out;
}

std::string undoubledQuotes(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    out += text[i];
    if (text[i] == '"' && i + 1 < text.size() && text[i + 1] == '"') ++i;
  }
  return out;
}

std::string quotedFileName(std::string_view literal) {
  if (literal.empty()) return {};
  std::string_view inside = literal.substr(1);
  if (!leftOpen(literal, Token{TokenKind::String, 0, literal.size(), false}) && !inside.empty())
    inside.remove_suffix(1);  // the closing quote
  std::string out;
  out.reserve(inside.size());
  for (std::size_t i = 0; i < inside.size(); ++i) {
    const char c = inside[i];
    const char next = i + 1 < inside.size() ? inside[i + 1] : '\0';
    if ((c == '\\' && (next == '\\' || next == '"')) || (c == '"' && next == '"')) {
      out += next;
      ++i;
    } else {
      out += c;
    }
  }
  return out;
}

bool opensBodyLine(std::string_view line) {
  return line.starts_with('{') || equalsIgnoringCase(line, "BEGIN");
}

}  // namespace kolvre
