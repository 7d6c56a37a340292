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

bool opensBodyLine(std::string_view line) {
  return line.starts_with('{') || equalsIgnoringCase(line, "BEGIN");
}

}  // namespace kolvre
