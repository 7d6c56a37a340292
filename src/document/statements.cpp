#include "document/statements.h"

#include <algorithm>
#include <cstring>

#include "base/text.h"

namespace kolvre {

namespace {

constexpr std::size_t kNone = static_cast<std::size_t>(-1);

// The memory options a resource statement may carry before its file or body.
constexpr std::array<std::string_view, 9> kMemoryOptions{"PRELOAD",  "LOADONCALL",  "FIXED",
                                                         "MOVEABLE", "DISCARDABLE", "PURE",
                                                         "IMPURE",   "SHARED",      "NONSHARED"};

bool isOpener(std::string_view text, const Token& t) {
  return (t.kind == TokenKind::Punct && text[t.begin] == '{') ||
         (t.kind == TokenKind::Word && isKeyword(t.of(text), "BEGIN"));
}

// A type word that marks a line as a resource statement's first line wherever it stands:
// a predefined keyword, or an RT_ name.
bool isStrongType(std::string_view word) {
  return resourceKeyword(word) != nullptr ||
         (word.size() > 3 && equalsIgnoringCase(word.substr(0, 3), "RT_"));
}

// Bytes the body scan stops at: delimiters of strings, comments and bodies, line ends, and
// the N that BEGIN and END hold (the words are rare next to the letters around them).
constexpr std::array<bool, 256> kBodyStop = [] {
  std::array<bool, 256> table{};
  for (unsigned char c : std::string_view("\"'/{}\rNn")) table[c] = true;
  return table;
}();

// The conditional sections of a stretch of text, to tell whether it is self-contained.
struct Sections {
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

class StatementReader {
 public:
  explicit StatementReader(std::string_view text, std::size_t from = 0)
      : text_(text), lexer_(text, from, true) {}

  std::vector<Statement> run() {
    std::vector<Statement> out;
    out.reserve(text_.size() / 512 + 16);
    for (;;) {
      const Token t = lexer_.next();
      if (t.kind == TokenKind::End) break;
      out.push_back(statementFrom(t));
    }
    return out;
  }

  // The next statement, or nothing at the end of the text.
  std::optional<Statement> next() {
    const Token t = lexer_.next();
    if (t.kind == TokenKind::End) return std::nullopt;
    return statementFrom(t);
  }

 private:
  Statement statementFrom(const Token& t) {
    Statement s;
    s.begin = t.begin;
    s.end = t.end;
    switch (t.kind) {
      case TokenKind::Comment:
        s.kind = StatementKind::Comment;
        return s;
      case TokenKind::Directive:
        s.kind = StatementKind::Directive;
        s.directive = directiveKind(t.of(text_));
        return s;
      case TokenKind::Word: {
        const std::string_view word = t.of(text_);
        if (isKeyword(word, "STRINGTABLE")) {
          s.kind = StatementKind::StringTable;
          s.nameEnd = s.typeBegin = t.begin;
          s.typeEnd = t.end;
          readHeaderAndBody(s);
          return s;
        }
        if (isKeyword(word, "LANGUAGE")) return simpleStatement(s, StatementKind::Language, 2);
        if (isKeyword(word, "VERSION")) return simpleStatement(s, StatementKind::Version, 1);
        if (isKeyword(word, "CHARACTERISTICS"))
          return simpleStatement(s, StatementKind::Characteristics, 1);
        break;
      }
      default:
        break;
    }
    if (const std::optional<Token> type = typeAfterName(t)) {
      lexer_.nextCode();
      s.kind = StatementKind::Resource;
      s.nameEnd = t.end;
      s.typeBegin = type->begin;
      s.typeEnd = type->end;
      s.end = type->end;
      const std::string_view typeWord = type->of(text_);
      s.listed = listedType(typeWord);
      const ResourceKeyword* keyword =
          type->kind == TokenKind::Word ? resourceKeyword(typeWord) : nullptr;
      if (keyword && keyword->body == BodyRule::Required)
        readHeaderAndBody(s);
      else
        readFileOrBody(s);
      return s;
    }
    // Anything else: its tokens up to the line end, comments left to themselves.
    s.kind = StatementKind::Other;
    for (;;) {
      const Lexer before = lexer_;
      const Token n = lexer_.next();
      if (n.kind == TokenKind::End || n.kind == TokenKind::Comment || n.newLine) {
        lexer_ = before;
        break;
      }
      s.end = n.end;
    }
    return s;
  }

  // The type of a resource statement whose name is `name`: the next code token on the same
  // line, a word, number or string. Nothing when `name` starts no resource statement.
  std::optional<Token> typeAfterName(const Token& name) const {
    if (name.kind == TokenKind::Word) {
      if (isReservedWord(name.of(text_))) return std::nullopt;
    } else if (name.kind != TokenKind::Number) {
      return std::nullopt;
    }
    const Token type = lexer_.peekCode();
    if (type.newLine) return std::nullopt;
    if (type.kind != TokenKind::Word && type.kind != TokenKind::Number &&
        type.kind != TokenKind::String)
      return std::nullopt;
    if (type.kind == TokenKind::Word) {
      const std::string_view word = type.of(text_);
      if (isKeyword(word, "BEGIN") || isKeyword(word, "END")) return std::nullopt;
    }
    return type;
  }

  // True when the code token `t`, first on its line, starts a resource statement whose type
  // is a predefined keyword or an RT_ name: where a statement left open ends.
  bool startsStatement(const Token& t, const Lexer& after) const {
    if (t.kind == TokenKind::Word) {
      const std::string_view word = t.of(text_);
      if (isKeyword(word, "STRINGTABLE")) return true;
      if (isReservedWord(word)) return false;
    } else if (t.kind != TokenKind::Number) {
      return false;
    }
    const Token type = after.peekCode();
    return !type.newLine && type.kind == TokenKind::Word && isStrongType(type.of(text_));
  }

  // LANGUAGE, VERSION and CHARACTERISTICS and their values, at the top level.
  Statement& simpleStatement(Statement& s, StatementKind kind, int values) {
    s.kind = kind;
    s.end = readValues(s.end, values, s.complete);
    return s;
  }

  // Reads `values` values separated by commas; returns where the last one ends. `whole` turns
  // false when a value is missing or left open: what follows could still be read into it.
  std::size_t readValues(std::size_t end, int values, bool& whole) {
    for (int v = 0; v < values; ++v) {
      if (v > 0) {
        const Token comma = lexer_.peekCode();
        if (comma.kind != TokenKind::Punct || text_[comma.begin] != ',') {
          whole = false;
          break;
        }
        lexer_.nextCode();
        end = comma.end;
      }
      end = readValue(end, whole);
    }
    return end;
  }

  // One value: operands joined by operators, unary operators and parentheses allowed. A
  // parenthesis left open ends the value before the preprocessor line or the end of the text
  // that stops it, and leaves it not whole.
  std::size_t readValue(std::size_t end, bool& whole) {
    for (;;) {
      Token t = lexer_.peekCode();
      while (t.kind == TokenKind::Punct && std::strchr("-~!+", text_[t.begin])) {
        lexer_.nextCode();
        end = t.end;
        t = lexer_.peekCode();
      }
      if (t.kind == TokenKind::Punct && text_[t.begin] == '(') {
        std::size_t depth = 0;
        do {
          const Lexer before = lexer_;
          t = lexer_.nextCode();
          if (t.kind == TokenKind::End || t.kind == TokenKind::Directive) {
            lexer_ = before;
            whole = false;
            return end;
          }
          if (t.kind == TokenKind::Punct && text_[t.begin] == '(') ++depth;
          if (t.kind == TokenKind::Punct && text_[t.begin] == ')') --depth;
          end = t.end;
        } while (depth > 0);
      } else if (t.kind == TokenKind::Word || t.kind == TokenKind::Number) {
        if (t.newLine) {
          Lexer after = lexer_;
          after.nextCode();
          if (startsStatement(t, after)) {
            whole = false;
            return end;
          }
        }
        lexer_.nextCode();
        end = t.end;
      } else {
        whole = false;
        return end;
      }
      const Token op = lexer_.peekCode();
      if (op.kind != TokenKind::Punct || !std::strchr("|&+-*/", text_[op.begin])) return end;
      lexer_.nextCode();
      end = op.end;
    }
  }

  // A statement whose body always follows: header statements (any tokens, preprocessor lines
  // among them), then the body. One whose body never opens ends where the next statement at a
  // line start begins, before a preprocessor line or a LANGUAGE, VERSION or CHARACTERISTICS
  // line met on the way.
  void readHeaderAndBody(Statement& s) {
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
      if (isOpener(text_, t)) {
        readBody(s, t, sections);
        return;
      }
      if (t.newLine) {
        if (startsStatement(t, lexer_)) {
          lexer_ = before;
          break;
        }
        if (t.kind == TokenKind::Word && cutEnd == kNone) {
          const std::string_view word = t.of(text_);
          if (isKeyword(word, "LANGUAGE") || isKeyword(word, "VERSION") ||
              isKeyword(word, "CHARACTERISTICS"))
            cutEnd = lastEnd;
        }
      }
      lastEnd = t.end;
    }
    s.complete = false;
    s.end = cutEnd != kNone ? cutEnd : lastEnd;
    lexer_.seek(s.end, false);
  }

  // A statement with a file name or a body: memory options and LANGUAGE, VERSION and
  // CHARACTERISTICS statements, then the body, or the file name and what follows it on its line.
  void readFileOrBody(Statement& s) {
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
      if (isOpener(text_, t)) {
        readBody(s, t, sections);
        return;
      }
      if (t.kind == TokenKind::Word) {
        const std::string_view word = t.of(text_);
        if (isMemoryOption(word)) {
          s.end = t.end;
          continue;
        }
        if (isKeyword(word, "LANGUAGE")) {
          s.end = readValues(t.end, 2, headerValuesWhole);
          continue;
        }
        if (isKeyword(word, "VERSION") || isKeyword(word, "CHARACTERISTICS")) {
          s.end = readValues(t.end, 1, headerValuesWhole);
          continue;
        }
      }
      if (t.newLine && startsStatement(t, lexer_)) {
        lexer_ = before;
        break;
      }
      // The file name, and whatever else stands on its line (an unquoted path's pieces).
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

  // The body that `opener` opens, through the "}" or END that closes it (braces and BEGIN END
  // pairs count alike, as the compilers read them). A body that never closes ends before the
  // first line inside it that starts a statement or holds a preprocessor line or LANGUAGE,
  // else at the end of the text.
  void readBody(Statement& s, const Token& opener, Sections& sections) {
    const std::string_view text = text_;
    const char* const base = text.data();
    const std::size_t size = text.size();
    std::size_t depth = 1;
    std::size_t cut = kNone;
    std::size_t p = opener.end;
    while (p < size) {
      while (p < size && !kBodyStop[static_cast<unsigned char>(base[p])]) ++p;
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

  void closeBody(Statement& s, std::size_t end, const Sections& sections) {
    s.end = end;
    s.selfContained = sections.whole();
    lexer_.seek(end, false);
  }

  // The start of a line inside a body, at `p`: a preprocessor line is read whole; the first
  // line that could end a body left open is noted in `cut` (where the line before it ends).
  // Returns where the scan goes on.
  std::size_t lineStartInBody(std::size_t p, std::size_t lineEnd, std::size_t& cut,
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
    const std::string_view word = text.substr(q, e - q);
    if (isKeyword(word, "STRINGTABLE") || isKeyword(word, "LANGUAGE") ||
        isKeyword(word, "VERSION") || isKeyword(word, "CHARACTERISTICS")) {
      cut = lineEnd;
    } else if (!isReservedWord(word)) {
      std::size_t k = e;
      while (k < text.size() && isBlank(text[k])) ++k;
      if (k < text.size() &&
          lexing::kByteClass[static_cast<unsigned char>(text[k])] == lexing::ByteClass::Word &&
          isStrongType(text.substr(k, lexing::wordEnd(text, k) - k)))
        cut = lineEnd;
    }
    return q;
  }

  std::string_view text_;
  Lexer lexer_;
};

}  // namespace

const ResourceKeyword* resourceKeyword(std::string_view word) {
  if (word.size() < 3 || word.size() > 12) return nullptr;
  const char first = upperByte(word.front());
  for (const ResourceKeyword& k : kResourceKeywords)
    if (k.word.front() == first && k.word.size() == word.size() && equalsIgnoringCase(k.word, word))
      return &k;
  return nullptr;
}

bool isReservedWord(std::string_view word) {
  return resourceKeyword(word) || isKeyword(word, "STRINGTABLE") || isKeyword(word, "LANGUAGE") ||
         isKeyword(word, "VERSION") || isKeyword(word, "CHARACTERISTICS") ||
         isKeyword(word, "BEGIN") || isKeyword(word, "END");
}

bool isMemoryOption(std::string_view word) {
  for (std::string_view option : kMemoryOptions)
    if (isKeyword(word, option)) return true;
  return false;
}

std::optional<ResourceType> listedType(std::string_view typeWord) {
  if (typeWord == "24" || isKeyword(typeWord, "RT_MANIFEST")) return ResourceType::Manifest;
  if (const ResourceKeyword* k = resourceKeyword(typeWord)) return k->listed;
  return std::nullopt;
}

std::vector<Statement> readStatements(std::string_view text) {
  return StatementReader(text).run();
}

std::vector<Statement> rereadStatements(std::string_view before,
                                        const std::vector<Statement>& statements,
                                        std::string_view after) {
  // The bytes both texts share at their start and their end.
  const std::size_t shortest = std::min(before.size(), after.size());
  const std::size_t head = static_cast<std::size_t>(
      std::mismatch(before.begin(), before.begin() + shortest, after.begin()).first -
      before.begin());
  const std::size_t tail = static_cast<std::size_t>(
      std::mismatch(before.rbegin(), before.rbegin() + (shortest - head), after.rbegin()).first -
      before.rbegin());
  // Reading starts again at a statement first on its line whose first line lies wholly in the
  // shared start: what stands before it read what it reads now, the lookahead of the statement
  // before it included, and the lexer stands at a line start there.
  std::size_t resume = 0;
  for (std::size_t i = statements.size(); i > 0; --i) {
    const Statement& s = statements[i - 1];
    if (s.begin >= head) continue;
    const std::size_t lineEnd = before.find("\r\n", s.begin);
    if (lineEnd == std::string_view::npos || lineEnd + 2 > head) continue;
    const std::size_t lineStart = lineStartOf(before, s.begin);
    bool first = true;
    for (std::size_t k = lineStart; k < s.begin && first; ++k) first = isBlank(before[k]);
    if (!first) continue;
    resume = i - 1;
    break;
  }
  // A statement left open ends where a later one begins, or where its body closes however far
  // on: reading starts again at the first one, when it stands first on its line.
  for (std::size_t i = 0; i < resume; ++i) {
    if (statements[i].complete) continue;
    const std::size_t lineStart = lineStartOf(before, statements[i].begin);
    bool first = true;
    for (std::size_t k = lineStart; k < statements[i].begin && first; ++k)
      first = isBlank(before[k]);
    resume = first ? i : 0;
    break;
  }
  if (resume == 0) return readStatements(after);
  std::vector<Statement> out;
  out.reserve(statements.size() + 16);
  out.assign(statements.begin(), statements.begin() + static_cast<std::ptrdiff_t>(resume));
  const std::size_t from = statements[resume].begin;
  const std::ptrdiff_t shift =
      static_cast<std::ptrdiff_t>(after.size()) - static_cast<std::ptrdiff_t>(before.size());
  const std::size_t sharedEnd = after.size() - tail;  // the shared end starts here in `after`
  StatementReader reader(after, from);
  std::size_t old = resume;  // the first old statement not yet passed
  while (const std::optional<Statement> s = reader.next()) {
    out.push_back(*s);
    // Once a statement other than a comment lies wholly in the shared end and the old text
    // held the same statement there, the reader stands where the old reading stood: the rest
    // is the old statements, moved by the difference in length.
    if (s->begin < sharedEnd || s->kind == StatementKind::Comment) continue;
    const std::size_t oldBegin =
        static_cast<std::size_t>(static_cast<std::ptrdiff_t>(s->begin) - shift);
    while (old < statements.size() && statements[old].begin < oldBegin) ++old;
    if (old == statements.size()) continue;
    const Statement& o = statements[old];
    if (o.begin != oldBegin || o.kind != s->kind || o.complete != s->complete ||
        static_cast<std::ptrdiff_t>(o.end) + shift != static_cast<std::ptrdiff_t>(s->end))
      continue;
    for (std::size_t k = old + 1; k < statements.size(); ++k) {
      Statement moved = statements[k];
      const auto by = [&](std::size_t v) {
        return static_cast<std::size_t>(static_cast<std::ptrdiff_t>(v) + shift);
      };
      moved.begin = by(moved.begin);
      moved.end = by(moved.end);
      if (moved.kind == StatementKind::Resource || moved.kind == StatementKind::StringTable) {
        moved.nameEnd = by(moved.nameEnd);
        moved.typeBegin = by(moved.typeBegin);
        moved.typeEnd = by(moved.typeEnd);
      }
      out.push_back(moved);
    }
    break;
  }
  return out;
}

}  // namespace kolvre
