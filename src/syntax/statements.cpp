#include "syntax/statements.h"

#include <algorithm>

#include "base/text.h"
#include "syntax/statement_reader.h"
#include "syntax/vocabulary.h"

namespace kolvre {

namespace {

// Only blanks stand before `at` on its line.
bool firstOnLine(std::string_view text, std::size_t at) {
  for (std::size_t k = lineStartOf(text, at); k < at; ++k)
    if (!isBlank(text[k])) return false;
  return true;
}

// Where reading `after` starts again (an index into `statements`, those of `before`), given that
// both texts share their first `head` bytes; 0 when it starts from the beginning.
std::size_t resumeAt(std::string_view before, const std::vector<Statement>& statements,
                     std::size_t head) {
  // Reading starts again at a statement first on its line whose first line lies wholly in the
  // shared start: what stands before it read what it reads now, the lookahead of the statement
  // before it included, and the lexer stands at a line start there.
  std::size_t resume = 0;
  for (std::size_t i = statements.size(); i > 0; --i) {
    const Statement& s = statements[i - 1];
    if (s.begin >= head) continue;
    const std::size_t lineEnd = before.find("\r\n", s.begin);
    if (lineEnd == std::string_view::npos || lineEnd + 2 > head) continue;
    if (!firstOnLine(before, s.begin)) continue;
    resume = i - 1;
    break;
  }
  // A statement left open ends where a later one begins, or where its body closes however far
  // on: reading starts again at the first one, when it stands first on its line.
  for (std::size_t i = 0; i < resume; ++i) {
    if (statements[i].complete) continue;
    resume = firstOnLine(before, statements[i].begin) ? i : 0;
    break;
  }
  return resume;
}

// A statement of the old text, moved by the difference in length.
Statement movedBy(Statement s, std::ptrdiff_t shift) {
  const auto by = [&](std::size_t v) {
    return static_cast<std::size_t>(static_cast<std::ptrdiff_t>(v) + shift);
  };
  s.begin = by(s.begin);
  s.end = by(s.end);
  if (s.kind == StatementKind::Resource || s.kind == StatementKind::StringTable) {
    s.nameEnd = by(s.nameEnd);
    s.typeBegin = by(s.typeBegin);
    s.typeEnd = by(s.typeEnd);
  }
  return s;
}

}  // namespace

const ResourceKeyword* resourceKeyword(std::string_view word) {
  const int i = resourceKeywordIndex(word);
  return i >= 0 ? &kResourceKeywords[static_cast<std::size_t>(i)] : nullptr;
}

bool isReservedWord(std::string_view word) {
  return wordClasses(word, words::kReserved) != 0;
}

bool isMemoryOption(std::string_view word) {
  return wordClasses(word, words::kMemoryOption) != 0;
}

std::optional<ResourceType> listedType(std::string_view typeWord) {
  if (typeWord == "24" || isKeyword(typeWord, "RT_MANIFEST")) return ResourceType::Manifest;
  if (const ResourceKeyword* k = resourceKeyword(typeWord))
    if (isCreatable(k->kind)) return k->kind;
  return std::nullopt;
}

ResourceType typeOfWord(std::string_view typeWord) {
  if (const std::optional<ResourceType> listed = listedType(typeWord)) return *listed;
  if (const ResourceKeyword* k = resourceKeyword(typeWord)) return k->kind;
  return ResourceType::Other;
}

std::optional<ResourceType> entryType(const Statement& s, std::string_view text) {
  if (s.kind == StatementKind::StringTable) return ResourceType::StringTable;
  if (s.kind != StatementKind::Resource) return std::nullopt;
  if (s.listed) return s.listed;
  return typeOfWord(s.type(text));
}

std::vector<Statement> readStatements(std::string_view text) {
  return StatementReader(text).run();
}

std::vector<Statement> rereadStatements(std::string_view before,
                                        const std::vector<Statement>& statements,
                                        std::string_view after) {
  // The bytes both texts share at their start and their end.
  const std::size_t head = commonHead(before, after);
  const std::size_t tail = commonTail(before, after, std::min(before.size(), after.size()) - head);
  const std::size_t resume = resumeAt(before, statements, head);
  if (resume == 0) return readStatements(after);
  std::vector<Statement> out;
  out.reserve(statements.size() + 16);
  out.assign(statements.begin(), statements.begin() + static_cast<std::ptrdiff_t>(resume));
  const std::size_t from = statements[resume].begin;
  const std::ptrdiff_t shift =
      static_cast<std::ptrdiff_t>(after.size()) - static_cast<std::ptrdiff_t>(before.size());
  const std::size_t sharedEnd = after.size() - tail;  // the shared end starts here in `after`
  StatementReader reader(after, from, statements[resume].fromHeader);
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
        o.fromHeader != s->fromHeader ||
        static_cast<std::ptrdiff_t>(o.end) + shift != static_cast<std::ptrdiff_t>(s->end))
      continue;
    for (std::size_t k = old + 1; k < statements.size(); ++k)
      out.push_back(movedBy(statements[k], shift));
    break;
  }
  return out;
}

WrittenFileName fileNameAsWritten(std::string_view text, const Statement& s, const Token& first) {
  if (first.kind == TokenKind::String && text[first.begin] == '"') return {first.of(text), true};
  const std::string_view own = text.substr(0, s.end);
  Lexer lexer(own, first.end, false);
  std::size_t end = first.end;
  for (Token t = lexer.next();
       t.kind != TokenKind::End && t.kind != TokenKind::Comment && t.begin == end; t = lexer.next())
    end = t.end;
  return {own.substr(first.begin, end - first.begin), false};
}

bool headerHoldsWord(std::string_view text, const Statement& s, std::string_view word) {
  if (s.kind != StatementKind::Resource && s.kind != StatementKind::StringTable) return false;
  const bool table = s.kind == StatementKind::StringTable;
  Lexer lexer(text.substr(0, s.end), table ? s.begin : s.typeEnd, false);
  if (table) lexer.nextCode();  // STRINGTABLE
  for (Token t = lexer.nextCode(); t.kind != TokenKind::End; t = lexer.nextCode()) {
    if (opensBody(text, t)) return false;
    if (t.kind == TokenKind::Word && isKeyword(t.of(text), word)) return true;
  }
  return false;
}

}  // namespace kolvre
