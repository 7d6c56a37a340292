#include "syntax/lexer.h"

#include <algorithm>
#include <cstring>

#include "base/text.h"
#include "syntax/positions.h"

namespace kolvre {

namespace lexing {

namespace {

// The first CR LF at or after `pos`, or the end of the text.
std::size_t crLfFrom(std::string_view text, std::size_t pos) {
  return std::min(nextCrLf(text, pos), text.size());
}

}  // namespace

std::size_t lineCommentEnd(std::string_view text, std::size_t pos) {
  return crLfFrom(text, pos + 2);
}

std::size_t blockCommentEnd(std::string_view text, std::size_t pos) {
  const char* const base = text.data();
  std::size_t from = pos + 2;
  while (from < text.size()) {
    const void* hit = std::memchr(base + from, '*', text.size() - from);
    if (!hit) break;
    const std::size_t star = static_cast<const char*>(hit) - base;
    if (star + 1 < text.size() && base[star + 1] == '/') return star + 2;
    from = star + 1;
  }
  return text.size();
}

namespace {

// Where the string literal at `pos` ends (stringEnd), and whether its closing quote ends it.
std::size_t scanString(std::string_view text, std::size_t pos, bool& closed) {
  closed = false;
  const char* const base = text.data();
  const std::size_t size = text.size();
  std::size_t from = pos + 1;  // after the opening quote, or the last quote read inside
  for (std::size_t p = from; p < size; ++p) {
    const char c = base[p];
    if (c == '\r') {
      // A line end ends a literal left open on its line, unless a backslash continues it.
      if (p + 1 < size && base[p + 1] == '\n' && base[p - 1] != '\\') return p;
      continue;
    }
    if (c != '"') continue;
    // An odd run of backslashes before the quote escapes it.
    std::size_t slashes = 0;
    while (p - slashes > from && base[p - slashes - 1] == '\\') ++slashes;
    if (slashes % 2 == 1) {
      from = p + 1;
      continue;
    }
    // A doubled quote stands for one quote inside the string.
    if (p + 1 < size && base[p + 1] == '"') {
      from = p + 2;
      ++p;
      continue;
    }
    closed = true;
    return p + 1;
  }
  return size;
}

}  // namespace

std::size_t stringEnd(std::string_view text, std::size_t pos) {
  bool closed = false;
  return scanString(text, pos, closed);
}

std::size_t apostropheStringEnd(std::string_view text, std::size_t pos) {
  const std::size_t lineEnd = crLfFrom(text, pos + 1);
  const void* hit = std::memchr(text.data() + pos + 1, '\'', lineEnd - pos - 1);
  if (!hit) return pos + 1;
  return static_cast<std::size_t>(static_cast<const char*>(hit) - text.data()) + 1;
}

std::size_t directiveEnd(std::string_view text, std::size_t pos) {
  std::size_t p = pos + 1;
  while (p < text.size()) {
    const char c = text[p];
    if (c == '\r' && p + 1 < text.size() && text[p + 1] == '\n') {
      // A backslash right before the line end joins the next line.
      if (text[p - 1] == '\\') {
        p += 2;
        continue;
      }
      return p;
    }
    if (c == '"') {
      // A string on the line; one left open ends with the line.
      std::size_t q = p + 1;
      while (q < text.size() && text[q] != '"' && !crLfAt(text, q)) q += text[q] == '\\' ? 2 : 1;
      p = q < text.size() && text[q] == '"' ? q + 1 : std::min(q, text.size());
      continue;
    }
    if (c == '/' && p + 1 < text.size()) {
      if (text[p + 1] == '/') return lineCommentEnd(text, p);
      if (text[p + 1] == '*') {
        p = blockCommentEnd(text, p);
        continue;
      }
    }
    ++p;
  }
  return text.size();
}

}  // namespace lexing

DirectiveKind directiveKind(std::string_view directive) {
  std::size_t k = 1;
  while (k < directive.size() && isBlank(directive[k])) ++k;
  std::size_t e = k;
  while (e < directive.size() && lexing::isWordByte(directive[e])) ++e;
  const std::string_view word = directive.substr(k, e - k);
  if (word == "if" || word == "ifdef" || word == "ifndef") return DirectiveKind::If;
  if (word == "elif" || word == "else") return DirectiveKind::Else;
  if (word == "endif") return DirectiveKind::EndIf;
  return DirectiveKind::Other;
}

std::optional<std::string_view> lineMarkerFile(std::string_view directive) {
  std::size_t k = 1;
  while (k < directive.size() && isBlank(directive[k])) ++k;
  if (directive.substr(k, 4) == "line" &&
      (k + 4 == directive.size() || isBlank(directive[k + 4]))) {
    k += 4;
    while (k < directive.size() && isBlank(directive[k])) ++k;
  }
  const std::size_t digits = k;
  while (k < directive.size() && directive[k] >= '0' && directive[k] <= '9') ++k;
  if (k == digits || k == directive.size() || !isBlank(directive[k])) return std::nullopt;
  while (k < directive.size() && isBlank(directive[k])) ++k;
  if (k == directive.size() || directive[k] != '"') return std::nullopt;
  const std::size_t close = directive.find('"', k + 1);
  if (close == std::string_view::npos) return std::nullopt;
  return directive.substr(k + 1, close - k - 1);
}

bool marksHeader(std::string_view directive) {
  const std::optional<std::string_view> file = lineMarkerFile(directive);
  if (!file) return false;
  const std::size_t dot = file->rfind('.');
  if (dot == std::string_view::npos) return false;
  const std::string_view extension = file->substr(dot + 1);
  for (const std::string_view header : {"h", "hh", "hpp", "hxx"})
    if (equalsIgnoringCase(extension, header)) return true;
  return false;
}

Token Lexer::next() {
  using lexing::ByteClass;
  const std::string_view text = text_;
  // White space, noting line ends.
  while (pos_ < text.size()) {
    const char c = text[pos_];
    if (lexing::kByteClass[static_cast<unsigned char>(c)] != ByteClass::Space) break;
    if (c == '\r' && pos_ + 1 < text.size() && text[pos_ + 1] == '\n') {
      pos_ += 2;
      atLineStart_ = true;
      newLine_ = true;
    } else {
      ++pos_;
    }
  }
  Token t;
  t.begin = pos_;
  t.newLine = newLine_;
  if (pos_ >= text.size()) {
    t.kind = TokenKind::End;
    t.end = pos_;
    return t;
  }
  const char c = text[pos_];
  const ByteClass cls = lexing::kByteClass[static_cast<unsigned char>(c)];
  bool comment = false;
  if (cls == ByteClass::Word) {
    t.kind = TokenKind::Word;
    t.end = lexing::wordEnd(text, pos_);
  } else if (cls == ByteClass::Digit) {
    t.kind = TokenKind::Number;
    t.end = lexing::wordEnd(text, pos_);
  } else if (c == '"') {
    t.kind = TokenKind::String;
    t.end = lexing::stringEnd(text, pos_);
  } else if (c == '\'') {
    t.end = lexing::apostropheStringEnd(text, pos_);
    t.kind = t.end == pos_ + 1 ? TokenKind::Punct : TokenKind::String;
  } else if (c == '#' && atLineStart_) {
    t.kind = TokenKind::Directive;
    t.end = lexing::directiveEnd(text, pos_);
  } else if (c == '/' && pos_ + 1 < text.size() &&
             (text[pos_ + 1] == '/' || text[pos_ + 1] == '*')) {
    t.kind = TokenKind::Comment;
    t.end = text[pos_ + 1] == '/' ? lexing::lineCommentEnd(text, pos_)
                                  : lexing::blockCommentEnd(text, pos_);
    comment = true;
  } else {
    t.kind = TokenKind::Punct;
    t.end = pos_ + 1;
  }
  // A comment leaves the line as it found it: a '#' after "/* */" at a line's start still
  // starts a preprocessor line. A line end inside a block comment starts a new line.
  if (comment) {
    const std::string_view inside = text.substr(t.begin, t.end - t.begin);
    const std::size_t lastLineEnd = inside.rfind("\r\n");
    if (lastLineEnd != std::string_view::npos) {
      newLine_ = true;
      atLineStart_ = true;
    }
  } else {
    atLineStart_ = false;
    newLine_ = false;
  }
  pos_ = t.end;
  return t;
}

bool endsLeftOpen(std::string_view text, std::size_t from, std::size_t end) {
  if (end < text.size()) return false;
  Lexer lexer(text, from, true);
  Token last;
  for (Token t = lexer.next(); t.kind != TokenKind::End; t = lexer.next()) last = t;
  return takesNextLine(text, last);
}

bool takesNextLine(std::string_view text, const Token& t) {
  if (!leftOpen(text, t)) return false;
  if (t.kind == TokenKind::Comment) return true;
  const std::string probe = std::string(t.of(text)) + "\r\n";
  return lexing::stringEnd(probe, 0) == probe.size();
}

bool onlyComments(std::string_view text, std::size_t from, std::size_t to, bool atLineStart) {
  Lexer lexer(text, from, atLineStart);
  for (Token t = lexer.next(); t.begin < to; t = lexer.next())
    if (t.kind != TokenKind::Comment || t.end > to) return false;
  return true;
}

bool stringClosed(std::string_view literal) {
  if (literal.empty() || literal.front() != '"') return false;
  bool closed = false;
  return lexing::scanString(literal, 0, closed) == literal.size() && closed;
}

bool leftOpen(std::string_view text, const Token& t) {
  if (t.end < text.size()) return false;
  // One more byte after it: a closed token still ends where it did.
  const std::string extended = std::string(t.of(text)) + ' ';
  if (t.kind == TokenKind::String && extended.front() == '"')
    return lexing::stringEnd(extended, 0) != extended.size() - 1;
  if (t.kind == TokenKind::Comment && extended.starts_with("/*"))
    return lexing::blockCommentEnd(extended, 0) != extended.size() - 1;
  return false;
}

std::string blankComments(std::string_view text) {
  std::string out(text);
  Lexer lexer(text);
  for (Token t = lexer.next(); t.kind != TokenKind::End; t = lexer.next()) {
    if (t.kind != TokenKind::Comment) continue;
    for (std::size_t i = t.begin; i < t.end; ++i)
      if (!crLfAt(text, i) && !(i > t.begin && crLfAt(text, i - 1))) out[i] = ' ';
  }
  return out;
}

}  // namespace kolvre

namespace kolvre {

bool holdsBackslashQuote(std::string_view literal) {
  const std::size_t open = literal.find('"');
  if (open == std::string_view::npos) return false;
  for (std::size_t i = open + 1; i + 1 < literal.size(); ++i) {
    if (literal[i] != '"') continue;
    std::size_t slashes = 0;
    while (slashes < i - open - 1 && literal[i - 1 - slashes] == '\\') ++slashes;
    if (slashes % 2 == 1) return true;
  }
  return false;
}

}  // namespace kolvre
