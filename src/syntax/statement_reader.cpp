#include "syntax/statement_reader.h"

#include <cstring>

#include "base/text.h"
#include "syntax/vocabulary.h"

namespace kolvre {

bool StatementReader::isStrongType(std::string_view word) {
  return wordClasses(word, words::kResourceType) != 0 ||
         (word.size() > 3 && equalsIgnoringCase(word.substr(0, 3), "RT_"));
}

std::vector<Statement> StatementReader::run() {
  std::vector<Statement> out;
  out.reserve(text_.size() / 512 + 16);
  for (;;) {
    const Token t = lexer_.next();
    if (t.kind == TokenKind::End) break;
    out.push_back(statementFrom(t));
  }
  return out;
}

std::optional<Statement> StatementReader::next() {
  const Token t = lexer_.next();
  if (t.kind == TokenKind::End) return std::nullopt;
  return statementFrom(t);
}

Statement StatementReader::statementFrom(const Token& t) {
  Statement s;
  s.begin = t.begin;
  s.end = t.end;
  s.fromHeader = inHeader_;
  switch (t.kind) {
    case TokenKind::Comment:
      s.kind = StatementKind::Comment;
      return s;
    case TokenKind::Directive:
      s.kind = StatementKind::Directive;
      s.directive = directiveKind(t.of(text_));
      if (lineMarkerFile(t.of(text_))) inHeader_ = marksHeader(t.of(text_));
      return s;
    case TokenKind::Word: {
      const std::uint32_t classes =
          wordClasses(t.of(text_), words::kStringTable | words::kLanguage | words::kVersion |
                                       words::kCharacteristics);
      if (classes & words::kStringTable) {
        s.kind = StatementKind::StringTable;
        s.nameEnd = s.typeBegin = t.begin;
        s.typeEnd = t.end;
        readAfterType(s);
        return s;
      }
      if (classes & words::kLanguage) return simpleStatement(s, StatementKind::Language, 2);
      if (classes & words::kVersion) return simpleStatement(s, StatementKind::Version, 1);
      if (classes & words::kCharacteristics)
        return simpleStatement(s, StatementKind::Characteristics, 1);
      break;
    }
    default:
      break;
  }
  Lexer afterType = lexer_;
  std::size_t nameEnd = t.end;
  if (const std::optional<Token> type = typeAfterName(t, afterType, nameEnd)) {
    lexer_ = afterType;
    s.kind = StatementKind::Resource;
    s.nameEnd = nameEnd;
    s.typeBegin = type->begin;
    s.typeEnd = type->end;
    s.end = type->end;
    if (!inHeader_) s.listed = listedType(type->of(text_));
    readAfterType(s);
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

void StatementReader::readAfterType(Statement& s) {
  // A string or a number never spells a keyword: only a word names a predefined type.
  const ResourceKeyword* keyword =
      s.kind == StatementKind::Resource ? resourceKeyword(s.type(text_)) : nullptr;
  if (s.kind == StatementKind::StringTable || (keyword && keyword->body == BodyRule::Required))
    readHeaderAndBody(s);
  else
    readFileOrBody(s);
}

ResourceContent StatementReader::contentOf(const Statement& s) {
  ResourceContent content;
  if (s.kind != StatementKind::Resource && s.kind != StatementKind::StringTable) return content;
  Statement again = s;
  content_ = &content;
  lexer_.seek(s.typeEnd, false);
  readAfterType(again);
  content_ = nullptr;
  return content;
}

std::size_t StatementReader::nameEnd(const Token& name, Lexer& after) const {
  std::size_t end = name.end;
  if (name.kind != TokenKind::Word) return end;
  for (;;) {
    Lexer probe = after;
    const Token t = probe.next();
    const bool joins = t.begin == end &&
                       (t.kind == TokenKind::Word || t.kind == TokenKind::Number ||
                        (t.kind == TokenKind::Punct &&
                         std::string_view("-./\\").find(text_[t.begin]) != std::string_view::npos));
    if (!joins) return end;
    end = t.end;
    after = probe;
  }
}

std::optional<Token> StatementReader::typeAfterName(const Token& name, Lexer& after,
                                                    std::size_t& end) const {
  // A predefined type's word stands as a name only before a numeric type and a file name on
  // its line (`ICON 1 APP.ICO`, as some old scripts write an icon): llvm-rc reads the word as
  // the name and the number as the type, and so does the list.
  bool typeWordAsName = false;
  if (name.kind == TokenKind::Word) {
    const std::uint32_t reserved = wordClasses(name.of(text_), words::kReserved);
    if (reserved != 0 && reserved != words::kResourceType) return std::nullopt;
    typeWordAsName = reserved != 0;
  } else if (name.kind != TokenKind::Number) {
    return std::nullopt;
  }
  end = nameEnd(name, after);
  const Token type = after.nextCode();
  if (type.newLine) return std::nullopt;
  if (typeWordAsName) {
    if (type.kind != TokenKind::Number) return std::nullopt;
    Lexer probe = after;
    const Token file = probe.nextCode();
    if (file.newLine || (file.kind != TokenKind::Word && file.kind != TokenKind::String) ||
        wordClasses(file.of(text_), words::kBegin) != 0)
      return std::nullopt;
  }
  if (type.kind != TokenKind::Word && type.kind != TokenKind::Number &&
      type.kind != TokenKind::String)
    return std::nullopt;
  if (type.kind == TokenKind::Word && wordClasses(type.of(text_), words::kBegin | words::kEnd) != 0)
    return std::nullopt;
  return type;
}

bool StatementReader::startsStatement(const Token& t, const Lexer& after) const {
  if (t.kind == TokenKind::Word) {
    const std::uint32_t classes = wordClasses(t.of(text_), words::kReserved);
    if (classes & words::kStringTable) return true;
    if (classes & words::kReserved) return false;
  } else if (t.kind != TokenKind::Number) {
    return false;
  }
  Lexer afterName = after;
  nameEnd(t, afterName);
  const Token type = afterName.peekCode();
  return !type.newLine && type.kind == TokenKind::Word && isStrongType(type.of(text_));
}

Statement& StatementReader::simpleStatement(Statement& s, StatementKind kind, int values) {
  s.kind = kind;
  s.end = readValues(s.end, values, s.complete);
  return s;
}

std::size_t StatementReader::readValues(std::size_t end, int values, bool& whole) {
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

std::size_t StatementReader::readValue(std::size_t end, bool& whole) {
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

}  // namespace kolvre
