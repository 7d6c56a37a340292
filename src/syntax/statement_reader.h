// The reader behind readStatements and rereadStatements (statements.h): one top-level statement
// after another, from the lexer's tokens. The top-level loop, the statement kinds and their
// values stand in statement_reader.cpp; the reading of a resource's header statements, its file
// name and its body in statement_bodies.cpp.
#pragma once

#include <cstddef>
#include <optional>
#include <string_view>
#include <vector>

#include "syntax/lexer.h"
#include "syntax/statements.h"

namespace kolvre {

class StatementReader {
 public:
  // Reads from `from`; `inHeader` tells whether a header's text stands there (fromHeader).
  explicit StatementReader(std::string_view text, std::size_t from = 0, bool inHeader = false)
      : text_(text), lexer_(text, from, true), inHeader_(inHeader) {}

  std::vector<Statement> run();

  // The next statement, or nothing at the end of the text.
  std::optional<Statement> next();

  // The header of the resource or string table `s` read again from its type, up to the opener
  // of its body or its file name, which the content then holds (resourceContent).
  ResourceContent contentOf(const Statement& s);

 private:
  // The conditional sections of a stretch of text (statement_bodies.cpp).
  struct Sections;

  // A type word that marks a line as a resource statement's first line wherever it stands:
  // a predefined keyword, or an RT_ name.
  static bool isStrongType(std::string_view word);

  // The top level (statement_reader.cpp).
  Statement statementFrom(const Token& t);

  // Where a resource's name that starts with the token `name` ends: a word runs on through the
  // words, numbers, dashes, dots, slashes and backslashes that touch it (`IDR-MAIN/x`), as the
  // compilers read a name up to the next blank; a number is one token. `after` (just after `name`)
  // is left after the name.
  std::size_t nameEnd(const Token& name, Lexer& after) const;

  // The type of a resource statement whose name starts with `name`: the next code token on the
  // same line after the name, a word, number or string. Nothing when `name` starts no resource
  // statement. `after` is left after the type, `end` where the name ends.
  std::optional<Token> typeAfterName(const Token& name, Lexer& after, std::size_t& end) const;

  // True when the code token `t`, first on its line, starts a resource statement whose type
  // is a predefined keyword or an RT_ name: where a statement left open ends.
  bool startsStatement(const Token& t, const Lexer& after) const;

  // LANGUAGE, VERSION and CHARACTERISTICS and their values, at the top level.
  Statement& simpleStatement(Statement& s, StatementKind kind, int values);

  // Reads `values` values separated by commas; returns where the last one ends. `whole` turns
  // false when a value is missing or left open: what follows could still be read into it.
  std::size_t readValues(std::size_t end, int values, bool& whole);

  // One value: operands joined by operators, unary operators and parentheses allowed. A
  // parenthesis left open ends the value before the preprocessor line or the end of the text
  // that stops it, and leaves it not whole.
  std::size_t readValue(std::size_t end, bool& whole);

  // What follows the type of the resource or string table `s`: its header statements, then its
  // body or file name, as its type has them.
  void readAfterType(Statement& s);

  // A resource's header statements, file name and body (statement_bodies.cpp).

  // A statement whose body always follows: header statements (any tokens, preprocessor lines
  // among them), then the body. One whose body never opens ends where the next statement at a
  // line start begins, before a preprocessor line or a LANGUAGE, VERSION or CHARACTERISTICS
  // line met on the way.
  void readHeaderAndBody(Statement& s);

  // A statement with a file name or a body: memory options and LANGUAGE, VERSION and
  // CHARACTERISTICS statements, then the body, or the file name and what follows it on its line.
  void readFileOrBody(Statement& s);

  // The body that `opener` opens, through the "}" or END that closes it (braces and BEGIN END
  // pairs count alike, as the compilers read them). A body that never closes ends before the
  // first line inside it that starts a statement or holds a preprocessor line or LANGUAGE,
  // else at the end of the text.
  void readBody(Statement& s, const Token& opener, Sections& sections);

  void closeBody(Statement& s, std::size_t end, const Sections& sections);

  // The start of a line inside a body, at `p`: a preprocessor line is read whole; the first
  // line that could end a body left open is noted in `cut` (where the line before it ends).
  // Returns where the scan goes on.
  std::size_t lineStartInBody(std::size_t p, std::size_t lineEnd, std::size_t& cut,
                              Sections& sections);

  std::string_view text_;
  Lexer lexer_;
  // Set while contentOf reads: the body's opener and the file name are noted there, and the
  // body itself is not read.
  ResourceContent* content_ = nullptr;
  // A line marker naming a header stands before, with no line marker since.
  bool inHeader_ = false;
};

}  // namespace kolvre
