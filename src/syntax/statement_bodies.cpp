#include <algorithm>

#include "base/text.h"
#include "syntax/statement_reader.h"
#include "syntax/vocabulary.h"

namespace kolvre {

namespace {

constexpr std::size_t kNone = static_cast<std::size_t>(-1);

// The next byte the body scan stops at: delimiters of strings, comments and bodies, line ends,
// and the N that BEGIN and END hold (the words are rare next to the letters around them).
std::size_t nextBodyStop(std::string_view text, std::size_t p) {
  static constexpr std::array<bool, 256> kBodyStop = [] {
    std::array<bool, 256> table{};
    for (unsigned char c : std::string_view("\"'/{}\rNn")) table[c] = true;
    return table;
  }();
  while (p < text.size() && !kBodyStop[static_cast<unsigned char>(text[p])]) ++p;
  return p;
}

}  // namespace

// The conditional sections of a stretch of text, to tell whether it is self-contained.
struct StatementReader::Sections {
  std::size_t open = 0;
  bool selfContained = true;
  void add(DirectiveKind kind) {
    switch (kind) {
      case DirectiveKind::If:
        ++open;
        break;
      case DirectiveKind::Else:
        if (open == 0) selfContained = false;
        break;
      case DirectiveKind::EndIf:
        if (open == 0)
          selfContained = false;
        else
          --open;
        break;
      case DirectiveKind::Other:
        selfContained = false;
        break;
    }
  }
  bool whole() const { return selfContained && open == 0; }
};

void StatementReader::readHeaderAndBody(Statement& s) {
  std::size_t lastEnd = s.end;
  std::size_t cutEnd = kNone;
  Sections sections;
  for (;;) {
    const Lexer before = lexer_;
    const Token t = lexer_.next();
    if (t.kind == TokenKind::End) break;
    if (t.kind == TokenKind::Comment) continue;
    if (t.kind == TokenKind::Directive) {
      if (cutEnd == kNone) cutEnd = lastEnd;
      sections.add(directiveKind(t.of(text_)));
      lastEnd = t.end;
      continue;
    }
    if (opensBody(text_, t)) {
      readBody(s, t, sections);
      return;
    }
    if (t.newLine) {
      if (startsStatement(t, lexer_)) {
        lexer_ = before;
        break;
      }
      if (t.kind == TokenKind::Word && cutEnd == kNone &&
          wordClasses(t.of(text_), words::kLanguage | words::kVersion | words::kCharacteristics))
        cutEnd = lastEnd;
    }
    lastEnd = t.end;
  }
  s.complete = false;
  s.end = cutEnd != kNone ? cutEnd : lastEnd;
  lexer_.seek(s.end, false);
}

void StatementReader::readFileOrBody(Statement& s) {
  Sections sections;
  // A header value left open is the compiler's error to report; the statement still ends at
  // its file name or body.
  bool headerValuesWhole = true;
  for (;;) {
    const Lexer before = lexer_;
    const Token t = lexer_.nextCode();
    if (t.kind == TokenKind::End || t.kind == TokenKind::Directive) {
      lexer_ = before;
      break;
    }
    if (opensBody(text_, t)) {
      readBody(s, t, sections);
      return;
    }
    if (t.kind == TokenKind::Word) {
      const std::uint32_t classes =
          wordClasses(t.of(text_), words::kMemoryOption | words::kLanguage | words::kVersion |
                                       words::kCharacteristics);
      if (classes & words::kMemoryOption) {
        s.end = t.end;
        continue;
      }
      if (classes & words::kLanguage) {
        s.end = readValues(t.end, 2, headerValuesWhole);
        continue;
      }
      if (classes & (words::kVersion | words::kCharacteristics)) {
        s.end = readValues(t.end, 1, headerValuesWhole);
        continue;
      }
    }
    if (t.newLine && startsStatement(t, lexer_)) {
      lexer_ = before;
      break;
    }
    // The file name, and whatever else stands on its line (an unquoted path's pieces).
    if (content_) {
      content_->fileName = t;
      return;
    }
    s.end = t.end;
    for (;;) {
      const Lexer at = lexer_;
      const Token n = lexer_.nextCode();
      if (n.kind == TokenKind::End || n.kind == TokenKind::Directive || n.newLine ||
          startsStatement(n, lexer_)) {
        lexer_ = at;
        break;
      }
      s.end = n.end;
    }
    return;
  }
  s.complete = false;
  lexer_.seek(s.end, false);
}

void StatementReader::readBody(Statement& s, const Token& opener, Sections& sections) {
  if (content_) {
    content_->opener = opener;
    return;
  }
  const std::string_view text = text_;
  const char* const base = text.data();
  const std::size_t size = text.size();
  std::size_t depth = 1;
  std::size_t cut = kNone;
  std::size_t p = opener.end;
  while (p < size) {
    p = nextBodyStop(text, p);
    if (p >= size) break;
    switch (base[p]) {
      case '"':
        p = lexing::stringEnd(text, p);
        break;
      case '\'':
        p = lexing::apostropheStringEnd(text, p);
        break;
      case '/':
        if (p + 1 < size && base[p + 1] == '/')
          p = lexing::lineCommentEnd(text, p);
        else if (p + 1 < size && base[p + 1] == '*') {
          // A comment over several lines ends on a line of its own: what follows it starts a
          // line, as the lexer reads it.
          const std::size_t start = p;
          p = lexing::blockCommentEnd(text, p);
          if (text.substr(start, p - start).find("\r\n") != std::string_view::npos)
            p = lineStartInBody(p, start, cut, sections);
        } else {
          ++p;
        }
        break;
      case '{':
        ++depth;
        ++p;
        break;
      case '}':
        ++p;
        if (--depth == 0) return closeBody(s, p, sections);
        break;
      case '\r':
        if (p + 1 < size && base[p + 1] == '\n') {
          const std::size_t lineEnd = p;
          p = lineStartInBody(p + 2, lineEnd, cut, sections);
        } else {
          ++p;
        }
        break;
      default: {  // N or n: BEGIN or END?
        std::size_t b = p;
        while (b > opener.end && lexing::isWordByte(base[b - 1])) --b;
        const std::size_t e = lexing::wordEnd(text, p);
        const std::string_view word = text.substr(b, e - b);
        p = e;
        if (word.size() == 5 && isKeyword(word, "BEGIN")) {
          ++depth;
        } else if (word.size() == 3 && isKeyword(word, "END")) {
          if (--depth == 0) return closeBody(s, e, sections);
        }
        break;
      }
    }
  }
  // Never closed.
  s.complete = false;
  std::size_t end = cut != kNone ? cut : size;
  while (end > opener.end && isSpace(base[end - 1])) --end;
  s.end = end;
  s.selfContained = false;
  lexer_.seek(end, false);
}

void StatementReader::closeBody(Statement& s, std::size_t end, const Sections& sections) {
  s.end = end;
  s.selfContained = sections.whole();
  lexer_.seek(end, false);
}

std::size_t StatementReader::lineStartInBody(std::size_t p, std::size_t lineEnd, std::size_t& cut,
                                             Sections& sections) {
  const std::string_view text = text_;
  // White space inside the line (a lone CR or LF among it) and block comments stand before
  // its first token, as the lexer reads them: a '#' after them starts a preprocessor line.
  std::size_t q = p;
  for (;;) {
    while (q < text.size() &&
           lexing::kByteClass[static_cast<unsigned char>(text[q])] == lexing::ByteClass::Space &&
           !crLfAt(text, q))
      ++q;
    if (q + 1 < text.size() && text[q] == '/' && text[q + 1] == '*')
      q = lexing::blockCommentEnd(text, q);
    else
      break;
  }
  if (q >= text.size() || crLfAt(text, q)) return q;
  if (text[q] == '#') {
    if (cut == kNone) cut = lineEnd;
    const std::size_t end = lexing::directiveEnd(text, q);
    sections.add(directiveKind(text.substr(q, end - q)));
    return end;
  }
  const lexing::ByteClass first = lexing::kByteClass[static_cast<unsigned char>(text[q])];
  if (cut != kNone || (first != lexing::ByteClass::Word && first != lexing::ByteClass::Digit))
    return q;
  const std::size_t e = lexing::wordEnd(text, q);
  const std::uint32_t classes = wordClasses(text.substr(q, e - q), words::kReserved);
  if (classes &
      (words::kStringTable | words::kLanguage | words::kVersion | words::kCharacteristics)) {
    cut = lineEnd;
  } else if (!(classes & words::kReserved)) {
    std::size_t k = e;
    while (k < text.size() && isBlank(text[k])) ++k;
    if (k < text.size() &&
        lexing::kByteClass[static_cast<unsigned char>(text[k])] == lexing::ByteClass::Word &&
        isStrongType(text.substr(k, lexing::wordEnd(text, k) - k)))
      cut = lineEnd;
  }
  // The scan goes on after the word, which holds no byte it stops at but the N of BEGIN and END:
  // those it goes on from, to count them.
  return classes & (words::kBegin | words::kEnd) ? q : e;
}

ResourceContent resourceContent(std::string_view text, const Statement& s) {
  // The header is read in the statement's own text: nothing after it can change how it reads.
  const std::string_view own = text.substr(0, std::min(s.end, text.size()));
  ResourceContent content = StatementReader(own, s.typeEnd).contentOf(s);
  if (!content.opener || !s.complete || own.size() <= content.opener->end) return content;
  // A body read whole ends the statement with its closer.
  const std::size_t end = own.size();
  if (own.back() == '}') {
    content.closer = Token{TokenKind::Punct, end - 1, end, false};
  } else if (end - content.opener->end >= 3 && isKeyword(own.substr(end - 3), "END") &&
             !lexing::isWordByte(own[end - 4])) {
    content.closer = Token{TokenKind::Word, end - 3, end, false};
  }
  return content;
}

}  // namespace kolvre
