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

bool opensBodyLine(std::string_view line) {
  return line.starts_with('{') || equalsIgnoringCase(line, "BEGIN");
}

}  // namespace kolvre
